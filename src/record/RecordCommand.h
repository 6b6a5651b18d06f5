#pragma once

#include <QtCore/QIODevice>
#include <QtCore/QStringList>

#include <ostream>

namespace trv {

// Exit statuses of trv-record.
inline constexpr int RecordExported = 0; // written (also when no entry matched)
inline constexpr int RecordFailed = 1;   // the record can't be read, or the output can't be written
inline constexpr int RecordUsage = 2;    // wrong usage

// Runs trv-record with its arguments (without the program name): the export goes to out unless
// --output names a file, problems to err. Needs a QCoreApplication. Returns the exit status.
int RunRecordCommand(const QStringList& args, QIODevice& out, std::ostream& err);

} // namespace trv
