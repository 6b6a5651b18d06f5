#include "SequenceTestBench.h"
#include "StatusTestBench.h"

#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace trv::test {
namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

size_t countOf(const Bytes& commands, uint8_t command) {
    return static_cast<size_t>(std::count(commands.begin(), commands.end(), command));
}

Bytes repeated(uint8_t command, int times) {
    return Bytes(static_cast<size_t>(times), command);
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::vector<int> upTo(int from, int to) {
    std::vector<int> out;
    for (int k = from; k <= to; ++k)
        out.push_back(k);
    return out;
}

const std::vector<int> TwentyPrograms = upTo(1, 20);

// The requests of a whole first transfer of the twenty-program control program.
const Bytes TwentyProgramTransfer = concat({{wire::InfoHead},
                                            repeated(wire::Control, 4),
                                            repeated(wire::Indexs, 5),
                                            repeated(wire::Therapies, 20),
                                            {wire::Summary, wire::Fetch}});

TEST(DownloadSequenceTest, SendsTheImageOneRequestPerTickAndWaitsForTheUser) {
    DownloadBench b;
    b.compose(TwentyPrograms);
    b.download();

    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21", "M22", "M23", "M24"}));
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
    EXPECT_TRUE(b.view.startEnabled);
    EXPECT_TRUE(b.view.closeEnabled);
    EXPECT_FALSE(b.timer.enabled());
    EXPECT_TRUE(b.session.startPending);
    EXPECT_EQ(b.view.closed, 0);

    EXPECT_EQ(b.commands(), concat({{wire::LinkCheck, wire::StateQuery, wire::Fetch}, TwentyProgramTransfer}));
    // Link check and base-state request at once, the fetch a tick later with the InfoHead in the
    // same tick, then one request every 200 ms.
    EXPECT_EQ(b.timeOf(1), 0);
    EXPECT_EQ(b.timeOf(2), 200);
    EXPECT_EQ(b.timeOf(3), 200);
    for (size_t k = 4; k < b.device.requestLog().size(); ++k)
        EXPECT_EQ(b.timeOf(k) - b.timeOf(k - 1), 200) << "request " << k;

    // 4 Control, 5 Indexs and 20 Therapies requests; each request moves the bar one place.
    EXPECT_EQ(b.sequence.plan().maximum(), 29);
    EXPECT_EQ(b.view.maximum, 29);
    std::vector<int> expected{0, 0};
    const std::vector<int> positions = upTo(0, 29);
    expected.insert(expected.end(), positions.begin(), positions.end());
    EXPECT_EQ(b.view.progress, expected);

    EXPECT_EQ(b.session.image.itemCount, 20);
    EXPECT_EQ(b.session.image.indexCount, 300);
    EXPECT_EQ(b.session.image.therapyCount, 100);
    EXPECT_EQ(b.device.computeSummary(), ExpectedSummary(b.session.image));
}

TEST(DownloadSequenceTest, StartIsAcknowledgedAndTheDialogClosesWithTheLinkOpen) {
    DownloadBench b;
    b.compose({3, 4});
    b.download();
    b.device.clearRequestLog();
    const long long pressed = b.clock.now().count();

    b.sequence.StartButtonClick();
    b.timer.runToRest();

    EXPECT_EQ(b.requests(), (std::vector<Bytes>{{0xC0, 0x02, 0xC2, 0x00}, {0xC1, 0x5A, 0x5A, 0x5A}}));
    EXPECT_EQ(b.timeOf(0), pressed);
    EXPECT_EQ(b.timeOf(1), pressed + 200);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Started);
    EXPECT_FALSE(b.session.startPending);
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_TRUE(b.deviceLink.connected());
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
}

TEST(DownloadSequenceTest, WithoutDeviceTheFirstLineIsFollowedByMessage6AndTheDialogCloses) {
    DownloadBench b;
    b.compose({1});
    b.device.unplug();

    b.sequence.FormActivate();
    EXPECT_EQ(b.view.lines, (Lines{"M20"}));
    ASSERT_EQ(b.view.errors.size(), 1u);
    EXPECT_EQ(b.view.errors[0].title, "M0");
    EXPECT_EQ(b.view.errors[0].text, "M6");
    // The dialog ends on the next tick, not inside the error box.
    EXPECT_EQ(b.view.closed, 0);
    EXPECT_EQ(b.sequence.step(), DownloadSequence::Step::Close);
    EXPECT_TRUE(b.timer.tick());

    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.timer.enabled());
    EXPECT_TRUE(b.session.startPending); // so no Device Status dialog follows
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Failed);
    EXPECT_TRUE(b.device.requestLog().empty());
}

TEST(DownloadSequenceTest, ADeviceThatCannotBeOpenedAddsTheUdevHint) {
    DownloadBench b;
    b.compose({1});
    b.device.setOpenRefusal("Permission denied");
    b.download();
    ASSERT_EQ(b.view.errors.size(), 1u);
    EXPECT_EQ(b.view.errors[0].text, "M6\nM45");
}

struct BaseStateFault {
    const char* name;
    std::function<void(DownloadBench&)> arrange;
    int message;
    Lines lines;
};

// Changes byte `at` of the n-th reply read (0-based).
std::function<void(DownloadBench&)> tamperRead(int n, size_t at, uint8_t value) {
    return [=](DownloadBench& b) {
        auto reads = std::make_shared<int>(0);
        b.link.onRead = [=](ReportData& reply) {
            if ((*reads)++ == n)
                reply[at] = value;
        };
    };
}

class DownloadBaseStateFaultTest : public ::testing::TestWithParam<BaseStateFault> {};

TEST_P(DownloadBaseStateFaultTest, EndsWithItsMessageBeforeAnythingIsSent) {
    const BaseStateFault& fault = GetParam();
    DownloadBench b;
    b.compose({1, 2});
    fault.arrange(b);
    b.download();

    ASSERT_EQ(b.view.errors.size(), 1u);
    EXPECT_EQ(b.view.errors[0].text, "M" + std::to_string(fault.message));
    EXPECT_EQ(b.view.lines, fault.lines);
    EXPECT_EQ(countOf(b.commands(), wire::InfoHead), 0u);
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.deviceLink.connected());
    EXPECT_TRUE(b.session.startPending);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, DownloadBaseStateFaultTest,
    ::testing::Values(
        BaseStateFault{
            "NoReplyToTheLinkCheck", [](DownloadBench& b) { b.device.setNoReply(true); }, msg::BadReply, {"M20"}},
        BaseStateFault{"WrongLinkCheckReply", tamperRead(0, 0, 0xAE), msg::BadReply, {"M20"}},
        BaseStateFault{
            "EmptyBaseState", [](DownloadBench& b) { b.device.giveEmptyReplies(1); }, msg::EmptyReply, {"M20", "M21"}},
        BaseStateFault{"Length27", tamperRead(1, 1, 27), msg::BadReply, {"M20", "M21"}},
        BaseStateFault{"Length29", tamperRead(1, 1, 29), msg::BadReply, {"M20", "M21"}},
        BaseStateFault{"NotC3", tamperRead(1, 0, 0xC2), msg::BadReply, {"M20", "M21"}},
        BaseStateFault{"Version0000",
                       [](DownloadBench& b) {
                           b.device.setVersion({0, 0, 0, 0});
                       },
                       msg::DeviceTooOld,
                       {"M20", "M21"}},
        BaseStateFault{"Version0999",
                       [](DownloadBench& b) {
                           b.device.setVersion({0, 9, 9, 9});
                       },
                       msg::DeviceTooOld,
                       {"M20", "M21"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadSequenceTest, StateCode15CountsAsIdle) {
    DownloadBench b;
    b.compose({1});
    b.link.onRead = [](ReportData& reply) {
        if (reply[0] == wire::Reply && reply[1] == wire::BaseStateLength)
            reply[5] = devstate::IdleBusy;
    };
    b.download();
    EXPECT_EQ(b.view.warnings, 0);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

TEST(DownloadSequenceTest, AbortInTheWarningSendsTheAbortAndAsksAgain800msLater) {
    DownloadBench b;
    b.compose({1, 2});
    b.device.setBusyState(9);
    b.session.continueFlag = true; // a leftover answer must not count
    b.download();

    EXPECT_EQ(b.view.warnings, 1);
    EXPECT_FALSE(b.session.continueFlag);
    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21", "M21", "M22", "M23", "M24"}));
    const std::vector<Bytes> sent = b.requests();
    ASSERT_GE(sent.size(), 7u);
    EXPECT_EQ(sent[3], (Bytes{0xC0, 0x01, 0xAB, 0x5A}));
    EXPECT_EQ(sent[4], (Bytes{0xC0, 0x02, 0xA4, 0x00}));
    EXPECT_EQ(sent[5][0], wire::Fetch);
    EXPECT_EQ(b.timeOf(4) - b.timeOf(3), 800);
    EXPECT_EQ(b.timeOf(5) - b.timeOf(4), 200);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

TEST(DownloadSequenceTest, ADeviceStillBusyAfterTheAbortBringsTheWarningBackAgain) {
    DownloadBench b;
    b.compose({1});
    auto busyReplies = std::make_shared<int>(2);
    b.link.onRead = [=](ReportData& reply) {
        if (reply[0] == wire::Reply && reply[1] == wire::BaseStateLength && (*busyReplies)-- > 0)
            reply[5] = 9;
    };
    b.download();
    EXPECT_EQ(b.view.warnings, 2);
    EXPECT_EQ(countOf(b.commands(), wire::Abort), 2u);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

TEST(DownloadSequenceTest, ContinueProcessingClosesAtOnceWithTheLinkOpen) {
    DownloadBench b;
    b.compose({1});
    b.device.setBusyState(9);
    b.view.onWarning = [&] { b.session.continueFlag = true; };
    b.download();

    EXPECT_EQ(b.commands(), (Bytes{wire::LinkCheck, wire::StateQuery, wire::Fetch}));
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::GaveWay);
    EXPECT_TRUE(b.deviceLink.connected());
    EXPECT_TRUE(b.session.startPending);
    EXPECT_FALSE(b.timer.enabled());
    EXPECT_EQ(b.device.stateCode(), 9);
}

TEST(DownloadSequenceTest, AnIndexChecksumMismatchResendsOnlyTheIndexs) {
    DownloadBench b;
    b.compose(TwentyPrograms);
    b.device.corruptSummary(sim::SummaryField::IndexChecksum, 1);
    b.download();

    const Bytes resend = concat({repeated(wire::Indexs, 5), {wire::Summary, wire::Fetch}});
    EXPECT_EQ(b.commands(), concat({{wire::LinkCheck, wire::StateQuery, wire::Fetch}, TwentyProgramTransfer, resend}));
    // The bar jumps back to the Indexs start (after 4 Control requests: 5) and runs through them again.
    const std::vector<int> tail(b.view.progress.end() - 5, b.view.progress.end());
    EXPECT_EQ(tail, (std::vector<int>{5, 6, 7, 8, 9}));
    EXPECT_EQ(b.sequence.verifyCount(), 1);
    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21", "M22", "M23", "M24"}));
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

TEST(DownloadSequenceTest, ACountMismatchResendsTheInfoHeadAlone) {
    DownloadBench b;
    b.compose({1, 2});
    b.device.corruptSummary(sim::SummaryField::TherapyCount, 1);
    b.download();
    const Bytes all = b.commands();
    const Bytes tail(all.end() - 4, all.end());
    EXPECT_EQ(tail, (Bytes{wire::Fetch, wire::InfoHead, wire::Summary, wire::Fetch}));
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

TEST(DownloadSequenceTest, TheThirdFailedVerificationEndsWithMessage9) {
    DownloadBench b;
    b.compose({1, 2});
    b.device.corruptSummary(sim::SummaryField::ItemChecksum, 3);
    b.download();

    const Bytes all = b.commands();
    EXPECT_EQ(countOf(all, wire::Summary), 3u);
    EXPECT_EQ(countOf(all, wire::Control), 3u); // the first transfer and two resend rounds
    EXPECT_EQ(countOf(all, wire::InfoHead), 1u);
    ASSERT_EQ(b.view.errors.size(), 1u);
    EXPECT_EQ(b.view.errors[0].text, "M9");
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Failed);
    EXPECT_FALSE(b.deviceLink.connected());
    EXPECT_TRUE(b.session.startPending);
}

TEST(DownloadSequenceTest, ASummaryThatComesTooLateCostsAWholeResendRoundNotTheDownload) {
    DownloadBench b;
    b.compose(TwentyPrograms);
    b.device.answerLateAtRequest(static_cast<int>(3 + TwentyProgramTransfer.size())); // the summary's fetch
    b.download();

    // Nothing is known of what the device holds: every section goes out again, then a new summary.
    EXPECT_EQ(b.commands(),
              concat({{wire::LinkCheck, wire::StateQuery, wire::Fetch}, TwentyProgramTransfer, TwentyProgramTransfer}));
    EXPECT_TRUE(b.view.errors.empty());
    EXPECT_EQ(b.sequence.verifyCount(), 1);
    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21", "M22", "M23", "M24"}));
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
    EXPECT_TRUE(b.view.startEnabled);
    EXPECT_TRUE(b.view.closeEnabled);
    // The bar goes back to the start for the resend round.
    const std::vector<int> tail(b.view.progress.end() - 30, b.view.progress.end());
    EXPECT_EQ(tail, upTo(0, 29));
}

TEST(DownloadSequenceTest, AStartAcknowledgementThatComesTooLateLeavesTheStatusDialogToFollowClose) {
    StatusBench b;
    b.compose({3, 4});
    b.download();
    ASSERT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
    b.device.answerLateAtRequest(2); // the fetch after the start request
    b.sequence.StartButtonClick();
    b.timer.runToRest();

    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
    EXPECT_TRUE(b.view.errors.empty());
    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21", "M22", "M23", "M24", "M10", "M11"}));
    EXPECT_FALSE(b.view.startEnabled);
    EXPECT_TRUE(b.view.closeEnabled);
    EXPECT_TRUE(b.sequence.open());
    EXPECT_FALSE(b.timer.enabled());
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::StartRefused);
    // The device took the start: the main window opens the Device Status dialog after Close.
    EXPECT_FALSE(b.session.startPending);

    b.device.clearRequestLog();
    b.sequence.StartButtonClick();
    EXPECT_TRUE(b.device.requestLog().empty());
    b.sequence.CloseButtonClick();
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.deviceLink.connected());

    // The status dialog finds the device again and shows the program it runs.
    b.status.FormActivate();
    b.ticks(2);
    EXPECT_EQ(b.list(StatusDisplay::ProgramList), (Lines{"Prog3", "Prog4"}));
    EXPECT_EQ(b.display().highlightedLine(), 0);
}

TEST(DownloadSequenceTest, AWrongStartAcknowledgementKeepsTheDialogOpenWithStartDisabled) {
    DownloadBench b;
    b.compose({1});
    b.device.setWrongStartAcknowledgement(true);
    b.download();
    b.sequence.StartButtonClick();
    b.timer.runToRest();

    EXPECT_EQ(b.view.lines.back(), "M11");
    EXPECT_FALSE(b.view.startEnabled);
    EXPECT_TRUE(b.view.closeEnabled);
    EXPECT_EQ(b.view.closed, 0);
    // A reply to the start request was read: the Device Status dialog follows the close.
    EXPECT_FALSE(b.session.startPending);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::StartRefused);

    b.sequence.CloseButtonClick();
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.deviceLink.connected());
}

TEST(DownloadSequenceTest, AResumeSendsTheStoredItemsAndStartsAtTheStartItemIndex) {
    DownloadBench b;
    b.compose({5}); // the composed program must not be what is sent
    DeviceImage& image = b.session.image;
    image.items.fill({});
    image.items[0] = {ItemProgram, 1, 0, 0, 0};
    image.items[1] = {ItemPause, 0, 0, 0, 60};
    image.items[2] = {ItemWait, 0, 0, 0, 0};
    image.items[3] = {ItemProgram, 2, 0, 0, 0};
    image.itemCount = 4;
    b.session.storedProgramFlag = true;
    b.session.startItemIndex = 3;
    b.download();
    b.device.clearRequestLog();
    b.sequence.StartButtonClick();
    b.timer.runToRest();

    EXPECT_EQ(b.requests()[0], (Bytes{0xC0, 0x02, 0xC2, 0x03}));
    ASSERT_EQ(b.device.itemCount(), 4);
    EXPECT_EQ(b.device.items()[0].programNumber, 1);
    EXPECT_EQ(b.device.items()[2].code, 'W');
    EXPECT_EQ(b.device.items()[3].programNumber, 2);
    EXPECT_EQ(b.device.currentItem(), 4);
}

TEST(DownloadSequenceTest, ASingleWaitNeedsNoIndexsOrTherapies) {
    DownloadBench b;
    b.control.Clear();
    b.control.AddWait();
    b.download();
    EXPECT_EQ(b.commands(), (Bytes{wire::LinkCheck, wire::StateQuery, wire::Fetch, wire::InfoHead, wire::Control,
                                   wire::Summary, wire::Fetch}));
    EXPECT_EQ(b.view.maximum, 1);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

struct ImageRefusal {
    const char* name;
    std::function<ProgramCatalogue()> catalogue;
    std::vector<int> programs; // composed program numbers; empty: a stored program of number 999
    int message;
};

class DownloadImageRefusalTest : public ::testing::TestWithParam<ImageRefusal> {};

// Program numbers 1..count, each with the steps first..first + steps - 1.
ProgramCatalogue ProgramsOfSteps(int distinct, int count, int steps, int stride) {
    std::vector<std::vector<int>> programs;
    for (int k = 0; k < count; ++k) {
        std::vector<int> list;
        for (int j = 0; j < steps; ++j)
            list.push_back((k * stride + j) % distinct);
        programs.push_back(list);
    }
    return CatalogueOf(distinct, programs);
}

TEST_P(DownloadImageRefusalTest, EndsWithItsMessageBeforeAnyPartOfTheImageIsSent) {
    const ImageRefusal& refusal = GetParam();
    DownloadBench b(refusal.catalogue());
    if (refusal.programs.empty()) {
        b.session.image.items[0] = {ItemProgram, 999, 0, 0, 0};
        b.session.image.itemCount = 1;
        b.session.storedProgramFlag = true;
    } else {
        b.compose(refusal.programs);
        ASSERT_EQ(b.control.itemCount(), static_cast<int>(refusal.programs.size()));
    }
    b.download();

    ASSERT_EQ(b.view.errors.size(), 1u);
    EXPECT_EQ(b.view.errors[0].text, "M" + std::to_string(refusal.message));
    const Bytes all = b.commands();
    for (uint8_t section : {wire::InfoHead, wire::Control, wire::Indexs, wire::Therapies, wire::Summary})
        EXPECT_EQ(countOf(all, section), 0u);
    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21"}));
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.deviceLink.connected());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, DownloadImageRefusalTest,
    ::testing::Values(
        ImageRefusal{"TooManySteps", [] { return ProgramsOfSteps(129, 1, 129, 0); }, {1}, msg::TooManySteps},
        ImageRefusal{"TooManyIndexEntries",
                     [] { return ProgramsOfSteps(128, 9, 128, 0); },
                     {1, 2, 3, 4, 5, 6, 7, 8, 9},
                     msg::TooManyIndexEntries},
        ImageRefusal{"TooManyTherapySlots",
                     [] { return ProgramsOfSteps(300, 3, 100, 100); },
                     {1, 2, 3},
                     msg::TooManyTherapySlots},
        ImageRefusal{"UnknownStoredProgram", [] { return TwentyProgramCatalogue(); }, {}, msg::UnknownProgram}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DownloadSequenceTest, UnpluggingDuringTheTransferEndsWithMessage6) {
    DownloadBench b;
    b.compose(TwentyPrograms);
    b.sequence.FormActivate();
    for (int k = 0; k < 6; ++k)
        ASSERT_TRUE(b.timer.tick());
    b.device.unplug();
    b.timer.runToRest();

    ASSERT_EQ(b.view.errors.size(), 1u);
    EXPECT_EQ(b.view.errors[0].text, "M6");
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Failed);
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_TRUE(b.session.startPending);
    EXPECT_EQ(countOf(b.commands(), wire::Summary), 0u);
}

TEST(DownloadSequenceTest, ClosingTheWindowMidTransferStopsTheTimerAndClosesTheLink) {
    DownloadBench b;
    b.compose(TwentyPrograms);
    b.sequence.FormActivate();
    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(b.timer.tick());
    const size_t sent = b.device.requestLog().size();

    b.sequence.FrameClose();
    EXPECT_FALSE(b.timer.enabled());
    EXPECT_FALSE(b.deviceLink.connected());
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Closed);

    b.clock.advance(std::chrono::seconds(5));
    EXPECT_FALSE(b.timer.tick());
    EXPECT_EQ(b.device.requestLog().size(), sent);
    // A second close (the window going away) changes nothing.
    b.sequence.FrameClose();
    EXPECT_EQ(b.view.closed, 1);
}

TEST(DownloadSequenceTest, EachOpeningStartsAfresh) {
    DownloadBench b;
    b.compose({1});
    b.device.corruptSummary(sim::SummaryField::ItemChecksum, 2);
    b.download();
    EXPECT_EQ(b.sequence.verifyCount(), 2);
    b.sequence.CloseButtonClick();

    b.compose({2, 3});
    b.device.clearRequestLog();
    b.download();
    EXPECT_EQ(b.view.lines, (Lines{"M20", "M21", "M22", "M23", "M24"}));
    EXPECT_EQ(b.sequence.verifyCount(), 0);
    EXPECT_EQ(b.device.itemCount(), 2);
    EXPECT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Verified);
}

} // namespace
} // namespace trv::test
