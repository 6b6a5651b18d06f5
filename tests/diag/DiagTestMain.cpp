// The diagnostics tests run with XDG_STATE_HOME and XDG_CONFIG_HOME in a temporary folder, and on a
// session bus of their own: dbus-daemon is started here, before the application object, so the
// toolkit's session bus is that one.
#include "DiagTestSupport.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QProcess>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace trv::test {

QString& PrivateBusAddress() {
    static QString address;
    return address;
}

QString& XdgRoot() {
    static QString root;
    return root;
}

} // namespace trv::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();

    QTemporaryDir xdg;
    trv::test::XdgRoot() = xdg.path();
    qputenv("XDG_STATE_HOME", (xdg.path() + QStringLiteral("/state")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (xdg.path() + QStringLiteral("/config")).toLocal8Bit());

    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (bus.waitForStarted(5000) && bus.waitForReadyRead(5000))
        trv::test::PrivateBusAddress() = QString::fromLocal8Bit(bus.readLine()).trimmed();
    // Without a bus of our own the notices are tested against nothing rather than the desktop's.
    qputenv("DBUS_SESSION_BUS_ADDRESS", trv::test::PrivateBusAddress().isEmpty()
                                            ? QByteArray("unix:path=/nonexistent")
                                            : trv::test::PrivateBusAddress().toLocal8Bit());

    int result = 0;
    {
        QCoreApplication application(argc, argv);
        result = RUN_ALL_TESTS();
    }
    bus.terminate();
    bus.waitForFinished(5000);
    return result;
}
