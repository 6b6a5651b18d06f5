#include "StatusTestBench.h"

#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace trv::test {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;
using Step = StatusSequence::Step;
using L = StatusDisplay;

const Bytes BaseStateBytes{0xC0, 0x02, 0xA4, 0x00};
const Bytes RunStateBytes{0xC0, 0x02, 0xA4, 0x01};
const Lines IdleSummaryCount1{"", "", "M27", "", "Count: 1"};

std::vector<long long> differences(const std::vector<long long>& times) {
    std::vector<long long> out;
    for (size_t k = 1; k < times.size(); ++k)
        out.push_back(times[k] - times[k - 1]);
    return out;
}

TEST(StatusSequenceTest, WithoutDeviceTheNoticeStaysAndTheBaseStateIsAskedEverySecond) {
    StatusBench b;
    b.device.unplug();
    b.status.FormActivate();
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M6"}));
    EXPECT_EQ(b.status.step(), Step::GetBaseState);
    EXPECT_EQ(b.statusTimer.interval(), 1000);
    const int revision = b.display().revision(L::ProgramList);

    b.ticks(3);
    EXPECT_EQ(b.display().revision(L::ProgramList), revision); // written once, not every second
    EXPECT_EQ(b.statusTimer.interval(), 1000);
    EXPECT_TRUE(b.statusTimer.enabled());

    // Plugged in: the idle summary follows without reopening.
    b.device.replug();
    b.ticks(2);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"", "", "M27", "", "Count: 0"}));
    EXPECT_EQ(b.list(L::StatusLineList), (Lines{"M32"}));
    EXPECT_FALSE(b.statusTimer.enabled());
}

TEST(StatusSequenceTest, ADeviceThatCannotBeOpenedAddsTheUdevHintToTheNotice) {
    StatusBench b;
    b.device.setOpenRefusal("Permission denied");
    b.status.FormActivate();
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M6", "M45"}));
}

TEST(StatusSequenceTest, ASecondOpeningWithoutDeviceShowsTheNoticeAgain) {
    StatusBench b;
    b.device.unplug();
    b.status.FormActivate();
    b.ticks(2);
    b.status.CloseButtonClick();
    EXPECT_EQ(b.statusView.closed, 1);
    EXPECT_FALSE(b.statusTimer.enabled());

    b.status.FormActivate();
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M6"}));
    EXPECT_TRUE(b.status.noticeFlag());
}

TEST(StatusSequenceTest, AnIdleDeviceWithoutStoredProgramTakesOneExchange) {
    StatusBench b;
    b.device.setPowerLevel(122);
    b.device.setCounterValue(0xFFFFFFFF);
    b.status.FormActivate();
    b.statusTimer.runToRest();

    EXPECT_EQ(b.requests(), (std::vector<Bytes>{BaseStateBytes, {0xC1, 0x5A, 0x5A, 0x5A}}));
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"", "", "M27", "", "Count: -1"}));
    EXPECT_EQ(b.list(L::StatusLineList), (Lines{"M32"}));
    EXPECT_EQ(b.display().powerBar(), 50);
    EXPECT_EQ(b.display().progressBar(), 100);
    EXPECT_TRUE(b.list(L::WholeTotal).empty());
    EXPECT_FALSE(b.display().wrcEnabled());
    EXPECT_EQ(b.display().wrcCaption(), "C27");
    EXPECT_EQ(b.display().wrcHint(), "C28");
    EXPECT_FALSE(b.session.storedProgramFlag);
}

TEST(StatusSequenceTest, AnEmptyBaseStateReplyShowsMessage8OnlyAfterLowPower) {
    StatusBench b;
    // No power level known yet.
    b.device.giveEmptyReplies(1);
    b.status.FormActivate();
    b.ticks(1);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M37"}));
    EXPECT_EQ(b.status.step(), Step::GetBaseState);
    EXPECT_EQ(b.statusTimer.interval(), 1000);

    b.device.setPowerLevel(112);
    b.status.FormActivate();
    b.statusTimer.runToRest();
    EXPECT_EQ(b.display().powerBar(), 11);
    b.device.giveEmptyReplies(1);
    b.status.FormActivate();
    b.ticks(1);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M37"}));

    b.device.setPowerLevel(111);
    b.status.FormActivate();
    b.statusTimer.runToRest();
    EXPECT_EQ(b.display().powerBar(), 7);
    b.device.giveEmptyReplies(1);
    b.status.FormActivate();
    b.ticks(1);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M8", "M37"}));
    EXPECT_FALSE(b.display().wrcEnabled());
}

TEST(StatusSequenceTest, AnUnexpectedLengthShowsMessage10AndTriesAgainEverySecond) {
    StatusBench b;
    b.link.onRead = [](ReportData& reply) {
        if (reply[1] == wire::BaseStateLength)
            reply[1] = 27;
    };
    b.status.FormActivate();
    b.ticks(1);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M10"}));
    b.ticks(2);
    EXPECT_EQ(differences(b.timesOf(BaseStateBytes)), (std::vector<long long>{1200}));
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M10"}));
}

TEST(StatusSequenceTest, AnOldDeviceIsRefusedAndTheDialogClosesWithTheLink) {
    StatusBench b;
    b.device.setVersion({0, 5, 5, 5});
    b.status.FormActivate();
    b.ticks(1);
    ASSERT_EQ(b.statusView.refusals.size(), 1u);
    EXPECT_EQ(b.statusView.refusals[0].title, "M0");
    EXPECT_EQ(b.statusView.refusals[0].text, "M7");
    EXPECT_EQ(b.status.step(), Step::Close);
    EXPECT_TRUE(b.deviceLink.connected());

    b.ticks(1);
    EXPECT_EQ(b.statusView.closed, 1);
    EXPECT_FALSE(b.deviceLink.connected());
    EXPECT_FALSE(b.statusTimer.enabled());
}

TEST(StatusSequenceTest, ARunningProgramIsListedAndPolledEvery900ms) {
    StatusBench b;
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddPause("5", "0");
    b.control.AddWait();
    b.startProgram({});
    b.device.clearRequestLog();
    b.clock.advance(30s);

    b.status.FormActivate();
    b.ticks(2);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"Prog1", "M19 5:00", "M17"}));
    EXPECT_EQ(b.display().highlightedLine(), 0);
    EXPECT_EQ(b.status.step(), Step::GetRunState);

    b.ticks(2);
    EXPECT_EQ(b.list(L::StatusLineList), (Lines{"M0"})); // state 1 has no text of its own
    // Whole program 60 s + 300 s; 30 s of the first item gone.
    EXPECT_EQ(b.list(L::WholeTotal), (Lines{"   6:00"}));
    EXPECT_EQ(b.list(L::WholeRemaining), (Lines{"   5:30"}));
    EXPECT_EQ(b.list(L::ItemTotal), (Lines{"   1:00"}));
    EXPECT_EQ(b.list(L::ItemRemaining), (Lines{"   0:30"}));
    EXPECT_EQ(b.display().progressBar(), 9); // 100 - 330 * 100 / 360
    EXPECT_EQ(b.display().wrcMode(), WrcMode::Wait);
    EXPECT_TRUE(b.display().wrcEnabled());
    EXPECT_EQ(b.display().wrcCaption(), "C27");

    b.ticks(8);
    const std::vector<long long> polls = b.timesOf(RunStateBytes);
    ASSERT_EQ(polls.size(), 5u);
    EXPECT_EQ(differences(polls), (std::vector<long long>{900, 900, 900, 900}));

    // Into the pause: the highlight follows the device's item.
    b.clock.advance(35s);
    b.ticks(2);
    EXPECT_EQ(b.display().highlightedLine(), 1);
    EXPECT_EQ(b.status.currentItem(), 2);
}

TEST(StatusSequenceTest, TheWaitAndContinueRequestsAreFollowedByARunStateRequest200msLater) {
    StatusBench b;
    b.startProgram({1, 2});
    b.status.FormActivate();
    b.ticks(4);
    ASSERT_EQ(b.display().wrcMode(), WrcMode::Wait);
    b.device.clearRequestLog();

    const long long pressed = b.clock.now().count();
    b.status.WRCButtonClick();
    b.ticks(2);
    ASSERT_GE(b.device.requestLog().size(), 2u);
    EXPECT_EQ(b.requests(3)[0], (Bytes{0xC0, 0x01, 0xC8}));
    EXPECT_EQ(b.requests()[1], RunStateBytes);
    EXPECT_EQ(b.timeOf(0), pressed);
    EXPECT_EQ(b.timeOf(1), pressed + 200);

    // The device holds (state 20): the button turns into Continue.
    EXPECT_EQ(b.display().wrcMode(), WrcMode::Continue);
    EXPECT_EQ(b.display().wrcCaption(), "C12");
    EXPECT_EQ(b.display().wrcHint(), "C13");
    EXPECT_EQ(b.list(L::StatusLineList), (Lines{"M30"}));
    EXPECT_TRUE(b.list(L::ItemTotal).empty());
    EXPECT_TRUE(b.list(L::ItemRemaining).empty());

    b.device.clearRequestLog();
    const long long again = b.clock.now().count();
    b.status.WRCButtonClick();
    b.ticks(2);
    EXPECT_EQ(b.requests(3)[0], (Bytes{0xC0, 0x01, 0xC0}));
    EXPECT_EQ(b.requests()[1], RunStateBytes);
    EXPECT_EQ(b.timeOf(1), again + 200);
    EXPECT_EQ(b.display().wrcMode(), WrcMode::Wait);
    EXPECT_EQ(b.display().wrcCaption(), "C27");
}

TEST(StatusSequenceTest, WaitingFiguresAreWrittenOnceWhileTheHighlightFollowsTheDevice) {
    StatusBench b;
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddWait();
    b.control.AddSelectedProgram(1);
    b.startProgram({});
    b.clock.advance(61s); // into the wait item
    auto item = std::make_shared<int>(2);
    b.link.onRead = [=](ReportData& reply) {
        if (reply[4] == wire::RunStateMark && reply[1] != 0 && reply[5] == devstate::Waiting)
            reply[8] = static_cast<uint8_t>((*item)++ % 3 + 1);
    };
    b.device.setPowerLevel(125);
    b.status.FormActivate();
    b.ticks(4);
    ASSERT_EQ(b.status.lastRunCode(), devstate::Waiting);
    // At the wait: the second program's 70 s left of 60 s + 70 s.
    EXPECT_EQ(b.list(L::WholeRemaining), (Lines{"   1:10"}));
    EXPECT_EQ(b.list(L::WholeTotal), (Lines{"   2:10"}));
    EXPECT_EQ(b.display().powerBar(), 61);    // (125 - 109) x 100 / 26
    EXPECT_EQ(b.display().progressBar(), 47); // 100 - 70 x 100 / 130
    const int timeRevision = b.display().revision(L::WholeRemaining);
    const int statusRevision = b.display().revision(L::StatusLineList);
    std::vector<int> highlights{b.display().highlightedLine()};
    for (int k = 0; k < 3; ++k) {
        b.ticks(2);
        highlights.push_back(b.display().highlightedLine());
    }
    EXPECT_EQ(b.display().revision(L::WholeRemaining), timeRevision);
    EXPECT_EQ(b.display().revision(L::StatusLineList), statusRevision);
    EXPECT_EQ(highlights, (std::vector<int>{2, 0, 1, 2}));
    EXPECT_EQ(differences(b.timesOf(RunStateBytes)), (std::vector<long long>{900, 900, 900}));
}

TEST(StatusSequenceTest, ThreeEmptyRunStateRepliesLeadBackToTheBaseState) {
    StatusBench b;
    b.startProgram({1, 2});
    auto emptyRunStates = std::make_shared<bool>(false);
    b.link.onRead = [=](ReportData& reply) {
        if (*emptyRunStates && reply[4] == wire::RunStateMark)
            reply[1] = 0;
    };
    b.status.FormActivate();
    b.ticks(4); // one accepted run-state reply
    *emptyRunStates = true;

    std::vector<Step> after;
    for (int k = 0; k < 6; ++k) {
        b.ticks(1);
        after.push_back(b.status.step());
    }
    EXPECT_EQ(after, (std::vector<Step>{Step::CheckRunState, Step::GetRunState, Step::CheckRunState, Step::GetRunState,
                                        Step::CheckRunState, Step::GetBaseState}));
    EXPECT_EQ(b.status.emptyReplyCount(), 3);

    // Back through the base state and the context: the next empty reply returns at once.
    b.ticks(4);
    EXPECT_EQ(b.status.step(), Step::CheckRunState);
    b.ticks(1);
    EXPECT_EQ(b.status.step(), Step::GetBaseState);

    // An accepted reply resets the count.
    *emptyRunStates = false;
    b.ticks(5);
    EXPECT_EQ(b.status.emptyReplyCount(), 0);
    EXPECT_EQ(b.status.step(), Step::GetRunState);
}

TEST(StatusSequenceTest, AnInterruptedProgramShowsTheSavedProgramMarker) {
    StatusBench b;
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddPause("1", "0");
    b.control.AddSelectedProgram(1);
    b.startProgram({});
    b.clock.advance(70s); // in the pause
    b.interrupt();

    b.status.FormActivate();
    b.statusTimer.runToRest();
    ASSERT_EQ(b.device.requestLog().size(), 4u);
    EXPECT_EQ(b.requests()[2], (Bytes{0xC0, 0x02, 0xD9, 0x01}));
    Lines expected = IdleSummaryCount1;
    expected.push_back("");
    expected.push_back(StatusDisplay::SavedProgramLine);
    EXPECT_EQ(b.list(L::ProgramList), expected);
    EXPECT_EQ(std::string(StatusDisplay::SavedProgramLine).size(), 51u);
    EXPECT_TRUE(b.session.storedProgramFlag);
    EXPECT_EQ(b.display().wrcMode(), WrcMode::Resume);
    EXPECT_TRUE(b.display().wrcEnabled());
    EXPECT_EQ(b.display().wrcCaption(), "C43");
    EXPECT_EQ(b.display().wrcHint(), "C44");
    EXPECT_EQ(b.status.currentItem(), 2);
}

TEST(StatusSequenceTest, NoMarkerWhenOnlyPausesAndWaitsAreLeft) {
    StatusBench b;
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddPause("1", "0");
    b.control.AddWait();
    b.startProgram({});
    b.clock.advance(70s);
    b.interrupt();

    b.status.FormActivate();
    b.statusTimer.runToRest();
    EXPECT_EQ(b.list(L::ProgramList), IdleSummaryCount1);
    EXPECT_FALSE(b.display().wrcEnabled());
    EXPECT_EQ(b.display().wrcMode(), WrcMode::None);
}

TEST(StatusSequenceTest, ResumeDownloadsTheStoredItemsAndStartsAtTheNextProgram) {
    StatusBench b;
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddPause("1", "0");
    b.control.AddSelectedProgram(1);
    b.startProgram({});
    b.clock.advance(70s);
    b.interrupt();
    b.control.Clear(); // what the user composes meanwhile is not what is resumed
    b.compose({7});

    b.status.FormActivate();
    b.statusTimer.runToRest();
    b.statusView.onDownload = [&] {
        b.download();
        b.device.clearRequestLog();
        b.sequence.StartButtonClick();
        b.timer.runToRest();
    };
    b.status.WRCButtonClick();

    EXPECT_EQ(b.statusView.downloads, 1);
    EXPECT_EQ(b.session.startItemIndex, 2);
    EXPECT_EQ(b.requests()[0], (Bytes{0xC0, 0x02, 0xC2, 0x02}));
    EXPECT_EQ(b.device.items()[0].programNumber, 1);
    EXPECT_EQ(b.device.items()[2].programNumber, 2);
    EXPECT_EQ(b.device.currentItem(), 3);
    // Polling starts over 200 ms later.
    EXPECT_EQ(b.status.step(), Step::GetBaseState);
    EXPECT_EQ(b.statusTimer.interval(), 200);
    EXPECT_TRUE(b.statusTimer.enabled());
    b.ticks(4);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"Prog1", "M19 1:00", "Prog2"}));
    EXPECT_EQ(b.display().highlightedLine(), 2);
}

// One opening: a program runs, is interrupted and resumed. The resumed run may report the same code
// as the run before; the button must still follow it, and be one the user can press to hold it.
TEST(StatusSequenceTest, AResumedRunSetsTheButtonAfresh) {
    struct Case {
        const char* name;
        std::chrono::seconds beforeInterrupt; // 0: in the first program; 61 s: at the first wait
        std::chrono::seconds intoResumedRun;  // 71 s: past the second program, at the second wait
        bool emptyBaseState;                  // the first base-state reply after the download is empty
        WrcMode mode;
        std::string caption;
        Bytes pressed; // what the button sends then
    };
    const std::vector<Case> cases{
        {"same running code", 0s, 0s, false, WrcMode::Wait, "C27", {0xC0, 0x01, 0xC8}},
        {"same waiting code", 61s, 71s, false, WrcMode::Continue, "C12", {0xC0, 0x01, 0xC0}},
        {"empty base state", 0s, 0s, true, WrcMode::Wait, "C27", {0xC0, 0x01, 0xC8}},
    };
    for (const Case& c : cases) {
        StatusBench b;
        b.control.Clear();
        b.control.AddSelectedProgram(0);
        b.control.AddWait();
        b.control.AddSelectedProgram(1);
        b.control.AddWait();
        b.control.AddSelectedProgram(2);
        b.startProgram({});
        b.status.FormActivate();
        b.ticks(4);
        b.clock.advance(c.beforeInterrupt);
        b.ticks(2);
        const int codeBefore = b.status.lastRunCode();
        b.device.pressStopKey();
        b.statusTimer.runToRest();
        ASSERT_EQ(b.display().wrcMode(), WrcMode::Resume) << c.name;

        b.statusView.onDownload = [&] {
            b.download();
            b.device.clearRequestLog();
            b.sequence.StartButtonClick();
            b.timer.runToRest();
            b.clock.advance(c.intoResumedRun);
            if (c.emptyBaseState)
                b.device.giveEmptyReplies(1);
        };
        b.status.WRCButtonClick();
        if (c.emptyBaseState) {
            b.ticks(2);
            ASSERT_EQ(b.list(L::ProgramList), (Lines{"M37"})) << c.name;
        }
        for (int k = 0; k < 20 && b.timesOf(RunStateBytes).empty(); ++k)
            b.ticks(1);
        b.ticks(1); // the first run-state reply of the resumed run
        ASSERT_EQ(b.status.lastRunCode(), codeBefore) << c.name;
        EXPECT_EQ(b.display().wrcMode(), c.mode) << c.name;
        EXPECT_EQ(b.display().wrcCaption(), c.caption) << c.name;
        EXPECT_TRUE(b.display().wrcEnabled()) << c.name;

        b.device.clearRequestLog();
        b.status.WRCButtonClick();
        EXPECT_EQ(b.statusView.downloads, 1) << c.name;
        ASSERT_FALSE(b.device.requestLog().empty()) << c.name;
        EXPECT_EQ(b.requests(3)[0], c.pressed) << c.name;
    }
}

TEST(StatusSequenceTest, TheContextRequestCarriesTheStoredProgramFlagAlsoForARunningDevice) {
    StatusBench b;
    b.startProgram({1});
    b.session.storedProgramFlag = true;
    b.device.clearRequestLog();
    b.status.FormActivate();
    b.ticks(1);
    EXPECT_EQ(b.requests()[2], (Bytes{0xC0, 0x02, 0xD9, 0x01}));
}

TEST(StatusSequenceTest, AContextCountBeyondTheReplyIsRefused) {
    StatusBench b;
    b.startProgram({1, 2});
    b.link.onRead = [](ReportData& reply) {
        if (reply[4] == wire::ContextMark)
            reply[7] = 30;
    };
    const DeviceImage before = b.session.image;
    b.status.FormActivate();
    b.ticks(2);
    // Nothing to list, but the running device is still watched.
    EXPECT_TRUE(b.list(L::ProgramList).empty());
    EXPECT_EQ(b.status.step(), Step::GetRunState);
    EXPECT_EQ(b.session.image.itemCount, before.itemCount);
    b.ticks(2);
    EXPECT_EQ(b.list(L::WholeTotal), (Lines{"   2:10"}));
}

TEST(StatusSequenceTest, AStoredProgramWithAnOversizedCountIsNotOfferedForResume) {
    StatusBench b;
    b.startProgram({1, 2});
    b.interrupt();
    b.link.onRead = [](ReportData& reply) {
        if (reply[4] == wire::ContextMark)
            reply[7] = 25;
    };
    b.status.FormActivate();
    b.statusTimer.runToRest();
    EXPECT_EQ(b.list(L::ProgramList), IdleSummaryCount1);
    EXPECT_FALSE(b.display().wrcEnabled());
}

TEST(StatusSequenceTest, AFailedContextReplyStopsOnlyForState0) {
    for (uint8_t code : {devstate::Idle, devstate::IdleBusy}) {
        StatusBench b;
        b.startProgram({1});
        b.interrupt();
        b.link.onRead = [code](ReportData& reply) {
            if (reply[1] == wire::BaseStateLength && reply[4] == wire::StateQuery)
                reply[5] = code;
            if (reply[4] == wire::ContextMark)
                reply[4] = 0;
        };
        b.status.FormActivate();
        b.ticks(2);
        EXPECT_EQ(b.status.step(), Step::GetBaseState) << int(code);
        EXPECT_EQ(b.statusTimer.enabled(), code == devstate::IdleBusy) << int(code);
    }
}

TEST(StatusSequenceTest, UnpluggingWhilePollingShowsTheNoConnectionNotice) {
    StatusBench b;
    b.startProgram({1, 2});
    b.status.FormActivate();
    b.ticks(6);
    b.device.unplug();
    b.ticks(3);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"M6"}));
    EXPECT_EQ(b.status.step(), Step::GetBaseState);
    EXPECT_EQ(b.statusTimer.interval(), 1000);

    b.device.replug();
    b.ticks(6);
    EXPECT_EQ(b.list(L::ProgramList), (Lines{"Prog1", "Prog2"}));
}

TEST(StatusSequenceTest, TheCloseBoxStopsPollingAndLeavesTheLinkOpen) {
    StatusBench b;
    b.startProgram({1});
    b.status.FormActivate();
    b.ticks(4);
    b.status.FrameClose();
    EXPECT_FALSE(b.statusTimer.enabled());
    EXPECT_TRUE(b.deviceLink.connected());
    const size_t sent = b.device.requestLog().size();
    b.clock.advance(10s);
    EXPECT_FALSE(b.statusTimer.tick());
    EXPECT_EQ(b.device.requestLog().size(), sent);
}

TEST(StatusSequenceTest, TheIdleDeviceAfterTheProgramEndsShowsTheSummaryAgain) {
    StatusBench b;
    b.startProgram({1});
    b.status.FormActivate();
    b.ticks(4);
    EXPECT_EQ(b.display().wrcMode(), WrcMode::Wait);
    b.clock.advance(61s);
    b.ticks(2); // D, then E reads state 0
    EXPECT_EQ(b.display().wrcMode(), WrcMode::None);
    EXPECT_FALSE(b.display().wrcEnabled());
    EXPECT_EQ(b.status.step(), Step::GetBaseState);
    b.statusTimer.runToRest();
    EXPECT_EQ(b.list(L::ProgramList), IdleSummaryCount1);
}

} // namespace
} // namespace trv::test
