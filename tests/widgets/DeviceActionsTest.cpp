#include "MainWindowFixture.h"
#include "GatedLink.h"
#include "WindowBench.h"

#include "app/TrvApplication.h"

#include "data/MessageNumbers.h"
#include "link/DeviceLink.h"
#include "sim/SimulatedDevice.h"
#include "widgets/DeviceWorker.h"
#include "widgets/DownloadDialog.h"
#include "widgets/LanguageDialog.h"
#include "widgets/LowPowerWarning.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/SelfTestWarning.h"
#include "widgets/StatusDialog.h"

#include <QEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <chrono>
#include <stdexcept>

namespace trv::test {
namespace {

using namespace std::chrono_literals;

// Counts how often a window is shown.
class ShowCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
    int shows = 0;
};

class DeviceActionsTest : public MainWindowTest {
protected:
    // The main window and, after it, the dialogs in the process's order.
    void startWithDialogs() {
        start();
        auto add = [this](auto window) {
            auto* raw = window.get();
            dialogs.push_back(std::move(window));
            return raw;
        };
        windows.lowPower = add(std::make_unique<LowPowerWarning>(*context));
        windows.download = add(std::make_unique<DownloadDialog>(*context, errors, windows, form.get()));
        windows.status = add(std::make_unique<StatusDialog>(*context, errors, windows, form.get()));
        windows.warning = add(std::make_unique<ProcessRunningWarning>(*context, form.get()));
        windows.language = add(std::make_unique<LanguageDialog>(*folder, form->controller().languageName()));
        windows.selfTestWarning = add(std::make_unique<SelfTestWarning>(*context, form.get()));
        windows.status->installEventFilter(&statusShows);
        windows.download->installEventFilter(&downloadShows);
    }

    void compose() {
        click("AWButton");
        showPage("ProgTS");
        doubleClickLine("ProgListBox", 6);
        clickLine("ControlListBox", 0);
    }

    // Answers the self-test warning with Start or Cancel, then runs what follows.
    static void answerSelfTestWarning(bool startTest, std::function<void()> then = {}) {
        onNextModal([startTest, then](QDialog& dialog) {
            ASSERT_NE(qobject_cast<SelfTestWarning*>(&dialog), nullptr);
            dialog.findChild<QPushButton*>(startTest ? "StartButton" : "CancelButton")->click();
            if (then)
                then();
        });
    }

    ShowCounter statusShows;
    ShowCounter downloadShows;
};

TEST_F(DeviceActionsTest, TheSelfTestPutsTheComposedProgramBack) {
    startWithDialogs();
    compose();
    const QStringList composed = lines("ControlListBox");
    const int selected = find<QListWidget>("ControlListBox")->currentRow();

    // While the download dialog runs, the control program holds the self-test item alone.
    std::vector<ControlEntry> duringTest;
    answerSelfTestWarning(true, [this, &duringTest] {
        onNextModal([this, &duringTest](QDialog& dialog) {
            EXPECT_EQ(&dialog, windows.download);
            duringTest.assign(control->items().begin(), control->items().end());
        });
    });
    click("TestButton");

    ASSERT_EQ(duringTest.size(), 1u);
    EXPECT_EQ(duringTest[0], (ControlEntry{KindProgram, catalogue.programCount()}));
    EXPECT_EQ(session.image.title[0], 'X');
    EXPECT_EQ(session.startItemIndex, 0);
    // No device: the download failed, so no status dialog followed.
    ASSERT_FALSE(errors.boxes.empty());
    EXPECT_EQ(errors.boxes[0].text, message("ENG", msg::NoDevice));
    EXPECT_EQ(statusShows.shows, 0);

    EXPECT_EQ(lines("ControlListBox"), composed);
    EXPECT_EQ(find<QListWidget>("ControlListBox")->currentRow(), selected);
    EXPECT_TRUE(find<QPushButton>("DelButton")->isEnabled());
    EXPECT_EQ(control->selected(), selected);
}

TEST_F(DeviceActionsTest, ACancelledSelfTestSendsNothingAndChangesNothing) {
    startWithDialogs();
    compose();
    const QStringList composed = lines("ControlListBox");

    answerSelfTestWarning(false);
    click("TestButton");

    EXPECT_EQ(downloadShows.shows, 0);
    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_EQ(lines("ControlListBox"), composed);
    EXPECT_EQ(session.image.title[0], 'P');
}

TEST_F(DeviceActionsTest, AFailedDownloadOpensNoStatusDialog) {
    startWithDialogs();
    compose();
    session.storedProgramFlag = true;
    session.startItemIndex = 3;
    session.image.title[0] = 'X';

    click("DlButton");

    EXPECT_EQ(downloadShows.shows, 1);
    EXPECT_FALSE(session.storedProgramFlag);
    EXPECT_EQ(session.startItemIndex, 0);
    EXPECT_EQ(session.image.title[0], 'P');
    ASSERT_FALSE(errors.boxes.empty());
    EXPECT_EQ(errors.boxes[0].text, message("ENG", msg::NoDevice));
    EXPECT_TRUE(session.startPending);
    EXPECT_EQ(statusShows.shows, 0);
}

TEST_F(DeviceActionsTest, AStartedDownloadIsFollowedByTheStatusDialog) {
    sim::ManualClock clock;
    sim::SimulatedDevice device(clock);
    DeviceLink simulatedLink(device);
    deviceLink = &simulatedLink;
    startWithDialogs();
    compose();

    // Start as soon as the device has verified the program, then close the status dialog.
    onNextModal([this](QDialog& dialog) {
        ASSERT_EQ(&dialog, windows.download);
        auto* startButton = dialog.findChild<QPushButton*>("StartButton");
        auto* waitForStart = new QTimer(&dialog);
        QObject::connect(waitForStart, &QTimer::timeout, &dialog, [this, startButton, waitForStart] {
            if (!startButton->isEnabled())
                return;
            waitForStart->stop();
            onNextModal([](QDialog& status) { status.findChild<QPushButton*>("CloseButton")->click(); },
                        windows.status);
            startButton->click();
        });
        waitForStart->start(5);
    });
    click("DlButton");

    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_FALSE(session.startPending);
    EXPECT_EQ(statusShows.shows, 1);
    EXPECT_EQ(device.itemCount(), 2);
    EXPECT_EQ(device.title()[0], 'P');
    // The composed program is what the device holds, and the window still shows it.
    EXPECT_EQ(lines("ControlListBox").size(), 3);
}

// A read that takes longer than any bound the windows could set: the dialog closed by the user goes
// at once, the window answers, Status waits and Exit closes the device only after the worker has
// left the link, which never has two callers inside it.
TEST_F(DeviceActionsTest, ADialogClosedDuringASlowReadKeepsTheLinkUntilItsWorkerHasLeft) {
    sim::SteadyClock clock;
    sim::SimulatedDevice device(clock);
    DeviceLink simulatedLink(device);
    GatedLink gate(simulatedLink, 5500ms); // past the five seconds a close once waited at most
    deviceLink = &gate;
    startWithDialogs();
    compose();

    bool goneAtOnce = false, answered = false, heldWhileAsked = false;
    int closesDuringTheRead = -1;
    onNextModal([&](QDialog& dialog) {
        ASSERT_EQ(&dialog, windows.download);
        QTRY_VERIFY(gate.readWaiting()); // the link check's reply
        QTest::keyClick(&dialog, Qt::Key_Escape);
        goneAtOnce = !dialog.isVisible();
        QMetaObject::invokeMethod(qApp, [&answered] { answered = true; }, Qt::QueuedConnection);
        QTRY_VERIFY(answered);
        click("StatButton");
        click("ExitButton");
        QTest::qWait(200);
        heldWhileAsked = gate.readWaiting();
        closesDuringTheRead = gate.closes;
    });
    click("DlButton");

    EXPECT_TRUE(goneAtOnce);
    EXPECT_TRUE(heldWhileAsked);
    EXPECT_EQ(closesDuringTheRead, 0);
    QTRY_COMPARE(quits, std::vector<int>{0});
    EXPECT_GE(gate.closes, 1);
    EXPECT_EQ(gate.mostInside(), 1);
    EXPECT_EQ(statusShows.shows, 0);
    EXPECT_FALSE(DeviceWorker::deviceInUse());
}

// A step that throws on its worker thread: the dialog's opening ends as the step machine closes it,
// and the error is shown by the window thread's error display, as one thrown there would be.
class ThrowingLink : public ReportLink {
public:
    bool WriteReport(std::span<const uint8_t>) override { return true; }
    ReadResult ReadReport(ReportData&) override { throw std::runtime_error("the link broke"); }
    void CloseDevice() override {}
    std::string openFailure() const override { return {}; }
};

TEST(WorkerExceptionTest, AStepThatThrowsEndsItsDialogAndIsShownOnTheWindowThread) {
    WindowBench b;
    ThrowingLink link;
    AppContext ctx{b.folder, b.catalogue, b.texts, b.control, b.session, link};
    auto* application = qobject_cast<TrvApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    application->setErrorDisplay(&b.errors);
    QThread* shownOn = nullptr;
    b.errors.whileShown = [&shownOn] { shownOn = QThread::currentThread(); };
    {
        DownloadDialog dialog(ctx, b.errors, b.windows);
        dialog.exec(); // returns once the failed step has closed it
        QTRY_COMPARE(b.errors.boxes.size(), size_t{1});
    }
    application->setErrorDisplay(nullptr);
    EXPECT_EQ(b.errors.boxes[0].text, "the link broke");
    EXPECT_EQ(shownOn, QCoreApplication::instance()->thread());
    EXPECT_FALSE(DeviceWorker::deviceInUse());
}

} // namespace
} // namespace trv::test
