#pragma once
// A program folder of its own for each test, removed afterwards.

#include "core/app/programfolder.h"

#include <QTemporaryDir>

namespace tork::test {

class TempProgramFolder {
public:
    TempProgramFolder() : folder_(dir_.path()) { folder_.ensureExists(); }
    const ProgramFolder& folder() const { return folder_; }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    ProgramFolder folder_;
};

// Runs tork-tool with the arguments; returns its exit status and fills stdout/stderr.
int runTool(const QStringList& args, QString* standardOutput = nullptr, QString* standardError = nullptr,
            const QByteArray& standardInput = {});

}  // namespace tork::test
