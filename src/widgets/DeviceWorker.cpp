#include "widgets/DeviceWorker.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <utility>

namespace trv {

namespace {
// An idle worker answers a close within microseconds; only a read under way needs the event loop.
constexpr auto QuickSettle = std::chrono::milliseconds(3);
} // namespace

DeviceWorker::DeviceWorker(const QString& name, QObject* parent)
    : QObject(parent), thread_(new QThread), workerSide_(new QObject) {
    thread_->setObjectName(name);
    workerSide_->moveToThread(thread_);
}

DeviceWorker::~DeviceWorker() {
    stop();
    delete workerSide_;
    delete thread_;
}

void DeviceWorker::post(QObject* context, Call call) {
    // Qt's event queue orders the memory of the two threads too, but out of the sight of the
    // thread checker; the handover lock makes the order plain to it at the cost of a lock.
    const std::lock_guard lock(handover());
    QMetaObject::invokeMethod(
        context,
        [call = std::move(call)]() mutable {
            { const std::lock_guard lock(handover()); }
            call();
            call = nullptr; // what it held goes before the order is handed back
            const std::lock_guard lock(handover());
        },
        Qt::QueuedConnection);
}

std::mutex& DeviceWorker::handover() {
    static std::mutex lock;
    return lock;
}

void DeviceWorker::adopt(QObject& object) {
    adopted_.push_back(&object);
}

void DeviceWorker::open(Call activate) {
    if (!thread_->isRunning() && !thread_->isFinished()) {
        // Started with the first opening: a dialog that is never opened costs no thread.
        for (QObject* object : adopted_)
            object->moveToThread(thread_);
        thread_->start();
    }
    const int opening = ++openings_;
    windowOpening_ = opening;
    hold(true);
    post(workerSide_, [this, opening, activate = std::move(activate)] {
        workerOpening_ = opening;
        activate();
    });
}

void DeviceWorker::act(Call action) {
    const int opening = windowOpening_;
    if (opening == 0)
        return;
    post(workerSide_, [this, opening, action = std::move(action)] {
        if (workerOpening_ == opening)
            action();
    });
}

void DeviceWorker::closeDialog(QDialog& dialog, int result, Call close) {
    const bool running = isOpen();
    // The base class's done(): the dialogs override done() to come here.
    dialog.QDialog::done(result);
    if (running)
        closeByUser(std::move(close));
}

void DeviceWorker::closeByUser(Call close) {
    const int opening = windowOpening_;
    if (opening == 0)
        return;
    windowOpening_ = 0;
    post(workerSide_, [this, opening, close = std::move(close)] {
        if (workerOpening_ == opening) {
            workerOpening_ = 0;
            close();
        }
        settled(opening);
    });

    const auto done = [this, opening] { return settledOpening_ >= opening || stopping_; };
    {
        std::unique_lock lock(mutex_);
        if (changed_.wait_for(lock, QuickSettle, done)) {
            hold(false);
            return;
        }
    }
    // A read is under way: the windows keep repainting and answering while it ends, but a click
    // waits, since it could open another device dialog on the link this one still holds.
    QEventLoop loop;
    QEventLoop* outer = std::exchange(settleLoop_, &loop);
    const QDeadlineTimer deadline(SettleBoundMs);
    QTimer::singleShot(SettleBoundMs, &loop, &QEventLoop::quit);
    for (;;) {
        {
            const std::lock_guard lock(mutex_);
            if (done())
                break;
        }
        if (deadline.hasExpired()) {
            qWarning("%s: the device step did not end in time", qPrintable(thread_->objectName()));
            break;
        }
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    settleLoop_ = outer;
    hold(false);
}

void DeviceWorker::hold(bool holding) {
    if (holding_ == holding)
        return;
    holding_ = holding;
    holders_ += holding ? 1 : -1;
}

void DeviceWorker::settled(int opening) {
    {
        const std::lock_guard lock(mutex_);
        settledOpening_ = std::max(settledOpening_, opening);
    }
    changed_.notify_all();
    post(this, [this] {
        if (settleLoop_ != nullptr)
            settleLoop_->quit();
    });
}

void DeviceWorker::stop() {
    windowOpening_ = 0;
    hold(false);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (!thread_->isRunning())
        return;
    QThread* window = thread();
    post(workerSide_, [this, window] {
        workerOpening_ = 0;
        for (QObject* object : adopted_) {
            if (auto* timer = qobject_cast<QTimer*>(object))
                timer->stop();
            object->moveToThread(window);
        }
    });
    thread_->quit();
    if (!thread_->wait(QDeadlineTimer(SettleBoundMs))) {
        qWarning("%s: the device step did not end in time", qPrintable(thread_->objectName()));
        thread_->wait();
    }
    const std::lock_guard lock(handover()); // the worker's last call released it
}

void DeviceWorker::toWindow(Call update) {
    const int opening = workerOpening_;
    if (opening == 0)
        return;
    post(this, [this, opening, update = std::move(update)] {
        if (windowOpening_ == opening)
            update();
    });
}

bool DeviceWorker::ask(Call question) {
    const int opening = workerOpening_;
    if (opening == 0)
        return false;
    int serial = 0;
    {
        const std::lock_guard lock(mutex_);
        if (stopping_)
            return false;
        serial = ++askSerial_;
    }
    post(this, [this, opening, serial, question = std::move(question)] {
        const bool ran = windowOpening_ == opening;
        if (ran)
            question();
        {
            const std::lock_guard lock(mutex_);
            answeredSerial_ = serial;
            answerRan_ = ran;
        }
        changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return answeredSerial_ >= serial || stopping_; });
    return answeredSerial_ >= serial && answerRan_;
}

void DeviceWorker::finish(Call close) {
    const int opening = workerOpening_;
    if (opening == 0)
        return;
    workerOpening_ = 0;
    post(this, [this, opening, close = std::move(close)] {
        if (windowOpening_ != opening)
            return;
        windowOpening_ = 0;
        hold(false);
        close();
    });
}

} // namespace trv
