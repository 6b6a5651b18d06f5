#include "logic/StatusDisplay.h"
#include "SequenceTestBench.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trv::test {
namespace {

using Lines = std::vector<std::string>;
using L = StatusDisplay;

TEST(StatusDisplayTest, TimeLines) {
    const std::vector<std::pair<uint16_t, std::string>> cases{{75, "   1:15"}, {3725, "  62:05"}, {0, "   0:00"},
                                                              {59, "   0:59"}, {600, "  10:00"},  {65535, "  1092:15"}};
    for (const auto& [seconds, line] : cases)
        EXPECT_EQ(StatusDisplay::FormatTimeLine(seconds), line) << seconds;
}

TEST(StatusDisplayTest, PowerBar) {
    const std::vector<std::pair<int, int>> cases{{0, 0},    {109, 0},  {110, 3},   {111, 7},
                                                 {112, 11}, {122, 50}, {135, 100}, {255, 100}};
    for (const auto& [level, bar] : cases)
        EXPECT_EQ(StatusDisplay::PowerBarPosition(level), bar) << level;
}

TEST(StatusDisplayTest, ProgressIsTheElapsedShareAndSurvivesAZeroTotal) {
    struct Case {
        uint32_t remaining, total;
        int bar;
    };
    for (const Case& c : {Case{90, 300, 70}, Case{300, 300, 0}, Case{0, 300, 100}, Case{1, 3, 67}, Case{0, 0, 0},
                          Case{5, 0, 0}, Case{400, 300, 0}, Case{65535, 65535, 0}})
        EXPECT_EQ(StatusDisplay::ProgressPosition(c.remaining, c.total), c.bar) << c.remaining << "/" << c.total;
}

TEST(StatusDisplayTest, IdleValueGoesWhereTheStarIs) {
    EXPECT_EQ(StatusDisplay::IdleValueLine("Sessions: *", 42), "Sessions: 42");
    EXPECT_EQ(StatusDisplay::IdleValueLine("Runs * so far", 7), "Runs 7");
    EXPECT_EQ(StatusDisplay::IdleValueLine("*", -1), "-1");
    EXPECT_EQ(StatusDisplay::IdleValueLine("Runs", 7), "Runs 7");
    EXPECT_EQ(StatusDisplay::IdleValueLine("", 7), "7");
}

TEST(StatusDisplayTest, StatusLineIsWrittenOnlyWhenTheCodeChanges) {
    const LanguageTexts texts = NumberedTexts();
    StatusDisplay display;
    const std::vector<std::pair<int, std::string>> texts_by_code{{0, "M32"},  {15, "M32"}, {17, "M31"},
                                                                 {18, "M29"}, {20, "M30"}, {1, "M0"}};
    for (const auto& [code, text] : texts_by_code) {
        display.StatusLine(code, texts.messages);
        EXPECT_EQ(display.lines(L::StatusLineList), (Lines{text})) << code;
    }
    const int written = display.revision(L::StatusLineList);
    display.StatusLine(1, texts.messages);
    EXPECT_EQ(display.revision(L::StatusLineList), written);

    display.Clear();
    EXPECT_TRUE(display.lines(L::StatusLineList).empty());
    display.StatusLine(1, texts.messages);
    EXPECT_EQ(display.lines(L::StatusLineList), (Lines{"M0"}));
}

TEST(StatusDisplayTest, ProgramListLines) {
    const LanguageTexts texts = NumberedTexts();
    const ProgramCatalogue catalogue = CatalogueOf(3, {{0}, {1, 2}});
    DeviceImage image;
    image.items[0] = {ItemProgram, 2, 0, 0, 0};
    image.items[1] = {ItemPause, 0, 0, 0, 300};
    image.items[2] = {ItemWait, 0, 0, 0, 0};
    image.items[3] = {ItemPause, 0, 0, 0, 3725};
    image.items[4] = {ItemProgram, 999, 0, 0, 0};
    image.itemCount = 5;
    StatusDisplay display;
    display.ShowProgramList(image, catalogue, texts.messages, 3);
    EXPECT_EQ(display.lines(L::ProgramList), (Lines{"Prog2", "M19 5:00", "M17", "M1962:05", "999"}));
    EXPECT_EQ(display.highlightedLine(), 2);

    display.ShowProgramList(image, catalogue, texts.messages, 0);
    EXPECT_EQ(display.highlightedLine(), -1);
    display.Highlight(5);
    EXPECT_EQ(display.highlightedLine(), -1);
}

TEST(StatusDisplayTest, RunningAndWaitingFigures) {
    const LanguageTexts texts = NumberedTexts();
    StatusDisplay display;
    RunState state;
    state.stateCode = 1;
    state.powerLevel = 122;
    state.programRemaining = 90;
    state.programTotal = 300;
    state.itemRemaining = 75;
    state.itemTotal = 3725;
    display.RunningFigures(1, state, texts.messages);
    EXPECT_EQ(display.lines(L::WholeRemaining), (Lines{"   1:30"}));
    EXPECT_EQ(display.lines(L::WholeTotal), (Lines{"   5:00"}));
    EXPECT_EQ(display.lines(L::ItemRemaining), (Lines{"   1:15"}));
    EXPECT_EQ(display.lines(L::ItemTotal), (Lines{"  62:05"}));
    EXPECT_EQ(display.powerBar(), 50);
    EXPECT_EQ(display.lastPowerLevel(), 122);
    EXPECT_EQ(display.progressBar(), 70);

    // Waiting: new whole-program figures and power, each distinct from the others and from
    // the running ones, so a figure taken from the wrong field shows; the item times are not shown.
    state.stateCode = devstate::Waiting;
    state.powerLevel = 130;
    state.programRemaining = 150;
    state.programTotal = 600;
    display.WaitingFigures(state, texts.messages);
    EXPECT_EQ(display.lines(L::WholeRemaining), (Lines{"   2:30"}));
    EXPECT_EQ(display.lines(L::WholeTotal), (Lines{"  10:00"}));
    EXPECT_TRUE(display.lines(L::ItemRemaining).empty());
    EXPECT_TRUE(display.lines(L::ItemTotal).empty());
    EXPECT_EQ(display.lines(L::StatusLineList), (Lines{"M30"}));
    EXPECT_EQ(display.powerBar(), 80);
    EXPECT_EQ(display.lastPowerLevel(), 130);
    EXPECT_EQ(display.progressBar(), 75);
}

TEST(StatusDisplayTest, WrcModesTakeTheirCaptionTableEntries) {
    const LanguageTexts texts = NumberedTexts();
    StatusDisplay display;
    const std::vector<std::tuple<WrcMode, std::string, std::string>> cases{{WrcMode::None, "C27", "C28"},
                                                                           {WrcMode::Wait, "C27", "C28"},
                                                                           {WrcMode::Continue, "C12", "C13"},
                                                                           {WrcMode::Resume, "C43", "C44"}};
    for (const auto& [mode, caption, hint] : cases) {
        display.SetWrcMode(mode, texts.captions);
        EXPECT_EQ(display.wrcMode(), mode);
        EXPECT_EQ(display.wrcCaption(), caption);
        EXPECT_EQ(display.wrcHint(), hint);
    }
}

} // namespace
} // namespace trv::test
