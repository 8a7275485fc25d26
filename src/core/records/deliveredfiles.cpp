#include "core/records/deliveredfiles.h"

#include "core/records/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tork {
namespace {

void copyIfMissing(const QString& source, const QString& targetDir, const QString& shownName, DeliveredCopyResult& result)
{
    const QString name = QFileInfo(source).fileName();
    if (QFileInfo::exists(findFileIgnoringCase(targetDir, name))) return;
    const QString target = QDir(targetDir).filePath(name);
    if (!QFile::copy(source, target)) {
        result.failures << QString("%1 cannot be copied to %2.").arg(source, target);
        return;
    }
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
    result.copied << shownName;
}

}  // namespace

DeliveredCopyResult copyMissingDeliveredFiles(const ProgramFolder& folder, const QString& delivered)
{
    DeliveredCopyResult result;
    if (const QString error = folder.ensureExists(); !error.isEmpty()) {
        result.failures << error;
        return result;
    }
    for (const char* name : {kTemplateDatabaseFile, kReferenceDatabaseFile, kSystemProtocolDatabaseFile}) {
        const QString source = QDir(delivered).filePath(QString::fromLatin1(name));
        if (!QFileInfo(source).isFile()) {
            if (!QFileInfo::exists(folder.filePath(QString::fromLatin1(name))))
                result.failures << QString("The delivered file %1 is missing.").arg(source);
            continue;
        }
        copyIfMissing(source, folder.path(), QString::fromLatin1(name), result);
    }
    const QDir pictures(findFileIgnoringCase(delivered, QStringLiteral("Data")));
    if (pictures.exists())
        for (const QString& name : pictures.entryList(QDir::Files))
            copyIfMissing(pictures.filePath(name), folder.dataPath(), QStringLiteral("Data/") + name, result);
    return result;
}

}  // namespace tork
