#include "DiagTestSupport.h"

#include "diag/DesktopNotifier.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QObject>
#include <QtCore/QVariantMap>
#include <QtDBus/QDBusConnection>
#include <QtDBus/QDBusMessage>

#include <gtest/gtest.h>

#include <thread>

namespace trv {
namespace {

// The desktop's notification service as far as the notifier uses it, on the test's private bus.
class FakeNotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Notice {
        QString summary;
        QStringList actions;
        uint id = 0;
    };

    QStringList capabilities{QStringLiteral("body"), QStringLiteral("actions")};
    std::vector<Notice> notices;
    std::vector<uint> closed;

public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString&,
                const QStringList& actions, const QVariantMap&, int) {
        notices.push_back({summary, actions, nextId_});
        return nextId_++;
    }
    void CloseNotification(uint id) { closed.push_back(id); }

private:
    uint nextId_ = 41;
};

// Runs the event loop until done() or five seconds have passed.
bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(5000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class DesktopNotifierTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::PrivateBusAddress().isEmpty())
            GTEST_SKIP() << "dbus-daemon could not be started";
        // The service has a connection of its own, as the desktop's has.
        bus_ = QDBusConnection::connectToBus(test::PrivateBusAddress(), QStringLiteral("fake-notices"));
        ASSERT_TRUE(bus_.isConnected());
        ASSERT_TRUE(bus_.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                                        QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus_.registerService(QStringLiteral("org.freedesktop.Notifications")));
        DesktopNotifier::setNotificationsEnabled(true);
        notifier.setActiveCheck([this] { return windowActive; });
        notifier.setContinueHandler([this] { ++continues; });
        notifier.setPolling(true);
    }
    void TearDown() override {
        bus_.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        bus_.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-notices"));
    }

    // From a thread of its own, as the step machines call.
    void fromWorker(StatusEventKind kind, int item = 0) {
        std::thread worker([sink = notifier.sink(), kind, item] { sink->statusEvent({kind, item, -1}); });
        worker.join();
        // The notifier takes it now, under the conditions of the moment.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    }
    // Everything the service's connection sent so far has reached the notifier and been handled.
    void roundTrip() {
        const QDBusMessage getId = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"));
        bus_.call(getId);
        QDBusConnection::sessionBus().call(getId);
        QCoreApplication::processEvents();
    }
    QStringList summaries() const {
        QStringList list;
        for (const auto& notice : service.notices)
            list << notice.summary;
        return list;
    }

    FakeNotificationService service;
    DesktopNotifier notifier;
    bool windowActive = false;
    int continues = 0;
    QDBusConnection bus_{QString()};
};

// A wait item reached while the user looks elsewhere becomes a notice offering Continue; picking it
// runs the dialog's Continue, and the device going on withdraws the notice.
TEST_F(DesktopNotifierTest, WaitNoticeOffersContinueThatReachesTheDialog) {
    fromWorker(StatusEventKind::WaitReached, 3);
    ASSERT_TRUE(WaitFor([&] { return !service.notices.empty(); }));
    const auto notice = service.notices.front();
    EXPECT_EQ(notice.summary, QStringLiteral("The device is waiting"));
    EXPECT_EQ(notice.actions, (QStringList{QStringLiteral("continue"), QStringLiteral("Continue")}));

    // Another application's notice with the same action key is not ours.
    const auto actionInvoked = [](uint id) {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"),
                                                         QStringLiteral("ActionInvoked"));
        return signal << id << QStringLiteral("continue");
    };
    bus_.send(actionInvoked(notice.id + 100));
    roundTrip();
    EXPECT_EQ(continues, 0);
    bus_.send(actionInvoked(notice.id));
    ASSERT_TRUE(WaitFor([&] { return continues > 0; }));
    EXPECT_EQ(continues, 1);

    // The next wait item is an event of its own; continuing it in the dialog closes its notice.
    fromWorker(StatusEventKind::WaitReached, 5);
    ASSERT_TRUE(WaitFor([&] { return service.notices.size() == 2; }));
    fromWorker(StatusEventKind::Continued);
    ASSERT_TRUE(WaitFor([&] { return !service.closed.empty(); }));
    EXPECT_EQ(service.closed, std::vector<uint>{service.notices[1].id});
}

// No notice while the main window is active, while notices are off, or while the dialog isn't
// polling; each event once however often the step machine reports it.
TEST_F(DesktopNotifierTest, NoticesOnlyWhileLookingElsewhereAndOncePerEvent) {
    windowActive = true;
    fromWorker(StatusEventKind::WaitReached, 2);
    windowActive = false;
    DesktopNotifier::setNotificationsEnabled(false);
    fromWorker(StatusEventKind::PowerLow);
    DesktopNotifier::setNotificationsEnabled(true);
    fromWorker(StatusEventKind::WaitReached, 2); // the same wait, noticed already while active
    fromWorker(StatusEventKind::ProgramEnded);
    fromWorker(StatusEventKind::ProgramEnded);
    fromWorker(StatusEventKind::ConnectionLost);
    fromWorker(StatusEventKind::ConnectionLost);
    notifier.setPolling(false);
    fromWorker(StatusEventKind::PowerLow);
    notifier.setPolling(true);
    fromWorker(StatusEventKind::PowerLow);

    // Calls reach the service in the order they were made, so the last one's arrival is the end.
    ASSERT_TRUE(WaitFor([&] { return summaries().contains(QStringLiteral("The device's power is low")); }))
        << summaries().join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(summaries(),
              (QStringList{QStringLiteral("The device has finished"), QStringLiteral("The device is not connected"),
                           QStringLiteral("The device's power is low")}));
}

} // namespace
} // namespace trv

#include "DesktopNotifierTest.moc"
