#pragma once
// The database start-up step, run by the device status window once the instrument check has
// succeeded (and by "tork-tool db upgrade" without a window): renames left by an installer,
// the main database made from the template, the three standing connections and the transfer
// of an old main database.

#include "core/app/programstate.h"
#include "core/app/startupdisplay.h"
#include "core/records/connection.h"
#include "core/records/transfer.h"

#include <QDate>
#include <QStringList>
#include <memory>

namespace tork {

// The three connections the main window keeps for the life of the program; every window of
// the records, analysis, protocol and exchange functions works through them.
class StandingConnections {
public:
    Database main;              // tork6.mdb, shared with other processes
    Database reference;         // torkE.mdb, read only
    Database systemProtocols;   // torkKA.mdb, read only

    // Closes all three; the windows' queries must be closed first.
    void close();
};

struct DatabaseStartupReport {
    QStringList actions;        // what was done, one sentence each
    bool transferRan = false;
    TransferOutcome transfer;
};

// Runs the start-up step in FOLDER of STATE, showing lights 1..7 on DISPLAY. Failures are
// shown through showMessage and set state.online to false (missing template, a connection that
// cannot be opened). Returns the open connections, or nullptr when they could not be opened.
std::unique_ptr<StandingConnections> runDatabaseStartup(ProgramState& state, StartupDisplay& display,
                                                        DatabaseStartupReport* report = nullptr,
                                                        const QDate& today = QDate::currentDate());

}  // namespace tork
