#pragma once
// The patient list shared by the browser, the save window and the comparison window: the
// grid with its calculated columns, the prefix and date search with its indicator, and the
// column-heading sort whose signed key (ProgramState::patientSortColumn) outlives the window.

#include "core/app/programstate.h"
#include "ui/records/patientlistmodel.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace tork {

enum class SearchIndicator { Unavailable, Ready, Found, NotFound };

class PatientListPanel : public QWidget {
    Q_OBJECT
public:
    PatientListPanel(ProgramState& state, QSqlDatabase db, QWidget* parent = nullptr);

    // Empties the search box, applies the stored sort and opens the list; no row is current yet.
    void open();
    // Re-reads the list in its order (after a change), staying on the current patient.
    void reopen();

    PatientListModel* model() const { return model_; }
    QTableView* grid() const { return grid_; }
    QLineEdit* searchBox() const { return searchBox_; }
    QPushButton* searchButton() const { return searchButton_; }
    QLabel* dateHint() const { return dateHint_; }
    QLabel* countsLabel() const { return counts_; }
    SearchIndicator indicator() const { return indicator_; }

    int count() const { return model_->count(); }
    int currentRow() const;
    std::optional<PatientRecord> currentPatient() const;
    // Makes ROW current (clamped into the list); nothing when the list is empty.
    void selectRow(int row);
    // Makes the first row whose number begins with NUMBER current; false when none does.
    bool locateNumberPrefix(const QString& number);
    // Makes the first row whose number equals NUMBER ignoring case current; false when none does.
    bool locateNumberIgnoringCase(const QString& number);

    // The sort column 1..11 and direction from the shared sort key (0 counts as -1).
    int sortColumn() const;
    bool sortDescending() const;
    void setCountsText(const QString& text);

    // Handlers.
    void HeaderClick(int column);
    void SearchButtonClick();
    void SearchTextChange();

signals:
    void currentPatientChanged();
    void patientDoubleClicked();
    void searchDone(bool found);

private:
    void applySearchState();
    void showIndicator(SearchIndicator state);

    ProgramState& state_;
    PatientListModel* model_;
    QTableView* grid_;
    QLineEdit* searchBox_;
    QPushButton* searchButton_;
    QLabel* indicatorLabel_;
    QLabel* dateHint_;
    QLabel* counts_;
    SearchIndicator indicator_ = SearchIndicator::Ready;
};

}  // namespace tork
