#pragma once
// A consistent copy of a database while other connections may be writing to it.

#include <QString>

namespace tork {

// Writes a compact copy of the database SOURCE to DESTINATION as one snapshot (through a
// temporary file beside it, so a failed copy leaves nothing behind). An existing DESTINATION
// is never replaced. Returns an error text or empty.
QString copyDatabaseSnapshot(const QString& source, const QString& destination);

}  // namespace tork
