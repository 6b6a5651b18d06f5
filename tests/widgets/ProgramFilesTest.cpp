// Program files through the main window: save, open, the recent list, a drop; the finder dialog.
#include "MainWindowFixture.h"

#include "widgets/ProgramFileCommands.h"
#include "widgets/ProgramFileMessages.h"
#include "widgets/ProgramFinderDialog.h"
#include "widgets/RecentPrograms.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>

namespace trv::test {
namespace {

class ProgramFilesTest : public MainWindowTest {
protected:
    std::unique_ptr<RecentPrograms> recentIn(const QString& file) {
        return std::make_unique<RecentPrograms>(std::make_unique<QSettings>(file, QSettings::IniFormat));
    }
    void drop(const QString& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        const QPoint at = form->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.get(), &dropped);
        QCoreApplication::processEvents();
    }
};

TEST_F(ProgramFilesTest, SavedProgramOpensAgainFromTheMenuTheRecentListAndADrop) {
    start();
    const QString settings = QString::fromStdString(path("recent.ini"));
    ProgramFileCommands files(form->controller(), errors, recentIn(settings), *form);
    files.acceptDrops();

    showPage("ProgTS");
    doubleClickLine("ProgListBox", 5);
    click("AWButton");
    doubleClickLine("ProgListBox", 2);
    const QStringList composed = lines("ControlListBox");
    ASSERT_EQ(composed.size(), 4);
    const QString saved = QString::fromStdString(path("monday.trvp"));
    ASSERT_TRUE(files.save(saved));

    click("NewButton");
    ASSERT_TRUE(files.open(saved));
    EXPECT_EQ(lines("ControlListBox"), composed);
    EXPECT_TRUE(errors.boxes.empty());

    // Refused: a box naming the file in the checker's words, the control program as it was.
    click("DelButton");
    const QStringList edited = lines("ControlListBox");
    writeFile("bad.trvp", R"({"format": "trv-program", "version": 9, "items": []})");
    const QString bad = QString::fromStdString(path("bad.trvp"));
    EXPECT_FALSE(files.open(bad));
    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].text.toStdString(),
              DescribeProgramFileIssue(ProgramFileIssue{ProgramFileIssueKind::NewerVersion, 0, 9}, bad.toStdString()));
    EXPECT_EQ(lines("ControlListBox"), edited);

    drop(saved);
    EXPECT_EQ(lines("ControlListBox"), composed);

    // The recent list outlives the commands: another run reads it from the same settings.
    EXPECT_EQ(recentIn(settings)->files(), QStringList{saved});
}

TEST_F(ProgramFilesTest, FinderSelectsThenAddsAndFindsTheLineInEitherOrder) {
    start();
    std::vector<std::pair<char, int>> calls;
    ProgramFinderDialog finder(
        {[&](int number) { calls.emplace_back('s', number); }, [&](int number) { calls.emplace_back('a', number); }},
        form.get());
    finder.setCatalogue(catalogue);
    finder.show();
    auto* edit = finder.findChild<QLineEdit*>(QStringLiteral("FindEdit"));
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, QStringLiteral("ANXIETY e"));
    ASSERT_EQ(finder.results(), std::vector<int>{6});
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(calls, (std::vector<std::pair<char, int>>{{'s', 6}, {'a', 6}}));

    // The line the select action shows, in either list order.
    for (const char* order : {"NumRB", "AlphaRB"}) {
        click(order);
        const int line = form->controller().ProgramListLine(6);
        ASSERT_GE(line, 0) << order;
        EXPECT_TRUE(lines("ProgListBox").at(line).contains(QStringLiteral("Anxiety ease"))) << order;
    }
}

TEST(ProgramFileMessagesTest, WindowTextsAreTheCheckersWords) {
    using K = ProgramFileIssueKind;
    for (const K kind : {K::Unreadable, K::TooLarge, K::NotJson, K::NotProgramFile, K::NewerVersion, K::BadItem,
                         K::TooManyItems, K::UnknownProgram, K::PauseOutOfRange, K::NotWritten, K::RenamedProgram}) {
        const ProgramFileIssue issue{kind, 3, 42, 7, "détail %2", "Ellenőrzés"};
        EXPECT_EQ(ProgramFileMessage(issue, QStringLiteral("/tmp/a %1.trvp")).toStdString(),
                  DescribeProgramFileIssue(issue, "/tmp/a %1.trvp"))
            << static_cast<int>(kind);
    }
}

TEST(RecentProgramsTest, KeepsTheLastEightNewestFirst) {
    QTemporaryDir dir;
    RecentPrograms recent(std::make_unique<QSettings>(dir.filePath(QStringLiteral("r.ini")), QSettings::IniFormat));
    for (int k = 1; k <= 9; ++k)
        recent.add(QStringLiteral("/p/%1.trvp").arg(k));
    recent.add(QStringLiteral("/p/../p/5.trvp"));
    EXPECT_EQ(recent.files(), (QStringList{"/p/5.trvp", "/p/9.trvp", "/p/8.trvp", "/p/7.trvp", "/p/6.trvp", "/p/4.trvp",
                                           "/p/3.trvp", "/p/2.trvp"}));
}

} // namespace
} // namespace trv::test
