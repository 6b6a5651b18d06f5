// Texts from the language files are data: a "%s", "%n" or "%d" in a name, a caption, a message or
// a typed language name is shown exactly as the file holds it, on every path that builds a line.
#include "data/LanguageSelection.h"
#include "data/ProgramNames.h"
#include "data/ProtocolBrowser.h"
#include "data/ProtocolTexts.h"
#include "data/Settings.h"
#include "logic/StatusDisplay.h"
#include "program/ControlProgram.h"

#include <gtest/gtest.h>

#include <string>

namespace trv {
namespace {

const std::string Conversions = "%s%n%x%d%%%1";

// Two programs named with conversions, accepted by the names parser as the file holds them.
class NamedCatalogue : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<CatalogueProgram> programs(2);
        programs[0] = {1, 90, 0, 0, "", ""};
        programs[1] = {2, 300, 0, 0, "", ""};
        catalogue.assemble(7, programs, {}, {});
        const std::string lines[] = {"2 " + Conversions, "1 Name %n with a long tail %s%s%s%s%s%s"};
        std::string file = "#7\r\n";
        std::int64_t sum = 0;
        for (const std::string& line : lines) {
            file += line + "\r\n";
            for (char c : line)
                sum += static_cast<int8_t>(c);
        }
        file += "#" + std::to_string(NamesChecksum(sum)) + " 2\r\n";
        ProgramNamesResult names = ParseProgramNames(file, catalogue);
        ASSERT_TRUE(names.outcome.ok()) << names.outcome.message;
        catalogue.applyNames(std::move(names.names));
    }
    ProgramCatalogue catalogue;
};

TEST_F(NamedCatalogue, LabelsAndProgramListLinesKeepTheNames) {
    EXPECT_EQ(catalogue.program(2)->shortLabel, "  2 " + Conversions);
    EXPECT_EQ(catalogue.program(1)->shortLabel, "  1 Name %n with a long tail..."); // cut after 24 characters
    EXPECT_EQ(*catalogue.longLabel(2), Conversions + " [05:00]");
    EXPECT_EQ(catalogue.programListLines(ListOrder::Numerical),
              (std::vector<std::string>{"  1 Name %n with a long tail %s%s%s%s%s%s [01:30]",
                                        "  2 " + Conversions + " [05:00]"}));
    EXPECT_EQ(
        catalogue.programListLines(ListOrder::Alphabetical),
        (std::vector<std::string>{Conversions + " [05:00] (2)", "Name %n with a long tail %s%s%s%s%s%s [01:30] (1)"}));
    SessionProgramList list;
    list.slots = {2, 1};
    EXPECT_EQ(SessionProgramLines(list, catalogue),
              (std::vector<std::string>{"  2 " + Conversions + " [05:00]",
                                        "  1 Name %n with a long tail %s%s%s%s%s%s [01:30]"}));
}

TEST_F(NamedCatalogue, ControlListLinesKeepLabelsAndMessages) {
    MessageTable messages;
    messages.set(16, "end %s");
    messages.set(17, "wait %n");
    messages.set(19, "pause %d%s");
    ControlProgram control(catalogue, [&messages](int k) { return messages.text(k); });
    control.AddSelectedProgram(1);
    control.InsertControlItem(1, 30);
    control.AddWait();
    EXPECT_EQ(control.lines(),
              (std::vector<std::string>{"  2 " + Conversions, "pause %d%s 01:30", "wait %n", "end %s"}));
    EXPECT_EQ(control.totalText(), "06:30");
}

TEST_F(NamedCatalogue, StatusLinesKeepLabelsAndMessages) {
    MessageTable messages;
    messages.set(0, "%s state");
    messages.set(17, "%n wait");
    messages.set(19, "%s%n ");
    messages.set(27, "%d heading");
    messages.set(32, "idle %n");
    messages.set(34, "%n%s runs: * %d after the star");
    messages.set(37, "%s empty");

    ImageItem program{ItemProgram, 2, 0, 0, 300};
    ImageItem pause{ItemPause, 0, 0, 0, 300};
    ImageItem wait{ItemWait, 0, 0, 0, 0};
    EXPECT_EQ(StatusDisplay::ProgramListLine(program, catalogue, messages), "  2 " + Conversions);
    EXPECT_EQ(StatusDisplay::ProgramListLine(pause, catalogue, messages), "%s%n  5:00");
    EXPECT_EQ(StatusDisplay::ProgramListLine(wait, catalogue, messages), "%n wait");
    EXPECT_EQ(StatusDisplay::IdleValueLine(messages.text(34), -42), "%n%s runs: -42");

    StatusDisplay display;
    BaseState idle;
    idle.value = 42;
    idle.powerLevel = 130; // not low: the empty-reply notice is message 37 alone
    display.IdleSummary(idle, messages);
    EXPECT_EQ(display.lines(StatusDisplay::ProgramList),
              (std::vector<std::string>{"", "", "%d heading", "", "%n%s runs: 42"}));
    EXPECT_EQ(display.lines(StatusDisplay::StatusLineList), std::vector<std::string>{"idle %n"});
    display.StatusLine(9, messages);
    EXPECT_EQ(display.lines(StatusDisplay::StatusLineList), std::vector<std::string>{"%s state"});
    display.EmptyReplyNotice(messages);
    EXPECT_EQ(display.lines(StatusDisplay::ProgramList), std::vector<std::string>{"%s empty"});
}

TEST(FileTexts, ProtocolTextsAndElectrodeNamesAreKeptAsTheyAre) {
    const ProtocolTexts texts =
        ParseProtocolTexts("#E\r\n%s%n%s%n%s%n%s%n%s%n\r\n#P\r\n%n tree\r\n  %s item\r\n#S\r\n%d\r\n");
    EXPECT_EQ(texts.electrodeNames, std::vector<std::string>{"%s%n%s%n%s%n%s%n%s%"}); // 19 characters kept
    ASSERT_EQ(texts.protocols.size(), 1u);
    EXPECT_EQ(texts.protocols[0].text, "%n tree");
    EXPECT_EQ(texts.protocols[0].items, std::vector<std::string>{"%s item"});
    EXPECT_EQ(texts.sessionLines, std::vector<std::string>{"%d"});
}

TEST(FileTexts, MessageAndCaptionLinesKeepConversionsAndTurnOnlyPlusIntoLineBreaks) {
    TextLineReader file("%s+%n\r\n%d%%\r\n\r\nnot read\r\n");
    MessageTable messages;
    FillTextTable(messages, file);
    EXPECT_EQ(messages.text(0), "%s\n%n");
    EXPECT_EQ(messages.text(1), "%d%%");
    EXPECT_EQ(messages.text(2), "");
    EXPECT_EQ(messages.text(3), "");
}

TEST(FileTexts, ATypedLanguageNameWithConversionsIsWrittenAndReadBackAsItIs) {
    Settings settings;
    settings.languageName = AcceptLanguageName("%s%n%d");
    const std::string bytes = SettingsFileBytes(settings);
    EXPECT_EQ(bytes, "0\r\nNum\r\n%s%n%d\r\n");
    const LoadedSettings loaded = LoadSettings(bytes);
    EXPECT_TRUE(loaded.languageLineRead);
    EXPECT_EQ(loaded.settings.languageName, "%s%n%d");
    EXPECT_EQ(ParseLanguageList("%s%n ENG\r\n"), (std::vector<LanguageEntry>{{"%s%n", "ENG"}}));
}

} // namespace
} // namespace trv
