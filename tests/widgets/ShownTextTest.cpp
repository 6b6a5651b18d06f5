// The data folder's 8-bit texts as every window shows them: decoded in one code page, shown as
// text even where they look like markup, and a chosen language saved as language.fld spells it.
#include "GuiTestSupport.h"
#include "ScriptedUser.h"
#include "SequenceTestBench.h"
#include "WindowBench.h"

#include "data/Codepage.h"
#include "data/MessageNumbers.h"
#include "widgets/DownloadDialog.h"
#include "widgets/LanguageDialog.h"
#include "widgets/StatusDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <fstream>

namespace trv::test {
namespace {

// "Dvořák" and "ellenőrzés" in the Central European code page: ř and ő have no place in the
// Western one, which shows them as "ø" and "õ".
const std::string DvorakBytes = "Dvo\xF8\xE1k";
const std::string CheckingBytes = "Ellen\xF5rz\xE9s";

// What a tool tip shows: Qt renders a hint that looks like markup as rich text.
QString shownHint(const QString& hint) {
    if (!Qt::mightBeRichText(hint))
        return hint;
    QTextDocument document;
    document.setHtml(hint);
    return document.toPlainText();
}

TEST(ShownTextTest, DeviceDialogsDecodeTheLanguageTextsLikeTheMainWindow) {
    WindowBench b;
    {
        std::vector<CatalogueProgram> programs;
        for (int number = 1; number <= b.catalogue.programCount(); ++number)
            programs.push_back(*b.catalogue.program(number));
        programs[0].shortLabel = DvorakBytes;
        ProgramCatalogue renamed = b.catalogue;
        renamed.assemble(b.catalogue.catalogueVersion(), std::move(programs), b.catalogue.distinctSteps(),
                         b.catalogue.stepMap());
        b.catalogue = std::move(renamed);
    }
    b.texts.messages.set(msg::DownloadOpened, CheckingBytes);
    b.control.Clear();
    b.control.AddSelectedProgram(0);

    DownloadDialog download(b.ctx, b.errors, b.windows);
    StatusDialog status(b.ctx, b.errors, b.windows);
    b.windows.download = &download;
    b.windows.status = &status;
    QStringList downloadLines, statusLines;
    ScriptedUser user({
        {"Start enabled", [&] { return onTop(download) && button(download, "StartButton")->isEnabled(); },
         [&] {
             downloadLines = lines(download);
             click(download, "StartButton");
         }},
        {"the running program listed", [&] { return !lines(status).isEmpty() && !lines(status)[0].isEmpty(); },
         [&] {
             statusLines = lines(status);
             status.close();
         }},
    });
    download.exec();
    ASSERT_FALSE(b.session.startPending);
    status.exec();
    ASSERT_EQ(user.done(), 2u) << "stopped waiting for " << user.waitingFor();

    EXPECT_EQ(downloadLines.value(0), QString::fromUtf8("Ellenőrzés"));
    EXPECT_EQ(statusLines.value(0), QString::fromUtf8("Dvořák"));
}

TEST(ShownTextTest, TextsThatLookLikeMarkupShowTheirCharacters) {
    WindowBench b;
    const std::string bold = "<b>Hold</b> <img src=x>";
    for (int entry : {15, 16, 18, 1, 3})
        b.texts.captions.set(entry, bold);
    StatusDialog status(b.ctx, b.errors, b.windows);
    DownloadDialog download(b.ctx, b.errors, b.windows);

    auto* label = status.findChild<QLabel*>("Label1");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromStdString(bold));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(shownHint(status.findChild<QWidget*>("ListBox1")->toolTip()), QString::fromStdString(bold));
    EXPECT_EQ(shownHint(download.findChild<QWidget*>("ListBox1")->toolTip()), QString::fromStdString(bold));
    // Hints without markup stay as they are.
    EXPECT_EQ(download.findChild<QWidget*>("StartButton")->toolTip(), "C4");
}

TEST(ShownTextTest, TheChosenLanguageIsSavedByteForByteAsTheListSpellsIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // 0x81 has no character in the code page: shown as a mark, it must not come back as '?'.
    const std::string odd = "Dansk\x81";
    const std::string magyar = "Magyar\xF5";
    {
        std::ofstream file(dir.path().toStdString() + "/language.fld", std::ios::binary);
        file << "English ENG\r\n" << odd << " DAN\r\n" << magyar << " HUN\r\n";
    }
    const DataFolder folder(dir.path().toStdString());
    for (const std::string& name : {odd, magyar}) {
        LanguageDialog dialog(folder, "English\n");
        auto* box = dialog.findChild<QComboBox*>("LanguageBox");
        ASSERT_NE(box, nullptr);
        const int index = box->findText(QString::fromStdString(DecodeToUtf8(name, Codepage::CentralEuropean)));
        ASSERT_GE(index, 0);
        dialog.LanguageBoxSelect(index);
        dialog.OKButtonClick();
        EXPECT_TRUE(dialog.confirmed());
        EXPECT_EQ(dialog.languageName(), name);
    }
    // A name typed by hand is taken in the same code page.
    LanguageDialog typed(folder, "English\n");
    typed.findChild<QComboBox*>("LanguageBox")->setEditText(QString::fromUtf8("Čeština"));
    typed.OKButtonClick();
    EXPECT_EQ(typed.languageName(), "\xC8"
                                    "e\x9Atina");
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
