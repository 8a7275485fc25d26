// tork-tool db upgrade | check | backup DEST

#include "commands.h"

#include "core/app/programstate.h"
#include "core/records/backup.h"
#include "core/records/connection.h"
#include "core/records/deliveredfiles.h"
#include "core/records/schema.h"
#include "core/records/startup.h"

#include <QFileInfo>
#include <QSqlQuery>

namespace tork::cli {
namespace {

// The start-up step's lights and progress as lines of text.
class ConsoleDisplay final : public StartupDisplay {
public:
    void setLight(int, StepLight) override {}
    void setCaption(const QString&) override {}
    void setStatusText(const QString& text) override { out() << text << Qt::endl; }
    void setProgress(int percent) override
    {
        percent_ = percent;
        // A line per tenth, so that a long transfer shows it is moving without flooding the console.
        if (percent / 10 != shown_ / 10 || percent == 100) {
            shown_ = percent;
            out() << "  " << percent << "%" << Qt::endl;
        }
    }
    int progress() const override { return percent_; }
    void processEvents() override {}

private:
    int percent_ = 0;
    int shown_ = 0;
};

int upgrade(const ProgramFolder& folder)
{
    int status = 0;
    const DeliveredCopyResult copied = copyMissingDeliveredFiles(folder);
    int pictures = 0;
    for (const QString& name : copied.copied) {
        if (name.startsWith(QStringLiteral("Data/")))
            ++pictures;
        else
            out() << "Copied the delivered " << name << "." << Qt::endl;
    }
    if (pictures > 0) out() << "Copied " << pictures << " delivered pictures into Data." << Qt::endl;
    for (const QString& failure : copied.failures) {
        err() << "tork-tool: " << failure << Qt::endl;
        status = 1;
    }
    ProgramState state(folder);
    state.online = true;
    ConsoleDisplay display;
    DatabaseStartupReport report;
    auto connections = runDatabaseStartup(state, display, &report);
    for (const QString& action : report.actions) out() << action << Qt::endl;
    if (!connections || !state.online || (report.transferRan && !report.transfer.ok)) status = 1;
    if (connections) connections->close();
    return status;
}

struct CheckedFile {
    const char* name;
    const std::vector<TableSpec>* tables;
    bool required;
};

// Reports one file; returns false when a required file is missing or faulty.
bool checkFile(const ProgramFolder& folder, const CheckedFile& file)
{
    const QString path = folder.filePath(QString::fromLatin1(file.name));
    if (!QFileInfo::exists(path)) {
        if (file.required) out() << file.name << ": missing" << Qt::endl;
        return !file.required;
    }
    out() << file.name << ": " << path << Qt::endl;
    Database database;
    if (QString e = database.open(path, OpenMode::ReadOnly); !e.isEmpty()) {
        out() << "  " << e << Qt::endl;
        return false;
    }
    QSqlDatabase db = database.db();
    bool sound = true;
    for (const TableSpec& table : *file.tables) {
        if (!tableExists(db, table.name)) {
            out() << "  " << table.name << ": missing" << Qt::endl;
            sound = false;
            continue;
        }
        out() << "  " << table.name << ": " << countRows(db, QStringLiteral("SELECT COUNT(*) FROM ") + quotedName(table.name)) << " rows";
        if (const QStringList missing = missingColumns(db, table); !missing.isEmpty()) {
            out() << ", missing columns: " << missing.join(QStringLiteral(", "));
            sound = false;
        }
        out() << Qt::endl;
    }
    return sound || !file.required;
}

int check(const ProgramFolder& folder)
{
    const CheckedFile files[] = {
        {kMainDatabaseFile, &mainDatabaseTables(), true},
        {kReferenceDatabaseFile, &referenceDatabaseTables(), true},
        {kSystemProtocolDatabaseFile, &systemProtocolDatabaseTables(), true},
        {kTemplateDatabaseFile, &mainDatabaseTables(), true},
        // Left by an installer or an older version; the next start-up takes them over.
        {kNewVersionDatabaseFile, &mainDatabaseTables(), false},
        {kOldDatabaseFile, &mainDatabaseTables(), false},
        {kOlderGenerationDatabaseFile, &mainDatabaseTables(), false},
    };
    bool sound = true;
    for (const CheckedFile& file : files) sound = checkFile(folder, file) && sound;
    if (!sound) err() << "tork-tool: the databases of " << folder.path() << " are incomplete (see above)." << Qt::endl;
    return sound ? 0 : 1;
}

int backup(const ProgramFolder& folder, const QString& destination)
{
    const QString source = folder.filePath(QString::fromLatin1(kMainDatabaseFile));
    if (QString e = copyDatabaseSnapshot(source, destination); !e.isEmpty()) {
        err() << "tork-tool: " << e << Qt::endl;
        return 1;
    }
    out() << "Copied " << source << " to " << destination << "." << Qt::endl;
    return 0;
}

int runDb(const QStringList& words)
{
    CommandParser cmd(QStringLiteral("db upgrade | db check | db backup DEST [--program-folder DIR]"),
                      QStringLiteral("upgrade: copies missing delivered files and runs the database start-up step "
                                     "(renames, template copy, transfer of tork.mdb, backup, latest dates).\n"
                                     "check: lists each database file, its tables, row counts and missing columns.\n"
                                     "backup: writes a consistent copy of the main database to DEST, also while the program runs."));
    int code = 0;
    if (!cmd.parse(words, &code)) return code;
    const QStringList pos = cmd.positional();
    const QString action = pos.value(0);
    const ProgramFolder folder = cmd.programFolder();
    if (action == "upgrade" && pos.size() == 1) return upgrade(folder);
    if (action == "check" && pos.size() == 1) return check(folder);
    if (action == "backup" && pos.size() == 2) return backup(folder, pos[1]);
    cmd.printUsageError(QStringLiteral("say upgrade, check or backup DEST"));
    return 2;
}

const RegisterCommand registration{
    {QStringLiteral("db"), QStringLiteral("upgrade, check or back up the databases"), runDb}};

}  // namespace
}  // namespace tork::cli
