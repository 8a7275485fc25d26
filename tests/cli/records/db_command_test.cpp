// tork-tool db upgrade | check | backup

#include "core/records/connection.h"
#include "core/records/deliveredbuild.h"
#include "core/records/schema.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace tork;
using namespace tork::test;

namespace {

void runSql(const QString& path, const QStringList& statements)
{
    Database database;
    ASSERT_EQ(database.open(path, OpenMode::Create), QString());
    QSqlDatabase db = database.db();
    for (const QString& s : statements) ASSERT_EQ(execute(db, s), QString()) << qPrintable(s);
}

int count(const QString& path, const QString& sql)
{
    Database database;
    if (!database.open(path, OpenMode::ReadOnly).isEmpty()) return -1;
    QSqlDatabase db = database.db();
    return countRows(db, sql);
}

}  // namespace

TEST(CliDb, UpgradeInstallsTransfersAndBacksUpAnOlderGeneration)
{
    TempProgramFolder folder;
    QString me;
    for (int i = 1; i <= 24; ++i) me += QStringLiteral(", ME%1 DOUBLE").arg(i);
    runSql(folder.file("tork4.mdb"),
           {"CREATE TABLE KaCust (CustNo TEXT, Name TEXT, Sex BOOLEAN, DBirth DATETIME, Addr TEXT, Tel TEXT, Tel2 TEXT, Tel3 TEXT, "
            "EMail TEXT, Memo TEXT, BType TEXT, Height DOUBLE, Weight DOUBLE, CustCat TEXT, CustFG TEXT, PrtFG BOOLEAN)",
            "CREATE TABLE KaData (MKEY INTEGER PRIMARY KEY, CustNo TEXT, MeDate DATETIME, MeVota BOOLEAN" + me +
                ", MEMO1 TEXT, MEMO2 TEXT, AutoKey TEXT, PrtFG BOOLEAN)",
            "CREATE TABLE KaPro (MKEY INTEGER PRIMARY KEY, ProNo TEXT, ProName TEXT, ProData TEXT, ProPict BLOB, ProScal BOOLEAN, PrtFG BOOLEAN)",
            "CREATE TABLE KaPrDt (MKEY INTEGER PRIMARY KEY, ProNo TEXT, ProSubN TEXT, ProNote TEXT, ProAnd TEXT, ProCond TEXT, "
            "ProEng DOUBLE, ProFlg BOOLEAN, PrtFG BOOLEAN)",
            "INSERT INTO KaCust (CustNo, Name) VALUES ('7', 'Seven')",
            "INSERT INTO KaData (CustNo, MeDate) VALUES ('7', 45000.5)"});

    QString out, err;
    EXPECT_EQ(runTool({"db", "upgrade", "--program-folder", folder.path()}, &out, &err), 0) << qPrintable(err);

    EXPECT_TRUE(out.contains("Copied the delivered KaSpa_60.mdb.")) << qPrintable(out);
    EXPECT_TRUE(out.contains("Renamed tork4.mdb to tork.mdb.")) << qPrintable(out);
    EXPECT_TRUE(out.contains("Transferred 1 patients, 1 measurements, 0 protocols and 0 conditions")) << qPrintable(out);
    EXPECT_TRUE(out.contains("KADATA.STD")) << qPrintable(out);
    EXPECT_TRUE(out.contains("100%")) << qPrintable(out);
    const QString backup = QStringLiteral("tork_%1_BAK.mdb").arg(QDate::currentDate().toString("yyyyMMdd"));
    EXPECT_TRUE(QFileInfo::exists(folder.file(backup)));
    EXPECT_FALSE(QFileInfo::exists(folder.file("tork4.mdb")));
    EXPECT_EQ(count(folder.file("Tork6.mdb"), "SELECT COUNT(*) FROM KACUST WHERE PREMEA = 45000.5"), 1);

    // A second run has nothing left to do and says so by saying little.
    EXPECT_EQ(runTool({"db", "upgrade", "--program-folder", folder.path()}, &out, &err), 0) << qPrintable(err);
    EXPECT_FALSE(out.contains("Transferred")) << qPrintable(out);
    EXPECT_FALSE(out.contains("Copied")) << qPrintable(out);
}

TEST(CliDb, UpgradeFailsWithAMessageWhenTheOldFileIsNoDatabase)
{
    TempProgramFolder folder;
    QFile junk(folder.file("tork.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'q'));
    junk.close();
    QString out, err;
    EXPECT_EQ(runTool({"db", "upgrade", "--program-folder", folder.path()}, &out, &err), 1);
    EXPECT_TRUE((out + err).contains("could not be transferred")) << qPrintable(out + err);
    EXPECT_TRUE(QFileInfo::exists(folder.file("tork.mdb")));
}

TEST(CliDb, CheckListsTablesCountsAndMissingColumns)
{
    TempProgramFolder folder;
    QString out, err;
    ASSERT_EQ(runTool({"db", "upgrade", "--program-folder", folder.path()}, &out, &err), 0) << qPrintable(err);
    EXPECT_EQ(runTool({"db", "check", "--program-folder", folder.path()}, &out, &err), 0) << qPrintable(err);
    EXPECT_TRUE(out.contains("KAMTDB:")) << qPrintable(out);
    EXPECT_TRUE(out.contains("KACUST: 0 rows")) << qPrintable(out);

    // A template of an older layout is reported with what it lacks.
    QFile::remove(folder.file("KaSpa_60.mdb"));
    runSql(folder.file("KaSpa_60.mdb"), {"CREATE TABLE KACUST (CustNo TEXT, Name TEXT)", "INSERT INTO KACUST VALUES ('1', 'x')"});
    EXPECT_EQ(runTool({"db", "check", "--program-folder", folder.path()}, &out, &err), 1);
    EXPECT_TRUE(out.contains("KACUST: 1 rows, missing columns: Sex, DBirth")) << qPrintable(out);
    EXPECT_TRUE(out.contains("KADATA: missing")) << qPrintable(out);
    EXPECT_TRUE(err.contains("incomplete")) << qPrintable(err);
}

TEST(CliDb, BackupCopiesTheMainDatabaseWhileItIsInUse)
{
    TempProgramFolder folder;
    QString out, err;
    ASSERT_EQ(runTool({"db", "upgrade", "--program-folder", folder.path()}, &out, &err), 0) << qPrintable(err);
    // The program holds the main database open with committed rows and an unfinished change.
    Database running;
    ASSERT_EQ(running.open(folder.file("Tork6.mdb"), OpenMode::Shared), QString());
    QSqlDatabase db = running.db();
    ASSERT_EQ(execute(db, "INSERT INTO KACUST (CustNo) VALUES ('committed')"), QString());
    ASSERT_EQ(execute(db, "BEGIN"), QString());
    ASSERT_EQ(execute(db, "INSERT INTO KACUST (CustNo) VALUES ('unfinished')"), QString());

    const QString destination = folder.file("copies/backup.mdb");
    QDir().mkpath(folder.file("copies"));
    EXPECT_EQ(runTool({"db", "backup", destination, "--program-folder", folder.path()}, &out, &err), 0) << qPrintable(err);
    ASSERT_EQ(execute(db, "ROLLBACK"), QString());
    EXPECT_EQ(count(destination, "SELECT COUNT(*) FROM KACUST"), 1);
    EXPECT_EQ(count(destination, "SELECT COUNT(*) FROM KACUST WHERE CustNo = 'committed'"), 1);

    // An existing destination is never replaced; bad words are a usage error.
    EXPECT_EQ(runTool({"db", "backup", destination, "--program-folder", folder.path()}, &out, &err), 1);
    EXPECT_TRUE(err.contains("exists already")) << qPrintable(err);
    EXPECT_EQ(runTool({"db", "backup", "--program-folder", folder.path()}, &out, &err), 2);
    EXPECT_EQ(runTool({"db", "frobnicate", "--program-folder", folder.path()}, &out, &err), 2);
}
