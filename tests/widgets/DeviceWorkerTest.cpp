// The device dialogs' step machines off the window thread: the window keeps answering while a read
// waits, and a reply that comes after its dialog has gone reaches no widget.
#include "GuiTestSupport.h"
#include "WindowBench.h"

#include "widgets/DownloadDialog.h"
#include "widgets/QtSequenceTimer.h"
#include "widgets/StatusDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace trv::test {
namespace {

using namespace std::chrono_literals;

QStringList programList(QWidget& dialog) {
    QStringList lines;
    const auto* list = dialog.findChild<QListWidget*>("ListBox1");
    for (int k = 0; k < list->count(); ++k)
        lines << list->item(k)->text();
    return lines;
}

TEST(DeviceWorkerTest, TheWindowAnswersWhileAReadWaitsAndAClosedDialogDropsTheReply) {
    WindowBench b;
    GatedLink gate(b.link, 3s);
    AppContext ctx{b.folder, b.catalogue, b.texts, b.control, b.session, gate};
    StatusDialog dialog(ctx, b.errors, b.windows);
    dialog.show();

    // The base-state check holds in its read; a call posted to the window thread still runs.
    QTRY_VERIFY(gate.readWaiting());
    bool answered = false;
    QMetaObject::invokeMethod(
        qApp, [&answered] { answered = true; }, Qt::QueuedConnection);
    QTRY_VERIFY(answered);
    EXPECT_TRUE(gate.readWaiting());

    // Closed during the read: the window goes at once; the idle summary the read brings never shows.
    bool goneBeforeTheReply = false;
    QTimer::singleShot(100, [&] {
        goneBeforeTheReply = !dialog.isVisible() && gate.readWaiting();
        gate.release();
    });
    dialog.close();
    const size_t sent = b.device.requestLog().size();
    QTest::qWait(300);
    EXPECT_TRUE(goneBeforeTheReply);
    EXPECT_TRUE(programList(dialog).isEmpty());
    EXPECT_TRUE(dialog.shownDisplay().lines(StatusDisplay::ProgramList).empty());
    EXPECT_EQ(b.device.requestLog().size(), sent);

    // Opened again, it polls afresh and shows what the device answers now.
    dialog.show();
    QTRY_COMPARE(programList(dialog), (QStringList{"", "", "M27", "", "M34 0"}));
    dialog.close();
}

TEST(DeviceWorkerTest, ADialogDestroyedWhileItsReadWaitsGoesQuietly) {
    WindowBench b;
    GatedLink gate(b.link, 300ms); // nobody is left to release it
    AppContext ctx{b.folder, b.catalogue, b.texts, b.control, b.session, gate};
    auto dialog = std::make_unique<DownloadDialog>(ctx, b.errors, b.windows);
    dialog->show();
    QTRY_VERIFY(gate.readWaiting()); // the link check's reply
    dialog.reset();
    const size_t sent = b.device.requestLog().size();
    QTest::qWait(500);
    EXPECT_EQ(b.device.requestLog().size(), sent);
    EXPECT_TRUE(b.errors.boxes.empty());
}

// The user clicks Wait; before the click reaches the worker, a poll finds the device waiting at a
// wait item and the button becomes Continue: the click is dropped instead of sending Continue.
TEST(DeviceWorkerTest, AClickWhoseCaptionChangedOnTheWayIsDropped) {
    WindowBench b;
    b.device.setBusyState(16); // running
    GatedLink gate(b.link, 3s);
    gate.release();
    AppContext ctx{b.folder, b.catalogue, b.texts, b.control, b.session, gate};
    StatusDialog dialog(ctx, b.errors, b.windows);
    auto* button = dialog.findChild<QPushButton*>("WRCButton");
    dialog.show();
    QTRY_VERIFY(dialog.shownDisplay().wrcMode() == WrcMode::Wait && button->isEnabled());

    gate.hold();
    QTRY_VERIFY(gate.readWaiting());
    b.device.setBusyState(devstate::Waiting); // the worker waits in the gate, away from the device
    const int entered = gate.readsEntered();
    gate.passOne(); // that poll still brings "running"; the next one is asked of a waiting device
    QTRY_VERIFY(gate.readWaiting() && gate.readsEntered() > entered);
    EXPECT_EQ(dialog.shownDisplay().wrcMode(), WrcMode::Wait);
    QTest::mouseClick(button, Qt::LeftButton);
    gate.release();

    QTRY_COMPARE(dialog.shownDisplay().wrcMode(), WrcMode::Continue);
    EXPECT_EQ(button->text(), "C12"); // the caption of Continue
    QTest::qWait(300); // the dropped click would have been sent by now
    dialog.close();
    QTRY_VERIFY(!DeviceWorker::deviceInUse());
    for (const sim::LoggedRequest& request : b.device.requestLog()) {
        const bool command = request.data[0] == wire::Framed;
        EXPECT_FALSE(command && (request.data[2] == wire::Wait || request.data[2] == wire::Continue));
    }
}

TEST(DeviceWorkerTest, TheStepTimerKeepsItsIntervalToTheMillisecond) {
    QtSequenceTimer timer;
    EXPECT_EQ(timer.qtimer().timerType(), Qt::PreciseTimer);
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
