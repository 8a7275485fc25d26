// The database start-up step: installer renames, the template copy, the standing
// connections, and the transfer of an old main database as one unit of work.

#include "recordsfixture.h"
#include "support/scriptedmessages.h"
#include "support/tempfolder.h"

#include "core/app/programstate.h"
#include "core/records/patients.h"
#include "core/records/protocolstore.h"
#include "core/records/startup.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

using namespace tork;
using namespace tork::test;

namespace {

const QDate kToday(2026, 12, 11);

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QStringList databaseFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name);
}

// A main database of the current layout holding the given patients.
void makeMainDatabase(const QString& path, const QStringList& numbers)
{
    ASSERT_EQ(buildTemplateDatabase(path), QString());
    QStringList statements;
    for (const QString& n : numbers) statements << QStringLiteral("INSERT INTO KACUST (CustNo, Name) VALUES ('%1', 'main')").arg(n);
    runSql(path, statements);
}

void makeOldDatabase(const QString& path, const QStringList& numbers, const OldLayout& layout = {})
{
    QStringList statements = oldLayoutTables(layout);
    for (const QString& n : numbers) statements << insertOldPatient(n, "old");
    runSql(path, statements);
}

QStringList patientNumbers(QSqlDatabase& db)
{
    PatientList list(db, PatientOrder::fromSortKey(1));
    QStringList numbers;
    for (const PatientRecord& p : list.rows(0, list.count())) numbers << p.number;
    return numbers;
}

struct StartupRun {
    std::unique_ptr<StandingConnections> connections;
    DatabaseStartupReport report;
    RecordingDisplay display;
    bool online = true;
};

void runStartup(const ProgramFolder& folder, StartupRun& run)
{
    ProgramState state(folder);
    state.online = true;
    run.connections = runDatabaseStartup(state, run.display, &run.report, kToday);
    run.online = state.online;
}

}  // namespace

// What the folder holds before the start-up step, and what it must hold after it.
struct FolderCase {
    const char* name;
    bool main;          // tork6.mdb with patient "M"
    bool newVersion;    // tork_60.mdb, empty, current layout
    bool older;         // tork4.mdb with patient "B" (old layout)
    QStringList filesAfter;
    QStringList patientsAfter;
};

void PrintTo(const FolderCase& c, std::ostream* os) { *os << c.name; }

class StartupFolders : public ::testing::TestWithParam<FolderCase> {};

TEST_P(StartupFolders, RenamesCopiesAndTransfersAsTheFolderRequires)
{
    const FolderCase& c = GetParam();
    TempProgramFolder folder;
    ScriptedMessages messages;
    installDeliveredFiles(folder.path());
    if (c.main) makeMainDatabase(folder.file("tork6.mdb"), {"M"});
    if (c.newVersion) {
        ASSERT_EQ(buildTemplateDatabase(folder.file("tork_60.mdb")), QString());
    }
    if (c.older) makeOldDatabase(folder.file("tork4.mdb"), {"B"});

    StartupRun run;
    runStartup(folder.folder(), run);

    ASSERT_TRUE(run.connections);
    EXPECT_TRUE(run.online);
    EXPECT_TRUE(messages.shown().isEmpty());
    QStringList after = databaseFiles(folder.path());
    EXPECT_EQ(after, c.filesAfter);
    QSqlDatabase main = run.connections->main.db();
    EXPECT_EQ(patientNumbers(main), c.patientsAfter);
    for (int light : {1, 2}) EXPECT_EQ(run.display.lights[light], StepLight::Done);
    const bool transferred = c.filesAfter.contains("tork_20261211_BAK.mdb");
    EXPECT_EQ(run.report.transferRan, transferred);
    EXPECT_EQ(run.display.lights[7], transferred ? StepLight::Done : StepLight::Dark);
}

INSTANTIATE_TEST_SUITE_P(
    Records, StartupFolders,
    ::testing::Values(
        FolderCase{"OnlyTemplate", false, false, false, {"KaSpa_60.mdb", "Tork6.mdb", "torkE.mdb", "torkKA.mdb"}, {}},
        FolderCase{"MainOnly", true, false, false, {"KaSpa_60.mdb", "tork6.mdb", "torkE.mdb", "torkKA.mdb"}, {"M"}},
        FolderCase{"NewVersionOverMain", true, true, false,
                   {"KaSpa_60.mdb", "tork6.mdb", "torkE.mdb", "torkKA.mdb", "tork_20261211_BAK.mdb"}, {"M"}},
        FolderCase{"NewVersionOverOlderGeneration", false, true, true,
                   {"KaSpa_60.mdb", "tork6.mdb", "torkE.mdb", "torkKA.mdb", "tork_20261211_BAK.mdb"}, {"B"}},
        FolderCase{"OlderGenerationBesideMain", true, false, true,
                   {"KaSpa_60.mdb", "tork6.mdb", "torkE.mdb", "torkKA.mdb", "tork_20261211_BAK.mdb"}, {"B", "M"}},
        FolderCase{"OlderGenerationAlone", false, false, true,
                   {"KaSpa_60.mdb", "Tork6.mdb", "torkE.mdb", "torkKA.mdb", "tork_20261211_BAK.mdb"}, {"B"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordsStartup, FileNamesCompareWithoutLetterCase)
{
    TempProgramFolder folder;
    ScriptedMessages messages;
    installDeliveredFiles(folder.path());
    makeMainDatabase(folder.file("TORK6.MDB"), {"M"});
    makeOldDatabase(folder.file("Tork4.MDB"), {"B"});
    QFile::rename(folder.file("KaSpa_60.mdb"), folder.file("KASPA_60.MDB"));

    StartupRun run;
    runStartup(folder.folder(), run);

    ASSERT_TRUE(run.connections);
    EXPECT_TRUE(messages.shown().isEmpty());
    // The upper-case main database is the one in use (no second, empty Tork6.mdb beside it).
    EXPECT_EQ(databaseFiles(folder.path()), (QStringList{"KASPA_60.MDB", "TORK6.MDB", "torkE.mdb", "torkKA.mdb", "tork_20261211_BAK.mdb"}));
    QSqlDatabase main = run.connections->main.db();
    EXPECT_EQ(patientNumbers(main), (QStringList{"B", "M"}));
}

TEST(RecordsStartup, MissingTemplateSaysSoGoesOfflineAndLeavesTheOldFile)
{
    TempProgramFolder folder;
    ScriptedMessages messages;
    installDeliveredFiles(folder.path(), false);
    makeMainDatabase(folder.file("tork6.mdb"), {"M"});
    makeOldDatabase(folder.file("tork4.mdb"), {"B"});

    StartupRun run;
    runStartup(folder.folder(), run);

    ASSERT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(messages.shown()[0].kind, 6);
    EXPECT_EQ(messages.shown()[0].text, "TORK is not installed completely! Please reinstall.");
    EXPECT_FALSE(run.online);
    // Connecting is still tried; the renames still happen; the transfer does not.
    EXPECT_TRUE(run.connections);
    EXPECT_FALSE(run.report.transferRan);
    EXPECT_TRUE(QFileInfo::exists(folder.file("tork.mdb")));
}

TEST(RecordsStartup, ConnectionFailureShowsTheStartupErrorAndGoesOffline)
{
    struct Case {
        const char* broken;
        QByteArray content;   // empty: the file is missing
    };
    for (const Case& c : {Case{"torkE.mdb", {}}, Case{"torkKA.mdb", "not a database at all, just text"},
                          Case{"tork6.mdb", QByteArray(4096, 'x')}}) {
        SCOPED_TRACE(c.broken);
        TempProgramFolder folder;
        ScriptedMessages messages;
        installDeliveredFiles(folder.path());
        makeOldDatabase(folder.file("tork.mdb"), {"B"});
        QFile::remove(folder.file(c.broken));
        if (!c.content.isEmpty()) {
            QFile file(folder.file(c.broken));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.content);
        }

        StartupRun run;
        runStartup(folder.folder(), run);

        EXPECT_FALSE(run.connections);
        EXPECT_FALSE(run.online);
        ASSERT_EQ(messages.shown().size(), 2);
        EXPECT_EQ(messages.shown()[0].text,
                  "T.O.R.K. start-up error! If you are using TORK under Windows 98 or NT 4.0, please exit and install Microsoft ADO Driver.");
        EXPECT_TRUE(messages.shown()[1].text.contains(c.broken, Qt::CaseInsensitive)) << qPrintable(messages.shown()[1].text);
        EXPECT_EQ(run.display.lights[2], StepLight::Failed);
        EXPECT_FALSE(run.report.transferRan);
        EXPECT_TRUE(QFileInfo::exists(folder.file("tork.mdb")));
    }
}

TEST(RecordsStartup, MainDatabaseOfAnOlderLayoutGainsTheMissingColumns)
{
    TempProgramFolder folder;
    ScriptedMessages messages;
    installDeliveredFiles(folder.path());
    QStringList statements = oldLayoutTables({false, 0, false});
    statements << insertOldPatient("7", "kept") << insertOldMeasurement("7", 45000.5);
    runSql(folder.file("tork6.mdb"), statements);

    StartupRun run;
    runStartup(folder.folder(), run);

    ASSERT_TRUE(run.connections);
    QSqlDatabase main = run.connections->main.db();
    for (const TableSpec& table : mainDatabaseTables()) EXPECT_EQ(missingColumns(main, table), QStringList()) << qPrintable(table.name);
    const auto measurements = measurementsOf(main, "7");
    ASSERT_EQ(measurements.size(), 1u);
    EXPECT_FALSE(measurements[0].hasQuality);
    EXPECT_EQ(measurements[0].values[0], 12.5);
}

// ---- the transfer ----

class RecordsTransfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        installDeliveredFiles(folder.path());
        makeMainDatabase(folder.file("tork6.mdb"), {"EXISTING"});
    }

    // Runs the start-up step, which transfers tork.mdb.
    StartupRun& start()
    {
        run = std::make_unique<StartupRun>();
        runStartup(folder.folder(), *run);
        return *run;
    }

    QSqlDatabase main() { return run->connections->main.db(); }

    TempProgramFolder folder;
    ScriptedMessages messages;
    std::unique_ptr<StartupRun> run;
};

TEST_F(RecordsTransfer, CopiesEveryTableAndRebuildsLatestDatesByExactNumber)
{
    QStringList statements = oldLayoutTables();
    statements << insertOldPatient("12", "Twelve") << insertOldPatient("123", "OneTwoThree") << insertOldPatient("7", "Seven")
               << insertOldPatient("O'Neil", "Quote")
               << insertOldMeasurement("12", 40000.25) << insertOldMeasurement("123", 46000.5) << insertOldMeasurement("12", 41000.75)
               << insertOldMeasurement("O'Neil", 42000.5)
               << "UPDATE KaData SET STD = '  1.0  2.0' WHERE MeDate > 40999 AND MeDate < 41001"
               << "UPDATE KaCust SET PREMEA = 99999 WHERE CustNo = '7'"
               << "INSERT INTO KaPro (ProNo, ProName, ProData, ProPict, ProScal, PrtFG, ProFN, ProScrp1, ProParm4) "
                  "VALUES ('P1', 'Name', 'Data', x'89504E47', 1, 0, '1000', 'Script', 'Parm4')"
               << "INSERT INTO KaPrDt (ProNo, ProSubN, ProNote, ProAnd, ProCond, ProAGL, ProAGH, ProEng, ProFlg, PrtFG) "
                  "VALUES ('P1', 'Sub', 'Note', '100000000000000000000000', '100000000000000000000000', 20, 60, 55.5, 1, 0)";
    runSql(folder.file("tork.mdb"), statements);

    StartupRun& r = start();

    ASSERT_TRUE(r.report.transfer.ok) << qPrintable(r.report.transfer.error);
    EXPECT_TRUE(messages.shown().isEmpty());
    EXPECT_EQ(r.report.transfer.patients, 4);
    EXPECT_EQ(r.report.transfer.measurements, 4);
    EXPECT_EQ(r.report.transfer.protocols, 1);
    EXPECT_EQ(r.report.transfer.conditions, 1);
    EXPECT_FALSE(QFileInfo::exists(folder.file("tork.mdb")));
    EXPECT_TRUE(QFileInfo::exists(folder.file("tork_20261211_BAK.mdb")));

    QSqlDatabase db = main();
    const struct {
        const char* number;
        double latest;
    } expected[] = {{"12", 41000.75}, {"123", 46000.5}, {"7", 0}, {"O'Neil", 42000.5}, {"EXISTING", 0}};
    for (const auto& e : expected) {
        const auto patient = findPatient(db, e.number);
        ASSERT_TRUE(patient) << e.number;
        EXPECT_EQ(patient->latestMeasurement, e.latest) << e.number;
    }
    const auto twelve = findPatient(db, "12");
    EXPECT_EQ(twelve->birthDate, 20000);   // the date part only
    EXPECT_TRUE(twelve->male);

    const auto measurements = measurementsOf(db, "12");
    ASSERT_EQ(measurements.size(), 2u);
    EXPECT_EQ(measurements[0].dateTime, 41000.75);   // newest first
    EXPECT_TRUE(measurements[0].hasQuality);
    EXPECT_EQ(measurements[0].quality[1], 2.0);
    EXPECT_FALSE(measurements[1].hasQuality);
    EXPECT_EQ(measurements[1].values[23], 99.5);
    EXPECT_EQ(measurements[1].memo, "memo");

    const auto protocol = findProtocol(db, "P1");
    ASSERT_TRUE(protocol);
    EXPECT_EQ(protocol->picture, QByteArray::fromHex("89504E47"));
    EXPECT_TRUE(protocol->pictureActualSize);
    EXPECT_EQ(protocol->functions, "1000");
    EXPECT_EQ(protocol->scripts[0], "Script");
    EXPECT_EQ(protocol->parameters[3], "Parm4");
    const auto conditions = conditionsOf(db, "P1");
    ASSERT_EQ(conditions.size(), 1u);
    EXPECT_EQ(conditions[0].ageLow, 20);
    EXPECT_EQ(conditions[0].ageHigh, 60);
    EXPECT_EQ(conditions[0].energy, 55.5);
    EXPECT_TRUE(conditions[0].must);

    // The status window showed the transfer through to its end.
    EXPECT_EQ(r.display.caption, "DBT Prog:");
    EXPECT_EQ(r.display.status, "T.O.R.K. database is being transferred. Please wait..");
    for (int light = 1; light <= 7; ++light) EXPECT_EQ(r.display.lights[light], StepLight::Done) << light;
    EXPECT_EQ(r.display.progressShown.last(), 100);
    EXPECT_GT(r.display.processed, 0);
}

TEST_F(RecordsTransfer, OlderLayoutsWithoutOptionalColumnsTransferAndLeaveThemEmpty)
{
    // KADATA without STD, KAPRO with ProFN and ProScrp1..2 only, KAPRDT without the ages.
    QStringList statements = oldLayoutTables({false, 3, false});
    statements << insertOldPatient("1", "One") << insertOldMeasurement("1", 45000)
               << "INSERT INTO KaPro (ProNo, ProName, ProFN, ProScrp1, ProScrp2) VALUES ('P', 'N', '1100', 'a', 'b')"
               << "INSERT INTO KaPrDt (ProNo, ProSubN, ProEng) VALUES ('P', 'S', 10)";
    runSql(folder.file("tork.mdb"), statements);

    StartupRun& r = start();

    ASSERT_TRUE(r.report.transfer.ok) << qPrintable(r.report.transfer.error);
    EXPECT_TRUE(r.report.transfer.skippedColumns.contains("KADATA.STD"));
    EXPECT_TRUE(r.report.transfer.skippedColumns.contains("KAPRO.ProScrp3"));
    EXPECT_TRUE(r.report.transfer.skippedColumns.contains("KAPRDT.ProAGH"));
    QSqlDatabase db = main();
    EXPECT_FALSE(measurementsOf(db, "1").at(0).hasQuality);
    const auto protocol = findProtocol(db, "P");
    ASSERT_TRUE(protocol);
    EXPECT_EQ(protocol->functions, "1100");
    EXPECT_EQ(protocol->scripts[1], "b");
    EXPECT_EQ(protocol->scripts[2], "");
    EXPECT_EQ(conditionsOf(db, "P").at(0).ageHigh, 0);
    EXPECT_EQ(findPatient(db, "1")->latestMeasurement, 45000);
}

TEST_F(RecordsTransfer, SecondTransferOnOneDayReplacesTheEarlierBackup)
{
    QStringList first = oldLayoutTables();
    first << insertOldPatient("first", "x");
    runSql(folder.file("tork.mdb"), first);
    ASSERT_TRUE(start().report.transfer.ok);
    run.reset();

    QStringList second = oldLayoutTables();
    second << insertOldPatient("second", "y");
    runSql(folder.file("tork.mdb"), second);
    const QByteArray secondHash = fileHash(folder.file("tork.mdb"));
    ASSERT_TRUE(start().report.transfer.ok);

    EXPECT_EQ(fileHash(folder.file("tork_20261211_BAK.mdb")), secondHash);
    EXPECT_EQ(databaseFiles(folder.path()), (QStringList{"KaSpa_60.mdb", "tork6.mdb", "torkE.mdb", "torkKA.mdb", "tork_20261211_BAK.mdb"}));
    QSqlDatabase db = main();
    EXPECT_EQ(patientNumbers(db), (QStringList{"EXISTING", "first", "second"}));
}

// A transfer that fails part way leaves the main database as it was and tork.mdb in place.
struct FailureCase {
    const char* name;
    std::function<void(const QString& oldPath)> makeOld;
    bool fillDisk;
    const char* errorMentions;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class RecordsTransferFailure : public RecordsTransfer, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RecordsTransferFailure, LeavesEverythingAsItWasAndSaysWhatFailed)
{
    const FailureCase& c = GetParam();
    c.makeOld(folder.file("tork.mdb"));
    // An earlier backup of the day must survive a failed transfer too.
    runSql(folder.file("tork_20261211_BAK.mdb"), {"CREATE TABLE earlier (x)"});
    const QByteArray oldHash = fileHash(folder.file("tork.mdb"));
    const QByteArray backupHash = fileHash(folder.file("tork_20261211_BAK.mdb"));
    StartupRun* r = nullptr;
    if (c.fillDisk) {
        // Start up without a transfer, then limit the grown main connection and transfer.
        QFile::rename(folder.file("tork.mdb"), folder.file("held-back.mdb"));
        r = &start();
        ASSERT_TRUE(r->connections);
        QFile::rename(folder.file("held-back.mdb"), folder.file("tork.mdb"));
        QSqlDatabase db = main();
        const int pages = countRows(db, "PRAGMA page_count");
        ASSERT_EQ(execute(db, QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 30)), QString());
        RecordingDisplay display;
        r->report.transfer = transferOldDatabase(db, folder.folder(), display, kToday);
        EXPECT_EQ(display.lights[3], StepLight::Done);
        EXPECT_EQ(display.lights[4], StepLight::Failed);
    } else {
        r = &start();
        ASSERT_TRUE(r->report.transferRan);
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_EQ(messages.shown()[0].kind, 6);
        EXPECT_TRUE(messages.shown()[0].text.contains("tork.mdb is kept")) << qPrintable(messages.shown()[0].text);
    }

    EXPECT_FALSE(r->report.transfer.ok);
    EXPECT_TRUE(r->report.transfer.error.contains(c.errorMentions, Qt::CaseInsensitive)) << qPrintable(r->report.transfer.error);
    EXPECT_EQ(fileHash(folder.file("tork.mdb")), oldHash);
    EXPECT_EQ(fileHash(folder.file("tork_20261211_BAK.mdb")), backupHash);
    EXPECT_FALSE(QFileInfo::exists(folder.file("tork_20261211_BAK.mdb.previous")));
    QSqlDatabase db = main();
    EXPECT_EQ(patientNumbers(db), QStringList{"EXISTING"});
    EXPECT_EQ(measurementCount(db), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Records, RecordsTransferFailure,
    ::testing::Values(
        FailureCase{"NotADatabase",
                    [](const QString& path) {
                        QFile f(path);
                        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                        f.write(QByteArray(8192, '\x5a'));
                    },
                    false, "not a"},
        FailureCase{"MissingTable",
                    [](const QString& path) {
                        QStringList s = oldLayoutTables();
                        s.removeLast();
                        s << insertOldPatient("1", "a");
                        runSql(path, s);
                    },
                    false, "KAPRDT"},
        FailureCase{"MissingRequiredColumn",
                    [](const QString& path) {
                        QStringList s = oldLayoutTables();
                        s[0].replace("Tel3 TEXT, ", "");
                        s << insertOldPatient("1", "a");
                        runSql(path, s);
                    },
                    false, "Tel3"},
        FailureCase{"TextTooLongForItsColumn",
                    [](const QString& path) {
                        QStringList s = oldLayoutTables();
                        s << insertOldPatient("1", "a") << insertOldPatient("12345678901234567", "too long a number");
                        runSql(path, s);
                    },
                    false, "CustNo"},
        FailureCase{"DiskFullPartWay",
                    [](const QString& path) {
                        QStringList s = oldLayoutTables();
                        // The patients fit; the measurements after them do not.
                        s << "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) "
                             "INSERT INTO KaCust (CustNo, Name) SELECT i, 'p' FROM n WHERE i <= 20"
                          << "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000) "
                             "INSERT INTO KaData (CustNo, MeDate, ME1, ME24, MEMO1) SELECT i % 20, 40000 + i, i, i, printf('%0100d', i) FROM n";
                        runSql(path, s);
                    },
                    true, "full"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordsTransfer, BackupThatCannotBeMadeUndoesTheWholeTransfer)
{
    QStringList statements = oldLayoutTables();
    statements << insertOldPatient("1", "a") << insertOldMeasurement("1", 45000);
    runSql(folder.file("tork.mdb"), statements);
    runSql(folder.file("tork_20261211_BAK.mdb"), {"CREATE TABLE earlier (x)"});
    // The place the earlier backup is set aside in is taken by a folder that cannot be removed.
    ASSERT_TRUE(QDir().mkpath(folder.file("tork_20261211_BAK.mdb.previous/blocker")));
    const QByteArray oldHash = fileHash(folder.file("tork.mdb"));

    StartupRun& r = start();

    ASSERT_TRUE(r.report.transferRan);
    EXPECT_FALSE(r.report.transfer.ok);
    EXPECT_TRUE(r.report.transfer.error.contains("backup")) << qPrintable(r.report.transfer.error);
    EXPECT_EQ(fileHash(folder.file("tork.mdb")), oldHash);
    EXPECT_TRUE(QFileInfo(folder.file("tork_20261211_BAK.mdb")).isFile());
    QSqlDatabase db = main();
    EXPECT_EQ(patientNumbers(db), QStringList{"EXISTING"});
    EXPECT_EQ(measurementCount(db), 0);
}
