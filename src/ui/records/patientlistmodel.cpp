#include "ui/records/patientlistmodel.h"

#include "core/app/formats.h"

#include <QColor>
#include <QDateTime>
#include <algorithm>

namespace tork {

namespace {
constexpr double kUnknownDateLimit = 4000;   // dates up to 13 December 1910 count as unknown
}

PatientListModel::PatientListModel(QSqlDatabase db, QObject* parent)
    : QAbstractTableModel(parent), db_(std::move(db)), list_(std::make_unique<PatientList>(db_, PatientOrder{}))
{
    now_ = toDayCount(QDateTime::currentDateTime());
}

void PatientListModel::reopen(PatientOrder order)
{
    beginResetModel();
    list_ = std::make_unique<PatientList>(db_, order);
    pages_.clear();
    pageAge_.clear();
    pagesRead_ = 0;
    now_ = toDayCount(QDateTime::currentDateTime());
    endResetModel();
}

const std::vector<PatientRecord>& PatientListModel::page(int number) const
{
    auto found = pages_.find(number);
    if (found != pages_.end()) return found->second;
    if (int(pageAge_.size()) >= kCachedPages) {
        pages_.erase(pageAge_.front());
        pageAge_.pop_front();
    }
    pageAge_.push_back(number);
    ++pagesRead_;
    return pages_[number] = list_->rows(number * kPageSize, kPageSize);
}

const PatientRecord* PatientListModel::rowAt(int row) const
{
    if (row < 0 || row >= count()) return nullptr;
    const auto& rows = page(row / kPageSize);
    const std::size_t offset = row % kPageSize;
    return offset < rows.size() ? &rows[offset] : nullptr;
}

std::optional<PatientRecord> PatientListModel::patientAt(int row) const
{
    const PatientRecord* p = rowAt(row);
    return p ? std::optional<PatientRecord>(*p) : std::nullopt;
}

int PatientListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }
int PatientListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString PatientListModel::cellText(int row, int column) const
{
    const PatientRecord* patient = rowAt(row);
    if (!patient) return {};
    const PatientRecord& p = *patient;
    switch (column) {
    case Index: return QString::number(row + 1);
    case Number: return p.number;
    case Name: return p.name;
    case Gender: return p.male ? QStringLiteral("Male") : QStringLiteral("Female");
    case BirthDate: return p.birthDate > kUnknownDateLimit ? shortDate(p.birthDate) : QString();
    case Age: return p.birthDate > kUnknownDateLimit ? formatFixed(ageInYears(p.birthDate, now_), 3, 1) : QString();
    case Latest: return p.latestMeasurement > latestThreshold_ ? shortDateTime(p.latestMeasurement) : QString();
    case Telephone: return p.telephone;
    case Address: return p.address;
    case Email: return p.email;
    case Mobile: return p.mobile;
    case Fax: return p.fax;
    }
    return {};
}

QVariant PatientListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return cellText(index.row(), index.column());
    if (role == Qt::ForegroundRole && index.column() == Gender) {
        if (const PatientRecord* patient = rowAt(index.row())) return patient->male ? QColor(0, 128, 0) : QColor(255, 0, 0);
    }
    if (role == Qt::TextAlignmentRole && (index.column() == Index || index.column() == Age))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant PatientListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* headings[ColumnCount] = {"Index", "Patient No", "Name", "Gender", "D.O.B.", "Age",
                                                "Latest Measurement Date", "Tel No.", "Address", "e-mail", "Mobile No.", "Fax No."};
    if (section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(headings[section]);
}

}  // namespace tork
