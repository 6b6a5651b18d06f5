#include "app/TrvApplication.h"

#include "widgets/ErrorDisplay.h"

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
    } catch (const std::exception& error) {
        report(QString::fromUtf8(error.what()));
    } catch (...) {
        // A foreign exception carries no message.
        report(QString());
    }
    return false;
}

} // namespace trv
