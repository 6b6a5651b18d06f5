#include "widgets/StatusNotices.h"

#include "diag/DesktopNotifier.h"
#include "widgets/StatusDialog.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>

namespace trv {

namespace {

class PollingWatch : public QObject {
public:
    PollingWatch(DesktopNotifier& notifier, QObject* parent) : QObject(parent), notifier_(notifier) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            notifier_.setPolling(true);
        else if (event->type() == QEvent::Hide)
            notifier_.setPolling(false);
        return false;
    }

private:
    DesktopNotifier& notifier_;
};

} // namespace

void WatchStatusForNotices(DesktopNotifier& notifier, StatusDialog& status, QWidget& mainWindow) {
    status.installEventFilter(new PollingWatch(notifier, &status));
    notifier.setActiveCheck([&mainWindow] { return QApplication::activeWindow() != nullptr || mainWindow.isActiveWindow(); });
    notifier.setContinueHandler([&status] {
        auto* button = status.findChild<QPushButton*>(QStringLiteral("WRCButton"));
        if (status.isVisible() && button != nullptr && button->isEnabled() &&
            status.shownDisplay().wrcMode() == WrcMode::Continue)
            button->click();
    });
}

} // namespace trv
