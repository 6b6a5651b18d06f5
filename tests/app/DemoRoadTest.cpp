// The demo's road through all windows, as a user clicks it: compose in the main window, download,
// start, watch the status, hold, continue, stop the program with the device's key, resume it where
// it stopped, and the self test, which aborts the resumed program first.
// The simulated device runs in real time on a copy of the sample data.
#include "GuiTestSupport.h"
#include "ScriptedUser.h"
#include "WindowBench.h"

#include "link/DeviceLink.h"
#include "sim/SimulatedDevice.h"
#include "widgets/DemoDevicePanel.h"
#include "widgets/DeviceWorker.h"
#include "widgets/DownloadDialog.h"
#include "widgets/LowPowerWarning.h"
#include "widgets/MainWindow.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/SelfTestWarning.h"
#include "widgets/StatusDialog.h"

#include <QEventLoop>
#include <QTabWidget>

#include <unistd.h>

#include <filesystem>
#include <memory>

namespace trv::test {
namespace {

namespace fs = std::filesystem;

struct DemoBench {
    fs::path root = fs::temp_directory_path() / ("trv-demo-road-" + std::to_string(::getpid()));
    sim::SteadyClock clock;
    sim::SimulatedDevice device{clock};
    ProgramCatalogue catalogue;
    LanguageTexts texts;
    ControlProgram control{catalogue, [this](int k) { return texts.messages.text(k); }};
    DeviceSession session;
    DeviceLink link{device};
    WindowThreadWatch watch{link}; // what the windows talk through
    DataFolder folder{copySampleData()};
    AppContext ctx{folder, catalogue, texts, control, session, watch};
    RecordingErrorDisplay errors;
    AppWindows windows;
    std::unique_ptr<MainWindow> main;
    std::unique_ptr<LowPowerWarning> lowPower;
    std::unique_ptr<DownloadDialog> download;
    std::unique_ptr<StatusDialog> status;
    std::unique_ptr<ProcessRunningWarning> warning;
    std::unique_ptr<SelfTestWarning> selfTest;

    std::string copySampleData() {
        fs::remove_all(root);
        fs::copy(TRV_SAMPLE_DATA, root, fs::copy_options::recursive);
        return root.string();
    }

    DemoBench() {
        main = std::make_unique<MainWindow>(ctx, errors, windows, nullptr, [](int) {});
        windows.main = main.get();
        lowPower = std::make_unique<LowPowerWarning>(ctx);
        windows.lowPower = lowPower.get();
        download = std::make_unique<DownloadDialog>(ctx, errors, windows, main.get());
        windows.download = download.get();
        status = std::make_unique<StatusDialog>(ctx, errors, windows, main.get());
        windows.status = status.get();
        warning = std::make_unique<ProcessRunningWarning>(ctx, main.get());
        windows.warning = warning.get();
        selfTest = std::make_unique<SelfTestWarning>(ctx, main.get());
        windows.selfTestWarning = selfTest.get();
    }
    ~DemoBench() {
        // The dialogs are children of the main window: they go first, as in the application.
        selfTest.reset();
        warning.reset();
        status.reset();
        download.reset();
        lowPower.reset();
        main.reset();
        fs::remove_all(root);
    }

    // No dialog up, and no worker left in the device: the test may look at it then.
    bool nothingModal() const { return QApplication::activeModalWidget() == nullptr && !DeviceWorker::deviceInUse(); }
    std::function<bool()> wrcIn(WrcMode mode) {
        return [this, mode] {
            const StatusDisplay& display = status->shownDisplay();
            return onTop(*status) && display.wrcEnabled() && display.wrcMode() == mode;
        };
    }
    std::function<bool()> startEnabled() {
        return [this] { return onTop(*download) && button(*download, "StartButton")->isEnabled(); };
    }
    void mainClick(const char* name) { click(*main, name); }
};

TEST(DemoRoadTest, ComposeDownloadWatchHoldContinueResumeAndSelfTest) {
    DemoBench b;
    ASSERT_FALSE(b.main->startupFailed());
    b.main->show();
    DemoDevicePanel panel(b.device);
    QEventLoop loop;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the road got stuck";
        for (QDialog* dialog :
             std::initializer_list<QDialog*>{b.warning.get(), b.selfTest.get(), b.download.get(), b.status.get()})
            dialog->done(0);
        loop.quit();
    });
    watchdog.start(40000);

    const auto compose = [&] {
        auto* pages = b.main->findChild<QTabWidget*>("ProgPC");
        pages->setCurrentWidget(b.main->findChild<QWidget*>("ProgTS"));
        auto* programs = b.main->findChild<QListWidget*>("ProgListBox");
        for (int row : {0, 1}) {
            programs->setCurrentRow(row);
            b.mainClick("ACButton");
        }
        b.mainClick("APButton"); // a 1:00 pause above the end line
        b.mainClick("DlButton");
    };
    QStringList listedWhileRunning, listedWhenResumed;
    int interruptedItem = 0, resumedItem = 0;
    ScriptedUser user({
        {"the main window", [&] { return b.nothingModal() && b.main->isVisible(); }, compose},
        {"Start after the transfer", b.startEnabled(), [&] { click(*b.download, "StartButton"); }},
        {"Wait offered", b.wrcIn(WrcMode::Wait),
         [&] {
             listedWhileRunning = lines(*b.status);
             click(*b.status, "WRCButton");
         }},
        {"Continue offered", b.wrcIn(WrcMode::Continue), [&] { click(*b.status, "WRCButton"); }},
        {"Wait offered again", b.wrcIn(WrcMode::Wait), [&] { click(*b.status, "CloseButton"); }},
        {"back in the main window", [&] { return b.nothingModal(); },
         [&] {
             // The device's own stop key interrupts the program; the device keeps it for a resume.
             interruptedItem = b.device.currentItem();
             click(panel, "StopKeyButton");
             b.mainClick("StatButton");
         }},
        {"Resume offered", b.wrcIn(WrcMode::Resume), [&] { click(*b.status, "WRCButton"); }},
        {"Start of the resumed program", b.startEnabled(), [&] { click(*b.download, "StartButton"); }},
        {"the resumed program polled", b.wrcIn(WrcMode::Wait),
         [&] {
             listedWhenResumed = lines(*b.status);
             click(*b.status, "CloseButton");
         }},
        {"back in the main window", [&] { return b.nothingModal(); },
         [&] {
             // Read once the Status dialog's worker has left the device; an item lasts a minute.
             resumedItem = b.device.currentItem();
             b.mainClick("TestButton");
         }},
        {"the self-test warning", [&] { return onTop(*b.selfTest); }, [&] { click(*b.selfTest, "StartButton"); }},
        {"the warning for the resumed program", [&] { return onTop(*b.warning); },
         [&] { click(*b.warning, "AbortButton"); }},
        {"Start of the self test", b.startEnabled(), [&] { click(*b.download, "StartButton"); }},
        {"the self test polled", b.wrcIn(WrcMode::Wait), [&] { click(*b.status, "CloseButton"); }},
        {"the end", [&] { return b.nothingModal(); }, [&] { loop.quit(); }},
    });
    loop.exec();

    EXPECT_EQ(user.done(), 15u) << "stopped waiting for " << user.waitingFor();
    EXPECT_TRUE(b.errors.boxes.empty());
    // The resumed program is the one interrupted, on from the item where it stopped.
    EXPECT_EQ(listedWhileRunning.size(), 3); // the two programs and the pause
    EXPECT_EQ(listedWhenResumed, listedWhileRunning);
    EXPECT_GE(interruptedItem, 1);
    EXPECT_EQ(resumedItem, interruptedItem);
    EXPECT_EQ(b.watch.callsOnWindowThread, 0);
    // The self test runs; the composed program is back in the main window.
    EXPECT_EQ(b.device.itemCount(), 1);
    EXPECT_EQ(b.device.items()[0].programNumber, b.catalogue.programCount() + 1);
    EXPECT_EQ(b.device.title()[0], 'X');
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
    EXPECT_EQ(b.control.itemCount(), 3);
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
