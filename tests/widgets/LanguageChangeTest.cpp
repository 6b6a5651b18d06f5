#include "MainWindowFixture.h"

#include "data/MessageNumbers.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>

namespace trv::test {
namespace {

class LanguageChangeTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        start();
        // A program, a wait and a pause: lines of all kinds that take the language's texts.
        showPage("ProgTS");
        doubleClickLine("ProgListBox", 40);
        click("AWButton");
        click("APButton");
        showPage("ProtocolTS");
    }

    QString firstProtocol() const { return find<QTreeWidget>("ProtocolTW")->topLevelItem(0)->text(0); }
    QString buttonText(const char* name) const { return find<QPushButton>(name)->text(); }

    // Everything a language change would touch, to see that a refused change touched nothing.
    struct Shown {
        QStringList programs, control, sessions;
        QString protocol, addCaption, addHint;
        bool operator==(const Shown&) const = default;
    };
    Shown shown() const {
        return {lines("ProgListBox"), lines("ControlListBox"), lines("SessionLB"),
                firstProtocol(),      buttonText("ACButton"),  find<QPushButton>("ACButton")->toolTip()};
    }
};

TEST_F(LanguageChangeTest, TheDialogOffersTheListedLanguagesAndTheOneInForce) {
    QStringList offered;
    QString current;
    onNextModal([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select Language");
        EXPECT_EQ(dialog.findChild<QLabel*>("Label1")->text(), "Languages:");
        auto* box = dialog.findChild<QComboBox*>("LanguageBox");
        for (int k = 0; k < box->count(); ++k)
            offered << box->itemText(k);
        current = box->currentText();
        dialog.findChild<QPushButton*>("CancelButton")->click();
    });
    QTest::mouseClick(find<QWidget>("FlagImage"), Qt::LeftButton, {}, QPoint(5, 5));

    EXPECT_EQ(offered, (QStringList{"English", "Magyar"}));
    EXPECT_EQ(current, "English");
}

TEST_F(LanguageChangeTest, OkReloadsTheTextsAndListsInTheNewLanguage) {
    const Shown before = shown();
    chooseLanguage("Magyar", true);

    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_TRUE(quits.empty());
    EXPECT_EQ(buttonText("ACButton"), caption("HUN", 6));
    EXPECT_EQ(find<QPushButton>("ACButton")->toolTip(), caption("HUN", 7));
    EXPECT_NE(buttonText("ACButton"), before.addCaption);
    EXPECT_EQ(firstProtocol(), "Ellazulás és alvás");
    EXPECT_NE(lines("SessionLB"), before.sessions);
    EXPECT_TRUE(lines("ProgListBox").value(40).contains("Allergiás időszak"));

    // The same items, in the new language's words.
    const QStringList control = lines("ControlListBox");
    ASSERT_EQ(control.size(), 4);
    EXPECT_TRUE(control[0].startsWith(" 41 Allergiás"));
    EXPECT_EQ(control[1], message("HUN", msg::WaitLine));
    EXPECT_EQ(control[2], message("HUN", msg::PauseWord) + " 01:00");
    EXPECT_EQ(control[3], message("HUN", msg::EndLine));

    // The texts the language files never change.
    EXPECT_EQ(buttonText("TestButton"), "Test");
    EXPECT_EQ(find<QLabel>("LabelA")->text(), "Input A");
    EXPECT_TRUE(form->windowTitle().startsWith("Vorlix Session Protocols"));

    exitApplication();
    EXPECT_EQ(readFile("trv.cff"), "0\r\nNum\r\nMagyar\r\n");
}

TEST_F(LanguageChangeTest, CancelChangesNothing) {
    const Shown before = shown();
    chooseLanguage("Magyar", false);

    EXPECT_EQ(shown(), before);
    EXPECT_EQ(form->controller().languageName(), "English");
    exitApplication();
    EXPECT_EQ(readFile("trv.cff"), "0\r\nNum\r\nEnglish\r\n");
}

TEST_F(LanguageChangeTest, AnUnlistedNameIsKeptWithTheFilesInForce) {
    const Shown before = shown();
    chooseLanguage("Klingon", true);

    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(form->controller().languagePaths().folderCode(), "ENG");
    exitApplication();
    EXPECT_EQ(readFile("trv.cff"), "0\r\nNum\r\nKlingon\r\n");
}

TEST_F(LanguageChangeTest, ATypedNameKeepsAtMost48Characters) {
    chooseLanguage(QString(60, QChar('x')), true);
    EXPECT_EQ(form->controller().languageName(), std::string(48, 'x'));
}

TEST_F(LanguageChangeTest, AMissingCaptionFileKeepsTheWindowTextsOnly) {
    writeFile("language.fld", readFile("language.fld") + "Plain PLN\r\n");
    std::filesystem::copy(path("HUN"), path("PLN"));
    removeFile("PLN/caphint.txt");
    const Shown before = shown();

    chooseLanguage("Plain", true);

    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_EQ(buttonText("ACButton"), before.addCaption);
    EXPECT_EQ(firstProtocol(), "Ellazulás és alvás");
    // Without the caption file, msg.txt isn't read either: the control lines keep the English words.
    EXPECT_EQ(lines("ControlListBox").value(1), message("ENG", msg::WaitLine));
    EXPECT_EQ(form->controller().languagePaths().folderCode(), "PLN");
}

struct BrokenLanguage {
    const char* name;
    const char* missingFile; // in the language's folder; nullptr: the folder is missing altogether
    bool damaged;            // the file is there with its first byte taken away
    int message;             // -1: the toolkit's file error of the flag
};

void PrintTo(const BrokenLanguage& broken, std::ostream* out) {
    *out << broken.name;
}

class FailingLanguageTest : public LanguageChangeTest, public testing::WithParamInterface<BrokenLanguage> {};

TEST_P(FailingLanguageTest, KeepsTheLanguageListsAndControlProgramInForce) {
    const BrokenLanguage& broken = GetParam();
    writeFile("language.fld", readFile("language.fld") + "Broken BRK\r\n");
    if (broken.missingFile != nullptr) {
        std::filesystem::copy(path("HUN"), path("BRK"));
        const std::string file = std::string("BRK/") + broken.missingFile;
        if (broken.damaged)
            writeFile(file, readFile(file).substr(1));
        else
            removeFile(file);
    }
    const Shown before = shown();

    chooseLanguage("Broken", true);

    ASSERT_EQ(errors.boxes.size(), 1u);
    if (broken.message < 0) {
        EXPECT_TRUE(errors.boxes[0].text.contains("flag.bmp")) << errors.boxes[0].text.toStdString();
        EXPECT_EQ(errors.boxes[0].title, "trv");
    } else {
        // Told in the language still in force.
        EXPECT_EQ(errors.boxes[0].text, message("ENG", broken.message));
        EXPECT_EQ(errors.boxes[0].title, message("ENG", msg::ErrorTitle));
        EXPECT_TRUE(errors.boxes[0].withSound);
    }
    EXPECT_TRUE(quits.empty());
    EXPECT_FALSE(form->startupFailed());
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(form->controller().languageName(), "English");
    EXPECT_EQ(form->controller().languagePaths().folderCode(), "ENG");

    // Nothing was left half switched: a sound language still loads afterwards.
    errors.boxes.clear();
    chooseLanguage("Magyar", true);
    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_EQ(firstProtocol(), "Ellazulás és alvás");

    chooseLanguage("Broken", true);
    exitApplication();
    EXPECT_EQ(readFile("trv.cff"), "0\r\nNum\r\nMagyar\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, FailingLanguageTest,
    testing::Values(BrokenLanguage{"NoFolder", nullptr, false, -1}, BrokenLanguage{"NoFlag", "flag.bmp", false, -1},
                    BrokenLanguage{"BadFlag", "flag.bmp", true, -1},
                    BrokenLanguage{"NoNames", "trvimpr.tvn", false, msg::NamesMissing},
                    BrokenLanguage{"BadNames", "trvimpr.tvn", true, msg::NamesDamaged},
                    BrokenLanguage{"NoProtocolTexts", "vorlix.spn", false, msg::ProtocolTextsMissing}),
    [](const testing::TestParamInfo<BrokenLanguage>& info) { return std::string(info.param.name); });

} // namespace
} // namespace trv::test
