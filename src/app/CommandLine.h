#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace trv {

// What the command line asks for, read before the toolkit connects to the display, so --help,
// --version and a wrong usage are answered without a window (and without a display).
struct CommandLine {
    std::optional<int> exitCode; // answered or refused: end at once with this status
    QString programFile;         // a control program file to open at start, as given; empty for none
};

// arguments: the whole command line, the program's name first. Help and version go to out, a
// wrong usage to err (status 2).
CommandLine ParseCommandLine(const QStringList& arguments, const QString& version, QTextStream& out, QTextStream& err);

// The process's arguments as text, in the locale's encoding.
QStringList CommandLineArguments(int argc, char** argv);

} // namespace trv
