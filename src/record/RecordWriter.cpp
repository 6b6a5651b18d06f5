#include "record/RecordWriter.h"

namespace trv {

RecordWriter::RecordWriter(const QString& path) : path_(path) {
    std::promise<RecordStore::OpenResult> opened;
    opened_ = opened.get_future().share();
    thread_ = std::thread([this, promise = std::move(opened)]() mutable { run(std::move(promise)); });
}

RecordWriter::~RecordWriter() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

RecordStore::OpenResult RecordWriter::openResult() {
    return opened_.get();
}

void RecordWriter::flush() {
    std::promise<void> done;
    std::future<void> written = done.get_future();
    post([&done](State&) { done.set_value(); });
    written.wait();
}

void RecordWriter::post(Task task) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void RecordWriter::run(std::promise<RecordStore::OpenResult> opened) {
    State state;
    const RecordStore::OpenResult result = state.store.open(path_);
    opened.set_value(result);
    for (;;) {
        Task task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty())
                return; // stopping, and everything is written
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task(state);
    }
}

void RecordWriter::report(State& state) {
    // Once: a record that can't be written says so, not at every event of a long session.
    if (state.failedOnce)
        return;
    state.failedOnce = true;
    Q_EMIT writeFailed(state.store.isOpen() ? state.store.lastError()
                                            : tr("The treatment record %1 can't be written.").arg(path_));
}

void RecordWriter::downloadBegan(const DownloadBegin& event) {
    const RecordTime at = RecordTime::now();
    const EntryKind kind = event.selfTest ? EntryKind::SelfTest
                           : event.resume ? EntryKind::Resume
                                          : EntryKind::Download;
    post([this, at, kind, start = event.startItem, items = event.items](State& state) {
        state.current = 0;
        if (!state.store.isOpen())
            return report(state);
        state.current = state.store.beginEntry(at, kind, start, items);
        if (state.current == 0)
            return report(state);
        Q_EMIT entryChanged(state.current);
    });
}

void RecordWriter::deviceIdentified(const DeviceIdentified& event) {
    post([this, version = QString::fromStdString(event.version), percent = event.correctionPercentage](State& state) {
        if (state.current == 0)
            return;
        if (!state.store.setDevice(state.current, version, percent))
            return report(state);
        Q_EMIT entryChanged(state.current);
    });
}

void RecordWriter::downloadPrepared(const std::vector<SentItem>& items) {
    post([this, items](State& state) {
        if (state.current == 0)
            return;
        if (!state.store.setItems(state.current, items))
            return report(state);
        Q_EMIT entryChanged(state.current);
    });
}

void RecordWriter::downloadEnded(const DownloadResult& result) {
    const RecordTime at = RecordTime::now();
    post([this, at, result](State& state) {
        if (state.current == 0)
            return;
        if (!state.store.endEntry(state.current, at, result))
            return report(state);
        Q_EMIT entryChanged(state.current);
    });
}

void RecordWriter::statusEvent(const StatusEvent& event) {
    RecordEvent recorded;
    recorded.at = RecordTime::now();
    recorded.kind = event.kind;
    recorded.item = event.item;
    recorded.powerLevel = event.powerLevel;
    post([this, recorded](State& state) {
        if (!state.store.isOpen())
            return report(state);
        const qint64 id = state.current != 0 ? state.current : state.store.latestEntryId();
        if (id == 0)
            return; // nothing was ever recorded to add it to
        // The entry may have been erased meanwhile: then the event goes with it.
        if (state.store.addEvent(id, recorded))
            Q_EMIT entryChanged(id);
    });
}

} // namespace trv
