#include "core/app/programfolder.h"

#include "core/app/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tork {

ProgramFolder::ProgramFolder(const QString& path)
    : path_(QDir::cleanPath(QDir(path.isEmpty() ? defaultPath() : path).absolutePath()))
{
}

QString ProgramFolder::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tork");
}

QString ProgramFolder::ensureExists() const
{
    QDir dir;
    if (!dir.mkpath(path_)) return QString("The program folder %1 cannot be created.").arg(path_);
    if (!QFileInfo(dataPath()).isDir() && !dir.mkpath(dataPath()))
        return QString("The picture folder %1 cannot be created.").arg(dataPath());
    return {};
}

QString ProgramFolder::dataPath() const { return findFileIgnoringCase(path_, QStringLiteral("Data")); }

QString ProgramFolder::filePath(const QString& name) const { return findFileIgnoringCase(path_, name); }

QString ProgramFolder::dataFilePath(const QString& name) const { return findFileIgnoringCase(dataPath(), name); }

QString ProgramFolder::settingsFilePath() const { return filePath(kSettingsFileName); }

QString findFileIgnoringCase(const QString& dir, const QString& name)
{
    const QString exact = QDir(dir).filePath(name);
    if (QFileInfo::exists(exact)) return exact;
    const QStringList entries = QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return QDir(dir).filePath(entry);
    return exact;
}

QString deliveredDataPath()
{
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tork");
    if (QFileInfo(besideProgram).isDir()) return QDir::cleanPath(besideProgram);
    if (QFileInfo(QStringLiteral(TORK_BUILD_SHARE_DIR)).isDir()) return QStringLiteral(TORK_BUILD_SHARE_DIR);
    return QStringLiteral(TORK_SHARE_DIR);
}

}  // namespace tork
