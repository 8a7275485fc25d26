#pragma once
// Subcommands of tork-tool register themselves here, one file each.

#include "core/app/programfolder.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QTextStream>
#include <functional>

namespace tork::cli {

struct Command {
    QString name;
    QString summary;
    // Runs with the words after the subcommand's name; returns the exit status.
    std::function<int(const QStringList& args)> run;
};

void registerCommand(Command command);
const std::vector<Command>& commands();

struct RegisterCommand {
    explicit RegisterCommand(Command command) { registerCommand(std::move(command)); }
};

QTextStream& out();
QTextStream& err();

// A parser with --program-folder DIR and --help already added; `usage` is the synopsis line.
class CommandParser {
public:
    CommandParser(const QString& usage, const QString& description);
    QCommandLineParser& parser() { return parser_; }
    // Parses "tork-tool <words>"; on --help prints the help and returns 0 in *exitCode,
    // on a bad option prints the error and returns 2. Returns true when the command should go on.
    bool parse(const QStringList& words, int* exitCode);
    ProgramFolder programFolder() const;
    QStringList positional() const { return parser_.positionalArguments(); }
    void printUsageError(const QString& message) const;

private:
    QString usage_;
    QCommandLineParser parser_;
    QCommandLineOption folder_;
};

}  // namespace tork::cli
