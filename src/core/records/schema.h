#pragma once
// Tables, columns and indexes of the database files, and the file names they live under.

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace tork {

// File names in the program folder; they compare without regard to letter case.
inline constexpr char kMainDatabaseFile[] = "tork6.mdb";
inline constexpr char kMainDatabaseTemplateCopyName[] = "Tork6.mdb";
inline constexpr char kReferenceDatabaseFile[] = "torkE.mdb";
inline constexpr char kSystemProtocolDatabaseFile[] = "torkKA.mdb";
inline constexpr char kTemplateDatabaseFile[] = "KaSpa_60.mdb";
inline constexpr char kNewVersionDatabaseFile[] = "tork_60.mdb";
inline constexpr char kOldDatabaseFile[] = "tork.mdb";
inline constexpr char kOlderGenerationDatabaseFile[] = "tork4.mdb";
// "tork_yyyymmdd_BAK.mdb" for the day of the transfer.
QString backupFileName(const QDate& day);

enum class ColumnType { AutoNumber, Text, Memo, YesNo, DateTime, Double, Long, Picture };

struct ColumnSpec {
    QString name;
    ColumnType type;
    int size = 0;           // characters of a Text column; 0 = any length
    bool required = false;
};

struct IndexSpec {
    QString name;
    QString columns;        // the column list as written in CREATE INDEX
};

struct TableSpec {
    QString name;
    std::vector<ColumnSpec> columns;
    std::vector<IndexSpec> indexes;

    const ColumnSpec* column(const QString& name) const;  // ignoring case
};

// KACUST, KADATA, KAPRO, KAPRDT of the main database (and of its template).
const std::vector<TableSpec>& mainDatabaseTables();
// KAMTDB of the reference database.
const std::vector<TableSpec>& referenceDatabaseTables();
// KAPRO (with the further advice texts ProMed1..3, ProHel1..5) and KAPRDT of the system protocol database.
const std::vector<TableSpec>& systemProtocolDatabaseTables();

const TableSpec& mainTable(const QString& name);   // ignoring case; the table must exist

// CREATE TABLE and CREATE INDEX statements of a table, in order.
QStringList createStatements(const TableSpec& table);
// Creates the tables and indexes in one transaction; returns an error text or empty.
QString createTables(QSqlDatabase& db, const std::vector<TableSpec>& tables);

// Column names of a table as stored, or an empty list when the table does not exist.
// `schema` names an attached database ("main" for the connection's own file).
QStringList storedColumns(QSqlDatabase& db, const QString& table, const QString& schema = QStringLiteral("main"));
bool tableExists(QSqlDatabase& db, const QString& table, const QString& schema = QStringLiteral("main"));
// Columns of the current layout that the stored table lacks (ignoring case).
QStringList missingColumns(QSqlDatabase& db, const TableSpec& table, const QString& schema = QStringLiteral("main"));

// Brings a main database of an older layout up to date: adds the columns and indexes it
// lacks, keeping every row. A missing table is an error. Returns an error text or empty.
QString upgradeMainSchema(QSqlDatabase& db);

// A text longer than its column would be refused by the database; names the field instead.
// COLUMNS and VALUES run in parallel. Returns an error text or empty.
QString checkTextSizes(const TableSpec& table, const QStringList& columns, const QVariantList& values);

// The identifier written into SQL text, quoted; names come from the schema, never from input.
QString quotedName(const QString& name);

}  // namespace tork
