#pragma once
// One open database file under a connection name of its own, so that several program
// folders (or the main database and an old one) can be open at the same time.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace tork {

enum class OpenMode {
    Shared,     // read and write; other processes may read and write too (write-ahead log)
    ReadOnly,   // read only; other processes may read
    Create,     // read and write, a new file made when missing; plain rollback journal, so the
                // file can later be read from a folder nobody may write to
};

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;

    // Opens PATH; a missing file is an error except in Create mode, and a file that is not
    // a database is an error in every mode. Returns an error text or empty.
    QString open(const QString& path, OpenMode mode);
    void close();

    bool isOpen() const { return !connectionName_.isEmpty(); }
    QString path() const { return path_; }
    // The connection; valid while open. Queries on it must end before close().
    QSqlDatabase db() const;

private:
    QString connectionName_;
    QString path_;
};

// A unit of work that is undone unless released: the outermost one is a transaction, one
// inside a caller's transaction is a savepoint of it.
class Savepoint {
public:
    explicit Savepoint(QSqlDatabase& db);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    QString error() const { return error_; }   // why it could not begin
    QString release();                         // keeps the work; returns an error text or empty
    void rollback();

private:
    QSqlDatabase db_;
    QString name_;
    QString error_;
    bool open_ = false;
};

// Runs one statement without results; returns an error text or empty.
QString execute(QSqlDatabase& db, const QString& sql);
// The same with VALUES bound to its "?" in order; INSERTED_ID receives the new row's key.
QString execute(QSqlDatabase& db, const QString& sql, const QVariantList& values, qint64* insertedId = nullptr);
// Prepares SQL on QUERY, binds VALUES and runs it; false on any error (see query.lastError()).
bool runBound(QSqlQuery& query, const QString& sql, const QVariantList& values);
// The first column of the first row of a counting statement; 0 on error.
int countRows(QSqlDatabase& db, const QString& sql, const QVariantList& values = {});

}  // namespace tork
