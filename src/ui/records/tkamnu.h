#pragma once
// TKamnu: the 24 values of a measurement typed by hand, with its date, time, potential and
// notes; a stored measurement modified, a new one added to a patient, or the current
// measurement replaced in memory.

#include "core/records/patients.h"
#include "ui/records/recordscontext.h"

#include <QDialog>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QTableWidgetItem;
class QTimeEdit;

namespace tork {

enum class ManualEntryMode { Modify = 1, New = 2, Current = 3 };

class TKamnu : public QDialog {
    Q_OBJECT
public:
    // ROW: the measurement under the browser's cursor (modify mode); PATIENT_NUMBER: the
    // patient under the browser's cursor (new mode).
    TKamnu(ManualEntryMode mode, RecordsContext context, std::optional<MeasurementRecord> row,
           const QString& patientNumber, QWidget* parent = nullptr);

    QTableWidget* valueGrid() const { return grid_; }
    QCheckBox* dateKnown() const { return dateKnown_; }
    QDateEdit* datePicker() const { return date_; }
    QTimeEdit* timePicker() const { return time_; }
    QComboBox* potential() const { return potential_; }
    QPlainTextEdit* notes() const { return notes_; }
    QAction* saveButton() const { return save_; }
    QAction* clearButton() const { return clear_; }
    QString heading() const;
    QString statusText() const;

    // Handlers.
    // A cell's text after the operator left it; false (with a message) when it is no number.
    bool GridCellLeave(int row, int column);
    // Enter in the grid: the current cell normalised and, when it holds a value, the next one current.
    void GridReturnPressed();
    // The grid lost the focus: every cell that holds a number is normalised.
    void GridExit();
    // Whether the grid lets a typed character through.
    static bool GridKeyAccepted(QChar c);
    void DateKnownClick();
    void SaveClick();
    void ClearClick();
    void ExitClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(const std::array<double, kPointCount>& values);
    bool normalise(QTableWidgetItem* item, bool report);
    QString cellName(int row, int column) const;
    void setPickers(bool known, double dayCount);
    double enteredDateTime() const;
    void commitOpenEditor();

    ManualEntryMode mode_;
    RecordsContext context_;
    std::optional<MeasurementRecord> row_;
    QString patientNumber_;
    bool filling_ = false;

    QTableWidget* grid_;
    QCheckBox* dateKnown_;
    QDateEdit* date_;
    QTimeEdit* time_;
    QComboBox* potential_;
    QPlainTextEdit* notes_;
    QLabel* heading_;
    QLabel* status_;
    QAction* save_;
    QAction* clear_;
};

}  // namespace tork
