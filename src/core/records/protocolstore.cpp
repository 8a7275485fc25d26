#include "core/records/protocolstore.h"

#include "core/records/connection.h"
#include "core/records/schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace tork {
namespace {

QStringList numbered(const QString& stem, int count)
{
    QStringList list;
    for (int i = 1; i <= count; ++i) list << stem + QString::number(i);
    return list;
}

// The columns every KAPRO has, in the order of ProtocolRecord.
const QStringList& protocolColumns()
{
    static const QStringList columns = QStringList{"ProNo", "ProName", "ProData", "ProPict", "ProScal", "PrtFG", "ProFN"}
                                       + numbered("ProScrp", 4) + numbered("ProPrg", 4) + numbered("ProParm", 4);
    return columns;
}

const QStringList& adviceColumns()
{
    static const QStringList columns = numbered("ProMed", 3) + numbered("ProHel", 5);
    return columns;
}

const QStringList& conditionColumns()
{
    static const QStringList columns{"ProNo", "ProSubN", "ProNote", "ProAnd", "ProCond", "ProAGL", "ProAGH", "ProEng", "ProFlg", "PrtFG"};
    return columns;
}

QString joined(const QStringList& columns)
{
    QStringList quoted;
    for (const QString& c : columns) quoted << quotedName(c);
    return quoted.join(QStringLiteral(", "));
}

bool hasAdviceColumns(QSqlDatabase& db)
{
    return storedColumns(db, QStringLiteral("KAPRO")).contains(QStringLiteral("ProMed1"), Qt::CaseInsensitive);
}

QString selectProtocols(QSqlDatabase& db)
{
    QStringList columns = protocolColumns();
    if (hasAdviceColumns(db)) columns += adviceColumns();
    return QStringLiteral("SELECT MKEY, ") + joined(columns) + QStringLiteral(" FROM KAPRO");
}

ProtocolRecord readProtocol(const QSqlQuery& q)
{
    ProtocolRecord p;
    int c = 0;
    p.key = q.value(c++).toLongLong();
    p.number = q.value(c++).toString();
    p.name = q.value(c++).toString();
    p.description = q.value(c++).toString();
    p.picture = q.value(c++).toByteArray();
    p.pictureActualSize = q.value(c++).toBool();
    p.printFlag = q.value(c++).toBool();
    p.functions = q.value(c++).toString();
    for (QString& s : p.scripts) s = q.value(c++).toString();
    for (QString& s : p.programs) s = q.value(c++).toString();
    for (QString& s : p.parameters) s = q.value(c++).toString();
    if (q.record().count() > c) {
        for (QString& s : p.medicineTexts) s = q.value(c++).toString();
        for (QString& s : p.helpTexts) s = q.value(c++).toString();
    }
    return p;
}

ConditionRecord readCondition(const QSqlQuery& q)
{
    ConditionRecord r;
    r.key = q.value(0).toLongLong();
    r.protocolNumber = q.value(1).toString();
    r.name = q.value(2).toString();
    r.note = q.value(3).toString();
    r.required = q.value(4).toString();
    r.condition = q.value(5).toString();
    r.ageLow = q.value(6).toInt();
    r.ageHigh = q.value(7).toInt();
    r.energy = q.value(8).toDouble();
    r.must = q.value(9).toBool();
    r.printFlag = q.value(10).toBool();
    return r;
}

QVariantList protocolValues(const ProtocolRecord& p)
{
    // An empty picture is stored as NULL, as a cleared picture field is.
    QVariantList values{p.number, p.name, p.description, p.picture.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray)) : QVariant(p.picture),
                        p.pictureActualSize ? 1 : 0, p.printFlag ? 1 : 0, p.functions};
    for (const QString& s : p.scripts) values << s;
    for (const QString& s : p.programs) values << s;
    for (const QString& s : p.parameters) values << s;
    return values;
}

QVariantList conditionValues(const ConditionRecord& r)
{
    return {r.protocolNumber, r.name, r.note, r.required, r.condition, r.ageLow, r.ageHigh, r.energy, r.must ? 1 : 0, r.printFlag ? 1 : 0};
}

QString insert(QSqlDatabase& db, const QString& table, const QStringList& columns, const QVariantList& values, qint64* key)
{
    if (QString e = checkTextSizes(mainTable(table), columns, values); !e.isEmpty()) return e;
    return execute(db, QString("INSERT INTO %1 (%2) VALUES (%3)").arg(table, joined(columns), QStringList(values.size(), "?").join(", ")), values, key);
}

QString update(QSqlDatabase& db, const QString& table, const QStringList& columns, QVariantList values, qint64 key)
{
    if (QString e = checkTextSizes(mainTable(table), columns, values); !e.isEmpty()) return e;
    QStringList sets;
    for (const QString& c : columns) sets << quotedName(c) + QStringLiteral(" = ?");
    values << key;
    return execute(db, QString("UPDATE %1 SET %2 WHERE MKEY = ?").arg(table, sets.join(", ")), values);
}

template <typename Record, typename Reader>
std::vector<Record> readAll(QSqlDatabase& db, const QString& sql, const QVariantList& values, Reader read)
{
    std::vector<Record> list;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!runBound(q, sql, values)) return list;
    while (q.next()) list.push_back(read(q));
    return list;
}

QString selectConditions() { return QStringLiteral("SELECT MKEY, ") + joined(conditionColumns()) + QStringLiteral(" FROM KAPRDT"); }

}  // namespace

std::vector<ProtocolRecord> loadProtocols(QSqlDatabase& db)
{
    return readAll<ProtocolRecord>(db, selectProtocols(db) + QStringLiteral(" ORDER BY ProNo, MKEY"), {}, readProtocol);
}

std::vector<ProtocolHeading> loadProtocolHeadings(QSqlDatabase& db)
{
    return readAll<ProtocolHeading>(db, QStringLiteral("SELECT MKEY, ProNo, ProName FROM KAPRO ORDER BY ProNo, MKEY"), {},
                                    [](const QSqlQuery& q) { return ProtocolHeading{q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()}; });
}

std::optional<ProtocolRecord> findProtocol(QSqlDatabase& db, const QString& number, Qt::CaseSensitivity cs)
{
    const QString where = cs == Qt::CaseSensitive ? QStringLiteral(" WHERE ProNo = ?") : QStringLiteral(" WHERE ProNo = ? COLLATE NOCASE");
    auto list = readAll<ProtocolRecord>(db, selectProtocols(db) + where + QStringLiteral(" ORDER BY ProNo, MKEY LIMIT 1"), {number}, readProtocol);
    if (list.empty()) return std::nullopt;
    return list.front();
}

std::optional<ProtocolRecord> protocolByKey(QSqlDatabase& db, qint64 key)
{
    auto list = readAll<ProtocolRecord>(db, selectProtocols(db) + QStringLiteral(" WHERE MKEY = ?"), {key}, readProtocol);
    if (list.empty()) return std::nullopt;
    return list.front();
}

int protocolCount(QSqlDatabase& db) { return countRows(db, QStringLiteral("SELECT COUNT(*) FROM KAPRO")); }

std::vector<ConditionRecord> conditionsOf(QSqlDatabase& db, const QString& protocolNumber)
{
    return readAll<ConditionRecord>(db, selectConditions() + QStringLiteral(" WHERE ProNo = ? ORDER BY MKEY"), {protocolNumber}, readCondition);
}

std::vector<ConditionRecord> loadConditions(QSqlDatabase& db)
{
    return readAll<ConditionRecord>(db, selectConditions() + QStringLiteral(" ORDER BY MKEY"), {}, readCondition);
}

int conditionCount(QSqlDatabase& db) { return countRows(db, QStringLiteral("SELECT COUNT(*) FROM KAPRDT")); }

QString appendProtocol(QSqlDatabase& db, ProtocolRecord& record)
{
    QStringList columns = protocolColumns();
    QVariantList values = protocolValues(record);
    if (hasAdviceColumns(db)) {
        columns += adviceColumns();
        for (const QString& s : record.medicineTexts) values << s;
        for (const QString& s : record.helpTexts) values << s;
    }
    return insert(db, QStringLiteral("KAPRO"), columns, values, &record.key);
}

QString updateProtocol(QSqlDatabase& db, const ProtocolRecord& record)
{
    return update(db, QStringLiteral("KAPRO"), protocolColumns(), protocolValues(record), record.key);
}

QString deleteProtocol(QSqlDatabase& db, const ProtocolRecord& record)
{
    Savepoint work(db);
    if (!work.error().isEmpty()) return work.error();
    if (QString e = execute(db, QStringLiteral("DELETE FROM KAPRDT WHERE ProNo = ? COLLATE NOCASE"), {record.number}); !e.isEmpty()) return e;
    if (QString e = execute(db, QStringLiteral("DELETE FROM KAPRO WHERE MKEY = ?"), {record.key}); !e.isEmpty()) return e;
    return work.release();
}

QString appendCondition(QSqlDatabase& db, ConditionRecord& record)
{
    return insert(db, QStringLiteral("KAPRDT"), conditionColumns(), conditionValues(record), &record.key);
}

QString updateCondition(QSqlDatabase& db, const ConditionRecord& record)
{
    return update(db, QStringLiteral("KAPRDT"), conditionColumns(), conditionValues(record), record.key);
}

QString deleteCondition(QSqlDatabase& db, qint64 key) { return execute(db, QStringLiteral("DELETE FROM KAPRDT WHERE MKEY = ?"), {key}); }

}  // namespace tork
