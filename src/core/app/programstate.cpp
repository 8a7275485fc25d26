#include "core/app/programstate.h"

#include <QFileInfo>

namespace tork {

ProgramState::ProgramState(const ProgramFolder& folder) : folder(folder) {}

SettingsLoadResult ProgramState::loadOrCreateSettings()
{
    const QString path = folder.settingsFilePath();
    if (QFileInfo::exists(path)) {
        const SettingsLoadResult result = settings.load(path);
        if (result.ok) rebuildTables();
        return result;
    }
    settings = Settings::defaults();
    const QString error = saveSettings();
    if (!error.isEmpty()) return {false, 0, error};
    return {};
}

QString ProgramState::saveSettings()
{
    const QString error = settings.save(folder.settingsFilePath());
    rebuildTables();
    return error;
}

void ProgramState::rebuildTables()
{
    tables.rebuild(settings.intValue(SettingLine::OrderMode), settings.customOrder(),
                   settings.intValue(SettingLine::FactorMode), settings.customFactors());
}

void ProgramState::clearCurrentPatient()
{
    patient = CurrentPatient();
    measurementDateTime = 0;
    measurementMemo.clear();
    analysedPointsCounter = 0;
}

}  // namespace tork
