#include "core/records/startup.h"

#include "core/app/messages.h"
#include "core/records/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tork {
namespace {

const QString kNotInstalled = QStringLiteral("TORK is not installed completely! Please reinstall.");
const QString kStartupError = QStringLiteral(
    "T.O.R.K. start-up error! If you are using TORK under Windows 98 or NT 4.0, please exit and install Microsoft ADO Driver.");

class Startup {
public:
    Startup(ProgramState& state, StartupDisplay& display, DatabaseStartupReport& report, const QDate& today)
        : state_(state), folder_(state.folder), display_(display), report_(report), today_(today)
    {
    }

    std::unique_ptr<StandingConnections> run()
    {
        display_.setLight(1, StepLight::Lit);
        for (int n = 2; n <= 7; ++n) display_.setLight(n, StepLight::Dark);

        bool transferAllowed = true;
        if (!exists(kTemplateDatabaseFile)) {
            showMessage(MessageKind::ImportantNotice, kNotInstalled);
            state_.online = false;
            transferAllowed = false;
            report_.actions << QString("%1 is missing: the installation is incomplete.").arg(kTemplateDatabaseFile);
        }
        moveInstallerFiles();
        if (!exists(kMainDatabaseFile)) makeMainFromTemplate();

        display_.setLight(1, StepLight::Done);
        display_.setLight(2, StepLight::Lit);
        auto connections = openConnections();
        if (!connections) {
            display_.setLight(2, StepLight::Failed);
            return nullptr;
        }
        display_.setLight(2, StepLight::Done);

        if (transferAllowed && exists(kOldDatabaseFile)) {
            QSqlDatabase main = connections->main.db();
            report_.transferRan = true;
            report_.transfer = transferOldDatabase(main, folder_, display_, today_);
            const TransferOutcome& t = report_.transfer;
            if (t.ok) {
                report_.actions << QString("Transferred %1 patients, %2 measurements, %3 protocols and %4 conditions from %5.")
                                       .arg(t.patients).arg(t.measurements).arg(t.protocols).arg(t.conditions).arg(kOldDatabaseFile);
                if (!t.skippedColumns.isEmpty())
                    report_.actions << QString("The old layout lacked %1; those columns stay empty.").arg(t.skippedColumns.join(", "));
                report_.actions << QString("Moved %1 to %2.").arg(kOldDatabaseFile, QFileInfo(t.backupPath).fileName());
                report_.actions << QStringLiteral("Rebuilt the latest measurement date of every patient.");
            } else {
                // Nothing of the old file has reached the main database; it stays for the next start.
                const QString text = QString("The old database %1 could not be transferred:\n%2\n\n"
                                             "The main database is unchanged and %1 is kept.")
                                         .arg(kOldDatabaseFile, t.error);
                showMessage(MessageKind::ImportantNotice, text);
                report_.actions << text;
            }
        }
        return connections;
    }

private:
    bool exists(const char* name) const { return QFileInfo::exists(folder_.filePath(QString::fromLatin1(name))); }

    // A rename whose target exists (in any letter case) does nothing.
    void renameIfFree(const char* from, const char* to)
    {
        const QString source = folder_.filePath(QString::fromLatin1(from));
        if (exists(to)) {
            report_.actions << QString("Left %1 in place: %2 exists.").arg(QFileInfo(source).fileName(), to);
            return;
        }
        const QString target = QDir(folder_.path()).filePath(QString::fromLatin1(to));
        if (QFile::rename(source, target))
            report_.actions << QString("Renamed %1 to %2.").arg(QFileInfo(source).fileName(), to);
        else
            report_.actions << QString("Could not rename %1 to %2.").arg(QFileInfo(source).fileName(), to);
    }

    void moveInstallerFiles()
    {
        if (exists(kNewVersionDatabaseFile)) {
            if (exists(kMainDatabaseFile))
                renameIfFree(kMainDatabaseFile, kOldDatabaseFile);
            else if (exists(kOlderGenerationDatabaseFile))
                renameIfFree(kOlderGenerationDatabaseFile, kOldDatabaseFile);
            renameIfFree(kNewVersionDatabaseFile, kMainDatabaseFile);
        } else if (exists(kOlderGenerationDatabaseFile)) {
            renameIfFree(kOlderGenerationDatabaseFile, kOldDatabaseFile);
        }
    }

    void makeMainFromTemplate()
    {
        const QString source = folder_.filePath(QString::fromLatin1(kTemplateDatabaseFile));
        const QString target = QDir(folder_.path()).filePath(QString::fromLatin1(kMainDatabaseTemplateCopyName));
        if (!QFileInfo::exists(source)) return;
        QFile::remove(target);
        if (QFile::copy(source, target)) {
            QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
            report_.actions << QString("Made a new, empty %1 from %2.").arg(kMainDatabaseTemplateCopyName, kTemplateDatabaseFile);
        } else {
            report_.actions << QString("Could not copy %1 to %2.").arg(kTemplateDatabaseFile, kMainDatabaseTemplateCopyName);
        }
    }

    QString openChecked(Database& database, const char* name, OpenMode mode, const std::vector<TableSpec>& tables)
    {
        const QString path = folder_.filePath(QString::fromLatin1(name));
        if (QString e = database.open(path, mode); !e.isEmpty()) return e;
        QSqlDatabase db = database.db();
        if (mode == OpenMode::Shared) {
            if (QString e = upgradeMainSchema(db); !e.isEmpty()) return QString("%1: %2").arg(path, e);
            return {};
        }
        for (const TableSpec& table : tables)
            if (!tableExists(db, table.name)) return QString("%1 has no table %2.").arg(path, table.name);
        return {};
    }

    std::unique_ptr<StandingConnections> openConnections()
    {
        auto connections = std::make_unique<StandingConnections>();
        QString error = openChecked(connections->main, kMainDatabaseFile, OpenMode::Shared, mainDatabaseTables());
        if (error.isEmpty())
            error = openChecked(connections->reference, kReferenceDatabaseFile, OpenMode::ReadOnly, referenceDatabaseTables());
        if (error.isEmpty())
            error = openChecked(connections->systemProtocols, kSystemProtocolDatabaseFile, OpenMode::ReadOnly,
                                systemProtocolDatabaseTables());
        if (error.isEmpty()) {
            report_.actions << QStringLiteral("Opened the main, reference and system protocol databases.");
            return connections;
        }
        connections->close();
        showMessage(MessageKind::ImportantNotice, kStartupError);
        // The fixed text above does not say which file failed; the operator needs to know.
        showMessage(MessageKind::ImportantNotice, error);
        state_.online = false;
        report_.actions << error;
        return nullptr;
    }

    ProgramState& state_;
    const ProgramFolder& folder_;
    StartupDisplay& display_;
    DatabaseStartupReport& report_;
    QDate today_;
};

}  // namespace

void StandingConnections::close()
{
    main.close();
    reference.close();
    systemProtocols.close();
}

std::unique_ptr<StandingConnections> runDatabaseStartup(ProgramState& state, StartupDisplay& display,
                                                        DatabaseStartupReport* report, const QDate& today)
{
    DatabaseStartupReport local;
    return Startup(state, display, report ? *report : local, today).run();
}

}  // namespace tork
