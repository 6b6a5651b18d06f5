// The menu bar's frame around the main window: the design's client area keeps its place and size
// below the menu bar, and the menus speak the chosen language.
#include "MainWindowFixture.h"

#include "widgets/MainFrame.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace trv::test {
namespace {

TEST_F(MainWindowTest, TheMenuBarSitsAboveTheUnchangedClientAreaAndFollowsTheLanguage) {
    MainWindow& main = start();
    const QSize design = main.size();
    MainFrame frame(main, *context, {});
    frame.show();

    EXPECT_EQ(main.size(), design);
    EXPECT_EQ(main.geometry().topLeft(), QPoint(0, frame.menuBar()->height()));
    EXPECT_EQ(frame.size(), QSize(design.width(), design.height() + frame.menuBar()->height()));
    EXPECT_EQ(frame.windowTitle(), main.windowTitle());
    EXPECT_EQ(frame.action("FindProgramAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_EQ(frame.action("TreatmentRecordAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));

    const auto menuTitles = [&frame] {
        QStringList titles;
        for (QAction* menu : frame.menuBar()->actions())
            titles << menu->text();
        return titles;
    };
    EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Record", "&Help"}));
    chooseLanguage("Magyar", true);
    EXPECT_EQ(frame.windowTitle(), main.windowTitle());
    EXPECT_EQ(menuTitles(), (QStringList{"&Fájl", "&Napló", "&Súgó"}));
    EXPECT_EQ(frame.action("OpenProgramAction")->text(), "Program &megnyitása...");
    chooseLanguage("English", true);
    EXPECT_EQ(menuTitles(), (QStringList{"&File", "&Record", "&Help"}));
}

// The menus behind the bar are made after the first paint; input that comes sooner finds them made.
TEST_F(MainWindowTest, TheFirstInputFindsTheMenusMade) {
    MainWindow& main = start();
    MainFrame frame(main, *context, {});
    frame.show();
    ASSERT_EQ(frame.findChild<QMenu*>("FileMenu"), nullptr);

    QTest::keyClick(&frame, Qt::Key_F, Qt::AltModifier);
    const auto* file = frame.findChild<QMenu*>("FileMenu");
    ASSERT_NE(file, nullptr);
    QStringList entries;
    for (QAction* action : file->actions())
        entries << (action->menu() != nullptr ? action->menu()->objectName() : action->objectName());
    EXPECT_EQ(entries, (QStringList{"OpenProgramAction", "SaveProgramAsAction", "OpenRecentMenu", "", "FindProgramAction",
                                    "", "ExitAction"}));
    EXPECT_EQ(frame.findChild<QMenu*>("OpenRecentMenu")->title(), "Open &Recent");
    EXPECT_EQ(frame.menuBar()->actions().front()->menu(), file);
}

} // namespace
} // namespace trv::test
