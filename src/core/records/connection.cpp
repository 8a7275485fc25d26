#include "core/records/connection.h"

#include <QAtomicInteger>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <utility>

namespace tork {
namespace {

QString nextConnectionName()
{
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("tork-db-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

}  // namespace

Database::~Database() { close(); }

Database::Database(Database&& other) noexcept
    : connectionName_(std::exchange(other.connectionName_, {})), path_(std::exchange(other.path_, {}))
{
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        close();
        connectionName_ = std::exchange(other.connectionName_, {});
        path_ = std::exchange(other.path_, {});
    }
    return *this;
}

QString Database::open(const QString& path, OpenMode mode)
{
    close();
    const QFileInfo info(path);
    if (mode != OpenMode::Create && !info.isFile()) return QString("The database %1 does not exist.").arg(path);

    const QString name = nextConnectionName();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_URI");
        if (mode == OpenMode::ReadOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        db.setConnectOptions(options);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            // Reading the schema fails on a file that is not a database.
            if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                error = query.lastError().text();
            else if (mode == OpenMode::Shared && (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next()))
                error = query.lastError().text();
        }
        if (!error.isEmpty()) db.close();
    }
    if (!error.isEmpty()) {
        QSqlDatabase::removeDatabase(name);
        return QString("The database %1 cannot be opened: %2").arg(path, error);
    }
    connectionName_ = name;
    path_ = path;
    return {};
}

void Database::close()
{
    if (connectionName_.isEmpty()) return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
    connectionName_.clear();
    path_.clear();
}

QSqlDatabase Database::db() const { return QSqlDatabase::database(connectionName_, false); }

Savepoint::Savepoint(QSqlDatabase& db) : db_(db)
{
    static QAtomicInteger<quint64> counter;
    name_ = QStringLiteral("tork_sp_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
    error_ = execute(db_, QStringLiteral("SAVEPOINT ") + name_);
    open_ = error_.isEmpty();
}

Savepoint::~Savepoint() { rollback(); }

QString Savepoint::release()
{
    if (!open_) return error_.isEmpty() ? QStringLiteral("The change was already undone.") : error_;
    const QString error = execute(db_, QStringLiteral("RELEASE ") + name_);
    if (!error.isEmpty()) {
        rollback();
        return error;
    }
    open_ = false;
    return {};
}

void Savepoint::rollback()
{
    if (!open_) return;
    execute(db_, QStringLiteral("ROLLBACK TO ") + name_);
    execute(db_, QStringLiteral("RELEASE ") + name_);
    open_ = false;
}

QString execute(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql)) return query.lastError().text();
    return {};
}

}  // namespace tork

namespace tork {

bool runBound(QSqlQuery& query, const QString& sql, const QVariantList& values)
{
    if (!query.prepare(sql)) return false;
    for (const QVariant& v : values) query.addBindValue(v);
    return query.exec();
}

QString execute(QSqlDatabase& db, const QString& sql, const QVariantList& values, qint64* insertedId)
{
    QSqlQuery query(db);
    if (!runBound(query, sql, values)) return query.lastError().text();
    if (insertedId) *insertedId = query.lastInsertId().toLongLong();
    return {};
}

int countRows(QSqlDatabase& db, const QString& sql, const QVariantList& values)
{
    QSqlQuery query(db);
    if (!runBound(query, sql, values) || !query.next()) return 0;
    return query.value(0).toInt();
}

}  // namespace tork
