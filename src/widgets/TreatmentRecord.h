#pragma once

#include <QString>

#include <memory>

class QWidget;

namespace trv {

class SessionEventSink;

// The treatment record as the application holds it: the sink the step machines report to, and
// the window that shows it. Both live in a module of their own (libtrvrecordmodule.so next to the
// application), loaded once the main window has been painted: linked into the application, the
// database library lengthens every start-up.
class TreatmentRecord {
public:
    virtual ~TreatmentRecord() = default;

    // The writer's side, to be added to the step machines' sinks.
    virtual std::shared_ptr<SessionEventSink> sink() = 0;
    // How opening the record went; waits for it. Empty, or a message for the user (a damaged file
    // moved aside, or a record that can't be used).
    virtual QString openMessage() = 0;
    // A new Treatment Record window over the record, following what the writer writes.
    virtual QWidget* createWindow(QWidget* parent) = 0;
};

// Loads the module (ModulePath("trvrecordmodule") in the applications) and opens the record at
// path (the writer starts at once, on a thread of its own); nullptr, with error set to a message
// for the user, when the module can't be loaded.
std::unique_ptr<TreatmentRecord> OpenTreatmentRecord(const QString& module, const QString& path, QString* error);

// What the module exports under the name OpenTreatmentRecordEntry.
using OpenTreatmentRecordFunction = TreatmentRecord* (*)(const QString& path);
inline constexpr const char* OpenTreatmentRecordEntry = "trvOpenTreatmentRecord";

} // namespace trv
