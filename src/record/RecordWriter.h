#pragma once

#include "logic/SessionEvents.h"
#include "record/RecordStore.h"

#include <QtCore/QObject>
#include <QtCore/QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace trv {

// The treatment record's sink: each call stamps the time, queues the write and returns; a thread
// of its own opens the record and writes each event in its own short transaction, so the step
// machines' threads never wait for the disk. Status events go to the entry this writer began
// last, or to the newest entry of the record when it has begun none.
class RecordWriter final : public QObject, public SessionEventSink {
    Q_OBJECT
public:
    // Starts the thread, which opens (or makes) the record at path at once.
    explicit RecordWriter(const QString& path);
    // Writes what is queued, then ends the thread.
    ~RecordWriter() override;

    QString path() const { return path_; }
    // How the opening went; waits for it. A non-empty message is for the user (a damaged file
    // moved aside, or a record that can't be used, in which case nothing is written).
    RecordStore::OpenResult openResult();
    // Waits until everything queued before the call is written.
    void flush();

    void downloadBegan(const DownloadBegin& event) override;
    void deviceIdentified(const DeviceIdentified& event) override;
    void downloadPrepared(const std::vector<SentItem>& items) override;
    void downloadEnded(const DownloadResult& result) override;
    void statusEvent(const StatusEvent& event) override;

Q_SIGNALS:
    // From the writer's thread (connect with a queued or automatic connection).
    void entryChanged(qint64 id);
    void writeFailed(const QString& message);

private:
    struct State {
        RecordStore store;
        qint64 current = 0;
        bool failedOnce = false;
    };
    using Task = std::function<void(State&)>;

    void post(Task task);
    void run(std::promise<RecordStore::OpenResult> opened);
    void report(State& state);

    QString path_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> queue_;
    bool stopping_ = false;
    std::shared_future<RecordStore::OpenResult> opened_;
    std::thread thread_;
};

} // namespace trv
