#pragma once

#include "logic/SessionEvents.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDate>
#include <QtCore/QDateTime>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtSql/QSqlDatabase>

#include <functional>
#include <optional>
#include <vector>

namespace trv {

// The newest schema this program writes; PRAGMA user_version holds the file's.
inline constexpr int RecordSchemaVersion = 2;

// Which entries a view, an export or an erasure takes: a period of whole local days (either end
// open) and a text found in the client, the note or a program name (case-insensitive for ASCII).
struct RecordFilter {
    std::optional<QDate> from;
    std::optional<QDate> to; // inclusive
    QString text;
};

// A moment as it was lived: milliseconds since the epoch and the local offset from UTC then, so
// an export shows the time the practitioner saw, with its offset.
struct RecordTime {
    qint64 ms = 0;
    int offsetSeconds = 0;
    static RecordTime now();
    QDateTime dateTime() const;
    QString iso() const; // 2026-03-01T14:05:09+01:00
};

enum class RecordOutcome { Open, Started, Verified, Failed, Closed, DeviceKeptRunning };
QString OutcomeKey(RecordOutcome outcome); // as stored: "open", "started", ...
RecordOutcome OutcomeFromKey(const QString& key);

struct RecordItem {
    SentItem::Kind kind = SentItem::Kind::Program;
    int programNumber = 0;
    QString name;
    int seconds = 0;
};

struct RecordEvent {
    RecordTime at;
    StatusEventKind kind = StatusEventKind::ProgramEnded;
    int item = 0;
    int powerLevel = -1;
};

enum class EntryKind { Download, SelfTest, Resume };

struct RecordEntry {
    qint64 id = 0;
    RecordTime began;
    std::optional<RecordTime> ended;
    EntryKind kind = EntryKind::Download;
    int startItem = 0;
    QString deviceVersion;
    std::optional<int> correction;
    int verifications = 0;
    RecordOutcome outcome = RecordOutcome::Open;
    std::optional<int> message;
    QString messageText;
    qint64 totalSeconds = 0;
    QString programs; // "Name (12), Other (5)": the program items in order, for the list and the filter
    QString client;
    QString note;
    std::vector<RecordItem> items;   // filled by entry() and forEachEntry(withDetails)
    std::vector<RecordEvent> events; // likewise
};

// The treatment record: one SQLite file (write-ahead log, owner-only permissions, a numbered
// schema migrated on opening). Each object holds its own connection and is used on the thread
// that opened it; other threads and processes open their own. Every write is one short transaction
// that waits up to BusyTimeoutMs for another writer.
class RecordStore {
    Q_DECLARE_TR_FUNCTIONS(trv::RecordStore)

public:
    static constexpr int BusyTimeoutMs = 5000;

    // ReadWrite: the writer's opening (checks, repairs, migrates). Attach: a window's second
    // connection to a record the writer has opened (no check, nothing moved). ReadOnly: exports.
    enum class Mode { ReadWrite, Attach, ReadOnly };

    struct OpenResult {
        bool ok = false;
        // Non-empty when the user should be told something: the damaged file moved aside, or why
        // the record can't be used. ok may still be true (a fresh record was started).
        QString message;
        QString movedTo; // where a damaged file went
    };

    RecordStore();
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // ReadWrite creates the file and its folder (0600, 0700) when missing, moves a file that
    // can't be read aside under a dated name and starts a new one, and migrates an older schema.
    // Attach and ReadOnly move nothing: a missing or damaged file, or a schema they don't know, is
    // an error; ReadOnly also writes nothing.
    OpenResult open(const QString& path, Mode mode = Mode::ReadWrite);
    bool isOpen() const;
    QString path() const { return path_; }
    QString lastError() const { return lastError_; }
    int schemaVersion();

    // Writes; each false when nothing was written (lastError says why).
    qint64 beginEntry(const RecordTime& at, EntryKind kind, int startItem, const std::vector<SentItem>& items);
    bool setDevice(qint64 id, const QString& version, int correction);
    bool setItems(qint64 id, const std::vector<SentItem>& items);
    bool endEntry(qint64 id, const RecordTime& at, const DownloadResult& result);
    bool addEvent(qint64 id, const RecordEvent& event);
    bool setClient(qint64 id, const QString& client);
    bool setNote(qint64 id, const QString& note);
    // Erases the entries the filter takes, with their items and events; the number erased, -1 on failure.
    int deleteEntries(const RecordFilter& filter);

    // Reads.
    qint64 latestEntryId();
    std::optional<RecordEntry> entry(qint64 id);
    int countEntries(const RecordFilter& filter);
    // Newest first; the callback returns false to stop.
    bool forEachEntry(const RecordFilter& filter, bool withDetails,
                      const std::function<bool(const RecordEntry&)>& each);

    // The WHERE clause (without the word) and its values for a filter over table entry.
    static QString whereClause(const RecordFilter& filter, QVariantList& values);
    // The connection, for a view's model on this thread.
    QSqlDatabase database() const;

    // The schema-1 tables (before client and note), for the migration's tests.
    static bool createSchemaOne(QSqlDatabase& db);

private:
    bool configure(Mode mode);
    bool migrate();
    bool exec(const QString& sql);
    bool writeItems(qint64 id, const std::vector<SentItem>& items); // inside the caller's transaction
    void close();
    std::vector<RecordItem> itemsOf(qint64 id);
    std::vector<RecordEvent> eventsOf(qint64 id);
    void fail(const QString& what, const QString& why);

    QString connection_;
    QString path_;
    QString lastError_;
    bool newerSchema_ = false;
};

QString EntryKindKey(EntryKind kind);
QString StatusEventKey(StatusEventKind kind);
std::optional<StatusEventKind> StatusEventFromKey(const QString& key);
QString ItemKindKey(SentItem::Kind kind);
// "h:mm:ss"
QString DurationText(qint64 seconds);

} // namespace trv
