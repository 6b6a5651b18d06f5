#pragma once

#include <QtCore/QString>

namespace trv {

// What the report needs from outside this layer.
struct DiagnosticFacts {
    QString dataFolder;   // absolute path
    QString checkSummary; // trv-check's report of the data folder, as it prints it
    QString recordPath;   // the treatment record's file; empty when there is none
};

// The text support asks for: versions (trv, Qt, hidapi), the operating system, the data folder and
// its check, the device last seen, the log folder and the log's last lines.
QString DiagnosticReport(const DiagnosticFacts& facts);

// Keeps the device's version ("1.2.0.3") and correction percentage from its base-state reply for
// the report. Any thread.
void NoteDeviceSeen(const QString& version, int correctionPercentage);
// "1.2.0.3, correction 12 %", or empty when no device answered since the start.
QString DeviceLastSeen();

// The data folder: the application reads its files from the folder it was started in.
QString DataFolderPath();

} // namespace trv
