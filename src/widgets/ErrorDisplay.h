#pragma once

#include <QString>

class QWidget;

namespace trv {

// How error boxes reach the user. The application shows modal message boxes with the error
// sound; tests put a recorder in its place so nothing blocks.
class ErrorDisplay {
public:
    enum class Icon { Error, Stop };
    virtual ~ErrorDisplay() = default;
    // Plays the error sound first when withSound is set (asynchronously), then shows a modal box
    // with one OK button; returns when the user has closed it.
    virtual void show(QWidget* parent, const QString& title, const QString& text, Icon icon, bool withSound) = 0;
};

// The application's standard error display: an error box titled with the application's name.
void ShowStandardError(ErrorDisplay& display, QWidget* parent, const QString& text);

} // namespace trv
