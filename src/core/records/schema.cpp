#include "core/records/schema.h"

#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace tork {
namespace {

ColumnSpec text(const QString& name, int size, bool required = false) { return {name, ColumnType::Text, size, required}; }
ColumnSpec memo(const QString& name) { return {name, ColumnType::Memo}; }
ColumnSpec yesNo(const QString& name) { return {name, ColumnType::YesNo}; }
ColumnSpec dateTime(const QString& name) { return {name, ColumnType::DateTime}; }
ColumnSpec real(const QString& name) { return {name, ColumnType::Double}; }
ColumnSpec integer(const QString& name) { return {name, ColumnType::Long}; }
ColumnSpec autoNumber(const QString& name) { return {name, ColumnType::AutoNumber}; }

void addNumbered(std::vector<ColumnSpec>& columns, const QString& stem, int first, int last,
                 const std::function<ColumnSpec(const QString&)>& make)
{
    for (int i = first; i <= last; ++i) columns.push_back(make(stem + QString::number(i)));
}

TableSpec patientTable()
{
    // One index per sortable column of the patient list, so that any order opens at once;
    // the case-blind one serves the "number already taken" and locate-ignoring-case look-ups.
    return {QStringLiteral("KACUST"),
            {text("CustNo", 15, true), text("Name", 50), yesNo("Sex"), dateTime("DBirth"), text("Addr", 100),
             text("Tel", 30), text("Tel2", 30), text("Tel3", 30), text("EMail", 50), memo("Memo"),
             dateTime("PREMEA"), text("BType", 50), real("Height"), real("Weight"), text("CustCat", 50),
             text("CustFG", 50), yesNo("PrtFG")},
            {{"KaCust_CustNo", "\"CustNo\""}, {"KaCust_CustNoNoCase", "\"CustNo\" COLLATE NOCASE"},
             {"KaCust_Name", "\"Name\""}, {"KaCust_Sex", "\"Sex\""}, {"KaCust_DBirth", "\"DBirth\""},
             {"KaCust_PREMEA", "\"PREMEA\""}, {"KaCust_Tel", "\"Tel\""}, {"KaCust_Addr", "\"Addr\""},
             {"KaCust_EMail", "\"EMail\""}, {"KaCust_Tel2", "\"Tel2\""}, {"KaCust_Tel3", "\"Tel3\""}}};
}

TableSpec measurementTable()
{
    std::vector<ColumnSpec> columns{autoNumber("MKEY"), text("CustNo", 15), dateTime("MeDate"), yesNo("MeVota")};
    addNumbered(columns, QStringLiteral("ME"), 1, 24, real);
    columns.insert(columns.end(), {memo("MEMO1"), memo("MEMO2"), text("STD", 200), text("AutoKey", 50), yesNo("PrtFG")});
    // A patient's measurements newest first, and the latest date per patient, come from one index.
    return {QStringLiteral("KADATA"), columns, {{"KaData_CustNoMeDate", "\"CustNo\", \"MeDate\""}}};
}

TableSpec protocolTable(bool withAdviceTexts)
{
    std::vector<ColumnSpec> columns{autoNumber("MKEY"), text("ProNo", 12), text("ProName", 24), memo("ProData"),
                                    {QStringLiteral("ProPict"), ColumnType::Picture}, yesNo("ProScal"), yesNo("PrtFG"),
                                    text("ProFN", 50)};
    const auto text150 = [](const QString& name) { return text(name, 150); };
    addNumbered(columns, QStringLiteral("ProScrp"), 1, 4, text150);
    addNumbered(columns, QStringLiteral("ProPrg"), 1, 4, text150);
    addNumbered(columns, QStringLiteral("ProParm"), 1, 4, text150);
    if (withAdviceTexts) {
        addNumbered(columns, QStringLiteral("ProMed"), 1, 3, memo);
        addNumbered(columns, QStringLiteral("ProHel"), 1, 5, memo);
    }
    // KaProB is the stored order in which the protocols are read: by number.
    return {QStringLiteral("KAPRO"), columns, {{"KaProB", "\"ProNo\", \"MKEY\""}}};
}

TableSpec conditionTable()
{
    return {QStringLiteral("KAPRDT"),
            {autoNumber("MKEY"), text("ProNo", 12), text("ProSubN", 24), text("ProNote", 50), text("ProAnd", 30),
             text("ProCond", 30), integer("ProAGL"), integer("ProAGH"), real("ProEng"), yesNo("ProFlg"), yesNo("PrtFG")},
            {{"KaPrDt_ProNo", "\"ProNo\", \"MKEY\""}}};
}

TableSpec referenceTable()
{
    std::vector<ColumnSpec> columns{integer("MKEY")};
    const auto anyText = [](const QString& name) { return text(name, 0); };
    addNumbered(columns, QStringLiteral("DtEA"), 1, 5, anyText);
    addNumbered(columns, QStringLiteral("DtPot"), 1, 3, anyText);
    addNumbered(columns, QStringLiteral("DtMA"), 1, 3, memo);
    addNumbered(columns, QStringLiteral("DtMH"), 1, 5, memo);
    addNumbered(columns, QStringLiteral("DtML"), 1, 5, memo);
    columns.push_back({QStringLiteral("DtGpM"), ColumnType::Picture});
    return {QStringLiteral("KAMTDB"), columns, {{"KaMtDb_MKEY", "\"MKEY\""}}};
}

QString columnDefinition(const ColumnSpec& column)
{
    const QString name = quotedName(column.name);
    QString definition = name + u' ';
    switch (column.type) {
    case ColumnType::AutoNumber: return definition + QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnType::Text:
        if (column.size > 0)
            definition += QString("VARCHAR(%1) CHECK (length(%2) <= %1)").arg(column.size).arg(name);
        else
            definition += QStringLiteral("TEXT");
        break;
    case ColumnType::Memo: definition += QStringLiteral("TEXT"); break;
    case ColumnType::YesNo: definition += QStringLiteral("BOOLEAN DEFAULT 0"); break;
    case ColumnType::DateTime: definition += QStringLiteral("DATETIME DEFAULT 0"); break;
    case ColumnType::Double: definition += QStringLiteral("DOUBLE DEFAULT 0"); break;
    case ColumnType::Long: definition += QStringLiteral("INTEGER DEFAULT 0"); break;
    case ColumnType::Picture: definition += QStringLiteral("BLOB"); break;
    }
    if (column.required) definition += QStringLiteral(" NOT NULL");
    return definition;
}

QString indexStatement(const TableSpec& table, const IndexSpec& index)
{
    return QString("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(quotedName(index.name), quotedName(table.name), index.columns);
}

}  // namespace

QString backupFileName(const QDate& day) { return QStringLiteral("tork_%1_BAK.mdb").arg(day.toString(QStringLiteral("yyyyMMdd"))); }

QString quotedName(const QString& name) { return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"'; }

const ColumnSpec* TableSpec::column(const QString& wanted) const
{
    for (const ColumnSpec& c : columns)
        if (c.name.compare(wanted, Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QString checkTextSizes(const TableSpec& table, const QStringList& columns, const QVariantList& values)
{
    for (int i = 0; i < columns.size() && i < values.size(); ++i) {
        const ColumnSpec* column = table.column(columns[i]);
        const qsizetype length = values[i].toString().size();
        if (column && column->type == ColumnType::Text && column->size > 0 && length > column->size)
            return QString("%1 of %2 holds %3 characters; at most %4 fit.").arg(column->name, table.name).arg(length).arg(column->size);
    }
    return {};
}

const std::vector<TableSpec>& mainDatabaseTables()
{
    static const std::vector<TableSpec> tables{patientTable(), measurementTable(), protocolTable(false), conditionTable()};
    return tables;
}

const std::vector<TableSpec>& referenceDatabaseTables()
{
    static const std::vector<TableSpec> tables{referenceTable()};
    return tables;
}

const std::vector<TableSpec>& systemProtocolDatabaseTables()
{
    static const std::vector<TableSpec> tables{protocolTable(true), conditionTable()};
    return tables;
}

const TableSpec& mainTable(const QString& name)
{
    for (const TableSpec& t : mainDatabaseTables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) return t;
    Q_UNREACHABLE();
}

QStringList createStatements(const TableSpec& table)
{
    QStringList definitions;
    for (const ColumnSpec& column : table.columns) definitions << columnDefinition(column);
    QStringList statements{QString("CREATE TABLE %1 (%2)").arg(quotedName(table.name), definitions.join(QStringLiteral(", ")))};
    for (const IndexSpec& index : table.indexes) statements << indexStatement(table, index);
    return statements;
}

QString createTables(QSqlDatabase& db, const std::vector<TableSpec>& tables)
{
    if (!db.transaction()) return db.lastError().text();
    QSqlQuery query(db);
    for (const TableSpec& table : tables)
        for (const QString& statement : createStatements(table))
            if (!query.exec(statement)) {
                const QString error = query.lastError().text();
                db.rollback();
                return QString("Table %1 cannot be created: %2").arg(table.name, error);
            }
    if (!db.commit()) return db.lastError().text();
    return {};
}

QStringList storedColumns(QSqlDatabase& db, const QString& table, const QString& schema)
{
    QSqlQuery query(db);
    QStringList names;
    if (!query.exec(QString("PRAGMA %1.table_info(%2)").arg(quotedName(schema), quotedName(table)))) return names;
    while (query.next()) names << query.value(1).toString();
    return names;
}

bool tableExists(QSqlDatabase& db, const QString& table, const QString& schema)
{
    QSqlQuery query(db);
    query.prepare(QString("SELECT 1 FROM %1.sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE").arg(quotedName(schema)));
    query.addBindValue(table);
    return query.exec() && query.next();
}

QStringList missingColumns(QSqlDatabase& db, const TableSpec& table, const QString& schema)
{
    const QStringList stored = storedColumns(db, table.name, schema);
    QStringList missing;
    for (const ColumnSpec& column : table.columns)
        if (!stored.contains(column.name, Qt::CaseInsensitive)) missing << column.name;
    return missing;
}

QString upgradeMainSchema(QSqlDatabase& db)
{
    QStringList statements;
    for (const TableSpec& table : mainDatabaseTables()) {
        if (!tableExists(db, table.name)) return QString("The table %1 is missing.").arg(table.name);
        for (const QString& name : missingColumns(db, table)) {
            const ColumnSpec* column = table.column(name);
            if (column->type == ColumnType::AutoNumber || column->required)
                return QString("The table %1 has no column %2.").arg(table.name, name);
            statements << QString("ALTER TABLE %1 ADD COLUMN %2").arg(quotedName(table.name), columnDefinition(*column));
        }
        for (const IndexSpec& index : table.indexes) statements << indexStatement(table, index);
    }
    if (!db.transaction()) return db.lastError().text();
    QSqlQuery query(db);
    for (const QString& statement : statements)
        if (!query.exec(statement)) {
            const QString error = query.lastError().text();
            db.rollback();
            return error;
        }
    if (!db.commit()) return db.lastError().text();
    return {};
}

}  // namespace tork
