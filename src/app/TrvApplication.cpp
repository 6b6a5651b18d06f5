#include "app/TrvApplication.h"

#include "widgets/DeviceWorker.h"
#include "widgets/ErrorDisplay.h"

#include <QThread>

#include <exception>

namespace trv {

TrvApplication::TrvApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("trv"));
}

void TrvApplication::report(const QString& text) {
    if (errors_ != nullptr)
        ShowStandardError(*errors_, activeWindow(), text);
}

bool TrvApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        caught(std::current_exception());
    }
    return false;
}

void TrvApplication::caught(std::exception_ptr error) {
    if (QThread::currentThread() != thread()) {
        // A device dialog's step: it ends as the step machine closes it, and the window thread
        // shows the error as its own, since boxes belong there.
        DeviceWorker::AbandonStep();
        QMetaObject::invokeMethod(this, [error] { std::rethrow_exception(error); }, Qt::QueuedConnection);
        return;
    }
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        report(QString::fromUtf8(exception.what()));
    } catch (...) {
        // A foreign exception carries no message.
        report(QString());
    }
}

} // namespace trv
