#include "program/ControlProgram.h"

#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace trv {
namespace {

using Lines = std::vector<std::string>;

std::string Message(int k) {
    switch (k) {
    case msg::EndLine:
        return "<end>";
    case msg::WaitLine:
        return "Wait";
    case msg::PauseWord:
        return "Pause";
    default:
        return "?" + std::to_string(k);
    }
}

// Programs 1..count, program k running k minutes, short label "%3d Name k [x]".
ProgramCatalogue Catalogue(int count, const std::string& name = "Name") {
    std::vector<CatalogueProgram> programs;
    for (int k = 1; k <= count; ++k) {
        CatalogueProgram program;
        program.number = k;
        program.runningSeconds = static_cast<uint32_t>(k * 60);
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%3d ", k);
        program.shortLabel = prefix + name + " " + std::to_string(k) + " [x]";
        programs.push_back(program);
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), {}, {});
    return catalogue;
}

EditButtonStates TableStates(const ControlProgram& control) {
    return EditButtonStates{control.itemCount() < MaxControlItems,
                            control.entries()[static_cast<size_t>(control.selected())].kind != KindEndMarker,
                            control.itemCount() > 0};
}

class ControlProgramTest : public testing::Test {
protected:
    ProgramCatalogue catalogue = Catalogue(30);
    ControlProgram control{catalogue, Message};
};

TEST_F(ControlProgramTest, StartsWithTheEndLineOnly) {
    EXPECT_EQ(control.count(), 1);
    EXPECT_EQ(control.selected(), 0);
    EXPECT_EQ(control.lines(), (Lines{"<end>"}));
    EXPECT_EQ(control.totalText(), "00:00");
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, false}));
}

TEST_F(ControlProgramTest, ProgramPauseAndWaitAreAppended) {
    ASSERT_TRUE(control.AddSelectedProgram(2));
    ASSERT_TRUE(control.AddPause("2", "30").added);
    ASSERT_TRUE(control.AddWait());
    EXPECT_EQ(control.lines(), (Lines{"  3 Name 3 ", "Pause 02:30", "Wait", "<end>"}));
    EXPECT_EQ(control.totalSeconds(), 180 + 150);
    EXPECT_EQ(control.totalText(), "05:30");
    EXPECT_EQ(control.selected(), 3);
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, true}));
    EXPECT_EQ(control.items()[0], (ControlEntry{KindProgram, 2}));
    EXPECT_EQ(control.items()[1], (ControlEntry{2, 30}));
    EXPECT_EQ(control.items()[2], (ControlEntry{KindWait, 0}));
}

TEST_F(ControlProgramTest, InsertsAboveTheSelectedLine) {
    control.AddSelectedProgram(0);
    control.AddSelectedProgram(1);
    ASSERT_TRUE(control.SelectLine(0));
    EXPECT_TRUE(control.buttons().remove);
    control.AddWait();
    EXPECT_EQ(control.lines(), (Lines{"Wait", "  1 Name 1 ", "  2 Name 2 ", "<end>"}));
    EXPECT_EQ(control.selected(), 1); // still on the former first line
    EXPECT_FALSE(control.SelectLine(4));
    EXPECT_FALSE(control.SelectLine(-1));
    EXPECT_EQ(control.selected(), 1);
}

TEST_F(ControlProgramTest, TwentyItemsFillTheProgram) {
    for (int k = 0; k < MaxControlItems; ++k)
        ASSERT_TRUE(control.AddWait()) << k;
    EXPECT_EQ(control.count(), MaxControlEntries);
    EXPECT_FALSE(control.buttons().add);
    const Lines full = control.lines();
    EXPECT_FALSE(control.AddSelectedProgram(0)); // a double-click still reaches the refusal
    EXPECT_FALSE(control.AddPause("1", "0").added);
    EXPECT_TRUE(control.AddPause("1", "0").error.empty());
    EXPECT_EQ(control.lines(), full);

    control.SelectLine(5);
    ASSERT_TRUE(control.DeleteSelected());
    EXPECT_TRUE(control.buttons().add);
    EXPECT_EQ(control.itemCount(), 19);
}

TEST_F(ControlProgramTest, DeleteSelectsTheFollowingLine) {
    control.AddSelectedProgram(0);
    control.AddWait();
    control.SelectLine(0);
    ASSERT_TRUE(control.DeleteSelected());
    EXPECT_EQ(control.lines(), (Lines{"Wait", "<end>"}));
    EXPECT_EQ(control.selected(), 0);
    EXPECT_TRUE(control.buttons().remove);
    EXPECT_TRUE(control.buttons().download);

    ASSERT_TRUE(control.DeleteSelected());
    EXPECT_EQ(control.lines(), (Lines{"<end>"}));
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, false}));
    EXPECT_FALSE(control.DeleteSelected()); // the end line is never deleted
    EXPECT_EQ(control.count(), 1);
}

TEST_F(ControlProgramTest, DeletingTheLastItemLeavesTheEndLineSelected) {
    control.AddWait();
    control.AddSelectedProgram(3);
    control.SelectLine(1);
    ASSERT_TRUE(control.DeleteSelected());
    EXPECT_EQ(control.selected(), 1);
    EXPECT_FALSE(control.buttons().remove);
}

TEST_F(ControlProgramTest, ClearEmptiesTheProgram) {
    control.AddSelectedProgram(0);
    control.AddWait();
    control.SelectLine(0);
    control.Clear();
    EXPECT_EQ(control.lines(), (Lines{"<end>"}));
    EXPECT_EQ(control.selected(), 0);
    EXPECT_EQ(control.totalText(), "00:00");
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, false}));
}

TEST_F(ControlProgramTest, LoadsThreeProgramsWithPausesBetween) {
    control.AddWait();
    const uint32_t list[16] = {5, 2, 9, 0, 7};
    control.LoadProgramList(list);
    EXPECT_EQ(control.lines(),
              (Lines{"  5 Name 5 ", "Pause 01:00", "  2 Name 2 ", "Pause 01:00", "  9 Name 9 ", "<end>"}));
    EXPECT_EQ(control.totalSeconds(), (5 + 1 + 2 + 1 + 9) * 60);
    EXPECT_EQ(control.selected(), 5);
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, true}));
}

TEST_F(ControlProgramTest, CapacityCutsTwelvePrograms) {
    const uint32_t twelve[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0};
    control.LoadProgramList(twelve);
    ASSERT_EQ(control.itemCount(), 20);
    for (int k = 0; k < 20; ++k) {
        const ControlEntry& entry = control.items()[static_cast<size_t>(k)];
        if (k % 2 == 0)
            EXPECT_EQ(entry, (ControlEntry{KindProgram, k / 2})) << k;
        else
            EXPECT_EQ(entry, (ControlEntry{1, 0})) << k;
    }
    EXPECT_FALSE(control.buttons().add);

    // A short list right after a full one enables the add buttons again.
    const int32_t one[] = {4, 0};
    control.LoadProgramList(one);
    EXPECT_EQ(control.lines(), (Lines{"  4 Name 4 ", "<end>"}));
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, true}));

    const int32_t none[] = {0, 3};
    control.LoadProgramList(none);
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, false}));
}

TEST_F(ControlProgramTest, TotalMinutesAreNotLimitedToTwoDigits) {
    control.AddSelectedProgram(29); // 30 minutes
    for (int k = 0; k < 3; ++k)
        control.AddPause("23", "20");
    EXPECT_EQ(control.totalSeconds(), 6000);
    EXPECT_EQ(control.totalText(), "100:00");
    control.AddPause("25", "0");
    EXPECT_EQ(control.totalText(), "125:00");
}

struct PauseCase {
    const char* minutes;
    const char* seconds;
    bool added;
    std::string error;
    const char* line;
};

void PrintTo(const PauseCase& c, std::ostream* os) {
    *os << "'" << c.minutes << "' '" << c.seconds << "'";
}

class AddPauseTest : public testing::TestWithParam<PauseCase> {};

TEST_P(AddPauseTest, ConvertsAndChecksTheTexts) {
    const ProgramCatalogue catalogue;
    ControlProgram control(catalogue, Message);
    const PauseCase& c = GetParam();
    const AddPauseResult result = control.AddPause(c.minutes, c.seconds);
    EXPECT_EQ(result.added, c.added);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(control.itemCount(), c.added ? 1 : 0);
    if (c.added) {
        EXPECT_EQ(control.lines()[0], c.line);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AddPauseTest,
    testing::Values(PauseCase{"1", "0", true, "", "Pause 01:00"}, PauseCase{"0", "5", true, "", "Pause 00:05"},
                    PauseCase{"99", "59", true, "", "Pause 99:59"}, PauseCase{" 7", "+3", true, "", "Pause 07:03"},
                    PauseCase{"0", "0", false, "", ""}, PauseCase{"-0", "00", false, "", ""},
                    PauseCase{"abc", "0", false, "'abc' is not a valid integer value", ""},
                    PauseCase{"", "0", false, "'' is not a valid integer value", ""},
                    PauseCase{"5 ", "0", false, "'5 ' is not a valid integer value", ""},
                    PauseCase{"1", "1.5", false, "'1.5' is not a valid integer value", ""},
                    PauseCase{"x", "y", false, "'x' is not a valid integer value", ""},
                    PauseCase{"99999999999", "0", false, "'99999999999' is not a valid integer value", ""},
                    PauseCase{"-1", "0", false, "'-1' is not a valid number of minutes (0 to 99)", ""},
                    PauseCase{"-3", "30", false, "'-3' is not a valid number of minutes (0 to 99)", ""},
                    PauseCase{"100", "0", false, "'100' is not a valid number of minutes (0 to 99)", ""},
                    PauseCase{"0", "60", false, "'60' is not a valid number of seconds (0 to 59)", ""},
                    PauseCase{"2", "-1", false, "'-1' is not a valid number of seconds (0 to 59)", ""}));

TEST(ParseIntegerText, Bounds) {
    int32_t value = 0;
    EXPECT_TRUE(ParseIntegerText("2147483647", value));
    EXPECT_EQ(value, 2147483647);
    EXPECT_TRUE(ParseIntegerText("-2147483648", value));
    EXPECT_EQ(value, INT32_MIN);
    EXPECT_FALSE(ParseIntegerText("2147483648", value));
    EXPECT_FALSE(ParseIntegerText("-", value));
    EXPECT_FALSE(ParseIntegerText("   ", value));
}

TEST(ControlProgramLabels, TakenFromTheCatalogueAtRefresh) {
    ProgramCatalogue catalogue = Catalogue(3);
    ControlProgram control(catalogue, Message);
    control.AddSelectedProgram(1);
    EXPECT_EQ(control.lines()[0], "  2 Name 2 ");
    catalogue = Catalogue(3, "Nom");
    control.RefreshControlList();
    EXPECT_EQ(control.lines()[0], "  2 Nom 2 ");
}

TEST(ControlProgramLabels, CutAtThirtyOneCharacters) {
    ProgramCatalogue catalogue = Catalogue(1, std::string(40, 'n'));
    ControlProgram control(catalogue, Message);
    control.AddSelectedProgram(0);
    EXPECT_EQ(control.lines()[0], "  1 " + std::string(27, 'n'));
    EXPECT_FALSE(control.AddSelectedProgram(1));  // not a catalogue program
    EXPECT_FALSE(control.AddSelectedProgram(-1)); // nothing selected
    EXPECT_EQ(control.itemCount(), 1);
}

TEST_F(ControlProgramTest, SelfTestIsPutBackAfterwards) {
    control.AddSelectedProgram(4);
    control.AddPause("3", "0");
    control.SelectLine(1);
    const ControlProgram::Snapshot composed = control.Save();
    const Lines lines = control.lines();

    control.LoadSelfTest(catalogue.programCount());
    EXPECT_EQ(control.count(), 2);
    EXPECT_EQ(control.items()[0], (ControlEntry{KindProgram, 30}));
    EXPECT_EQ(control.lines(), (Lines{"", "<end>"}));
    EXPECT_EQ(control.totalSeconds(), 0);

    control.Restore(composed);
    EXPECT_EQ(control.lines(), lines);
    EXPECT_EQ(control.selected(), 1);
    EXPECT_EQ(control.totalSeconds(), 5 * 60 + 180);
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, true, true}));
}

TEST_F(ControlProgramTest, RestoreRefusesABrokenSnapshot) {
    control.AddWait();
    ControlProgram::Snapshot broken;
    broken.count = 3;
    broken.entries[0] = ControlEntry{-7, 0};
    broken.entries[2] = ControlEntry{};
    control.Restore(broken);
    EXPECT_EQ(control.lines(), (Lines{"<end>"}));
    EXPECT_EQ(control.buttons(), (EditButtonStates{true, false, false}));
}

TEST_F(ControlProgramTest, InsertRefusesWhatIsNotAnItem) {
    EXPECT_FALSE(control.InsertControlItem(KindEndMarker, 0));
    EXPECT_FALSE(control.InsertControlItem(-4, 0));
    EXPECT_FALSE(control.InsertControlItem(100, 0));
    EXPECT_FALSE(control.InsertControlItem(1, 60));
    EXPECT_FALSE(control.InsertControlItem(KindProgram, -1));
    EXPECT_EQ(control.count(), 1);
}

TEST_F(ControlProgramTest, ButtonStatesFollowTheTableThroughAnyEditing) {
    std::mt19937 random(7);
    for (int step = 0; step < 2000; ++step) {
        switch (random() % 7) {
        case 0:
            control.AddSelectedProgram(static_cast<int>(random() % 30));
            break;
        case 1:
            control.AddPause(std::to_string(random() % 3), std::to_string(random() % 3));
            break;
        case 2:
            control.AddWait();
            break;
        case 3:
            control.DeleteSelected();
            break;
        case 4:
            control.SelectLine(static_cast<int>(random() % 22));
            break;
        case 5:
            if (random() % 10 == 0)
                control.Clear();
            break;
        default: {
            const uint32_t list[3] = {static_cast<uint32_t>(random() % 30 + 1), 3, 0};
            if (random() % 10 == 0)
                control.LoadProgramList(list);
        }
        }
        ASSERT_EQ(control.buttons(), TableStates(control)) << "step " << step;
        ASSERT_EQ(control.lines().size(), static_cast<size_t>(control.count()));
        ASSERT_EQ(control.entries().back().kind, KindEndMarker);
    }
}

} // namespace
} // namespace trv
