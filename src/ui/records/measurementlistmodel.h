#pragma once
// The measurement grid of the browser: one patient's measurements, newest first, with the
// calculated columns (date, time, energy average, age at the measurement, potential).

#include "core/records/patients.h"

#include <QAbstractTableModel>

namespace tork {

class MeasurementListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Index, Date, Time, Energy, Age, Potential, FirstPoint, ColumnCount = FirstPoint + 24 };

    using QAbstractTableModel::QAbstractTableModel;

    // Reads the measurements of PATIENT (by his trimmed number); an empty list without one.
    void open(QSqlDatabase db, const std::optional<PatientRecord>& patient);
    const std::vector<MeasurementRecord>& rows() const { return rows_; }
    int count() const { return int(rows_.size()); }
    const MeasurementRecord* at(int row) const;
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<MeasurementRecord> rows_;
    double birthDate_ = 0;
};

// Mean of the 24 point values.
double energyAverage(const MeasurementRecord& measurement);

}  // namespace tork
