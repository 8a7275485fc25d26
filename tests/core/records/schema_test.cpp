// The tables, columns, types and indexes of the database files.

#include "recordsfixture.h"
#include "support/tempfolder.h"

#include "core/records/protocolstore.h"

#include <QSqlQuery>

using namespace tork;
using namespace tork::test;

namespace {

struct StoredColumn {
    QString type;
    bool primaryKey;
};

QMap<QString, StoredColumn> columnsOf(QSqlDatabase& db, const QString& table)
{
    QMap<QString, StoredColumn> columns;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next()) columns[q.value(1).toString()] = {q.value(2).toString(), q.value(5).toInt() > 0};
    return columns;
}

}  // namespace

TEST(RecordsSchema, MainTablesHoldEveryColumnWithItsTypeAndSize)
{
    TempProgramFolder folder;
    ASSERT_EQ(buildTemplateDatabase(folder.file("KaSpa_60.mdb")), QString());
    Database database;
    ASSERT_EQ(database.open(folder.file("KaSpa_60.mdb"), OpenMode::ReadOnly), QString());
    QSqlDatabase db = database.db();

    const struct {
        const char* table;
        const char* column;
        const char* type;
    } cases[] = {
        {"KACUST", "CustNo", "VARCHAR(15)"}, {"KACUST", "Name", "VARCHAR(50)"},   {"KACUST", "Sex", "BOOLEAN"},
        {"KACUST", "DBirth", "DATETIME"},    {"KACUST", "Addr", "VARCHAR(100)"},  {"KACUST", "Tel3", "VARCHAR(30)"},
        {"KACUST", "Memo", "TEXT"},          {"KACUST", "PREMEA", "DATETIME"},    {"KACUST", "Height", "DOUBLE"},
        {"KACUST", "PrtFG", "BOOLEAN"},      {"KADATA", "MKEY", "INTEGER"},       {"KADATA", "ME1", "DOUBLE"},
        {"KADATA", "ME24", "DOUBLE"},        {"KADATA", "STD", "VARCHAR(200)"},  {"KADATA", "MEMO2", "TEXT"},
        {"KAPRO", "ProNo", "VARCHAR(12)"},   {"KAPRO", "ProName", "VARCHAR(24)"}, {"KAPRO", "ProPict", "BLOB"},
        {"KAPRO", "ProParm4", "VARCHAR(150)"}, {"KAPRDT", "ProSubN", "VARCHAR(24)"}, {"KAPRDT", "ProNote", "VARCHAR(50)"},
        {"KAPRDT", "ProAnd", "VARCHAR(30)"}, {"KAPRDT", "ProAGL", "INTEGER"},     {"KAPRDT", "ProEng", "DOUBLE"},
    };
    for (const auto& c : cases) {
        const auto columns = columnsOf(db, c.table);
        ASSERT_TRUE(columns.contains(c.column)) << c.table << "." << c.column;
        EXPECT_EQ(columns[c.column].type, c.type) << c.table << "." << c.column;
    }
    EXPECT_EQ(columnsOf(db, "KACUST").size(), 17);
    EXPECT_EQ(columnsOf(db, "KADATA").size(), 33);
    EXPECT_EQ(columnsOf(db, "KAPRO").size(), 20);   // the user's protocols have no ProMed/ProHel
    EXPECT_EQ(columnsOf(db, "KAPRDT").size(), 11);
    EXPECT_TRUE(columnsOf(db, "KADATA")["MKEY"].primaryKey);
    for (const TableSpec& table : mainDatabaseTables()) EXPECT_EQ(missingColumns(db, table), QStringList());
    EXPECT_EQ(queryValue(folder.file("KaSpa_60.mdb"), "SELECT tbl_name FROM sqlite_master WHERE name = 'KaProB'").toString(), "KAPRO");
    // The template is empty.
    for (const char* table : {"KACUST", "KADATA", "KAPRO", "KAPRDT"})
        EXPECT_EQ(countRows(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)), 0);
}

TEST(RecordsSchema, ColumnNamesCompareWithoutLetterCaseAndSizesHold)
{
    TempProgramFolder folder;
    ASSERT_EQ(buildTemplateDatabase(folder.file("tork6.mdb")), QString());
    Database database;
    ASSERT_EQ(database.open(folder.file("tork6.mdb"), OpenMode::Shared), QString());
    QSqlDatabase db = database.db();
    EXPECT_EQ(execute(db, "INSERT INTO kacust (CUSTNO, custno2) VALUES ('1', 2)").isEmpty(), false);  // no such column
    EXPECT_EQ(execute(db, "INSERT INTO kacust (CUSTNO, name) VALUES ('1', 'x')"), QString());
    EXPECT_EQ(countRows(db, "SELECT COUNT(*) FROM KaCust WHERE custno = '1'"), 1);
    // A text beyond its size is refused by the database itself, whoever writes it.
    EXPECT_FALSE(execute(db, "INSERT INTO KACUST (CustNo) VALUES ('1234567890123456')").isEmpty());
    EXPECT_FALSE(execute(db, "INSERT INTO KACUST (Name) VALUES ('no number')").isEmpty());
    EXPECT_EQ(queryValue(folder.file("tork6.mdb"), "PRAGMA journal_mode").toString(), "wal");
}

TEST(RecordsSchema, ReadOnlyDatabasesRefuseWrites)
{
    TempProgramFolder folder;
    ASSERT_EQ(buildSystemProtocolDatabase(folder.file("torkKA.mdb"), {}), QString());
    Database database;
    ASSERT_EQ(database.open(folder.file("torkKA.mdb"), OpenMode::ReadOnly), QString());
    QSqlDatabase db = database.db();
    ProtocolRecord p;
    p.number = "X";
    EXPECT_FALSE(appendProtocol(db, p).isEmpty());
    EXPECT_EQ(protocolCount(db), 0);
}

TEST(RecordsSchema, OpeningRefusesMissingFilesAndFilesThatAreNotDatabases)
{
    TempProgramFolder folder;
    Database database;
    EXPECT_FALSE(database.open(folder.file("none.mdb"), OpenMode::Shared).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder.file("none.mdb")));   // not made by trying
    QFile junk(folder.file("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(2048, 'j'));
    junk.close();
    for (OpenMode mode : {OpenMode::Shared, OpenMode::ReadOnly}) {
        const QString error = database.open(folder.file("junk.mdb"), mode);
        EXPECT_TRUE(error.contains("junk.mdb")) << qPrintable(error);
        EXPECT_FALSE(database.isOpen());
    }
}

TEST(RecordsSchema, SeveralFoldersOpenAtOnceUnderTheirOwnConnections)
{
    TempProgramFolder a, b;
    ASSERT_EQ(buildTemplateDatabase(a.file("tork6.mdb")), QString());
    ASSERT_EQ(buildTemplateDatabase(b.file("tork6.mdb")), QString());
    Database first, second;
    ASSERT_EQ(first.open(a.file("tork6.mdb"), OpenMode::Shared), QString());
    ASSERT_EQ(second.open(b.file("tork6.mdb"), OpenMode::Shared), QString());
    QSqlDatabase dbA = first.db();
    QSqlDatabase dbB = second.db();
    ASSERT_EQ(execute(dbA, "INSERT INTO KACUST (CustNo) VALUES ('only in a')"), QString());
    EXPECT_EQ(countRows(dbA, "SELECT COUNT(*) FROM KACUST"), 1);
    EXPECT_EQ(countRows(dbB, "SELECT COUNT(*) FROM KACUST"), 0);
}
