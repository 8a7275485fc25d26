// tork-tool: the companion command-line tool for support and scripting.

#include "commands.h"

#include <QGuiApplication>

using namespace tork::cli;

int main(int argc, char* argv[])
{
    // Charts are drawn without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("tork-tool"));

    QStringList args = QGuiApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h" || args.first() == "help") {
        out() << "Usage: tork-tool COMMAND [options]\n\nCommands:\n";
        for (const Command& command : commands()) out() << "  " << command.name.leftJustified(10) << command.summary << "\n";
        out() << "\nEvery command takes --program-folder DIR and --help." << Qt::endl;
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const Command& command : commands())
        if (command.name == name) return command.run(args);
    err() << "tork-tool: unknown command \"" << name << "\"; see tork-tool --help" << Qt::endl;
    return 2;
}
