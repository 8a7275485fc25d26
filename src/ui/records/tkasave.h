#pragma once
// TKasave: "Save Meridian Energy Values". The current measurement stored as a new row under a
// patient chosen from the patient list or created on the spot.

#include "core/records/patients.h"
#include "ui/records/patientlistpanel.h"
#include "ui/records/recordscontext.h"

#include <QDialog>

class QAction;
class QLabel;

namespace tork {

class TKasave : public QDialog {
    Q_OBJECT
public:
    TKasave(RecordsContext context, QWidget* parent = nullptr);

    PatientListPanel* patientList() const { return patients_; }
    QAction* newPatientButton() const { return newPatient_; }
    QAction* saveButton() const { return save_; }
    const std::optional<PatientRecord>& selectedPatient() const { return selected_; }
    // Number, name, date of birth and gender as shown under the heading.
    QStringList shownPatient() const;
    QString statusText() const;

    // Handlers.
    void PatientRowChange();
    void PatientGridDoubleClick();
    void SearchDone();
    void SaveValueClick();
    void NewPatientClick();
    void ExitClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void select(const std::optional<PatientRecord>& patient);
    void save();
    void writeCounts();

    RecordsContext context_;
    PatientListPanel* patients_;
    std::optional<PatientRecord> selected_;
    QAction* newPatient_;
    QAction* save_;
    QLabel* number_;
    QLabel* name_;
    QLabel* birthDate_;
    QLabel* sex_;
    QLabel* status_;
};

}  // namespace tork
