#pragma once
// Transfer of an old main database (tork.mdb) into the main database, with the dated backup
// of the old file and the rebuild of every patient's latest measurement date.
//
// The whole transfer is one transaction of the main database: either every row of the old
// file arrives, the old file becomes the day's backup and the dates are rebuilt, or nothing
// changes at all (the main database as before, tork.mdb where it was) and the reason is returned.

#include "core/app/programfolder.h"
#include "core/app/startupdisplay.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

namespace tork {

struct TransferOutcome {
    bool ok = false;
    QString error;          // what failed, for the operator
    int patients = 0;
    int measurements = 0;
    int protocols = 0;
    int conditions = 0;
    QString backupPath;     // where tork.mdb went
    QStringList skippedColumns;  // optional columns the old layout lacks, "KADATA.STD"
};

// Transfers FOLDER's tork.mdb into MAIN (which must be open and hold the current layout),
// showing lights 3 to 7, the caption, the status line and the progress on DISPLAY.
TransferOutcome transferOldDatabase(QSqlDatabase& main, const ProgramFolder& folder, StartupDisplay& display,
                                    const QDate& today);

}  // namespace tork
