#include "core/records/patients.h"

#include "core/records/connection.h"
#include "core/records/schema.h"
#include "core/records/stdlayout.h"

#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace tork {
namespace {

const QStringList& patientColumns()
{
    static const QStringList columns{"CustNo", "Name", "Sex", "DBirth", "Addr", "Tel", "Tel2", "Tel3", "EMail", "Memo",
                                     "PREMEA", "BType", "Height", "Weight", "CustCat", "CustFG", "PrtFG"};
    return columns;
}

const QStringList& measurementColumns()
{
    static const QStringList columns = [] {
        QStringList list{"CustNo", "MeDate", "MeVota"};
        for (int i = 1; i <= 24; ++i) list << QStringLiteral("ME%1").arg(i);
        list << "MEMO1" << "MEMO2" << "STD" << "AutoKey" << "PrtFG";
        return list;
    }();
    return columns;
}

QString columnList(const QStringList& columns)
{
    QStringList quoted;
    for (const QString& c : columns) quoted << quotedName(c);
    return quoted.join(QStringLiteral(", "));
}

QString placeholders(int n) { return QStringList(n, QStringLiteral("?")).join(QStringLiteral(", ")); }

QString assignments(const QStringList& columns)
{
    QStringList parts;
    for (const QString& c : columns) parts << quotedName(c) + QStringLiteral(" = ?");
    return parts.join(QStringLiteral(", "));
}

QVariantList patientValues(const PatientRecord& p)
{
    return {p.number, p.name, p.male ? 1 : 0, p.birthDate, p.address, p.telephone, p.mobile, p.fax, p.email, p.memo,
            p.latestMeasurement, p.bloodType, p.height, p.weight, p.category, p.customerFlag, p.printFlag ? 1 : 0};
}

QVariantList measurementValues(const MeasurementRecord& m)
{
    QVariantList values{m.patientNumber, m.dateTime, m.highPotential ? 1 : 0};
    for (double v : m.values) values << v;
    values << m.memo << m.memo2 << (m.hasQuality ? formatStd(m.quality) : QString()) << m.autoKey << (m.printFlag ? 1 : 0);
    return values;
}

PatientRecord readPatient(const QSqlQuery& q)
{
    // Column 0 is the rowid, then patientColumns() in order.
    PatientRecord p;
    p.rowId = q.value(0).toLongLong();
    p.number = q.value(1).toString();
    p.name = q.value(2).toString();
    p.male = q.value(3).toBool();
    p.birthDate = q.value(4).toDouble();
    p.address = q.value(5).toString();
    p.telephone = q.value(6).toString();
    p.mobile = q.value(7).toString();
    p.fax = q.value(8).toString();
    p.email = q.value(9).toString();
    p.memo = q.value(10).toString();
    p.latestMeasurement = q.value(11).toDouble();
    p.bloodType = q.value(12).toString();
    p.height = q.value(13).toDouble();
    p.weight = q.value(14).toDouble();
    p.category = q.value(15).toString();
    p.customerFlag = q.value(16).toString();
    p.printFlag = q.value(17).toBool();
    return p;
}

MeasurementRecord readMeasurement(const QSqlQuery& q)
{
    // Column 0 is MKEY, then measurementColumns() in order.
    MeasurementRecord m;
    m.key = q.value(0).toLongLong();
    m.patientNumber = q.value(1).toString();
    m.dateTime = q.value(2).toDouble();
    m.highPotential = q.value(3).toBool();
    for (int i = 0; i < 24; ++i) m.values[i] = q.value(4 + i).toDouble();
    m.memo = q.value(28).toString();
    m.memo2 = q.value(29).toString();
    const QString std = q.value(30).toString();
    m.hasQuality = !std.isEmpty();
    m.quality = parseStd(std);
    m.autoKey = q.value(31).toString();
    m.printFlag = q.value(32).toBool();
    return m;
}

QString selectPatients() { return QStringLiteral("SELECT rowid, ") + columnList(patientColumns()) + QStringLiteral(" FROM KACUST"); }
QString selectMeasurements() { return QStringLiteral("SELECT MKEY, ") + columnList(measurementColumns()) + QStringLiteral(" FROM KADATA"); }

}  // namespace

QString prefixUpperBound(const QString& prefix)
{
    // Text compares by its UTF-8 bytes; no character sorts after the highest code point.
    const char32_t highest = 0x10FFFF;
    return prefix + QString::fromUcs4(&highest, 1);
}

// ---- patients ----

QString appendPatient(QSqlDatabase& db, PatientRecord& record)
{
    const QVariantList values = patientValues(record);
    if (QString e = checkTextSizes(mainTable("KACUST"), patientColumns(), values); !e.isEmpty()) return e;
    qint64 id = 0;
    const QString error = execute(db, QString("INSERT INTO KACUST (%1) VALUES (%2)").arg(columnList(patientColumns()), placeholders(values.size())), values, &id);
    if (error.isEmpty()) record.rowId = id;
    return error;
}

QString updatePatient(QSqlDatabase& db, const PatientRecord& record, const QString& previousNumber)
{
    QVariantList values = patientValues(record);
    if (QString e = checkTextSizes(mainTable("KACUST"), patientColumns(), values); !e.isEmpty()) return e;
    Savepoint work(db);
    if (!work.error().isEmpty()) return work.error();
    values << record.rowId;
    if (QString e = execute(db, QString("UPDATE KACUST SET %1 WHERE rowid = ?").arg(assignments(patientColumns())), values); !e.isEmpty())
        return e;
    if (record.number != previousNumber)
        if (QString e = execute(db, QStringLiteral("UPDATE KADATA SET CustNo = ? WHERE CustNo = ?"), {record.number, previousNumber}); !e.isEmpty())
            return e;
    return work.release();
}

QString deletePatient(QSqlDatabase& db, const PatientRecord& record)
{
    Savepoint work(db);
    if (!work.error().isEmpty()) return work.error();
    if (QString e = execute(db, QStringLiteral("DELETE FROM KADATA WHERE CustNo = ?"), {record.number}); !e.isEmpty()) return e;
    if (QString e = execute(db, QStringLiteral("DELETE FROM KACUST WHERE rowid = ?"), {record.rowId}); !e.isEmpty()) return e;
    return work.release();
}

std::optional<PatientRecord> findPatient(QSqlDatabase& db, const QString& number, Qt::CaseSensitivity cs)
{
    QSqlQuery q(db);
    const QString where = cs == Qt::CaseSensitive ? QStringLiteral(" WHERE CustNo = ?") : QStringLiteral(" WHERE CustNo = ? COLLATE NOCASE");
    if (!runBound(q, selectPatients() + where + QStringLiteral(" ORDER BY rowid LIMIT 1"), {number}) || !q.next()) return std::nullopt;
    return readPatient(q);
}

std::optional<PatientRecord> patientByRowId(QSqlDatabase& db, qint64 rowId)
{
    QSqlQuery q(db);
    if (!runBound(q, selectPatients() + QStringLiteral(" WHERE rowid = ?"), {rowId}) || !q.next()) return std::nullopt;
    return readPatient(q);
}

int patientCount(QSqlDatabase& db) { return countRows(db, QStringLiteral("SELECT COUNT(*) FROM KACUST")); }

// ---- measurements ----

std::vector<MeasurementRecord> measurementsOf(QSqlDatabase& db, const QString& number)
{
    std::vector<MeasurementRecord> list;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!runBound(q, selectMeasurements() + QStringLiteral(" WHERE CustNo = ? ORDER BY MeDate DESC, MKEY DESC"), {number})) return list;
    while (q.next()) list.push_back(readMeasurement(q));
    return list;
}

int measurementCount(QSqlDatabase& db, const QString& number)
{
    return countRows(db, QStringLiteral("SELECT COUNT(*) FROM KADATA WHERE CustNo = ?"), {number});
}

int measurementCount(QSqlDatabase& db) { return countRows(db, QStringLiteral("SELECT COUNT(*) FROM KADATA")); }

std::optional<MeasurementRecord> findMeasurement(QSqlDatabase& db, qint64 key)
{
    QSqlQuery q(db);
    if (!runBound(q, selectMeasurements() + QStringLiteral(" WHERE MKEY = ?"), {key}) || !q.next()) return std::nullopt;
    return readMeasurement(q);
}

QString appendMeasurement(QSqlDatabase& db, MeasurementRecord& record)
{
    const QVariantList values = measurementValues(record);
    if (QString e = checkTextSizes(mainTable("KADATA"), measurementColumns(), values); !e.isEmpty()) return e;
    qint64 key = 0;
    const QString error = execute(db, QString("INSERT INTO KADATA (%1) VALUES (%2)").arg(columnList(measurementColumns()), placeholders(values.size())), values, &key);
    if (error.isEmpty()) record.key = key;
    return error;
}

QString updateMeasurement(QSqlDatabase& db, const MeasurementRecord& record)
{
    QVariantList values = measurementValues(record);
    if (QString e = checkTextSizes(mainTable("KADATA"), measurementColumns(), values); !e.isEmpty()) return e;
    values << record.key;
    return execute(db, QString("UPDATE KADATA SET %1 WHERE MKEY = ?").arg(assignments(measurementColumns())), values);
}

QString deleteMeasurement(QSqlDatabase& db, qint64 key)
{
    return execute(db, QStringLiteral("DELETE FROM KADATA WHERE MKEY = ?"), {key});
}

// ---- PREMEA ----

namespace {
const char kNewestOwnMeasurement[] =
    "max(0, coalesce((SELECT max(d.MeDate) FROM KADATA d WHERE d.CustNo = KACUST.CustNo), 0))";
}

QString refreshLatestMeasurement(QSqlDatabase& db, const QString& number)
{
    return execute(db, QString("UPDATE KACUST SET PREMEA = %1 WHERE CustNo = ?").arg(kNewestOwnMeasurement), {number});
}

QString setLatestMeasurement(QSqlDatabase& db, const QString& number, double dateTime)
{
    return execute(db, QStringLiteral("UPDATE KACUST SET PREMEA = ? WHERE CustNo = ?"), {dateTime, number});
}

QString rebuildLatestMeasurements(QSqlDatabase& db, const std::function<void(int, int)>& progress)
{
    const int total = patientCount(db);
    QSqlQuery bounds(db);
    if (!bounds.exec(QStringLiteral("SELECT min(rowid), max(rowid) FROM KACUST")) || !bounds.next()) return bounds.lastError().text();
    if (bounds.value(0).isNull()) return {};
    const qint64 lowest = bounds.value(0).toLongLong();
    const qint64 highest = bounds.value(1).toLongLong();
    constexpr qint64 kBatch = 2000;
    QSqlQuery update(db);
    if (!update.prepare(QString("UPDATE KACUST SET PREMEA = %1 WHERE rowid BETWEEN ? AND ?").arg(kNewestOwnMeasurement)))
        return update.lastError().text();
    int done = 0;
    for (qint64 first = lowest; first <= highest; first += kBatch) {
        if (progress) progress(done, total);
        update.addBindValue(first);
        update.addBindValue(first + kBatch - 1);
        if (!update.exec()) return update.lastError().text();
        done += update.numRowsAffected();
    }
    if (progress) progress(total, total);
    return {};
}

// ---- the patient list ----

PatientOrder PatientOrder::fromSortKey(int sortKey)
{
    if (sortKey == 0) sortKey = -1;
    static const PatientSortField fields[] = {
        PatientSortField::Number, PatientSortField::Name, PatientSortField::Sex, PatientSortField::BirthDate,
        PatientSortField::BirthDate, PatientSortField::LatestMeasurement, PatientSortField::Telephone,
        PatientSortField::Address, PatientSortField::Email, PatientSortField::Mobile, PatientSortField::Fax};
    const int column = std::clamp(std::abs(sortKey), 1, 11);
    return {fields[column - 1], sortKey < 0};
}

QString PatientOrder::column() const
{
    switch (field) {
    case PatientSortField::Number: return QStringLiteral("CustNo");
    case PatientSortField::Name: return QStringLiteral("Name");
    case PatientSortField::Sex: return QStringLiteral("Sex");
    case PatientSortField::BirthDate: return QStringLiteral("DBirth");
    case PatientSortField::LatestMeasurement: return QStringLiteral("PREMEA");
    case PatientSortField::Telephone: return QStringLiteral("Tel");
    case PatientSortField::Address: return QStringLiteral("Addr");
    case PatientSortField::Email: return QStringLiteral("EMail");
    case PatientSortField::Mobile: return QStringLiteral("Tel2");
    case PatientSortField::Fax: return QStringLiteral("Tel3");
    }
    return QStringLiteral("CustNo");
}

bool PatientOrder::isText() const
{
    return field != PatientSortField::Sex && field != PatientSortField::BirthDate && field != PatientSortField::LatestMeasurement;
}

PatientList::PatientList(QSqlDatabase db, PatientOrder order) : db_(std::move(db)), order_(order) { refresh(); }

void PatientList::refresh() { count_ = patientCount(db_); }

std::vector<PatientRecord> PatientList::rows(int first, int count) const
{
    std::vector<PatientRecord> list;
    if (count <= 0 || first < 0) return list;
    const QString dir = order_.descending ? QStringLiteral(" DESC") : QString();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    const QString sql = selectPatients() + QString(" ORDER BY %1%2, rowid%2 LIMIT ? OFFSET ?").arg(quotedName(order_.column()), dir);
    if (!runBound(q, sql, {count, first})) return list;
    list.reserve(count);
    while (q.next()) list.push_back(readPatient(q));
    return list;
}

std::optional<PatientRecord> PatientList::row(int position) const
{
    auto list = rows(position, 1);
    if (list.empty()) return std::nullopt;
    return list.front();
}

std::optional<int> PatientList::locateFirst(const QString& condition, const QVariantList& values) const
{
    const QString col = quotedName(order_.column());
    const QString dir = order_.descending ? QStringLiteral(" DESC") : QString();
    QSqlQuery q(db_);
    if (!runBound(q, QString("SELECT %1, rowid FROM KACUST WHERE %2 ORDER BY %1%3, rowid%3 LIMIT 1").arg(col, condition, dir), values) || !q.next())
        return std::nullopt;
    return positionOf(q.value(0), q.value(1).toLongLong());
}

int PatientList::positionOf(const QVariant& sortValue, qint64 rowId) const
{
    // Rows before (sortValue, rowId) in the list's order; NULL sorts before every value.
    const QString col = quotedName(order_.column());
    QString sql;
    QVariantList values;
    const QString count = QStringLiteral("(SELECT COUNT(*) FROM KACUST WHERE %1)");
    if (!order_.descending) {
        if (sortValue.isNull()) {
            sql = count.arg(col + QStringLiteral(" IS NULL AND rowid < ?"));
            values = {rowId};
        } else {
            sql = count.arg(col + QStringLiteral(" IS NULL")) + u'+' + count.arg(col + QStringLiteral(" < ?")) + u'+' +
                  count.arg(col + QStringLiteral(" = ? AND rowid < ?"));
            values = {sortValue, sortValue, rowId};
        }
    } else {
        if (sortValue.isNull()) {
            sql = count.arg(col + QStringLiteral(" IS NOT NULL")) + u'+' + count.arg(col + QStringLiteral(" IS NULL AND rowid > ?"));
            values = {rowId};
        } else {
            sql = count.arg(col + QStringLiteral(" > ?")) + u'+' + count.arg(col + QStringLiteral(" = ? AND rowid > ?"));
            values = {sortValue, sortValue, rowId};
        }
    }
    QSqlQuery q(db_);
    if (!runBound(q, QStringLiteral("SELECT ") + sql, values) || !q.next()) return 0;
    return q.value(0).toInt();
}

std::optional<int> PatientList::locatePrefix(const QString& text) const
{
    if (text.isEmpty() || !order_.isText()) return std::nullopt;
    const QString col = quotedName(order_.column());
    return locateFirst(QString("%1 >= ? AND %1 < ?").arg(col), {text, prefixUpperBound(text)});
}

std::optional<int> PatientList::locateDay(double day) const
{
    if (order_.isText() || order_.field == PatientSortField::Sex) return std::nullopt;
    const double first = std::floor(day);
    return locateFirst(QString("%1 >= ? AND %1 < ?").arg(quotedName(order_.column())), {first, first + 1});
}

std::optional<int> PatientList::locateNumberPrefix(const QString& number) const
{
    if (number.isEmpty()) return count_ > 0 ? std::optional<int>(0) : std::nullopt;
    return locateFirst(QStringLiteral("CustNo >= ? AND CustNo < ?"), {number, prefixUpperBound(number)});
}

std::optional<int> PatientList::locateNumberIgnoringCase(const QString& number) const
{
    return locateFirst(QStringLiteral("CustNo = ? COLLATE NOCASE"), {number});
}

}  // namespace tork
