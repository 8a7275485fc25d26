#pragma once
// The patient grid's rows: KACUST in one order, with the calculated columns. Rows are read a
// page at a time through ORDER BY .. LIMIT when the view asks for them and kept in a small
// cache, so a list of any length opens at once and a patient deep in the list can be shown
// without reading the rows before him.

#include "core/records/patients.h"

#include <QAbstractTableModel>
#include <deque>
#include <map>
#include <memory>

namespace tork {

class PatientListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Index, Number, Name, Gender, BirthDate, Age, Latest, Telephone, Address, Email, Mobile, Fax, ColumnCount };
    static constexpr int kPageSize = 128;
    static constexpr int kCachedPages = 48;

    explicit PatientListModel(QSqlDatabase db, QObject* parent = nullptr);

    // The browser shows a latest measurement date above 4000, the save window any above 0.
    void setLatestDateThreshold(double days) { latestThreshold_ = days; }

    // Re-reads the list in ORDER (after any change of the table or of the order).
    void reopen(PatientOrder order);
    const PatientList& list() const { return *list_; }
    int count() const { return list_->count(); }

    std::optional<PatientRecord> patientAt(int row) const;
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // How many pages were read from the database since the last reopen (for the benchmark and tests).
    int pagesRead() const { return pagesRead_; }

private:
    const std::vector<PatientRecord>& page(int number) const;
    // The cached row; valid until the next page is read.
    const PatientRecord* rowAt(int row) const;

    QSqlDatabase db_;
    std::unique_ptr<PatientList> list_;
    double latestThreshold_ = 4000;
    double now_ = 0;
    mutable std::map<int, std::vector<PatientRecord>> pages_;
    mutable std::deque<int> pageAge_;   // oldest first
    mutable int pagesRead_ = 0;
};

}  // namespace tork
