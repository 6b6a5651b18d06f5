#pragma once

#include <QApplication>
#include <QString>

namespace trv {

class ErrorDisplay;

// The application object. An exception escaping an event handler is shown by the standard error
// display and the event loop goes on.
class TrvApplication : public QApplication {
    Q_OBJECT
public:
    TrvApplication(int& argc, char** argv);

    // Until set, exceptions are only swallowed; the display must outlive the application object's use.
    void setErrorDisplay(ErrorDisplay* display) { errors_ = display; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void report(const QString& text);

    ErrorDisplay* errors_ = nullptr;
};

} // namespace trv
