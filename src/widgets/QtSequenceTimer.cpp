#include "widgets/QtSequenceTimer.h"

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

void QtSequenceTimer::setInterval(int milliseconds) {
    timer_.setInterval(milliseconds);
}

void QtSequenceTimer::setEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

} // namespace trv
