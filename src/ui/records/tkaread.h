#pragma once
// TKaread: "Load Patient and Measurement Record". The patient list, the measurements of the
// patient under the cursor, the detail value grid and the memo panel; recall of a stored
// measurement, patients and measurements added, edited and deleted.

#include "core/records/patients.h"
#include "ui/records/measurementlistmodel.h"
#include "ui/records/patientlistpanel.h"
#include "ui/records/recordscontext.h"

#include <QDialog>
#include <map>

class QAction;
class QPlainTextEdit;
class QTableView;
class QTableWidget;
class QWidget;

namespace tork {

enum class ManualEntryMode;

class TKaread : public QDialog {
    Q_OBJECT
public:
    enum class Button { Recall, NewPatient, EditPatient, DeletePatient, NewValue, EditValue, DeleteValue, DisplayMode, Memo, Exit };
    enum class FocusedGrid { Patients, Measurements };

    // CONFIRM_RECALL: ask before a recall (on when opened from the main window).
    TKaread(RecordsContext context, bool confirmRecall, QWidget* parent = nullptr);

    PatientListPanel* patientList() const { return patients_; }
    QTableView* measurementGrid() const { return measurementGrid_; }
    MeasurementListModel* measurements() const { return measurements_; }
    QTableWidget* detailGrid() const { return detailGrid_; }
    QWidget* memoPanel() const { return memoPanel_; }
    QPlainTextEdit* patientMemo() const { return patientMemo_; }
    QPlainTextEdit* measurementMemo() const { return measurementMemo_; }
    QAction* button(Button b) const { return buttons_.at(b); }
    QString countsText() const;
    bool confirmRecall() const { return confirmRecall_; }
    FocusedGrid focusedGrid() const { return focused_; }
    int currentMeasurementRow() const;
    void selectMeasurementRow(int row);

    // Handlers.
    void PatientGridEnter();
    void MeasurementGridEnter();
    void PatientRowChange();
    void MeasurementRowChange();
    void PatientGridDoubleClick();
    void MeasurementGridDoubleClick();
    void RecallClick();
    void NewPatientClick();
    void EditPatientClick();
    void DeletePatientClick();
    void NewValueClick();
    void EditValueClick();
    void DeleteValueClick();
    void DisplayModeClick();
    void MemoClick();
    void ExitClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open();
    void recall();
    void reloadMeasurements();
    void refreshDetail();
    void writeCounts();
    void updateButtons();
    void enterValues(ManualEntryMode mode);
    void keepLatestMeasurement(const QString& number);

    RecordsContext context_;
    bool confirmRecall_;
    FocusedGrid focused_ = FocusedGrid::Patients;
    PatientListPanel* patients_;
    MeasurementListModel* measurements_;
    QTableView* measurementGrid_;
    QTableWidget* detailGrid_;
    QWidget* memoPanel_;
    QPlainTextEdit* patientMemo_;
    QPlainTextEdit* measurementMemo_;
    std::map<Button, QAction*> buttons_;
};

}  // namespace tork
