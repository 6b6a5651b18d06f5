// The Device Status dialog and the three warnings as windows: layout, texts and answers.
#include "GuiTestSupport.h"
#include "SequenceTestBench.h"
#include "WindowBench.h"

#include "widgets/LowPowerWarning.h"
#include "widgets/ProcessRunningWarning.h"
#include "widgets/SelfTestWarning.h"
#include "widgets/StatusDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>

namespace trv::test {
namespace {

// Runs the action once the modal dialog's loop is running, then returns when it has closed.
void execWhile(QDialog& dialog, std::function<void()> action) {
    QTimer::singleShot(50, &dialog, std::move(action));
    dialog.exec();
}

template <typename Widget> Widget* child(QWidget& parent, const char* name) {
    Widget* widget = parent.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QStringList linesOf(const QListWidget* list) {
    QStringList lines;
    for (int k = 0; k < list->count(); ++k)
        lines << list->item(k)->text();
    return lines;
}

TEST(StatusWindowsTest, StatusDialogLayoutAndCaptionTableTexts) {
    WindowBench b;
    StatusDialog dialog(b.ctx, b.errors, b.windows);
    EXPECT_EQ(dialog.size(), QSize(385, 483));
    EXPECT_EQ(dialog.windowTitle(), "C14");
    EXPECT_EQ(child<QGroupBox>(dialog, "GroupBox1")->title(), "C15");
    EXPECT_EQ(child<QListWidget>(dialog, "ListBox1")->toolTip(), "C16");
    EXPECT_EQ(child<QListWidget>(dialog, "ListBox1")->geometry(), QRect(8, 16, 353, 177));
    EXPECT_EQ(child<QGroupBox>(dialog, "GroupBox2")->title(), "C17");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(), "C18");
    EXPECT_EQ(child<QLabel>(dialog, "Label3")->text(), "C18");
    EXPECT_EQ(child<QLabel>(dialog, "Label2")->text(), "C19");
    EXPECT_EQ(child<QLabel>(dialog, "Label4")->text(), "C19");
    EXPECT_EQ(child<QGroupBox>(dialog, "GroupBox3")->title(), "C20");
    EXPECT_EQ(child<QListWidget>(dialog, "ListBox2")->toolTip(), "C21");
    EXPECT_EQ(child<QListWidget>(dialog, "ListBox5")->toolTip(), "C24");
    EXPECT_EQ(child<QLabel>(dialog, "Label5")->text(), "C25");
    EXPECT_EQ(child<QListWidget>(dialog, "ListBox6")->toolTip(), "C26");
    EXPECT_EQ(child<QLabel>(dialog, "Label6")->text(), "C29");
    EXPECT_EQ(child<QProgressBar>(dialog, "PowerProgressBar")->toolTip(), "C30");
    EXPECT_EQ(child<QPushButton>(dialog, "CloseButton")->text(), "C31");
    EXPECT_EQ(child<QPushButton>(dialog, "CloseButton")->toolTip(), "C32");
    EXPECT_EQ(child<QLabel>(dialog, "Label7")->text(), "C33");
    EXPECT_EQ(child<QProgressBar>(dialog, "ProgProgressBar")->toolTip(), "C34");
    EXPECT_EQ(child<QProgressBar>(dialog, "ProgProgressBar")->geometry(), QRect(8, 440, 369, 25));
    EXPECT_EQ(child<QPushButton>(dialog, "WRCButton")->geometry(), QRect(280, 320, 97, 33));
}

TEST(StatusWindowsTest, AnIdleDeviceShowsItsSummaryAndTheCloseBoxStopsPolling) {
    WindowBench b;
    b.device.setPowerLevel(135);
    StatusDialog dialog(b.ctx, b.errors, b.windows);
    execWhile(dialog, [&] {
        QTest::qWait(400);
        dialog.close();
    });
    EXPECT_EQ(linesOf(child<QListWidget>(dialog, "ListBox1")), (QStringList{"", "", "M27", "", "M34 0"}));
    EXPECT_EQ(linesOf(child<QListWidget>(dialog, "ListBox6")), QStringList{"M32"});
    EXPECT_EQ(child<QProgressBar>(dialog, "PowerProgressBar")->value(), 100);
    EXPECT_EQ(child<QProgressBar>(dialog, "ProgProgressBar")->value(), 100);
    EXPECT_FALSE(child<QPushButton>(dialog, "WRCButton")->isEnabled());
    EXPECT_EQ(child<QPushButton>(dialog, "WRCButton")->text(), "C27");

    // Closed by its close box while the device is away: plugging it in later draws no request.
    b.link.CloseDevice();
    b.device.unplug();
    b.device.clearRequestLog();
    execWhile(dialog, [&] {
        QTest::qWait(150);
        EXPECT_EQ(linesOf(child<QListWidget>(dialog, "ListBox1")), QStringList{"M6"});
        dialog.close();
    });
    b.device.replug();
    QTest::qWait(1300);
    EXPECT_TRUE(b.device.requestLog().empty());
    EXPECT_FALSE(b.link.connected());
}

TEST(StatusWindowsTest, AnOldDeviceGetsTheStopBoxAndTheDialogCloses) {
    WindowBench b;
    b.device.setVersion({0, 1, 1, 1});
    StatusDialog dialog(b.ctx, b.errors, b.windows);
    QTimer::singleShot(5000, &dialog, [&] { dialog.done(0); }); // only if it never closes itself
    dialog.exec();
    ASSERT_EQ(b.errors.boxes.size(), 1u);
    EXPECT_EQ(b.errors.boxes[0].text, "M7");
    EXPECT_EQ(b.errors.boxes[0].title, "M0");
    EXPECT_EQ(b.errors.boxes[0].icon, ErrorDisplay::Icon::Stop);
    EXPECT_FALSE(b.errors.boxes[0].withSound);
    EXPECT_FALSE(b.link.connected());
}

TEST(StatusWindowsTest, ProcessRunningWarningAnswers) {
    WindowBench b;
    ProcessRunningWarning warning(b.ctx);
    EXPECT_EQ(warning.size(), QSize(340, 137));
    EXPECT_EQ(warning.windowTitle(), "C7");
    EXPECT_EQ(child<QLabel>(warning, "Label1")->text(), "C8");
    EXPECT_EQ(child<QLabel>(warning, "Label2")->text(), "C9");
    EXPECT_EQ(child<QPushButton>(warning, "AbortButton")->text(), "C10");
    EXPECT_EQ(child<QPushButton>(warning, "AbortButton")->toolTip(), "C11");
    EXPECT_EQ(child<QPushButton>(warning, "ContButton")->text(), "C12");
    EXPECT_EQ(child<QPushButton>(warning, "ContButton")->toolTip(), "C13");
    EXPECT_EQ(child<QLabel>(warning, "Image1")->pixmap().size(), QSize(51, 49));

    b.session.continueFlag = false;
    execWhile(warning, [&] { QTest::mouseClick(child<QPushButton>(warning, "ContButton"), Qt::LeftButton); });
    EXPECT_TRUE(b.session.continueFlag);

    b.session.continueFlag = false;
    execWhile(warning, [&] { warning.close(); });
    EXPECT_FALSE(b.session.continueFlag);
    execWhile(warning, [&] { QTest::mouseClick(child<QPushButton>(warning, "AbortButton"), Qt::LeftButton); });
    EXPECT_FALSE(b.session.continueFlag);
}

TEST(StatusWindowsTest, SelfTestWarningIsNotLocalisedAndForgetsAnEarlierStart) {
    WindowBench b;
    SelfTestWarning warning(b.ctx);
    EXPECT_EQ(warning.size(), QSize(469, 204));
    EXPECT_EQ(warning.windowTitle(), "Self test warning");
    EXPECT_EQ(child<QLabel>(warning, "Label1")->text(), "Insert the required accessories to the device.");
    EXPECT_EQ(child<QPushButton>(warning, "StartButton")->text(), "Start");
    EXPECT_TRUE(child<QLabel>(warning, "Label1")->font().bold());
    EXPECT_FALSE(child<QPushButton>(warning, "StartButton")->font().bold());

    execWhile(warning, [&] { QTest::mouseClick(child<QPushButton>(warning, "StartButton"), Qt::LeftButton); });
    EXPECT_TRUE(b.session.selfTestFlag);
    execWhile(warning, [&] { warning.close(); });
    EXPECT_FALSE(b.session.selfTestFlag);
    b.session.selfTestFlag = true;
    execWhile(warning, [&] { QTest::mouseClick(child<QPushButton>(warning, "CancelButton"), Qt::LeftButton); });
    EXPECT_FALSE(b.session.selfTestFlag);
}

TEST(StatusWindowsTest, LowPowerWarningIsLocalisedAndSetsTheContinueFlag) {
    WindowBench b;
    LowPowerWarning warning(b.ctx);
    EXPECT_EQ(warning.size(), QSize(503, 207));
    EXPECT_EQ(warning.windowTitle(), "C35");
    EXPECT_EQ(child<QLabel>(warning, "Label3")->text(), "C38");
    EXPECT_EQ(child<QPushButton>(warning, "ContButton")->toolTip(), "C40");
    EXPECT_EQ(child<QPushButton>(warning, "BreakButton")->text(), "C41");
    execWhile(warning, [&] { QTest::mouseClick(child<QPushButton>(warning, "BreakButton"), Qt::LeftButton); });
    EXPECT_FALSE(b.session.continueFlag);
    execWhile(warning, [&] { QTest::mouseClick(child<QPushButton>(warning, "ContButton"), Qt::LeftButton); });
    EXPECT_TRUE(b.session.continueFlag);
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
