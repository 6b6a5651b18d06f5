#include "widgets/QtSequenceTimer.h"

namespace trv {

QtSequenceTimer::QtSequenceTimer(QObject* owner) : timer_(owner) {
    timer_.setInterval(200);
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
