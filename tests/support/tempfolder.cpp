#include "support/tempfolder.h"

#include <QProcess>

namespace tork::test {

int runTool(const QStringList& args, QString* standardOutput, QString* standardError, const QByteArray& standardInput)
{
    QProcess process;
    process.start(QStringLiteral(TORK_TOOL_PATH), args);
    if (!process.waitForStarted()) return -1;
    if (!standardInput.isEmpty()) process.write(standardInput);
    process.closeWriteChannel();
    process.waitForFinished(120000);
    if (standardOutput) *standardOutput = QString::fromUtf8(process.readAllStandardOutput());
    if (standardError) *standardError = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace tork::test
