// The device side of the whole road with the real windows in real time, as in the demo: download,
// verify, start, watch the status, hold, continue, abort the running program, resume it.
#include "GuiTestSupport.h"
#include "SequenceTestBench.h"
#include "WindowBench.h"

#include "widgets/DownloadDialog.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/StatusDialog.h"

#include "ScriptedUser.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>
#include <vector>

namespace trv::test {
namespace {

struct RoadBench : WindowBench {
    DownloadDialog download{ctx, errors, windows};
    StatusDialog status{ctx, errors, windows};
    ProcessRunningWarning warning{ctx};

    QTimer watchdog; // a road that gets stuck fails instead of hanging the test run

    RoadBench() {
        windows.download = &download;
        windows.status = &status;
        windows.warning = &warning;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the road got stuck";
            for (QDialog* dialog : std::initializer_list<QDialog*>{&warning, &download, &status})
                dialog->done(0);
        });
        watchdog.start(60000);
    }

    // What the main window's Download and Status buttons do.
    void downloadButton() {
        session.startItemIndex = 0;
        session.storedProgramFlag = false;
        MarkImageTitle(session.image, false);
        download.exec();
        if (!session.startPending)
            status.exec();
    }
    void statusButton() { status.exec(); }
};

TEST(DeviceRoadTest, DownloadStartHoldContinueAbortAndResume) {
    RoadBench b;
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddPause("0", "30");
    b.control.AddSelectedProgram(1);
    const auto wrcReads = [&b](const char* caption) {
        return [&b, caption] {
            QPushButton* wrc = button(b.status, "WRCButton");
            return onTop(b.status) && wrc->isEnabled() && wrc->text() == caption;
        };
    };

    ScriptedUser user({
        {"Start enabled", [&] { return onTop(b.download) && button(b.download, "StartButton")->isEnabled(); },
         [&] { click(b.download, "StartButton"); }},
        {"the running program listed", [&] { return onTop(b.status) && lines(b.status).size() == 3; }, [] {}},
        {"Wait offered", wrcReads("C27"), [&] { click(b.status, "WRCButton"); }},
        {"Continue offered", wrcReads("C12"), [&] { click(b.status, "WRCButton"); }},
        {"Wait offered again", wrcReads("C27"), [&] { click(b.status, "CloseButton"); }},
    });
    b.downloadButton();
    ASSERT_EQ(user.done(), 5u) << "stopped waiting for " << user.waitingFor();
    EXPECT_TRUE(b.errors.boxes.empty());
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);

    // A second download while the program runs: the user aborts it and closes the Download dialog
    // before the transfer begins, so the device keeps the interrupted program.
    ScriptedUser aborting({
        {"the warning", [&] { return onTop(b.warning); }, [&] { click(b.warning, "AbortButton"); }},
        {"back in the Download dialog", [&] { return onTop(b.download); }, [&] { b.download.close(); }},
    });
    b.downloadButton();
    ASSERT_EQ(aborting.done(), 2u) << "stopped waiting for " << aborting.waitingFor();
    EXPECT_TRUE(b.device.storedProgram());
    EXPECT_EQ(b.device.stateCode(), devstate::Idle);

    ScriptedUser resuming({
        {"Resume offered", wrcReads("C43"),
         [&] {
             EXPECT_EQ(lines(b.status).back(), StatusDisplay::SavedProgramLine);
             click(b.status, "WRCButton");
         }},
        {"Start enabled", [&] { return onTop(b.download) && button(b.download, "StartButton")->isEnabled(); },
         [&] { click(b.download, "StartButton"); }},
        {"polling the resumed program", wrcReads("C27"), [&] { click(b.status, "CloseButton"); }},
    });
    b.statusButton();
    ASSERT_EQ(resuming.done(), 3u) << "stopped waiting for " << resuming.waitingFor();
    EXPECT_TRUE(b.errors.boxes.empty());
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
    EXPECT_EQ(b.device.currentItem(), 1);
    EXPECT_EQ(lines(b.status), (QStringList{"Prog1", "M19 0:30", "Prog2"}));
    EXPECT_EQ(b.watch.callsOnWindowThread, 0);
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
