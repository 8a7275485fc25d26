#pragma once
// TKaREdit: a patient created or edited. Numbers stay unique without regard to letter case;
// a patient who gets a new number takes his measurements with him in the same transaction.

#include "core/app/programstate.h"
#include "core/records/patients.h"

#include <QDate>
#include <QDialog>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace tork {

enum class PatientEditMode { Edit = 1, NewFromBrowser = 2, NewFromSave = 3 };

class TKaREdit : public QDialog {
    Q_OBJECT
public:
    // ROW is the patient under the opener's cursor (edit mode only).
    TKaREdit(PatientEditMode mode, QSqlDatabase db, const ProgramState& state, std::optional<PatientRecord> row,
             QWidget* parent = nullptr);

    bool patientAdded() const { return patientAdded_; }
    // The number the patient has after the window closed (the new one when saved).
    QString savedNumber() const { return savedNumber_; }

    QLineEdit* numberEdit() const { return number_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* telephoneEdit() const { return telephone_; }
    QLineEdit* addressEdit() const { return address_; }
    QLineEdit* emailEdit() const { return email_; }
    QLineEdit* mobileEdit() const { return mobile_; }
    QLineEdit* faxEdit() const { return fax_; }
    QRadioButton* maleButton() const { return male_; }
    QRadioButton* femaleButton() const { return female_; }
    QCheckBox* birthDateKnown() const { return birthKnown_; }
    QDateEdit* birthDatePicker() const { return birthDate_; }
    QPlainTextEdit* memoEdit() const { return memo_; }
    QAction* saveButton() const { return save_; }
    QString statusText() const;

    // Handlers.
    void NumberChange();
    void FieldReturnPressed(QWidget* field);
    void NameReturnPressed();
    void BirthDateReturnPressed();
    void BirthDateKnownClick();
    void SaveClick();
    void ExitClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PatientRecord enteredRecord(const PatientRecord& base) const;
    bool refuseTakenNumber(const QString& number);

    PatientEditMode mode_;
    QSqlDatabase db_;
    std::optional<PatientRecord> row_;
    QDate defaultDate_;
    bool patientAdded_ = false;
    QString savedNumber_;

    QLineEdit* number_;
    QLineEdit* name_;
    QLineEdit* telephone_;
    QLineEdit* address_;
    QLineEdit* email_;
    QLineEdit* mobile_;
    QLineEdit* fax_;
    QRadioButton* male_;
    QRadioButton* female_;
    QCheckBox* birthKnown_;
    QDateEdit* birthDate_;
    QPlainTextEdit* memo_;
    QLabel* status_;
    QAction* save_;
};

}  // namespace tork
