#include "ui/records/measurementlistmodel.h"

#include "core/app/formats.h"
#include "core/app/meridians.h"
#include "core/records/recordedits.h"

#include <QColor>
#include <QFont>
#include <numeric>

namespace tork {

double energyAverage(const MeasurementRecord& measurement)
{
    return std::accumulate(measurement.values.begin(), measurement.values.end(), 0.0) / kPointCount;
}

void MeasurementListModel::open(QSqlDatabase db, const std::optional<PatientRecord>& patient)
{
    beginResetModel();
    rows_ = patient ? measurementsOf(db, patient->number.trimmed()) : std::vector<MeasurementRecord>{};
    birthDate_ = patient ? patient->birthDate : 0;
    endResetModel();
}

const MeasurementRecord* MeasurementListModel::at(int row) const
{
    return row >= 0 && row < count() ? &rows_[row] : nullptr;
}

int MeasurementListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }
int MeasurementListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString MeasurementListModel::cellText(int row, int column) const
{
    const MeasurementRecord* m = at(row);
    if (!m) return {};
    switch (column) {
    case Index: return QString::number(row + 1);
    case Date: return m->dateTime > 0 ? shortDate(m->dateTime) : QString();
    case Time: return m->dateTime > 0 ? shortTime(m->dateTime) : QString();
    case Energy: return formatFixed(energyAverage(*m), 3, 1);
    case Age: return birthDate_ > 4000 ? formatFixed(ageInYears(birthDate_, m->dateTime), 3, 1) : QString();
    case Potential: return m->highPotential ? QStringLiteral("HI") : QStringLiteral("NRM");
    default: break;
    }
    if (column >= FirstPoint && column < ColumnCount) return pointValueText(m->values[column - FirstPoint]);
    return {};
}

QVariant MeasurementListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return cellText(index.row(), column);
    case Qt::ForegroundRole:
        if (column == Energy) return QColor(0, 0, 255);
        if (column == Potential) return rows_[index.row()].highPotential ? QColor(255, 0, 0) : QColor(0, 128, 0);
        return {};
    case Qt::FontRole:
        if (column == Energy || column == Potential) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        return column >= Energy ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant MeasurementListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return {};
    const int me = section - FirstPoint + 1;   // ME number of a point column
    if (role == Qt::DisplayRole) {
        static const char* fixed[] = {"Index", "Date", "Time", "Energy", "M.Age", "Potential"};
        if (section < FirstPoint) return QString::fromLatin1(fixed[section]);
        const QString abbreviation = meridianInfo(meridianOfPoint(me)).abbreviation;
        if (me == 1) return QStringLiteral("L-") + abbreviation;
        if (me == 7) return QStringLiteral("R-") + abbreviation;
        if (me == 13) return QStringLiteral("L-") + abbreviation;
        if (me == 19) return QStringLiteral("R-") + abbreviation;
        return abbreviation;
    }
    if (section >= FirstPoint && isLeftPoint(me)) {
        if (role == Qt::ForegroundRole) return QColor(0, 0, 128);
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
    }
    return {};
}

}  // namespace tork
