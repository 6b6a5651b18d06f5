#include "diag/DesktopNotifier.h"

#include "diag/DiagnosticReport.h"
#include "diag/LogCategories.h"
#include "diag/UserSettings.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QVariantMap>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>
#include <QtDBus/QDBusPendingCallWatcher>
#include <QtDBus/QDBusPendingReply>

#include <atomic>
#include <mutex>

namespace trv {

namespace {

const QString EnabledKey = QStringLiteral("diagnostics/desktopNotifications");

// -1 not read yet, else 0 or 1.
std::atomic<int> EnabledCache{-1};

} // namespace

// Carries the step machines' calls to the notifier's thread, and drops them once it is gone.
class DesktopNotifier::Bridge : public SessionEventSink {
public:
    explicit Bridge(DesktopNotifier* notifier) : notifier_(notifier) {}

    void detach() {
        std::lock_guard lock(mutex_);
        notifier_ = nullptr;
    }

    void statusEvent(const StatusEvent& event) override {
        switch (event.kind) {
        case StatusEventKind::WaitReached:
        case StatusEventKind::ProgramEnded:
        case StatusEventKind::PowerLow:
        case StatusEventKind::ConnectionLost:
        case StatusEventKind::Continued:
        case StatusEventKind::ResumeRequested:
            break;
        case StatusEventKind::Held:
            return;
        }
        post([event](DesktopNotifier& notifier) { notifier.handle(event); });
    }

    void downloadBegan(const DownloadBegin&) override {
        post([](DesktopNotifier& notifier) { notifier.downloadBegan(); });
    }

    void deviceIdentified(const DeviceIdentified& event) override {
        NoteDeviceSeen(QString::fromStdString(event.version), event.correctionPercentage);
    }

private:
    template <typename Call> void post(Call call) {
        // Under the lock, so the notifier can't go between the check and the posting; a queued call
        // to an object that is deleted later is dropped by the toolkit.
        std::lock_guard lock(mutex_);
        if (notifier_ == nullptr)
            return;
        DesktopNotifier* notifier = notifier_;
        QMetaObject::invokeMethod(
            notifier, [notifier, call] { call(*notifier); }, Qt::QueuedConnection);
    }

    std::mutex mutex_;
    DesktopNotifier* notifier_;
};

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent), bridge_(std::make_shared<Bridge>(this)) {}

DesktopNotifier::~DesktopNotifier() {
    bridge_->detach();
}

std::shared_ptr<SessionEventSink> DesktopNotifier::sink() {
    return bridge_;
}

void DesktopNotifier::setNotificationsEnabled(bool enabled) {
    UserSettings()->setValue(EnabledKey, enabled);
    EnabledCache = enabled ? 1 : 0;
}

bool DesktopNotifier::notificationsEnabled() {
    int cached = EnabledCache.load();
    if (cached < 0) {
        cached = UserSettings()->value(EnabledKey, true).toBool() ? 1 : 0;
        EnabledCache = cached;
    }
    return cached == 1;
}

void DesktopNotifier::setPolling(bool polling) {
    polling_ = polling;
    if (!polling) {
        // A new watch notices everything afresh.
        seen_.clear();
        pending_.clear();
        return;
    }
    if (notificationsEnabled() && service_ == ServiceState::Unknown)
        askCapabilities();
}

bool DesktopNotifier::connectBus() {
    if (connected_)
        return true;
    // The toolkit connects the session bus at start-up already (the accessibility bridge), so this
    // finds the connection made.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCInfo(WindowsLog) << "desktop notices: no session bus:" << bus.lastError().message();
        return false;
    }
    const QString service = QString::fromLatin1(ServiceName);
    const QString path = QString::fromLatin1(ObjectPath);
    const QString interface = QString::fromLatin1(InterfaceName);
    bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint, uint)));
    connected_ = true;
    return true;
}

void DesktopNotifier::askCapabilities() {
    if (service_ == ServiceState::Asking || !connectBus())
        return;
    service_ = ServiceState::Asking;
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName), QString::fromLatin1(ObjectPath),
                                       QString::fromLatin1(InterfaceName), QStringLiteral("GetCapabilities"));
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QStringList> reply = *call;
        if (reply.isError()) {
            // Asked again at the next event: the service may be started later.
            qCInfo(WindowsLog) << "desktop notices: no notification service:" << reply.error().message();
            service_ = ServiceState::Unknown;
            pending_.clear();
            return;
        }
        service_ = ServiceState::Available;
        actions_ = reply.value().contains(QStringLiteral("actions"));
        const std::vector<StatusEvent> waiting = std::move(pending_);
        pending_.clear();
        for (const StatusEvent& event : waiting)
            send(event);
    });
}

void DesktopNotifier::forgetKinds(std::initializer_list<StatusEventKind> kinds) {
    for (auto it = seen_.begin(); it != seen_.end();) {
        bool forget = false;
        for (const StatusEventKind kind : kinds)
            forget = forget || it->first == kind;
        it = forget ? seen_.erase(it) : std::next(it);
    }
}

void DesktopNotifier::downloadBegan() {
    forgetKinds({StatusEventKind::WaitReached, StatusEventKind::ProgramEnded});
}

void DesktopNotifier::handle(const StatusEvent& event) {
    switch (event.kind) {
    case StatusEventKind::Continued:
    case StatusEventKind::ResumeRequested:
        forgetKinds({StatusEventKind::WaitReached, StatusEventKind::ProgramEnded});
        // The wait is over: its Continue would answer nothing. A notice still on its way is
        // closed when the service answers with its id.
        ++waitsEnded_;
        closeNotice(waitNotice_);
        waitNotice_ = 0;
        return;
    case StatusEventKind::Held:
        return;
    case StatusEventKind::WaitReached:
    case StatusEventKind::ProgramEnded:
    case StatusEventKind::PowerLow:
    case StatusEventKind::ConnectionLost:
        break;
    }
    if (!polling_)
        return;
    if (event.kind != StatusEventKind::ConnectionLost)
        forgetKinds({StatusEventKind::ConnectionLost}); // the device answers again
    // Low power is one event however often a poll finds it; a wait is one per item. An event the
    // user saw in the window, or while notices were off, counts as noticed.
    const int key = event.kind == StatusEventKind::WaitReached ? event.item : 0;
    if (!seen_.insert({event.kind, key}).second)
        return;
    if (!notificationsEnabled() || (isActive_ && isActive_()))
        return;
    if (service_ == ServiceState::Available) {
        send(event);
        return;
    }
    pending_.push_back(event);
    askCapabilities();
}

void DesktopNotifier::send(const StatusEvent& event) {
    QString summary;
    QString body;
    QStringList actions;
    switch (event.kind) {
    case StatusEventKind::WaitReached:
        summary = DesktopNotifier::tr("The device is waiting");
        body = event.item > 0
                   ? DesktopNotifier::tr("It reached the wait at item %1 and holds the program until you continue.").arg(event.item)
                   : DesktopNotifier::tr("It reached a wait item and holds the program until you continue.");
        if (actions_)
            actions << QString::fromLatin1(ContinueAction) << DesktopNotifier::tr("Continue");
        break;
    case StatusEventKind::ProgramEnded:
        summary = DesktopNotifier::tr("The device has finished");
        body = DesktopNotifier::tr("The control program has ended.");
        break;
    case StatusEventKind::PowerLow:
        summary = DesktopNotifier::tr("The device's power is low");
        body = DesktopNotifier::tr("Charge the device's battery soon.");
        break;
    case StatusEventKind::ConnectionLost:
        summary = DesktopNotifier::tr("The device is not connected");
        body = DesktopNotifier::tr("The device can't be reached. Check the cable.");
        break;
    default:
        return;
    }
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("org.trv.Trv"));
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue<uchar>(
                     event.kind == StatusEventKind::PowerLow || event.kind == StatusEventKind::ConnectionLost ? 2 : 1));
    QDBusMessage message =
        QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName), QString::fromLatin1(ObjectPath),
                                       QString::fromLatin1(InterfaceName), QStringLiteral("Notify"));
    message << QStringLiteral("TRV") << uint{0} << QStringLiteral("org.trv.Trv") << summary << body << actions << hints
            << int{-1};
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message), this);
    const bool offersContinue = !actions.isEmpty();
    const int waitsEnded = waitsEnded_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [=, this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError()) {
            qCInfo(WindowsLog) << "desktop notice not shown:" << reply.error().message();
            return;
        }
        if (offersContinue && waitsEnded == waitsEnded_)
            waitNotice_ = reply.value();
        else if (offersContinue)
            closeNotice(reply.value());
        Q_EMIT notified(reply.value());
    });
}

void DesktopNotifier::closeNotice(uint id) {
    if (id == 0 || !connected_)
        return;
    QDBusConnection::sessionBus().asyncCall(
        QDBusMessage::createMethodCall(QString::fromLatin1(ServiceName), QString::fromLatin1(ObjectPath),
                                       QString::fromLatin1(InterfaceName), QStringLiteral("CloseNotification"))
        << id);
}

void DesktopNotifier::onActionInvoked(uint id, const QString& actionKey) {
    // The signal goes to every listener on the bus: only our own wait notice counts.
    if (id == 0 || id != waitNotice_ || actionKey != QLatin1String(ContinueAction))
        return;
    waitNotice_ = 0;
    if (polling_ && onContinue_)
        onContinue_();
}

void DesktopNotifier::onNotificationClosed(uint id, uint) {
    if (id == waitNotice_)
        waitNotice_ = 0;
}

} // namespace trv
