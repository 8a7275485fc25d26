#pragma once
// The files delivered with the program (the template and the two read-only databases, and
// the pictures of the delivered "Data" folder) are copied into the program folder when missing.

#include "core/app/programfolder.h"

#include <QString>
#include <QStringList>

namespace tork {

struct DeliveredCopyResult {
    QStringList copied;     // file names copied, "Data/" prefixed for pictures
    QStringList failures;   // one sentence per file that could not be copied
    bool ok() const { return failures.isEmpty(); }
};

// Copies KaSpa_60.mdb, torkE.mdb and torkKA.mdb, and every file of DELIVERED/Data, into the
// program folder where no file of that name (ignoring letter case) exists. Existing files are
// never replaced. The copies are writable by their owner.
DeliveredCopyResult copyMissingDeliveredFiles(const ProgramFolder& folder, const QString& delivered = deliveredDataPath());

}  // namespace tork
