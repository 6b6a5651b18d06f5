#include "widgets/DeviceWorker.h"

#include "widgets/UserInput.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace trv {

namespace {

const char* const AllowedWhileBusy = "trvAllowedWhileBusy";

// Window thread: how many workers hold the link, and who waits for it.
int holders = 0;
struct Waiting {
    QPointer<QObject> context;
    DeviceWorker::Call call;
};
std::vector<Waiting> waiting;

// The worker whose thread this is.
thread_local DeviceWorker* currentWorker = nullptr;

// While a closed dialog's step ends, clicks and keys would reach windows whose handlers change the
// values the worker still uses: they are turned away, and the pointer says why.
class BusyGate : public QObject {
public:
    static void enter() {
        if (instance().depth_++ == 0) {
            QApplication::setOverrideCursor(Qt::BusyCursor);
            qApp->installEventFilter(&instance());
        }
    }
    static void leave() {
        if (--instance().depth_ == 0) {
            qApp->removeEventFilter(&instance());
            QApplication::restoreOverrideCursor();
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!IsUserInput(event->type()))
            return false;
        for (QObject* object = watched; object != nullptr; object = object->parent()) {
            if (object->property(AllowedWhileBusy).toBool())
                return false;
        }
        return true;
    }

private:
    static BusyGate& instance() {
        static BusyGate gate;
        return gate;
    }
    int depth_ = 0;
};

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

void DeviceWorker::requireWindowThread(const char* where) const {
    if (QThread::currentThread() != thread())
        qFatal("%s: DeviceWorker::%s belongs on the window thread", qPrintable(thread_->objectName()), where);
}

void DeviceWorker::requireWorkerThread(const char* where) const {
    if (QThread::currentThread() != thread_)
        qFatal("%s: DeviceWorker::%s belongs on the worker thread", qPrintable(thread_->objectName()), where);
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

void DeviceWorker::postWithin(int opening, QObject* context, const int& contextOpening, Call call) {
    if (opening == 0)
        return;
    post(context, [&contextOpening, opening, call = std::move(call)] {
        if (contextOpening == opening)
            call();
    });
}

std::mutex& DeviceWorker::handover() {
    static std::mutex lock;
    return lock;
}

bool DeviceWorker::deviceInUse() {
    return holders > 0;
}

void DeviceWorker::whenDeviceFree(QObject* context, Call call) {
    if (!deviceInUse()) {
        call();
        return;
    }
    waiting.push_back({context, std::move(call)});
}

void DeviceWorker::allowWhileBusy(QWidget& widget) {
    widget.setProperty(AllowedWhileBusy, true);
}

void DeviceWorker::setHold(bool reserved, bool lent) {
    reserved_ = reserved;
    lent_ = lent;
    const bool holding = reserved && !lent;
    if (holding_ == holding)
        return;
    holding_ = holding;
    holders += holding ? 1 : -1;
    if (holders > 0)
        return;
    // Each waiting call runs from the event loop, and checks again: the one before it may have
    // taken the link.
    for (Waiting& next : std::exchange(waiting, {})) {
        if (next.context == nullptr)
            continue;
        QObject* context = next.context;
        QMetaObject::invokeMethod(
            context, [context, call = std::move(next.call)] { whenDeviceFree(context, call); }, Qt::QueuedConnection);
    }
}

void DeviceWorker::adopt(QObject& object) {
    requireWindowThread("adopt");
    adopted_.push_back(&object);
}

void DeviceWorker::open(Call activate, Call abandon) {
    requireWindowThread("open");
    if (!thread_->isRunning() && !thread_->isFinished()) {
        // Started with the first opening: a dialog that is never opened costs no thread.
        for (QObject* object : adopted_)
            object->moveToThread(thread_);
        thread_->start();
        post(workerSide_, [this] { currentWorker = this; });
    }
    const int opening = ++openings_;
    windowOpening_ = opening;
    whenDeviceFree(this, [this, opening, activate = std::move(activate), abandon = std::move(abandon)] {
        if (windowOpening_ != opening)
            return; // closed before the link was free
        setHold(true, false);
        post(workerSide_, [this, opening, activate, abandon] {
            workerOpening_ = opening;
            abandon_ = abandon;
            activate();
        });
    });
}

void DeviceWorker::act(Call action) {
    requireWindowThread("act");
    postWithin(windowOpening_, workerSide_, workerOpening_, std::move(action));
}

void DeviceWorker::closeDialog(QDialog& dialog, int result, Call close) {
    requireWindowThread("closeDialog");
    const int opening = windowOpening_;
    // The base class's done(): the dialogs override done() to come here.
    dialog.QDialog::done(result);
    if (opening == 0)
        return;
    windowOpening_ = 0;
    if (!reserved_)
        return; // it never reached the link
    if (!gated_) {
        gated_ = true;
        BusyGate::enter();
    }
    post(workerSide_, [this, opening, close = std::move(close)] {
        if (workerOpening_ == opening) {
            workerOpening_ = 0;
            close();
        }
        post(this, [this] { released(); });
    });
}

void DeviceWorker::released() {
    if (gated_) {
        gated_ = false;
        BusyGate::leave();
    }
    setHold(false, false);
    if (releaseLoop_ != nullptr)
        releaseLoop_->quit();
}

void DeviceWorker::waitUntilReleased() {
    requireWindowThread("waitUntilReleased");
    if (!gated_)
        return;
    QEventLoop loop;
    QEventLoop* outer = std::exchange(releaseLoop_, &loop);
    while (gated_)
        loop.exec();
    releaseLoop_ = outer;
    if (outer != nullptr && !gated_)
        outer->quit();
}

void DeviceWorker::stop() {
    requireWindowThread("stop");
    windowOpening_ = 0;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_->isRunning()) {
        QThread* window = thread();
        // The clean-up runs on the worker after the step under way, and ends the thread itself.
        post(workerSide_, [this, window] {
            workerOpening_ = 0;
            abandon_ = nullptr;
            for (QObject* object : adopted_) {
                if (auto* timer = qobject_cast<QTimer*>(object))
                    timer->stop();
                object->moveToThread(window);
            }
            currentWorker = nullptr;
            QThread::currentThread()->quit();
        });
        thread_->wait();
        const std::lock_guard lock(handover()); // the worker's last call released it
    }
    released();
}

void DeviceWorker::toWindow(Call update) {
    requireWorkerThread("toWindow");
    postWithin(workerOpening_, this, windowOpening_, std::move(update));
}

bool DeviceWorker::ask(Call question) {
    requireWorkerThread("ask");
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
    const auto answer = [this, serial](bool ran) {
        {
            const std::lock_guard lock(mutex_);
            answeredSerial_ = serial;
            answerRan_ = ran;
        }
        changed_.notify_all();
    };
    post(this, [this, opening, answer, question = std::move(question)] {
        if (windowOpening_ != opening) {
            answer(false);
            return;
        }
        // The worker waits and leaves the link to the window thread, which may open the other
        // device dialog on it; the worker takes it back once that dialog's step has ended too.
        setHold(reserved_, true);
        question();
        whenDeviceFree(this, [this, answer] {
            setHold(reserved_, false);
            answer(true);
        });
    });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return answeredSerial_ >= serial || stopping_; });
    return answeredSerial_ >= serial && answerRan_;
}

void DeviceWorker::finish(Call close) {
    requireWorkerThread("finish");
    const int opening = workerOpening_;
    if (opening == 0)
        return;
    workerOpening_ = 0;
    // Through the worker's queue first: the link is handed back once the step under way returns.
    post(workerSide_, [this, opening, close = std::move(close)] {
        post(this, [this, opening, close] {
            if (windowOpening_ != opening)
                return; // the user's close got there first and releases the link
            windowOpening_ = 0;
            setHold(false, false);
            close();
        });
    });
}

bool DeviceWorker::AbandonStep() {
    DeviceWorker* worker = currentWorker;
    if (worker == nullptr)
        return false;
    if (worker->workerOpening_ != 0 && worker->abandon_) {
        try {
            worker->abandon_();
        } catch (...) {
            // The closing failed too: the opening ends without it.
            worker->finish([] {});
        }
    }
    return true;
}

} // namespace trv
