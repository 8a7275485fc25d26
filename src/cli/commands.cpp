#include "commands.h"

#include <QCoreApplication>

namespace tork::cli {

namespace {
std::vector<Command>& registry()
{
    static std::vector<Command> list;
    return list;
}
}  // namespace

void registerCommand(Command command) { registry().push_back(std::move(command)); }

const std::vector<Command>& commands() { return registry(); }

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

CommandParser::CommandParser(const QString& usage, const QString& description)
    : usage_(usage),
      folder_(QStringLiteral("program-folder"),
              QStringLiteral("Program folder of the settings, pictures and databases (default: %1).")
                  .arg(ProgramFolder::defaultPath()),
              QStringLiteral("DIR"))
{
    parser_.setApplicationDescription(description);
    parser_.addOption(folder_);
    parser_.addHelpOption();
}

bool CommandParser::parse(const QStringList& words, int* exitCode)
{
    QStringList argv{QStringLiteral("tork-tool")};
    argv << words;
    if (!parser_.parse(argv)) {
        printUsageError(parser_.errorText());
        *exitCode = 2;
        return false;
    }
    if (parser_.isSet(QStringLiteral("help"))) {
        out() << "Usage: tork-tool " << usage_ << "\n\n" << parser_.helpText().section(u'\n', 1) << Qt::endl;
        *exitCode = 0;
        return false;
    }
    return true;
}

ProgramFolder CommandParser::programFolder() const { return ProgramFolder(parser_.value(folder_)); }

void CommandParser::printUsageError(const QString& message) const
{
    err() << "tork-tool: " << message << "\nUsage: tork-tool " << usage_ << Qt::endl;
}

}  // namespace tork::cli
