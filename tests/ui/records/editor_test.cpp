// TKaREdit: its modes, the unique number without regard to letter case, renumbering with the
// measurements in one transaction, the birth date check box and Enter, Exit discarding.

#include "recordsuifixture.h"

#include "core/app/formats.h"
#include "core/records/recordedits.h"
#include "ui/records/tkaredit.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace tork;
using namespace tork::test;

namespace {

class RecordsEditor : public RecordsWindowTest {
protected:
    std::unique_ptr<TKaREdit> editorOn(const QString& number)
    {
        return std::make_unique<TKaREdit>(PatientEditMode::Edit, db, state, findPatient(db, number));
    }
};

}  // namespace

TEST_F(RecordsEditor, TakenNumbersAreRefusedInAnyLetterCase)
{
    addPatient("A1", "Anna");
    addPatient("B2", "Bert");
    const struct {
        const char* patient;
        const char* typed;
        const char* holder;
    } cases[] = {{"B2", "A1", "Anna"}, {"B2", "a1", "Anna"}, {"A1", "a1", "Anna"}};
    for (const auto& c : cases) {
        messages.clear();
        auto editor = editorOn(c.patient);
        editor->numberEdit()->setText(c.typed);
        editor->SaveClick();
        ASSERT_EQ(messages.shown().size(), 1) << c.typed;
        EXPECT_EQ(messages.shown()[0].kind, 5);
        EXPECT_EQ(messages.shown()[0].text, numberTakenMessage(c.holder));
        EXPECT_EQ(editor->numberEdit()->text(), c.patient);   // the old number is put back
        EXPECT_NE(editor->result(), QDialog::Accepted);
    }
    EXPECT_TRUE(findPatient(db, "A1"));
    EXPECT_TRUE(findPatient(db, "B2"));

    // A new patient with a taken number keeps what was typed.
    messages.clear();
    TKaREdit fresh(PatientEditMode::NewFromBrowser, db, state, std::nullopt);
    fresh.numberEdit()->setText(" b2 ");
    fresh.SaveClick();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].text, numberTakenMessage("Bert"));
    EXPECT_EQ(fresh.numberEdit()->text(), " b2 ");
    EXPECT_FALSE(fresh.patientAdded());
    EXPECT_EQ(patientCount(db), 2);
}

TEST_F(RecordsEditor, NewNumberTakesTheMeasurementsAlong)
{
    addPatient("A1", "Anna");
    addPatient("A10", "Other");
    addMeasurement("A1", 45000);
    addMeasurement("A1", 45001);
    addMeasurement("A10", 45002);
    auto editor = editorOn("A1");
    EXPECT_EQ(editor->windowTitle(), "Edit Patient Record");
    editor->numberEdit()->setText("  Z9 ");
    editor->nameEdit()->setText(" Anna Berg ");
    editor->SaveClick();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(editor->savedNumber(), "Z9");
    EXPECT_FALSE(findPatient(db, "A1"));
    const auto moved = findPatient(db, "Z9");
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->name, "Anna Berg");
    EXPECT_EQ(measurementCount(db, "Z9"), 2);
    EXPECT_EQ(measurementCount(db, "A1"), 0);
    EXPECT_EQ(measurementCount(db, "A10"), 1);
}

TEST_F(RecordsEditor, AFailedRenumberingLeavesPatientAndMeasurementsAsTheyWere)
{
    addPatient("A1", "Anna");
    addMeasurement("A1", 45000);
    QSqlQuery trigger(db);
    ASSERT_TRUE(trigger.exec("CREATE TRIGGER refuse BEFORE UPDATE OF CustNo ON KADATA BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    auto editor = editorOn("A1");
    editor->numberEdit()->setText("B7");
    editor->nameEdit()->setText("Changed");
    editor->SaveClick();
    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, 6);
    EXPECT_NE(editor->result(), QDialog::Accepted);
    const auto kept = findPatient(db, "A1");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, "Anna");
    EXPECT_FALSE(findPatient(db, "B7"));
    EXPECT_EQ(measurementCount(db, "A1"), 1);
}

TEST_F(RecordsEditor, EditingWithoutANewNumberLeavesNumberAndMeasurementsAlone)
{
    addPatient("A1 ", "Anna");   // a stored number with a blank, as an old database may have
    addMeasurement("A1 ", 45000);
    auto editor = editorOn("A1 ");
    EXPECT_EQ(editor->numberEdit()->text(), "A1");
    editor->telephoneEdit()->setText(" 0123 ");
    editor->memoEdit()->setPlainText("edited memo");
    editor->SaveClick();
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    const auto stored = findPatient(db, "A1 ");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->telephone, "0123");
    EXPECT_EQ(stored->memo, "edited memo");
    EXPECT_EQ(measurementCount(db, "A1 "), 1);
}

TEST_F(RecordsEditor, ExitDiscardsEveryChange)
{
    PatientRecord p;
    p.number = "A1";
    p.name = "Anna";
    p.memo = "old memo";
    ASSERT_EQ(appendPatient(db, p), QString());
    auto editor = editorOn("A1");
    editor->nameEdit()->setText("Other");
    editor->memoEdit()->setPlainText("new memo");
    editor->ExitClick();
    EXPECT_FALSE(editor->patientAdded());
    const auto stored = findPatient(db, "A1");
    EXPECT_EQ(stored->name, "Anna");
    EXPECT_EQ(stored->memo, "old memo");
}

TEST_F(RecordsEditor, NewPatientFieldsLimitsAndUnknownBirthDate)
{
    state.patient.isMale = false;
    TKaREdit editor(PatientEditMode::NewFromSave, db, state, std::nullopt);
    EXPECT_EQ(editor.windowTitle(), "Add New Patient");
    EXPECT_EQ(editor.statusText(), "Number and gender are required.");
    EXPECT_TRUE(editor.femaleButton()->isChecked());
    EXPECT_FALSE(editor.birthDateKnown()->isChecked());
    EXPECT_FALSE(editor.birthDatePicker()->isEnabled());
    EXPECT_FALSE(editor.saveButton()->isEnabled());
    editor.numberEdit()->setText("   ");
    EXPECT_FALSE(editor.saveButton()->isEnabled());

    const struct {
        QLineEdit* field;
        int longest;
    } limits[] = {{editor.numberEdit(), 15}, {editor.nameEdit(), 20}, {editor.telephoneEdit(), 30}, {editor.addressEdit(), 50},
                  {editor.emailEdit(), 50},  {editor.mobileEdit(), 30}, {editor.faxEdit(), 30}};
    for (const auto& l : limits) EXPECT_EQ(l.field->maxLength(), l.longest);

    editor.numberEdit()->setText(" N1 ");
    EXPECT_TRUE(editor.saveButton()->isEnabled());
    editor.nameEdit()->setText("Nora");
    editor.addressEdit()->setText(" Street 1 ");
    editor.emailEdit()->setText("n@x.org");
    editor.mobileEdit()->setText("0170");
    editor.faxEdit()->setText("0171");
    editor.memoEdit()->setPlainText("first visit");
    editor.SaveClick();
    EXPECT_TRUE(editor.patientAdded());
    EXPECT_EQ(editor.savedNumber(), "N1");
    const auto stored = findPatient(db, "N1");
    ASSERT_TRUE(stored);
    EXPECT_FALSE(stored->male);
    EXPECT_DOUBLE_EQ(stored->birthDate, 0);
    EXPECT_EQ(stored->address, "Street 1");
    EXPECT_EQ(stored->email, "n@x.org");
    EXPECT_EQ(stored->mobile, "0170");
    EXPECT_EQ(stored->fax, "0171");
    EXPECT_EQ(stored->memo, "first visit");
}

TEST_F(RecordsEditor, BirthDateWithEnter)
{
    TKaREdit editor(PatientEditMode::NewFromBrowser, db, state, std::nullopt);
    editor.numberEdit()->setText("N1");
    editor.NameReturnPressed();
    EXPECT_TRUE(editor.birthDateKnown()->isChecked());
    EXPECT_TRUE(editor.birthDatePicker()->isEnabled());
    // Left at today's default: unknown after all.
    editor.BirthDateReturnPressed();
    EXPECT_FALSE(editor.birthDateKnown()->isChecked());
    EXPECT_FALSE(editor.birthDatePicker()->isEnabled());

    editor.NameReturnPressed();
    editor.birthDatePicker()->setDate(QDate(1970, 5, 6));
    editor.BirthDateReturnPressed();
    EXPECT_TRUE(editor.birthDateKnown()->isChecked());
    editor.SaveClick();
    EXPECT_EQ(dateFromDayCount(findPatient(db, "N1")->birthDate), QDate(1970, 5, 6));

    // The check box alone switches the picker.
    TKaREdit other(PatientEditMode::NewFromBrowser, db, state, std::nullopt);
    other.birthDateKnown()->setChecked(true);
    other.BirthDateKnownClick();
    EXPECT_TRUE(other.birthDatePicker()->isEnabled());
}

TEST_F(RecordsEditor, EditModeShowsAKnownBirthDateOnly)
{
    addPatient("A1", "Anna", toDayCount(QDate(1960, 1, 2)), false);
    addPatient("B2", "Bert", 4000, true);
    auto known = editorOn("A1");
    EXPECT_TRUE(known->birthDateKnown()->isChecked());
    EXPECT_EQ(known->birthDatePicker()->date(), QDate(1960, 1, 2));
    EXPECT_TRUE(known->femaleButton()->isChecked());
    auto unknown = editorOn("B2");
    EXPECT_FALSE(unknown->birthDateKnown()->isChecked());
    EXPECT_FALSE(unknown->birthDatePicker()->isEnabled());
    unknown->SaveClick();
    EXPECT_DOUBLE_EQ(findPatient(db, "B2")->birthDate, 0);
}
