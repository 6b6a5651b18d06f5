#include "MainWindowFixture.h"

#include "data/Codepage.h"
#include "data/MessageNumbers.h"
#include "data/ProtocolBrowser.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <cstdio>

namespace trv::test {
namespace {

QStringList decodedLines(const std::vector<std::string>& lines) {
    QStringList shown;
    for (const std::string& line : lines)
        shown << QString::fromStdString(DecodeToUtf8(line, Codepage::CentralEuropean));
    return shown;
}

QString totalText(long long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", seconds / 60, seconds % 60);
    return QString::fromLatin1(text);
}

class ComposeTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start();
    }

    const ProtocolRecord& protocol(int row) const {
        return form->controller().protocolFile().protocols[static_cast<size_t>(row)];
    }
    QString pauseLine(const char* time) const { return message("ENG", msg::PauseWord) + " " + time; }
    QString endLine() const { return message("ENG", msg::EndLine); }
    QString waitLine() const { return message("ENG", msg::WaitLine); }
    // The control list's line of a program: its number as "%3d " begins it.
    static bool isProgramLine(const QString& line, uint32_t number) {
        return line.startsWith(QString::asprintf("%3u ", number));
    }
    bool enabled(const char* name) const { return find<QPushButton>(name)->isEnabled(); }
};

TEST_F(ComposeTest, ClickingAProtocolItemShowsItsProgramsAndElectrodes) {
    const SessionProgramList& list = protocol(0).itemLists[1];
    const ElectrodeRecord& electrodes = protocol(0).electrodes[1];
    const std::vector<std::string>& names = form->controller().protocolTexts().electrodeNames;

    clickNode(treeNode(0, 1));

    EXPECT_EQ(lines("ProtocolTRVLB"), decodedLines(SessionProgramLines(list, catalogue)));
    EXPECT_EQ(lines("ProtocolTRVLB").size(), list.size());
    EXPECT_EQ(lines("ALB"), decodedLines({names.at(electrodes.inputA - 1)}));
    EXPECT_EQ(lines("BLB"), decodedLines({names.at(electrodes.inputB - 1)}));
    EXPECT_EQ(lines("CLB"), decodedLines({names.at(electrodes.outputC - 1)}));

    clickNode(treeNode(0));
    for (const char* name : {"ProtocolTRVLB", "ALB", "BLB", "CLB"})
        EXPECT_TRUE(lines(name).isEmpty()) << name;
}

// An item of a later protocol, with what the sample data gives it: the item's place among all
// nodes must lead to its own protocol, item, program list and electrodes.
TEST_F(ComposeTest, AnItemOfALaterProtocolShowsItsOwnProgramsAndElectrodes) {
    QTreeWidgetItem* node = treeNode(1, 2);
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->parent()->text(0), "Back and neck");
    ASSERT_EQ(node->text(0), "Lower back");
    const uint32_t programs[] = {19, 20, 23, 65};

    clickNode(node);

    const QStringList shown = lines("ProtocolTRVLB");
    ASSERT_EQ(shown.size(), 4);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(isProgramLine(shown[k], programs[k])) << shown[k].toStdString();
    EXPECT_EQ(lines("ALB"), QStringList{"Lumbar pad"});
    EXPECT_EQ(lines("BLB"), QStringList{"Back pad"});
    EXPECT_EQ(lines("CLB"), QStringList{"Foot plate L"});

    click("ACButton");
    const QStringList control = lines("ControlListBox");
    ASSERT_EQ(control.size(), 8);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(isProgramLine(control[2 * k], programs[k])) << control[2 * k].toStdString();
}

TEST_F(ComposeTest, DoubleClickingAProtocolItemLoadsItsProgramsWithPauses) {
    const SessionProgramList& list = protocol(0).itemLists[0];
    ASSERT_GE(list.size(), 2);

    doubleClickNode(treeNode(0, 0));

    const QStringList shown = lines("ControlListBox");
    ASSERT_EQ(shown.size(), 2 * list.size());
    long long total = 0;
    for (int k = 0; k < list.size(); ++k) {
        EXPECT_TRUE(isProgramLine(shown[2 * k], list.slots[static_cast<size_t>(k)])) << shown[2 * k].toStdString();
        total += catalogue.program(static_cast<int>(list.slots[static_cast<size_t>(k)]))->runningSeconds;
        if (k + 1 < list.size()) {
            EXPECT_EQ(shown[2 * k + 1], pauseLine("01:00"));
        }
    }
    total += (list.size() - 1) * 60;
    EXPECT_EQ(shown.last(), endLine());
    EXPECT_EQ(lines("TimeList"), QStringList{totalText(total)});
    EXPECT_TRUE(enabled("DlButton"));
    EXPECT_TRUE(enabled("NewButton"));
    EXPECT_FALSE(enabled("DelButton"));

    // The protocol node clicked last is no item: a double-click on it changes nothing.
    doubleClickNode(treeNode(1));
    EXPECT_EQ(lines("ControlListBox"), shown);
}

TEST_F(ComposeTest, AddToControlFollowsTheActivePage) {
    // Protocols page before any item was clicked: nothing.
    click("ACButton");
    EXPECT_EQ(lines("ControlListBox"), QStringList{endLine()});

    clickNode(treeNode(0, 0));
    click("ACButton");
    const QStringList itemProgram = lines("ControlListBox");
    EXPECT_EQ(itemProgram.size(), 2 * protocol(0).itemLists[0].size());

    showPage("ProgTS");
    clickLine("ProgListBox", 4);
    click("ACButton");
    EXPECT_EQ(lines("ControlListBox").size(), itemProgram.size() + 1);
    EXPECT_TRUE(isProgramLine(lines("ControlListBox").value(itemProgram.size() - 1), 5));

    // Back on the protocols page the item clicked before is what gets loaded.
    showPage("ProtocolTS");
    click("ACButton");
    EXPECT_EQ(lines("ControlListBox"), itemProgram);
}

TEST_F(ComposeTest, ItemsGoAboveTheSelectedLine) {
    showPage("ProgTS");
    doubleClickLine("ProgListBox", 0);
    ASSERT_EQ(lines("ControlListBox").size(), 2);
    EXPECT_TRUE(isProgramLine(lines("ControlListBox")[0], 1));
    EXPECT_FALSE(enabled("DelButton"));
    EXPECT_TRUE(enabled("DlButton"));

    clickLine("ControlListBox", 0);
    EXPECT_TRUE(enabled("DelButton"));
    click("AWButton");
    EXPECT_EQ(lines("ControlListBox").value(0), waitLine());
    EXPECT_EQ(find<QListWidget>("ControlListBox")->currentRow(), 1);

    find<QLineEdit>("EditMin")->setText("2");
    find<QLineEdit>("EditSec")->setText("30");
    click("APButton");
    const QStringList shown = lines("ControlListBox");
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0], waitLine());
    EXPECT_EQ(shown[1], pauseLine("02:30"));
    EXPECT_TRUE(isProgramLine(shown[2], 1));
    EXPECT_EQ(shown[3], endLine());
    EXPECT_EQ(lines("TimeList"), QStringList{totalText(catalogue.program(1)->runningSeconds + 150)});

    // Deleting the program selects the line after it, the end line.
    click("DelButton");
    EXPECT_EQ(lines("ControlListBox"), (QStringList{waitLine(), pauseLine("02:30"), endLine()}));
    EXPECT_EQ(find<QListWidget>("ControlListBox")->currentRow(), 2);
    EXPECT_FALSE(enabled("DelButton"));

    click("NewButton");
    EXPECT_EQ(lines("ControlListBox"), QStringList{endLine()});
    EXPECT_EQ(lines("TimeList"), QStringList{"00:00"});
    for (const char* name : {"DelButton", "DlButton", "NewButton"})
        EXPECT_FALSE(enabled(name)) << name;
}

TEST_F(ComposeTest, TheKeyboardSelectionIsTheLineDeleted) {
    click("AWButton");
    showPage("ProgTS");
    doubleClickLine("ProgListBox", 2);
    clickLine("ControlListBox", 0);

    QTest::keyClick(find<QListWidget>("ControlListBox"), Qt::Key_Down);
    click("DelButton");

    EXPECT_EQ(lines("ControlListBox"), (QStringList{waitLine(), endLine()}));
}

TEST_F(ComposeTest, PauseTextsThatAreNoValidPauseAreRefused) {
    const struct {
        const char* minutes;
        const char* seconds;
        const char* error;
    } cases[] = {
        {"abc", "0", "'abc' is not a valid integer value"},
        {"-5", "0", "'-5'"}, // a negative pause would read as another kind of item
    };
    for (const auto& entry : cases) {
        errors.boxes.clear();
        find<QLineEdit>("EditMin")->setText(entry.minutes);
        find<QLineEdit>("EditSec")->setText(entry.seconds);
        click("APButton");
        ASSERT_EQ(errors.boxes.size(), 1u) << entry.minutes << ":" << entry.seconds;
        EXPECT_TRUE(errors.boxes[0].text.startsWith(entry.error)) << errors.boxes[0].text.toStdString();
        EXPECT_EQ(errors.boxes[0].title, "trv");
        EXPECT_FALSE(errors.boxes[0].withSound);
        EXPECT_EQ(lines("ControlListBox"), QStringList{endLine()});
    }

    errors.boxes.clear();
    find<QLineEdit>("EditMin")->setText("0");
    find<QLineEdit>("EditSec")->setText("0");
    click("APButton");
    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_EQ(lines("ControlListBox"), QStringList{endLine()});
}

TEST_F(ComposeTest, TheUpDownButtonsStayInTheirRange) {
    const auto buttons = [this](const char* name) { return find<QWidget>(name)->findChildren<QToolButton*>(); };
    auto* minutes = find<QLineEdit>("EditMin");
    auto* seconds = find<QLineEdit>("EditSec");

    minutes->setText("98");
    buttons("UpDownMin")[0]->click();
    buttons("UpDownMin")[0]->click();
    EXPECT_EQ(minutes->text(), "99");

    seconds->setText("1");
    buttons("UpDownSec")[1]->click();
    buttons("UpDownSec")[1]->click();
    EXPECT_EQ(seconds->text(), "0");

    // Hand-typed text outside the range steps from the range's end.
    seconds->setText("75");
    buttons("UpDownSec")[0]->click();
    EXPECT_EQ(seconds->text(), "59");
    minutes->setText("-4");
    buttons("UpDownMin")[0]->click();
    EXPECT_EQ(minutes->text(), "1");
}

TEST_F(ComposeTest, TwentyItemsFillTheControlProgram) {
    for (int k = 0; k < 20; ++k)
        click("AWButton");
    EXPECT_EQ(lines("ControlListBox").size(), 21);
    for (const char* name : {"ACButton", "APButton", "AWButton"})
        EXPECT_FALSE(enabled(name)) << name;

    // A double-click still reaches the full program and is refused silently.
    showPage("ProgTS");
    doubleClickLine("ProgListBox", 0);
    EXPECT_EQ(lines("ControlListBox").size(), 21);
    EXPECT_TRUE(errors.boxes.empty());

    clickLine("ControlListBox", 0);
    click("DelButton");
    EXPECT_EQ(lines("ControlListBox").size(), 20);
    for (const char* name : {"ACButton", "APButton", "AWButton"})
        EXPECT_TRUE(enabled(name)) << name;
}

TEST_F(ComposeTest, TheHiddenSessionsPageStillWorks) {
    const SessionProgramList& list = form->controller().protocolFile().sessions.at(0);
    showPage("SessionTS");

    clickLine("SessionLB", 0);
    EXPECT_EQ(lines("SessionTRVLB"), decodedLines(SessionProgramLines(list, catalogue)));

    click("ACButton");
    EXPECT_EQ(lines("ControlListBox").size(), 2 * list.size());

    click("NewButton");
    doubleClickLine("SessionLB", 0);
    EXPECT_EQ(lines("ControlListBox").size(), 2 * list.size());
    EXPECT_TRUE(isProgramLine(lines("ControlListBox")[0], list.slots[0]));
}

TEST_F(ComposeTest, AlphabeticalLinesAddTheProgramTheyShow) {
    click("AlphaRB");
    showPage("ProgTS");
    // First line of the English names file: "75 Afternoon slump".
    doubleClickLine("ProgListBox", 0);
    EXPECT_TRUE(isProgramLine(lines("ControlListBox").value(0), 75));

    const QStringList before = lines("ControlListBox");
    click("NumRB");
    EXPECT_EQ(lines("ControlListBox"), before);
}

} // namespace
} // namespace trv::test
