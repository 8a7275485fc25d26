// tork-tool settings show | set LINE VALUE

#include "commands.h"

#include "core/app/settings.h"

#include <QFileInfo>

namespace tork::cli {
namespace {

int showSettings(const Settings& settings)
{
    for (int line = 1; line <= kSettingsLineCount; ++line)
        out() << QString("%1 %2: %3").arg(line, 2, 10, QChar(u'0')).arg(settingDescription(line).name, settings.text(line)) << "\n";
    out().flush();
    return 0;
}

int runSettings(const QStringList& words)
{
    CommandParser cmd(QStringLiteral("settings show | settings set LINE VALUE [--program-folder DIR]"),
                      QStringLiteral("Shows the 78 decoded settings, or changes one line and saves the file."));
    int code = 0;
    if (!cmd.parse(words, &code)) return code;
    const QStringList pos = cmd.positional();
    if (pos.isEmpty() || (pos[0] != "show" && pos[0] != "set")) {
        cmd.printUsageError(QStringLiteral("say show or set"));
        return 2;
    }
    const ProgramFolder folder = cmd.programFolder();
    const QString path = folder.settingsFilePath();
    Settings settings;
    const bool exists = QFileInfo::exists(path);
    if (exists) {
        const SettingsLoadResult loaded = settings.load(path);
        if (!loaded.ok) {
            err() << "tork-tool: " << loaded.message << Qt::endl;
            return 1;
        }
    }

    if (pos[0] == "show") {
        if (pos.size() != 1) {
            cmd.printUsageError(QStringLiteral("show takes no further words"));
            return 2;
        }
        if (!exists) err() << "tork-tool: there is no settings file " << path << "; these are the values the program writes at its first start." << Qt::endl;
        return showSettings(settings);
    }

    if (pos.size() != 3) {
        cmd.printUsageError(QStringLiteral("set takes a line number and a value"));
        return 2;
    }
    bool ok = false;
    const int line = pos[1].toInt(&ok);
    if (!ok || line < 1 || line > kSettingsLineCount) {
        err() << "tork-tool: \"" << pos[1] << "\" is not a settings line (lines run from 1 to 78)." << Qt::endl;
        return 2;
    }
    const QString error = settings.setFromText(line, pos[2]);
    if (!error.isEmpty()) {
        err() << "tork-tool: " << error << Qt::endl;
        return 2;
    }
    if (const QString folderError = folder.ensureExists(); !folderError.isEmpty()) {
        err() << "tork-tool: " << folderError << Qt::endl;
        return 1;
    }
    if (const QString saveError = settings.save(path); !saveError.isEmpty()) {
        err() << "tork-tool: " << saveError << Qt::endl;
        return 1;
    }
    out() << QString("%1 %2: %3").arg(line, 2, 10, QChar(u'0')).arg(settingDescription(line).name, settings.text(line)) << Qt::endl;
    return 0;
}

const RegisterCommand registration{
    {QStringLiteral("settings"), QStringLiteral("show or change the settings file"), runSettings}};

}  // namespace
}  // namespace tork::cli
