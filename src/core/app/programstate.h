#pragma once
// Program-wide state: owned by the main window, read and written by every function window.

#include "core/app/meridians.h"
#include "core/app/programfolder.h"
#include "core/app/settings.h"

#include <QString>
#include <QStringList>
#include <array>

namespace tork {

struct CurrentPatient {
    QString number;
    QString name;
    bool isMale = true;
    double birthDate = 0;  // day count, 0 = none
    QString address;
    QString telephone;
};

class ProgramState {
public:
    explicit ProgramState(const ProgramFolder& folder = ProgramFolder());

    // Loads the settings file when it exists (rebuilding the derived tables on success);
    // otherwise takes the new values and saves them at once.
    SettingsLoadResult loadOrCreateSettings();
    // Saves and rebuilds the derived tables; returns an error text or empty.
    QString saveSettings();
    void rebuildTables();

    ProgramFolder folder;
    Settings settings;
    MeridianTables tables;

    bool online = false;
    bool firstActivationPending = true;
    bool highPotential = false;
    int currentMeasurementKey = 0;
    std::array<int, 7> chartChoices{1, 1, 1, 1, 1, 1, 1};
    CurrentPatient patient;
    double measurementDateTime = 0;
    QStringList measurementMemo;
    int patientSortColumn = 1;
    int analysedPointsCounter = 0;

    // Back to the values of a fresh start: no patient, no measurement time, empty memo.
    void clearCurrentPatient();
};

}  // namespace tork
