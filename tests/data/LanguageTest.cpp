#include "CatalogueTestFiles.h"
#include "data/BuiltinMessages.h"
#include "data/LanguageSelection.h"
#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <set>

namespace trv {
namespace {

// Records what the core asked of the window, and in which order relative to the text tables.
class RecordingFlag : public FlagPicture {
public:
    bool succeed = true;
    std::vector<std::string> paths;
    std::vector<std::optional<std::string>> bytes;
    bool loadFlag(const std::string& path, const std::optional<std::string>& fileBytes) override {
        paths.push_back(path);
        bytes.push_back(fileBytes);
        return succeed && fileBytes.has_value();
    }
};

std::string lines(int first, int last, const char* prefix) {
    std::string text;
    for (int k = first; k <= last; ++k)
        text += prefix + std::to_string(k) + "\r\n";
    return text;
}

TEST(ReadTextLine, TurnsPlusIntoLineBreaksAndCutsAt116) {
    const std::string longLine = std::string(116, 'a') + "SPILL";
    const std::string bytes = "First+second\r\n" + longLine + "\nnext\n\nafter";
    TextLineReader file(bytes);
    EXPECT_EQ(ReadTextLine(file), "First\nsecond");
    EXPECT_EQ(ReadTextLine(file), std::string(116, 'a'));
    EXPECT_EQ(ReadTextLine(file), "next");
    EXPECT_EQ(ReadTextLine(file), "");
    EXPECT_EQ(ReadTextLine(file), "after");
    EXPECT_EQ(ReadTextLine(file), "");
}

TEST(LanguageList, NameUpToFirstSpaceThenCodeAfterTheSpaces) {
    EXPECT_EQ(ParseLanguageList("English     ENG\r\nDeutsch DEU extra\n\nShort XY\nNoSpace\n"),
              (std::vector<LanguageEntry>{{"English", "ENG"}, {"Deutsch", "DEU"}, {"Short", ""}, {"NoSpace", ""}}));
}

// The one lookup the start-up, the language dialog and trv-check share: the first line of a name decides.
TEST(LanguageList, ListedFolderCodeIsTheFirstLineOfTheNameWhenItsCodeNamesAFolder) {
    const std::vector<LanguageEntry> listed =
        ParseLanguageList("English ENG\r\nTwice DEU\r\nTwice FRA\r\nBad ../\r\nBad HUN\r\nNone\r\n");
    const struct {
        const char* name;
        std::optional<std::string> code;
    } cases[] = {
        {"English", "ENG"},        {"Twice", "DEU"},   {"Bad", std::nullopt}, {"None", std::nullopt},
        {"Klingon", std::nullopt}, {"", std::nullopt}, {"Eng", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListedFolderCode(listed, c.name), c.code) << c.name;
}

TEST(LanguageName, TypedNameIsCutTo48) {
    EXPECT_EQ(AcceptLanguageName(std::string(60, 'n')), std::string(48, 'n'));
    EXPECT_EQ(AcceptLanguageName("Magyar"), "Magyar");
}

class Language : public ::testing::Test {
protected:
    test::TempFolder temp;
    DataFolder folder = temp.folder();
    LanguagePaths paths;
    RecordingFlag flag;
    LanguageTexts texts;

    void SetUp() override {
        temp.write("language.fld", "English   ENG\r\nMagyar HUN\r\n");
        temp.write("HUN/flag.bmp", "BMhun");
        temp.write("HUN/caphint.txt", lines(1, 36, "main") + lines(0, 69, "cap"));
        temp.write("HUN/msg.txt", lines(0, 49, "msg"));
    }
};

TEST_F(Language, LoadsFlagCaptionsAndMessagesOfTheListedFolder) {
    const LanguageSelection selection = SelectLanguage("Magyar\n", folder, paths, flag, texts);
    EXPECT_TRUE(selection.listed);
    EXPECT_EQ(selection.stage, LanguageLoadStage::Complete);
    EXPECT_EQ(paths.path(LanguageFile::ProgramNames), "HUN\\trvimpr.tvn");
    ASSERT_EQ(flag.paths.size(), 1u);
    EXPECT_EQ(flag.paths[0], temp.path() + "/HUN/flag.bmp");
    EXPECT_EQ(flag.bytes[0], "BMhun");
    EXPECT_EQ(MainTextOf(texts.mainTexts, MainText::ListGroupCaption), "main1");
    EXPECT_EQ(MainTextOf(texts.mainTexts, MainText::ElectrodeGBCaption), "main36");
    EXPECT_EQ(texts.captions.text(0), "cap0");
    EXPECT_EQ(texts.captions.text(69), "cap69");
    EXPECT_EQ(texts.messages.text(49), "msg49");
}

TEST_F(Language, UnlistedNameKeepsTheFolderAndStillReloads) {
    paths.setFolderCode("HUN");
    const LanguageSelection selection = SelectLanguage("Klingon", folder, paths, flag, texts);
    EXPECT_FALSE(selection.listed);
    EXPECT_EQ(paths.folderCode(), "HUN");
    EXPECT_EQ(selection.stage, LanguageLoadStage::Complete);
}

TEST_F(Language, MissingFlagStopsEverythingAfterTheFolderChange) {
    temp.write("language.fld", "Magyar HUN\r\nEesti EST\r\n");
    temp.write("EST/caphint.txt", "should not be read\r\n");
    const LanguageSelection selection = SelectLanguage("Eesti", folder, paths, flag, texts);
    EXPECT_EQ(selection.stage, LanguageLoadStage::FlagFailed);
    EXPECT_EQ(paths.folderCode(), "EST");
    EXPECT_FALSE(flag.bytes[0].has_value());
    EXPECT_EQ(MainTextOf(texts.mainTexts, MainText::ListGroupCaption), "");
}

TEST_F(Language, MissingCaptionsSkipMessagesMissingMessagesKeepTable) {
    ASSERT_EQ(SelectLanguage("Magyar", folder, paths, flag, texts).stage, LanguageLoadStage::Complete);
    temp.write("HUN/msg.txt", "");
    std::filesystem::remove(temp.path() + "/HUN/caphint.txt");
    temp.write("HUN/msg.txt", "new0\r\n");
    EXPECT_EQ(ApplyLanguageTexts(folder, paths, flag, texts), LanguageLoadStage::CaptionsMissing);
    EXPECT_EQ(texts.messages.text(0), "msg0");

    temp.write("HUN/caphint.txt", "only+one\r\n");
    std::filesystem::remove(temp.path() + "/HUN/msg.txt");
    EXPECT_EQ(ApplyLanguageTexts(folder, paths, flag, texts), LanguageLoadStage::MessagesMissing);
    // Past the end of a short caphint.txt the window texts and caption entry 0 become empty.
    EXPECT_EQ(MainTextOf(texts.mainTexts, MainText::ListGroupCaption), "only\none");
    EXPECT_EQ(MainTextOf(texts.mainTexts, MainText::ProgListBoxHint), "");
    EXPECT_EQ(texts.captions.text(0), "");
    EXPECT_EQ(texts.captions.text(1), "cap1");
    EXPECT_EQ(texts.messages.text(0), "msg0");
}

TEST_F(Language, EmptyLineTenOfMessagesEndsTheFill) {
    ASSERT_EQ(SelectLanguage("Magyar", folder, paths, flag, texts).stage, LanguageLoadStage::Complete);
    temp.write("HUN/msg.txt", lines(0, 8, "new") + "\r\n" + lines(10, 12, "new"));
    EXPECT_EQ(ApplyLanguageTexts(folder, paths, flag, texts), LanguageLoadStage::Complete);
    EXPECT_EQ(texts.messages.text(8), "new8");
    EXPECT_EQ(texts.messages.text(9), "");
    EXPECT_EQ(texts.messages.text(10), "msg10");
    EXPECT_EQ(texts.messages.text(49), "msg49");
}

// Without a msg.txt, or with one that ends before the newer messages, every message the windows
// show still has words; a file's message names the file.
TEST(BuiltinMessages, EveryMessageShownHasWordsWhereNoFileGaveAny) {
    const struct {
        int message;
        const char* names;
    } used[] = {
        {msg::ErrorTitle, ""},
        {msg::CatalogueMissing, "trvimpr.tvb"},
        {msg::CatalogueDamaged, "trvimpr.tvb"},
        {msg::NamesMissing, "trvimpr.tvn"},
        {msg::NamesDamaged, "trvimpr.tvn"},
        {msg::NamesMismatch, "trvimpr.tvn"},
        {msg::NoDevice, ""},
        {msg::DeviceTooOld, ""},
        {msg::LowPower, ""},
        {msg::VerifyFailed, ""},
        {msg::BadReply, ""},
        {msg::StartRefused, ""},
        {msg::EndLine, ""},
        {msg::WaitLine, ""},
        {msg::PauseWord, ""},
        {msg::DownloadOpened, ""},
        {msg::FetchingBaseState, ""},
        {msg::TransferStarted, ""},
        {msg::VerifiedLine1, ""},
        {msg::VerifiedLine2, ""},
        {msg::IdleHeading, ""},
        {msg::StateHeld, ""},
        {msg::StateWaiting, ""},
        {msg::StateLowPower, ""},
        {msg::StateIdle, ""},
        {msg::IdleValue, "*"},
        {msg::EmptyReply, ""},
        {msg::ProtocolTextsMissing, "vorlix.spn"},
        {msg::ProtocolFileMissing, "vorlix.spb"},
        {msg::ProtocolFileDamaged, "vorlix.spb"},
        {msg::TooManySteps, ""},
        {msg::TooManyIndexEntries, ""},
        {msg::TooManyTherapySlots, ""},
        {msg::UnknownProgram, ""},
        {msg::DevicePermission, ""},
    };
    // A msg.txt from before messages 41 to 45.
    const std::string olderFile = lines(0, 40, "msg");
    TextLineReader file(olderFile);
    MessageTable messages;
    FillTextTable(messages, file);
    for (const auto& c : used) {
        const std::string builtin = MessageText(MessageTable{}, c.message);
        EXPECT_FALSE(builtin.empty()) << c.message;
        EXPECT_EQ(builtin.find("Unexpected"), std::string::npos) << c.message;
        EXPECT_NE(builtin.find(c.names), std::string::npos) << c.message;
        EXPECT_EQ(builtin.find('+'), std::string::npos) << c.message; // line breaks are made already
        // Texts the file has win; past its end the built-in ones stand in.
        EXPECT_EQ(MessageText(messages, c.message), c.message <= 40 ? "msg" + std::to_string(c.message) : builtin);
    }
    EXPECT_EQ(MessageText(MessageTable{}, msg::Count), "");
}

// The lists trv-check reads as "in use" against the tables that show the texts.
TEST(TextsInUse, MatchWhatTheMainWindowAppliesAndWhatHasABuiltInText) {
    std::set<MainText> applied;
    for (const MainTextBinding& binding : MainTextBindings())
        applied.insert(binding.source);
    EXPECT_EQ(applied, std::set<MainText>(std::begin(caption::MainInUse), std::end(caption::MainInUse)));
    for (const int k : msg::InUse)
        EXPECT_EQ(BuiltinMessage(k).find("Unexpected"), std::string::npos) << k;
}

TEST(MainTextBindings, PageCaptionsAreCopiedAfterTheirLines) {
    const auto bindings = MainTextBindings();
    int listGroupLast = -1, protocolGB = -1;
    for (size_t k = 0; k < bindings.size(); ++k) {
        const std::string control = bindings[k].control;
        if (control == "ListGroup")
            listGroupLast = static_cast<int>(bindings[k].source);
        if (control == "ProtocolGB")
            protocolGB = static_cast<int>(bindings[k].source);
        EXPECT_NE(bindings[k].source, MainText::Unused31);
        EXPECT_NE(bindings[k].source, MainText::Unused32);
    }
    EXPECT_EQ(listGroupLast, 34); // line 35, the programs page caption
    EXPECT_EQ(protocolGB, 32);    // line 33
    EXPECT_EQ(bindings.size(), 34u + 5u);
}

} // namespace
} // namespace trv
