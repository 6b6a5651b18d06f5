#pragma once

#include <QApplication>
#include <QString>

#include <exception>

namespace trv {

class ErrorDisplay;

// The application object. An exception escaping an event handler is shown by the standard error
// display and the event loop goes on; one escaping a device dialog's step on its worker thread ends
// that dialog's opening and is shown on the window thread.
class TrvApplication : public QApplication {
    Q_OBJECT
public:
    TrvApplication(int& argc, char** argv);

    // Until set, exceptions are only swallowed; the display must outlive the application object's use.
    void setErrorDisplay(ErrorDisplay* display) { errors_ = display; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void caught(std::exception_ptr error);
    void report(const QString& text);

    ErrorDisplay* errors_ = nullptr;
};

} // namespace trv
