// The Download dialog driven by its real QTimer against the simulated device in real time.
#include "GuiTestSupport.h"
#include "SequenceTestBench.h"
#include "WindowBench.h"

#include "widgets/DownloadDialog.h"

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <chrono>
#include <cstdio>

namespace trv::test {
namespace {

QStringList linesOf(const QListWidget* list) {
    QStringList lines;
    for (int k = 0; k < list->count(); ++k)
        lines << list->item(k)->text();
    return lines;
}

struct RealTimeBench : WindowBench {

    void compose(int programs) {
        control.Clear();
        for (int k = 0; k < programs; ++k)
            control.AddSelectedProgram(k);
    }
};

TEST(DownloadWindowTest, ARealTimeDownloadIsVerifiedAndStarted) {
    RealTimeBench b;
    b.compose(3);
    DownloadDialog dialog(b.ctx, b.errors, b.windows);
    b.windows.download = &dialog;
    auto* start = dialog.findChild<QPushButton*>("StartButton");
    auto* close = dialog.findChild<QPushButton*>("CloseButton");
    auto* list = dialog.findChild<QListWidget*>("ListBox1");
    ASSERT_NE(start, nullptr);
    ASSERT_NE(close, nullptr);
    ASSERT_NE(list, nullptr);

    // The user presses Start once the transfer is verified.
    QTimer user;
    user.setInterval(10);
    bool pressed = false;
    QStringList linesBeforeStart;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (!pressed && start->isEnabled()) {
            pressed = true;
            EXPECT_TRUE(close->isEnabled());
            linesBeforeStart = linesOf(list);
            QTest::mouseClick(start, Qt::LeftButton);
        }
    });
    user.start();
    const auto begin = std::chrono::steady_clock::now();
    dialog.exec();
    const auto took = std::chrono::steady_clock::now() - begin;

    EXPECT_TRUE(pressed);
    EXPECT_TRUE(b.errors.boxes.empty());
    EXPECT_EQ(linesBeforeStart, (QStringList{"M20", "M21", "M22", "M23", "M24"}));
    EXPECT_FALSE(b.session.startPending);
    EXPECT_EQ(dialog.sequence().outcome(), DownloadSequence::Outcome::Started);
    EXPECT_TRUE(b.link.connected());
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
    EXPECT_EQ(b.device.computeSummary(), ExpectedSummary(b.session.image));
    EXPECT_EQ(b.watch.callsOnWindowThread, 0);
    std::printf("[ timing ] 3-program download, start included: %lld ms for %zu requests\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()),
                b.device.requestLog().size());
}

TEST(DownloadWindowTest, ClosingTheWindowMidTransferStopsTheSequence) {
    RealTimeBench b;
    b.compose(20);
    DownloadDialog dialog(b.ctx, b.errors, b.windows);
    auto* bar = dialog.findChild<QProgressBar*>("ProgressBar1");
    ASSERT_NE(bar, nullptr);
    QTimer user;
    user.setInterval(10);
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (dialog.isVisible() && bar->value() >= 3)
            dialog.close();
    });
    user.start();
    dialog.exec();
    user.stop();

    EXPECT_FALSE(b.link.connected());
    EXPECT_TRUE(b.session.startPending);
    EXPECT_TRUE(b.errors.boxes.empty());
    const size_t sent = b.device.requestLog().size();
    QTest::qWait(700);
    EXPECT_EQ(b.device.requestLog().size(), sent);
    for (const sim::LoggedRequest& request : b.device.requestLog())
        EXPECT_NE(request.data[2], wire::Summary); // the transfer never got that far
    EXPECT_EQ(dialog.sequence().outcome(), DownloadSequence::Outcome::Closed);
}

TEST(DownloadWindowTest, WithoutDeviceTheErrorBoxCarriesMessage6AndTheDialogCloses) {
    RealTimeBench b;
    b.compose(1);
    b.device.unplug();
    DownloadDialog dialog(b.ctx, b.errors, b.windows);
    // The box comes after the line written before it, as the step wrote them.
    QStringList linesUnderTheBox;
    b.errors.whileShown = [&] { linesUnderTheBox = linesOf(dialog.findChild<QListWidget*>("ListBox1")); };
    dialog.exec();
    EXPECT_EQ(linesUnderTheBox, QStringList{"M20"});
    ASSERT_EQ(b.errors.boxes.size(), 1u);
    EXPECT_EQ(b.errors.boxes[0].title, "M0");
    EXPECT_EQ(b.errors.boxes[0].text, "M6");
    EXPECT_EQ(b.errors.boxes[0].icon, ErrorDisplay::Icon::Error);
    EXPECT_TRUE(b.errors.boxes[0].withSound);
    EXPECT_TRUE(b.session.startPending);
    EXPECT_EQ(linesOf(dialog.findChild<QListWidget*>("ListBox1")), QStringList{"M20"});
}

TEST(DownloadWindowTest, LayoutAndCaptionTableTexts) {
    RealTimeBench b;
    b.texts.captions.set(0, "\xC4nderung"); // Windows-1252 A with diaeresis
    DownloadDialog dialog(b.ctx, b.errors, b.windows);
    EXPECT_EQ(dialog.size(), QSize(277, 303));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("\xC3\x84nderung"));
    EXPECT_EQ(dialog.findChild<QListWidget*>("ListBox1")->toolTip(), "C1");
    EXPECT_EQ(dialog.findChild<QProgressBar*>("ProgressBar1")->toolTip(), "C2");
    auto* start = dialog.findChild<QPushButton*>("StartButton");
    auto* close = dialog.findChild<QPushButton*>("CloseButton");
    EXPECT_EQ(start->text(), "C3");
    EXPECT_EQ(start->toolTip(), "C4");
    EXPECT_EQ(close->text(), "C5");
    EXPECT_EQ(close->toolTip(), "C6");
    EXPECT_FALSE(start->isEnabled());
    EXPECT_FALSE(close->isEnabled());

    // Without a caption file the design's texts stay.
    RealTimeBench plain;
    plain.texts = LanguageTexts{};
    DownloadDialog design(plain.ctx, plain.errors, plain.windows);
    EXPECT_EQ(design.windowTitle(), "Download");
    EXPECT_EQ(design.findChild<QPushButton*>("StartButton")->text(), "Start");
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
