#include "widgets/QtSequenceTimer.h"

#include <QThread>

namespace trv {

QtSequenceTimer::QtSequenceTimer(QObject* owner) : timer_(owner) {
    timer_.setInterval(200);
    // A coarse timer may fire up to 5 % late, and every step of the chain would add its share.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // The step replaces the handler while it runs; keep the running one alive.
        Handler run = handler_;
        if (run)
            run();
    });
}

void QtSequenceTimer::requireOwnThread() const {
    if (QThread::currentThread() != timer_.thread())
        qFatal("%s: the step timer is used off the thread of its step machine", qPrintable(timer_.objectName()));
}

void QtSequenceTimer::setInterval(int milliseconds) {
    requireOwnThread();
    timer_.setInterval(milliseconds);
}

void QtSequenceTimer::setEnabled(bool enabled) {
    requireOwnThread();
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

} // namespace trv
