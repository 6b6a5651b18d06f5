#pragma once

#include "logic/SessionEvents.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class QDBusPendingCallWatcher;

namespace trv {

// Desktop notices through the desktop's notification service (org.freedesktop.Notifications on the
// session bus) for what the Device Status dialog sees while the user looks elsewhere: the device
// reached a wait item, finished its program, its power fell into the low range, or it could no
// longer be reached. A notice goes out only while the dialog polls, the application's main window
// is not the active one, and the user has not turned notices off; each event once. Every bus call
// is asynchronous: with no service answering, nothing is shown and nothing waits.
//
// Lives on the window thread. The step machines reach it through sink(), from their own threads.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    static constexpr const char* ServiceName = "org.freedesktop.Notifications";
    static constexpr const char* ObjectPath = "/org/freedesktop/Notifications";
    static constexpr const char* InterfaceName = "org.freedesktop.Notifications";
    static constexpr const char* ContinueAction = "continue";

    explicit DesktopNotifier(QObject* parent = nullptr);
    ~DesktopNotifier() override;

    // True while the main window is the active one: notices are then left out.
    void setActiveCheck(std::function<bool()> isActive) { isActive_ = std::move(isActive); }
    // Run (on this thread) when the user picks "Continue" on a wait notice.
    void setContinueHandler(std::function<void()> onContinue) { onContinue_ = std::move(onContinue); }
    // The Device Status dialog started or stopped polling. Starting asks the service what it offers.
    void setPolling(bool polling);
    bool polling() const { return polling_; }

    // Listens to the step machines: add it to their fan-out. Safe on any thread and after this
    // notifier is gone. Also keeps the device last seen for the diagnostic report.
    std::shared_ptr<SessionEventSink> sink();

    // Notices on or off, kept in the user's settings (on unless turned off).
    static void setNotificationsEnabled(bool enabled);
    static bool notificationsEnabled();

    // One event, on this thread (what sink() passes on).
    void handle(const StatusEvent& event);
    void downloadBegan();

Q_SIGNALS:
    // A notice was handed to the service and it answered with its id (tests, diagnostics).
    void notified(uint id);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    class Bridge;
    enum class ServiceState { Unknown, Asking, Available };

    bool connectBus();
    void askCapabilities();
    void send(const StatusEvent& event);
    void forgetKinds(std::initializer_list<StatusEventKind> kinds);
    void closeNotice(uint id);

    std::function<bool()> isActive_;
    std::function<void()> onContinue_;
    bool polling_ = false;
    bool connected_ = false;
    ServiceState service_ = ServiceState::Unknown;
    bool actions_ = false;
    std::vector<StatusEvent> pending_;               // waiting for the service's capabilities
    std::set<std::pair<StatusEventKind, int>> seen_; // events noticed already, by kind and item
    uint waitNotice_ = 0;                            // the id of the notice offering Continue
    int waitsEnded_ = 0;                             // Continued or resumed, so far
    std::shared_ptr<Bridge> bridge_;
};

} // namespace trv
