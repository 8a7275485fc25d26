// TKaread and the shared patient list: sort, search, deleting, recall, the tool bar by focus,
// the detail grid and the latest measurement date kept up.

#include "recordsuifixture.h"

#include "core/app/formats.h"
#include "ui/records/gridheading.h"
#include "ui/records/tkamnu.h"
#include "ui/records/tkaread.h"
#include "ui/records/tkaredit.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QDateEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTableView>
#include <QTableWidget>

using namespace tork;
using namespace tork::test;

namespace {

class RecordsBrowser : public RecordsWindowTest {
protected:
    QStringList numbersShown(TKaread& browser)
    {
        QStringList numbers;
        auto* model = browser.patientList()->model();
        for (int row = 0; row < model->rowCount(); ++row) numbers << model->cellText(row, PatientListModel::Number);
        return numbers;
    }
    QString currentNumber(TKaread& browser)
    {
        const auto p = browser.patientList()->currentPatient();
        return p ? p->number : QString();
    }
    void search(TKaread& browser, const QString& text)
    {
        browser.patientList()->searchBox()->setText(text);
        browser.patientList()->SearchTextChange();
        browser.patientList()->SearchButtonClick();
    }
};

}  // namespace

TEST_F(RecordsBrowser, SortKeyZeroIsNumberDescendingAndDirectionsOutliveTheWindow)
{
    for (const char* n : {"B2", "A1", "C3"}) addPatient(n);
    state.patientSortColumn = 0;
    {
        TKaread browser(context(), true);
        EXPECT_EQ(numbersShown(browser), QStringList({"C3", "B2", "A1"}));
        browser.patientList()->HeaderClick(1);   // same column: the direction flips
        EXPECT_EQ(state.patientSortColumn, 1);
        EXPECT_EQ(numbersShown(browser), QStringList({"A1", "B2", "C3"}));
        browser.patientList()->HeaderClick(0);   // the index column counts as the number column
        EXPECT_EQ(state.patientSortColumn, -1);
        browser.patientList()->HeaderClick(1);
        EXPECT_EQ(state.patientSortColumn, 1);
    }
    TKaread again(context(), true);
    EXPECT_EQ(numbersShown(again), QStringList({"A1", "B2", "C3"}));
    again.patientList()->HeaderClick(2);   // another column keeps the direction
    EXPECT_EQ(state.patientSortColumn, 2);
    again.patientList()->HeaderClick(2);
    EXPECT_EQ(state.patientSortColumn, -2);
}

TEST_F(RecordsBrowser, ColumnsShowCalculatedValues)
{
    state.patient.number = "M1";
    addPatient("M1", "Man", 20000, true, 45000.5);
    addPatient("F1", "Woman", 3000, false, 3999);
    TKaread browser(context(), true);
    auto* model = browser.patientList()->model();
    const int man = currentNumber(browser) == "M1" ? browser.patientList()->currentRow() : -1;
    ASSERT_GE(man, 0);
    const int woman = 1 - man;
    EXPECT_EQ(model->cellText(man, PatientListModel::Index), QString::number(man + 1));
    EXPECT_EQ(model->cellText(man, PatientListModel::Gender), "Male");
    EXPECT_EQ(model->data(model->index(man, PatientListModel::Gender), Qt::ForegroundRole).value<QColor>(), QColor(0, 128, 0));
    EXPECT_EQ(model->data(model->index(woman, PatientListModel::Gender), Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    EXPECT_EQ(model->cellText(man, PatientListModel::BirthDate), shortDate(20000));
    EXPECT_FALSE(model->cellText(man, PatientListModel::Age).isEmpty());
    EXPECT_EQ(model->cellText(man, PatientListModel::Latest), shortDateTime(45000.5));
    // Dates up to 4000 count as unknown.
    EXPECT_EQ(model->cellText(woman, PatientListModel::BirthDate), "");
    EXPECT_EQ(model->cellText(woman, PatientListModel::Age), "");
    EXPECT_EQ(model->cellText(woman, PatientListModel::Latest), "");
}

TEST_F(RecordsBrowser, SearchByNumberNameAndDate)
{
    state.patientSortColumn = 1;
    addPatient("11", "Zeta", 20000);
    addPatient("125", "Alpha", 25000);
    addPatient("123", "alpha", 30000.5);
    addPatient("2", "Beta", 0);
    TKaread browser(context(), true);
    PatientListPanel* list = browser.patientList();

    search(browser, "12");
    EXPECT_EQ(list->indicator(), SearchIndicator::Found);
    EXPECT_EQ(currentNumber(browser), "123");   // the first in the current order
    EXPECT_EQ(browser.measurements()->count(), 0);
    search(browser, "3");
    EXPECT_EQ(list->indicator(), SearchIndicator::NotFound);
    EXPECT_EQ(currentNumber(browser), "123");   // the cursor stays
    list->searchBox()->setText("9");
    list->SearchTextChange();
    EXPECT_EQ(list->indicator(), SearchIndicator::Ready);

    list->HeaderClick(2);   // by name, ascending; letter case counts
    search(browser, "al");
    EXPECT_EQ(currentNumber(browser), "123");
    search(browser, "Al");
    EXPECT_EQ(currentNumber(browser), "125");

    list->HeaderClick(4);   // by birth date
    EXPECT_TRUE(list->dateHint()->isVisibleTo(&browser));
    EXPECT_TRUE(list->dateHint()->text().startsWith("Example: "));
    search(browser, QLocale().toString(dateFromDayCount(30000), QLocale::ShortFormat));
    EXPECT_EQ(list->indicator(), SearchIndicator::Found);
    EXPECT_EQ(currentNumber(browser), "123");
    search(browser, "no date");
    EXPECT_EQ(list->indicator(), SearchIndicator::NotFound);
    EXPECT_EQ(currentNumber(browser), "123");
}

TEST_F(RecordsBrowser, SearchIsUnavailableOnGenderAgeAndLatestDate)
{
    addPatient("A1");
    TKaread browser(context(), true);
    PatientListPanel* list = browser.patientList();
    const struct {
        int column;
        bool searchable;
    } cases[] = {{3, false}, {5, false}, {6, false}, {7, true}, {8, true}, {9, true}, {10, true}, {11, true}, {1, true}, {2, true}, {4, true}};
    for (const auto& c : cases) {
        list->HeaderClick(c.column);
        EXPECT_EQ(list->searchBox()->isEnabled(), c.searchable) << c.column;
        EXPECT_EQ(list->indicator() == SearchIndicator::Unavailable, !c.searchable) << c.column;
        EXPECT_EQ(list->dateHint()->isVisibleTo(&browser), c.column == 4) << c.column;
    }
    list->HeaderClick(1);
    list->searchBox()->setText("   ");
    list->SearchTextChange();
    EXPECT_FALSE(list->searchButton()->isEnabled());
    list->searchBox()->setText(" A ");
    list->SearchTextChange();
    EXPECT_TRUE(list->searchButton()->isEnabled());
}

TEST_F(RecordsBrowser, ToolBarAndHeadingsFollowTheFocusedGrid)
{
    addPatient("A1");
    addMeasurement("A1", 45000);
    TKaread browser(context(), true);
    using B = TKaread::Button;
    auto enabled = [&](B b) { return browser.button(b)->isEnabled(); };

    EXPECT_EQ(browser.focusedGrid(), TKaread::FocusedGrid::Patients);
    EXPECT_TRUE(enabled(B::NewPatient) && enabled(B::EditPatient) && enabled(B::DeletePatient));
    EXPECT_FALSE(enabled(B::Recall) || enabled(B::NewValue) || enabled(B::EditValue) || enabled(B::DeleteValue));
    EXPECT_TRUE(isHeadingFocused(browser.patientList()->grid()));
    EXPECT_FALSE(isHeadingFocused(browser.measurementGrid()));

    browser.MeasurementGridEnter();
    EXPECT_TRUE(enabled(B::Recall) && enabled(B::NewValue) && enabled(B::EditValue) && enabled(B::DeleteValue));
    EXPECT_FALSE(enabled(B::NewPatient) || enabled(B::EditPatient) || enabled(B::DeletePatient));
    EXPECT_TRUE(isHeadingFocused(browser.measurementGrid()));
    EXPECT_FALSE(isHeadingFocused(browser.patientList()->grid()));
    EXPECT_EQ(browser.countsText(), "     1  -  [ 1 ]");
}

TEST_F(RecordsBrowser, ToolBarWithEmptyLists)
{
    TKaread browser(context(), true);
    using B = TKaread::Button;
    EXPECT_TRUE(browser.button(B::NewPatient)->isEnabled());
    EXPECT_FALSE(browser.button(B::EditPatient)->isEnabled());
    EXPECT_FALSE(browser.button(B::DeletePatient)->isEnabled());
    browser.MeasurementGridEnter();
    EXPECT_FALSE(browser.button(B::NewValue)->isEnabled());
    EXPECT_FALSE(browser.button(B::Recall)->isEnabled());
    EXPECT_EQ(browser.countsText(), "     0  -  [ 0 ]");
}

TEST_F(RecordsBrowser, MeasurementListColumnsAndDetailGridInMeridianOrder)
{
    state.settings.setInt(SettingLine::OrderMode, 1);
    state.rebuildTables();
    addPatient("A1", "Anna", 20000);
    MeasurementRecord m;
    m.patientNumber = "A1";
    m.dateTime = 45000.75;
    m.highPotential = true;
    for (int i = 0; i < 24; ++i) m.values[i] = i + 1;
    m.values[5] = 0;   // ME6 (left LI) not measured
    m.memo = "felt tired";
    ASSERT_EQ(appendMeasurement(db, m), QString());
    addMeasurement("A1", 44000);
    state.patient.number = "A1";

    TKaread browser(context(), true);
    auto* list = browser.measurements();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->cellText(0, MeasurementListModel::Date), shortDate(45000.75));   // newest first
    EXPECT_EQ(list->cellText(0, MeasurementListModel::Energy), formatFixed((300.0 - 6) / 24, 3, 1));
    EXPECT_EQ(list->cellText(0, MeasurementListModel::Age), formatFixed(25000 / 365.0, 3, 1));
    EXPECT_EQ(list->cellText(0, MeasurementListModel::Potential), "HI");
    EXPECT_EQ(list->cellText(1, MeasurementListModel::Potential), "NRM");
    EXPECT_EQ(list->cellText(0, MeasurementListModel::FirstPoint + 5), "");
    EXPECT_EQ(list->cellText(0, MeasurementListModel::FirstPoint + 23), "24");
    EXPECT_EQ(list->headerData(MeasurementListModel::FirstPoint, Qt::Horizontal, Qt::DisplayRole).toString(), "L-LU");
    EXPECT_EQ(list->headerData(MeasurementListModel::FirstPoint + 18, Qt::Horizontal, Qt::DisplayRole).toString(), "R-SP");

    EXPECT_TRUE(browser.detailGrid()->isHidden());
    browser.DisplayModeClick();
    ASSERT_FALSE(browser.detailGrid()->isHidden());
    QTableWidget* grid = browser.detailGrid();
    EXPECT_EQ(grid->item(0, 2)->text(), "LI");   // coupled order: LU LI PC TE ...
    EXPECT_EQ(grid->item(1, 2)->text(), "");     // left LI is ME6, not measured
    EXPECT_EQ(grid->item(2, 2)->text(), "12.0"); // right LI is ME12
    EXPECT_EQ(grid->item(1, 8)->text(), "18.0"); // ST left is ME18
    browser.selectMeasurementRow(1);
    EXPECT_EQ(grid->item(1, 1)->text(), "10.0");

    browser.MemoClick();
    EXPECT_FALSE(browser.memoPanel()->isHidden());
    EXPECT_EQ(grid->horizontalHeader()->defaultSectionSize(), 57);
    browser.selectMeasurementRow(0);
    EXPECT_EQ(browser.measurementMemo()->toPlainText(), "felt tired");
    browser.MemoClick();
    EXPECT_EQ(grid->horizontalHeader()->defaultSectionSize(), 75);
}

TEST_F(RecordsBrowser, DeletePatientTakesHisMeasurementsAndMovesToTheNext)
{
    for (const char* n : {"A1", "B2", "C3"}) addPatient(n);
    addMeasurement("B2", 45000);
    addMeasurement("B2", 45001);
    addMeasurement("C3", 45002);
    state.patient.number = "B2";
    TKaread browser(context(), true);
    ASSERT_EQ(currentNumber(browser), "B2");

    messages.planAnswers({false});
    browser.DeletePatientClick();
    EXPECT_TRUE(findPatient(db, "B2"));
    EXPECT_EQ(measurementCount(db, "B2"), 2);

    messages.planAnswers({true});
    browser.DeletePatientClick();
    ASSERT_EQ(messages.shown().size(), 2);
    EXPECT_EQ(messages.shown().last().kind, 2);
    EXPECT_EQ(messages.shown().last().text, "Are you sure you want to delete this patient record, including all the measurements?");
    EXPECT_FALSE(findPatient(db, "B2"));
    EXPECT_EQ(measurementCount(db, "B2"), 0);
    EXPECT_EQ(measurementCount(db, "C3"), 1);
    EXPECT_EQ(currentNumber(browser), "C3");
    EXPECT_EQ(browser.countsText(), "     2  -  [ 1 ]");
    EXPECT_EQ(sounds, QList<int>({1, 1}));

    // Only from the patient grid.
    browser.MeasurementGridEnter();
    browser.DeletePatientClick();
    EXPECT_EQ(messages.shown().size(), 2);
    EXPECT_TRUE(findPatient(db, "C3"));
}

TEST_F(RecordsBrowser, DeletingMeasurementsKeepsTheLatestDate)
{
    addPatient("A1", "", 0, true, 45001);
    const MeasurementRecord older = addMeasurement("A1", 45000);
    const MeasurementRecord newer = addMeasurement("A1", 45001);
    state.patient.number = "A1";
    TKaread browser(context(), true);
    browser.MeasurementGridEnter();

    // NO still recomputes the date from the newest row.
    ASSERT_EQ(setLatestMeasurement(db, "A1", 123456), QString());
    messages.planAnswers({false});
    browser.DeleteValueClick();
    EXPECT_EQ(messages.shown().last().text, "Are you sure you want to delete this measurement data?");
    EXPECT_DOUBLE_EQ(latestOf("A1"), 45001);
    EXPECT_EQ(measurementCount(db, "A1"), 2);

    messages.planAnswers({true});
    browser.selectMeasurementRow(0);
    browser.DeleteValueClick();
    EXPECT_FALSE(findMeasurement(db, newer.key));
    EXPECT_DOUBLE_EQ(latestOf("A1"), 45000);

    messages.planAnswers({true});
    browser.DeleteValueClick();
    EXPECT_FALSE(findMeasurement(db, older.key));
    EXPECT_DOUBLE_EQ(latestOf("A1"), 0);
    EXPECT_EQ(browser.patientList()->model()->cellText(browser.patientList()->currentRow(), PatientListModel::Latest), "");
    EXPECT_EQ(browser.countsText(), "     1  -  [ 0 ]");
}

TEST_F(RecordsBrowser, RecallWithAndWithoutTheQuestion)
{
    PatientRecord p = addPatient("A1", "Anna", 20000, false);
    MeasurementRecord m;
    m.patientNumber = "A1";
    m.dateTime = 45000.5;
    m.highPotential = true;
    for (int i = 0; i < 24; ++i) m.values[i] = 10 + i;
    m.hasQuality = true;
    for (int i = 0; i < 24; ++i) m.quality[i] = 50 + i + 0.5;
    m.memo = "line 1\r\nline 2\r\n";
    ASSERT_EQ(appendMeasurement(db, m), QString());
    state.patient.number = "A1";
    state.chartChoices = {3, 2, 2, 2, 2, 2, 2};
    state.analysedPointsCounter = 24;

    {
        TKaread browser(context(), true);
        messages.planAnswers({false});
        browser.MeasurementGridDoubleClick();
        EXPECT_EQ(messages.shown().last().text, QStringLiteral("Are you sure you want to recall this measurement data") + QChar(0xFF1F));
        EXPECT_EQ(messages.shown().last().kind, 1);
        EXPECT_NE(browser.result(), QDialog::Accepted);
        EXPECT_EQ(state.currentMeasurementKey, 0);
        EXPECT_TRUE(browser.confirmRecall());

        messages.planAnswers({true});
        browser.MeasurementGridDoubleClick();
        EXPECT_EQ(browser.result(), QDialog::Accepted);
    }
    EXPECT_EQ(state.currentMeasurementKey, m.key);
    EXPECT_EQ(state.patient.name, "Anna");
    EXPECT_FALSE(state.patient.isMale);
    EXPECT_DOUBLE_EQ(state.patient.birthDate, 20000);
    EXPECT_DOUBLE_EQ(state.measurementDateTime, 45000.5);
    EXPECT_TRUE(state.highPotential);
    EXPECT_EQ(state.measurementMemo, QStringList({"line 1", "line 2"}));
    EXPECT_EQ(measurement.values, m.values);
    EXPECT_EQ(measurement.quality, m.quality);
    EXPECT_DOUBLE_EQ(measurement.compensated[2], 12 * state.tables.compensationFactor(HT));
    EXPECT_EQ(state.chartChoices, (std::array<int, 7>{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(state.analysedPointsCounter, 0);

    // The Recall button never asks.
    state.currentMeasurementKey = 0;
    messages.clear();
    TKaread browser(context(), true);
    browser.MeasurementGridEnter();
    browser.RecallClick();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(browser.result(), QDialog::Accepted);
    EXPECT_EQ(state.currentMeasurementKey, m.key);
    (void)p;
}

TEST_F(RecordsBrowser, RecallWithAnEmptyListDoesNothing)
{
    addPatient("A1");
    state.patient.number = "A1";
    state.currentMeasurementKey = 7;
    TKaread browser(context(), true);
    browser.MeasurementGridDoubleClick();
    browser.RecallClick();
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_NE(browser.result(), QDialog::Accepted);
    EXPECT_EQ(state.currentMeasurementKey, 7);
}

TEST_F(RecordsBrowser, NewAndEditedPatientsAreLocated)
{
    for (const char* n : {"A1", "B2"}) addPatient(n);
    TKaread browser(context(), true);
    childDriver = [](QDialog& dialog) {
        auto& editor = dynamic_cast<TKaREdit&>(dialog);
        editor.numberEdit()->setText("ab9");
        editor.nameEdit()->setText("New");
        editor.SaveClick();
        return editor.result();
    };
    browser.NewPatientClick();
    EXPECT_EQ(currentNumber(browser), "ab9");
    EXPECT_EQ(browser.patientList()->count(), 3);

    addMeasurement("ab9", 45000);
    childDriver = [](QDialog& dialog) {
        auto& editor = dynamic_cast<TKaREdit&>(dialog);
        editor.numberEdit()->setText("0-first");
        editor.SaveClick();
        return editor.result();
    };
    browser.PatientGridDoubleClick();
    EXPECT_EQ(currentNumber(browser), "0-first");
    EXPECT_EQ(browser.measurements()->count(), 1);   // the measurement moved with him
}

TEST_F(RecordsBrowser, EnteredValuesUpdateTheLatestDate)
{
    addPatient("A1");
    addPatient("B2");
    state.patient.number = "A1";
    TKaread browser(context(), true);
    browser.MeasurementGridEnter();
    childDriver = [](QDialog& dialog) {
        auto& entry = dynamic_cast<TKamnu&>(dialog);
        entry.valueGrid()->item(1, 1)->setText("55");
        entry.datePicker()->setDate(QDate(2023, 3, 4));
        entry.timePicker()->setTime(QTime(10, 20, 30));
        entry.SaveClick();
        return entry.result();
    };
    browser.NewValueClick();
    ASSERT_EQ(browser.measurements()->count(), 1);
    const double expected = toDayCount(QDateTime(QDate(2023, 3, 4), QTime(10, 20, 30)));
    EXPECT_NEAR(latestOf("A1"), expected, 1e-9);
    EXPECT_EQ(currentNumber(browser), "A1");
    EXPECT_EQ(browser.focusedGrid(), TKaread::FocusedGrid::Measurements);

    childDriver = [](QDialog& dialog) {
        auto& entry = dynamic_cast<TKamnu&>(dialog);
        entry.datePicker()->setDate(QDate(2024, 1, 2));
        entry.SaveClick();
        return entry.result();
    };
    browser.EditValueClick();
    EXPECT_EQ(dateFromDayCount(latestOf("A1")), QDate(2024, 1, 2));
    EXPECT_EQ(browser.measurements()->rows().front().values[0], 55);
}

TEST_F(RecordsBrowser, ALongListIsReadOnlyWhereItIsShown)
{
    {
        Savepoint work(db);
        for (int n = 1; n <= 1000; ++n) addPatient(QString::asprintf("%05d", n), QStringLiteral("Name %1").arg(n));
        ASSERT_EQ(work.release(), QString());
    }
    state.patient.number = "00900";
    state.patientSortColumn = 1;
    TKaread browser(context(), true);
    PatientListModel* model = browser.patientList()->model();
    EXPECT_EQ(model->rowCount(), 1000);
    EXPECT_EQ(browser.patientList()->currentRow(), 899);
    EXPECT_LE(model->pagesRead(), 2);   // the page of the current patient, nothing before it
    EXPECT_EQ(model->cellText(899, PatientListModel::Name), "Name 900");
    EXPECT_EQ(model->cellText(0, PatientListModel::Number), "00001");
    EXPECT_EQ(model->cellText(999, PatientListModel::Index), "1000");
    EXPECT_LE(model->pagesRead() * PatientListModel::kPageSize, 3 * PatientListModel::kPageSize);
}
