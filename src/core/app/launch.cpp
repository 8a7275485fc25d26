#include "core/app/launch.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace tork {
namespace {

bool namesDrive(const QString& path)
{
    const int colon = path.indexOf(u':');
    return colon == 1 || colon == 2;  // positions 2 or 3 counted from 1
}

// Programs start with their parameters split as a shell would; anything that is not an
// executable (a document, a folder, a web address) goes to the desktop's default handler.
void openWithDesktop(const LaunchAction& action)
{
    if (action.program.isEmpty()) {
        QProcess::startDetached(QStringLiteral("xdg-open"), {action.target});
        return;
    }
    const QString executable = QFileInfo(action.program).isExecutable() && QFileInfo(action.program).isFile()
                                   ? action.program
                                   : QStandardPaths::findExecutable(action.program);
    if (!executable.isEmpty()) {
        QProcess::startDetached(executable, QProcess::splitCommand(action.target));
        return;
    }
    QProcess::startDetached(QStringLiteral("xdg-open"), {action.program});
}

LaunchOpener& currentOpener()
{
    static LaunchOpener opener = openWithDesktop;
    return opener;
}

}  // namespace

QString searchDriveLetters(const QString& path, const std::function<bool(const QString&)>& exists)
{
    if (!namesDrive(path) || exists(path)) return path;
    const int driveIndex = path.indexOf(u':') - 1;
    QString candidate = path;
    for (char letter = 'C'; letter <= 'Q'; ++letter) {
        candidate[driveIndex] = QChar(letter);
        if (exists(candidate)) return candidate;
    }
    return {};
}

bool planLaunch(const QString& program, const QString& parameters,
                const std::function<bool(const QString&)>& exists, LaunchAction* action)
{
    const QString resolvedProgram = searchDriveLetters(program, exists);
    if (resolvedProgram.isEmpty() && !program.isEmpty()) return false;
    QString resolvedParameters = searchDriveLetters(parameters, exists);
    if (resolvedParameters.isEmpty()) resolvedParameters = parameters;
    action->program = resolvedProgram.trimmed();
    action->target = resolvedParameters.trimmed();
    return !(action->program.isEmpty() && action->target.isEmpty());
}

LaunchOpener installLaunchOpener(LaunchOpener opener)
{
    LaunchOpener previous = currentOpener();
    currentOpener() = opener ? std::move(opener) : LaunchOpener(openWithDesktop);
    return previous;
}

void launch(const QString& program, const QString& parameters)
{
    LaunchAction action;
    if (planLaunch(program, parameters, [](const QString& p) { return QFileInfo::exists(p); }, &action))
        currentOpener()(action);
}

}  // namespace tork
