#include "widgets/ErrorDisplay.h"

#include <QCoreApplication>

namespace trv {

void ShowStandardError(ErrorDisplay& display, QWidget* parent, const QString& text) {
    display.show(parent, QCoreApplication::applicationName(), text, ErrorDisplay::Icon::Error, false);
}

} // namespace trv
