#include "widgets/AfterFirstPaint.h"

#include "widgets/UserInput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace trv {

AfterFirstPaint::AfterFirstPaint(QWidget& window, std::function<void()> task)
    : window_(window), task_(std::move(task)) {
    // On the application, as input to any window counts.
    QCoreApplication::instance()->installEventFilter(this);
}

AfterFirstPaint::~AfterFirstPaint() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

void AfterFirstPaint::runNow() {
    if (!task_)
        return;
    QCoreApplication::instance()->removeEventFilter(this);
    const std::function<void()> task = std::move(task_);
    task_ = nullptr;
    task();
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint && !queued_) {
        // Queued: the painted picture reaches the screen when this paint returns, before the task runs.
        queued_ = true;
        QMetaObject::invokeMethod(this, &AfterFirstPaint::runNow, Qt::QueuedConnection);
    } else if (IsUserInput(event->type())) {
        runNow();
    }
    return false;
}

} // namespace trv
