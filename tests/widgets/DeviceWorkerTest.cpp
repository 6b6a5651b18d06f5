// The device dialogs' step machines off the window thread: the window keeps answering while a read
// waits, and a reply that comes after its dialog has gone reaches no widget.
#include "GuiTestSupport.h"
#include "WindowBench.h"

#include "widgets/DownloadDialog.h"
#include "widgets/QtSequenceTimer.h"
#include "widgets/StatusDialog.h"

#include <QListWidget>
#include <QTimer>
#include <QtTest/QTest>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace trv::test {
namespace {

using namespace std::chrono_literals;

// Holds every read until released (or until holdFor has passed, so that a read made on the window
// thread stalls the test instead of hanging it).
class GatedLink : public ReportLink {
public:
    explicit GatedLink(ReportLink& inner, std::chrono::milliseconds holdFor) : inner_(inner), holdFor_(holdFor) {}

    bool WriteReport(std::span<const uint8_t> request) override { return inner_.WriteReport(request); }
    ReadResult ReadReport(ReportData& dest) override {
        {
            std::unique_lock lock(mutex_);
            ++waiting_;
            changed_.wait_for(lock, holdFor_, [this] { return released_; });
            --waiting_;
        }
        return inner_.ReadReport(dest);
    }
    void CloseDevice() override { inner_.CloseDevice(); }
    std::string openFailure() const override { return inner_.openFailure(); }

    bool readWaiting() {
        const std::lock_guard lock(mutex_);
        return waiting_ > 0;
    }
    void release() {
        {
            const std::lock_guard lock(mutex_);
            released_ = true;
        }
        changed_.notify_all();
    }

private:
    ReportLink& inner_;
    const std::chrono::milliseconds holdFor_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int waiting_ = 0;
    bool released_ = false;
};

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

TEST(DeviceWorkerTest, TheStepTimerKeepsItsIntervalToTheMillisecond) {
    QtSequenceTimer timer;
    EXPECT_EQ(timer.qtimer().timerType(), Qt::PreciseTimer);
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
