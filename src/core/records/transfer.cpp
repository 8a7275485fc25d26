#include "core/records/transfer.h"

#include "core/app/formats.h"
#include "core/records/connection.h"
#include "core/records/patients.h"
#include "core/records/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <limits>

namespace tork {
namespace {

constexpr char kOldSchema[] = "tork_old";
constexpr int kRowsPerBatch = 5000;

// How one target column is filled from the old row.
enum class Conversion { Text, Number, Boolean, DatePart, Raw };

struct CopiedColumn {
    QString name;
    Conversion conversion;
};

// The columns of one table: those the old layout must have, then the optional groups an
// older layout may lack. A group is copied up to its first missing column.
struct TablePlan {
    QString table;
    std::vector<CopiedColumn> required;
    std::vector<std::vector<CopiedColumn>> optionalGroups;
};

std::vector<CopiedColumn> columns(Conversion conversion, const QStringList& names)
{
    std::vector<CopiedColumn> list;
    for (const QString& n : names) list.push_back({n, conversion});
    return list;
}

std::vector<CopiedColumn> operator+(std::vector<CopiedColumn> a, const std::vector<CopiedColumn>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

QStringList numbered(const QString& stem, int first, int last)
{
    QStringList list;
    for (int i = first; i <= last; ++i) list << stem + QString::number(i);
    return list;
}

const std::vector<TablePlan>& transferPlans()
{
    static const std::vector<TablePlan> plans{
        {"KACUST",
         columns(Conversion::Text, {"CustNo", "Name"}) + columns(Conversion::Boolean, {"Sex"}) +
             columns(Conversion::DatePart, {"DBirth"}) +
             columns(Conversion::Text, {"Addr", "Tel", "Tel2", "Tel3", "EMail", "BType"}) +
             columns(Conversion::Number, {"Height", "Weight"}) + columns(Conversion::Text, {"Memo", "CustCat", "CustFG"}) +
             columns(Conversion::Boolean, {"PrtFG"}),
         {}},
        {"KADATA",
         columns(Conversion::Text, {"CustNo"}) + columns(Conversion::Number, {"MeDate"}) +
             columns(Conversion::Boolean, {"MeVota"}) + columns(Conversion::Text, {"MEMO1", "MEMO2", "AutoKey"}) +
             columns(Conversion::Number, numbered("ME", 1, 24)) + columns(Conversion::Boolean, {"PrtFG"}),
         {columns(Conversion::Text, {"STD"})}},
        {"KAPRO",
         columns(Conversion::Text, {"ProNo", "ProName", "ProData"}) + columns(Conversion::Raw, {"ProPict"}) +
             columns(Conversion::Boolean, {"ProScal", "PrtFG"}),
         {columns(Conversion::Text, QStringList{"ProFN"} + numbered("ProScrp", 1, 4) + numbered("ProPrg", 1, 4) +
                                        numbered("ProParm", 1, 4))}},
        {"KAPRDT",
         columns(Conversion::Text, {"ProNo", "ProSubN", "ProNote", "ProAnd", "ProCond"}) +
             columns(Conversion::Number, {"ProEng"}) + columns(Conversion::Boolean, {"ProFlg", "PrtFG"}),
         {columns(Conversion::Number, {"ProAGL", "ProAGH"})}},
    };
    return plans;
}

QString sourceExpression(const CopiedColumn& column)
{
    const QString c = quotedName(column.name);
    switch (column.conversion) {
    case Conversion::Text: return QString("coalesce(CAST(%1 AS TEXT), '')").arg(c);
    case Conversion::Number: return QString("coalesce(%1, 0)").arg(c);
    case Conversion::Boolean: return QString("(coalesce(%1, 0) <> 0)").arg(c);
    // The date part only, truncated toward zero as a short date writes it.
    case Conversion::DatePart: return QString("CAST(coalesce(%1, 0) AS INTEGER)").arg(c);
    case Conversion::Raw: return c;
    }
    return c;
}

class Transfer {
public:
    Transfer(QSqlDatabase& main, const ProgramFolder& folder, StartupDisplay& display, const QDate& today)
        : main_(main), folder_(folder), display_(display), today_(today)
    {
    }

    TransferOutcome run()
    {
        display_.setLight(3, StepLight::Lit);
        display_.setCaption(QStringLiteral("DBT Prog:"));
        display_.setStatusText(QStringLiteral("T.O.R.K. database is being transferred. Please wait.."));
        display_.setProgress(0);
        oldPath_ = folder_.filePath(QString::fromLatin1(kOldDatabaseFile));

        if (!attach()) return failed(3);
        const bool ok = copyAll() && moveToBackup() && rebuildDates() && commit();
        if (!ok) {
            execute(main_, QStringLiteral("ROLLBACK"));
            undoFileMoves();
        }
        execute(main_, QString("DETACH DATABASE %1").arg(kOldSchema));
        if (!ok) return failed(light_);
        if (!previousBackup_.isEmpty()) QFile::remove(previousBackup_);
        display_.setProgress(100);
        display_.setLight(7, StepLight::Done);
        outcome_.ok = true;
        return outcome_;
    }

private:
    TransferOutcome failed(int light)
    {
        display_.setLight(light, StepLight::Failed);
        outcome_.ok = false;
        return outcome_;
    }

    bool fail(const QString& error)
    {
        outcome_.error = error;
        return false;
    }

    bool attach()
    {
        if (!QFileInfo(oldPath_).isFile()) return fail(QString("%1 does not exist.").arg(oldPath_));
        QString uri = QUrl::fromLocalFile(oldPath_).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro");
        if (QString e = execute(main_, QString("ATTACH DATABASE ? AS %1").arg(kOldSchema), {uri}); !e.isEmpty())
            return fail(QString("%1 cannot be opened: %2").arg(oldPath_, e));
        // Reading the schema is where a file that is not a database shows.
        QSqlQuery probe(main_);
        if (!probe.exec(QString("SELECT count(*) FROM %1.sqlite_master").arg(kOldSchema))) {
            const QString e = probe.lastError().text();
            probe.finish();
            execute(main_, QString("DETACH DATABASE %1").arg(kOldSchema));
            return fail(QString("%1 is not a readable database: %2").arg(oldPath_, e));
        }
        return true;
    }

    bool copyAll()
    {
        for (const TablePlan& plan : transferPlans())
            if (!tableExists(main_, plan.table, kOldSchema))
                return fail(QString("%1 has no table %2.").arg(oldPath_, plan.table));
        if (QString e = execute(main_, QStringLiteral("BEGIN IMMEDIATE")); !e.isEmpty())
            return fail(QString("The main database cannot be written: %1").arg(e));
        int* counters[] = {&outcome_.patients, &outcome_.measurements, &outcome_.protocols, &outcome_.conditions};
        for (int i = 0; i < 4; ++i) {
            if (i > 0) {
                display_.setLight(2 + i, StepLight::Done);
                display_.setLight(3 + i, StepLight::Lit);
                light_ = 3 + i;
            }
            if (!copyTable(transferPlans()[i], counters[i])) return false;
        }
        display_.setProgress(display_.progress() + 1);  // the old database is done with
        return true;
    }

    bool copyTable(const TablePlan& plan, int* copied)
    {
        const QStringList stored = storedColumns(main_, plan.table, kOldSchema);
        QStringList targets;
        QStringList sources;
        QStringList missingRequired;
        for (const CopiedColumn& c : plan.required) {
            if (!stored.contains(c.name, Qt::CaseInsensitive)) missingRequired << c.name;
            targets << quotedName(c.name);
            sources << sourceExpression(c);
        }
        if (!missingRequired.isEmpty())
            return fail(QString("The table %1 of %2 lacks the column(s) %3.").arg(plan.table, oldPath_, missingRequired.join(", ")));
        for (const auto& group : plan.optionalGroups) {
            bool complete = true;
            for (const CopiedColumn& c : group) {
                complete = complete && stored.contains(c.name, Qt::CaseInsensitive);
                if (!complete) {
                    outcome_.skippedColumns << plan.table + u'.' + c.name;
                    continue;
                }
                targets << quotedName(c.name);
                sources << sourceExpression(c);
            }
        }

        const QString table = QString("%1.%2").arg(kOldSchema, quotedName(plan.table));
        const int total = countRows(main_, QStringLiteral("SELECT COUNT(*) FROM ") + table);
        // Copied a batch at a time in the old file's order, so that progress shows and events flow.
        QSqlQuery batchEnd(main_);
        QSqlQuery insert(main_);
        if (!batchEnd.prepare(QString("SELECT rowid FROM %1 WHERE rowid > ? ORDER BY rowid LIMIT 1 OFFSET %2").arg(table).arg(kRowsPerBatch - 1)) ||
            !insert.prepare(QString("INSERT INTO %1 (%2) SELECT %3 FROM %4 WHERE rowid > ? AND rowid <= ? ORDER BY rowid")
                                .arg(quotedName(plan.table), targets.join(", "), sources.join(", "), table)))
            return fail(QString("The table %1 cannot be read: %2").arg(plan.table, (batchEnd.lastError().isValid() ? batchEnd : insert).lastError().text()));
        qint64 after = std::numeric_limits<qint64>::min();
        int done = 0;
        while (done < total) {
            display_.setProgress(int(roundHalfEven(100.0 * done / (total + 1))));
            display_.processEvents();
            batchEnd.addBindValue(after);
            if (!batchEnd.exec()) return fail(QString("The table %1 cannot be read: %2").arg(plan.table, batchEnd.lastError().text()));
            const qint64 last = batchEnd.next() ? batchEnd.value(0).toLongLong() : std::numeric_limits<qint64>::max();
            batchEnd.finish();
            insert.addBindValue(after);
            insert.addBindValue(last);
            if (!insert.exec())
                return fail(QString("The rows of %1 cannot be written into the main database: %2").arg(plan.table, insert.lastError().text()));
            const int rows = insert.numRowsAffected();
            if (rows <= 0) break;
            done += rows;
            after = last;
        }
        *copied = done;
        return true;
    }

    bool moveToBackup()
    {
        backupPath_ = QFileInfo(oldPath_).dir().filePath(backupFileName(today_));
        const QString earlier = folder_.filePath(backupFileName(today_));
        if (QFileInfo::exists(earlier)) {
            // Kept aside until the transfer is committed, then removed.
            previousBackup_ = earlier + QStringLiteral(".previous");
            QFile::remove(previousBackup_);
            if (!QFile::rename(earlier, previousBackup_)) {
                previousBackup_.clear();
                return fail(QString("The earlier backup %1 cannot be replaced.").arg(earlier));
            }
            earlierBackup_ = earlier;
        }
        if (!QFile::rename(oldPath_, backupPath_)) return fail(QString("%1 cannot be renamed to %2.").arg(oldPath_, backupPath_));
        moved_ = true;
        outcome_.backupPath = backupPath_;
        display_.setProgress(display_.progress() + 4);
        return true;
    }

    bool rebuildDates()
    {
        display_.setLight(6, StepLight::Done);
        display_.setLight(7, StepLight::Lit);
        light_ = 7;
        const QString e = rebuildLatestMeasurements(main_, [this](int done, int total) {
            display_.setProgress(int(roundHalfEven(100.0 * done / (total + 1))));
            display_.processEvents();
        });
        return e.isEmpty() || fail(QString("The latest measurement dates cannot be rebuilt: %1").arg(e));
    }

    bool commit()
    {
        if (QString e = execute(main_, QStringLiteral("COMMIT")); !e.isEmpty())
            return fail(QString("The transferred rows cannot be stored in the main database: %1").arg(e));
        return true;
    }

    void undoFileMoves()
    {
        if (moved_) QFile::rename(backupPath_, oldPath_);
        if (!previousBackup_.isEmpty()) QFile::rename(previousBackup_, earlierBackup_);
        outcome_.backupPath.clear();
        previousBackup_.clear();
    }

    QSqlDatabase& main_;
    const ProgramFolder& folder_;
    StartupDisplay& display_;
    QDate today_;
    QString oldPath_;
    QString backupPath_;
    QString earlierBackup_;
    QString previousBackup_;
    bool moved_ = false;
    int light_ = 3;
    TransferOutcome outcome_;
};

}  // namespace

TransferOutcome transferOldDatabase(QSqlDatabase& main, const ProgramFolder& folder, StartupDisplay& display, const QDate& today)
{
    return Transfer(main, folder, display, today).run();
}

}  // namespace tork
