// TKasave: the selected patient, the stored row with its STD text, the new key made current,
// the latest measurement date only moved forward, and a patient created on the spot.

#include "recordsuifixture.h"

#include "core/app/formats.h"
#include "core/records/stdlayout.h"
#include "ui/records/tkaredit.h"
#include "ui/records/tkasave.h"

#include <QAction>
#include <QLineEdit>

using namespace tork;
using namespace tork::test;

namespace {

class RecordsSave : public RecordsWindowTest {
protected:
    void SetUp() override
    {
        RecordsWindowTest::SetUp();
        for (int i = 0; i < 24; ++i) {
            measurement.values[i] = 5.5 + i;
            measurement.quality[i] = 40 + i * 2.5 + 0.25;   // .25 shows one decimal in STD
        }
        state.measurementDateTime = 45100.5;
        state.highPotential = true;
        state.measurementMemo = {"tired", "slept badly"};
    }
    int storedRows() { return measurementCount(db); }
};

}  // namespace

TEST_F(RecordsSave, SavedRowHoldsValuesQualitiesAndBecomesCurrent)
{
    addPatient("A1", "Anna", 20000, false, 45000);
    state.patient.number = "a1";   // found ignoring case
    TKasave save(context());
    EXPECT_EQ(save.windowTitle(), "Save Meridian Energy Values");
    EXPECT_TRUE(save.saveButton()->isEnabled());
    EXPECT_EQ(save.shownPatient(), QStringList({"A1", "Anna", shortDate(20000), "Female"}));
    save.SaveValueClick();
    EXPECT_EQ(save.result(), QDialog::Accepted);

    const auto rows = measurementsOf(db, "A1");   // filed under the number as stored
    ASSERT_EQ(rows.size(), 1u);
    const MeasurementRecord& row = rows.front();
    EXPECT_EQ(row.values, measurement.values);
    EXPECT_DOUBLE_EQ(row.dateTime, 45100.5);
    EXPECT_TRUE(row.highPotential);
    EXPECT_EQ(row.memo, "tired\r\nslept badly\r\n");
    ASSERT_TRUE(row.hasQuality);
    for (int i = 0; i < 24; ++i) EXPECT_NEAR(row.quality[i], measurement.quality[i], 0.05 + 1e-9) << i;
    QSqlQuery std(db);
    ASSERT_TRUE(std.exec("SELECT STD FROM KADATA") && std.next());
    EXPECT_EQ(std.value(0).toString().left(10), " 40.3 42.8");
    EXPECT_EQ(state.currentMeasurementKey, row.key);
    EXPECT_EQ(state.patient.number, "A1");
    EXPECT_EQ(state.patient.name, "Anna");
    EXPECT_DOUBLE_EQ(latestOf("A1"), 45100.5);
}

TEST_F(RecordsSave, AnOlderMeasurementKeepsTheLatestDate)
{
    addPatient("A1", "Anna", 0, true, 45200);
    state.patient.number = "A1";
    TKasave save(context());
    save.SaveValueClick();
    EXPECT_EQ(storedRows(), 1);
    EXPECT_DOUBLE_EQ(latestOf("A1"), 45200);
}

TEST_F(RecordsSave, WithoutACurrentPatientSaveWaitsForASelection)
{
    addPatient("A1", "Anna");
    addPatient("B2", "Bert", 0, true);
    state.patient.number = "";
    state.patient.isMale = false;
    TKasave save(context());
    EXPECT_FALSE(save.saveButton()->isEnabled());
    EXPECT_EQ(save.shownPatient(), QStringList({"", "", "", "Female"}));
    EXPECT_EQ(save.statusText(), "Please select patient, or create a new record, to save measurement data.");
    save.SaveValueClick();
    EXPECT_EQ(storedRows(), 0);

    // A search makes the row under the cursor the selected patient.
    save.patientList()->searchBox()->setText("B");
    save.patientList()->SearchButtonClick();
    EXPECT_TRUE(save.saveButton()->isEnabled());
    EXPECT_EQ(save.shownPatient().at(0), "B2");

    // A double click asks first.
    messages.planAnswers({false});
    save.PatientGridDoubleClick();
    EXPECT_EQ(messages.shown().last().text, "Do you want to save the measurement data to this patient?");
    EXPECT_EQ(storedRows(), 0);
    messages.planAnswers({true});
    save.PatientGridDoubleClick();
    EXPECT_EQ(measurementCount(db, "B2"), 1);
}

TEST_F(RecordsSave, NewPatientReceivesTheMeasurementWhenConfirmed)
{
    addPatient("A1", "Anna");
    state.patient.number = "A1";
    auto newPatient = [](const QString& number) {
        return [number](QDialog& dialog) {
            auto& editor = dynamic_cast<TKaREdit&>(dialog);
            editor.numberEdit()->setText(number);
            editor.SaveClick();
            return editor.result();
        };
    };
    {
        TKasave save(context());
        childDriver = newPatient("N1");
        messages.planAnswers({true});
        save.NewPatientClick();
        EXPECT_EQ(sounds, QList<int>({1}));
        EXPECT_EQ(measurementCount(db, "N1"), 1);
        EXPECT_EQ(save.result(), QDialog::Accepted);
    }
    TKasave save(context());
    childDriver = newPatient("N2");
    messages.planAnswers({false});
    save.NewPatientClick();
    EXPECT_TRUE(findPatient(db, "N2"));
    EXPECT_EQ(measurementCount(db, "N2"), 0);
    EXPECT_NE(save.result(), QDialog::Accepted);
    EXPECT_TRUE(save.saveButton()->isEnabled());
    EXPECT_EQ(save.shownPatient().at(0), "N2");

    // Abandoned: back to the patient selected before.
    childDriver = [](QDialog& dialog) {
        dynamic_cast<TKaREdit&>(dialog).ExitClick();
        return int(QDialog::Rejected);
    };
    save.NewPatientClick();
    EXPECT_EQ(save.shownPatient().at(0), "N2");
    EXPECT_TRUE(save.saveButton()->isEnabled());
}
