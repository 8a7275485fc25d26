#include "core/records/backup.h"

#include "core/records/connection.h"

#include <QFile>
#include <QFileInfo>

namespace tork {

QString copyDatabaseSnapshot(const QString& source, const QString& destination)
{
    if (QFileInfo::exists(destination)) return QString("%1 exists already; choose another name.").arg(destination);
    const QString partial = destination + QStringLiteral(".partial");
    QFile::remove(partial);
    QString error;
    {
        Database database;
        error = database.open(source, OpenMode::ReadOnly);
        if (error.isEmpty()) {
            QSqlDatabase db = database.db();
            // One read transaction: the copy shows the database as it was at one moment.
            error = execute(db, QStringLiteral("VACUUM INTO ?"), {partial});
            if (!error.isEmpty()) error = QString("%1 cannot be copied to %2: %3").arg(source, destination, error);
        }
    }
    if (error.isEmpty() && !QFile::rename(partial, destination)) error = QString("%1 cannot be written.").arg(destination);
    if (!error.isEmpty()) QFile::remove(partial);
    return error;
}

}  // namespace tork
