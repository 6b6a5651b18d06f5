#include "sim/SimulatedDevice.h"

#include "link/DeviceLink.h"
#include "link/DeviceMessages.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace trv::sim {
namespace {

using namespace std::chrono_literals;

DeviceRequest raw(std::vector<uint8_t> bytes) {
    DeviceRequest request;
    std::copy(bytes.begin(), bytes.end(), request.bytes.begin());
    request.length = bytes.size();
    return request;
}

// Items P(3, index start 0, index count 2, 300 s), T(60 s), W; index entries 0, 1; two therapy
// slots, slot 0 the self-test step with its codes written in.
struct HandImage {
    DeviceRequest infoHead = raw({0xC0, 0x0E, 0xD0, 3, 2, 0, 2, 0, 'P', 'r', 'o', 't', 'o', 'c', 'o', 'l'});
    DeviceRequest control = raw({0xC0, 0x0F, 0xD1, 0, 0x50, 3, 0, 0, 0, 2, 0, 0x2C, 0x01, 0x54, 0x3C, 0x00, 0x57, 0});
    DeviceRequest indexs = [] {
        std::vector<uint8_t> bytes{0xC0, 0x3E, 0xD2, 0, 0, 1};
        bytes.resize(64, 0xEE); // beyond the index count: not significant
        return raw(bytes);
    }();
    DeviceRequest therapies = raw({0xC0, 0x1A, 0xD3, 0,    0xF0, 0x00, 0x28, 0xF7, 0xF7, 0xF7, 0x66, 0x00, 0x35, 0xF5,
                                   0xD8, 0x00, 0x10, 0x00, 1,    2,    3,    4,    5,    6,    7,    8,    9,    0});
};

// slot 0: 240 + 28 F7 F7 F7 66 00 35 F5 D8 = 1637, counted once per slot in use.
const ImageSummary HandImageSummary{3, 2, 2, 616, 1, 2 * 1637};

class SimulatedDeviceTest : public ::testing::Test {
protected:
    ManualClock clock;
    SimulatedDevice device{clock};
    DeviceLink link{device};

    void send(const DeviceRequest& request) {
        ASSERT_TRUE(link.WriteReport(request.span()));
        clock.advance(200ms);
    }
    // A framed request, then one timer step later the fetch and its reply.
    ReportData ask(const DeviceRequest& request) {
        send(request);
        EXPECT_TRUE(link.WriteReport(FetchRequest().span()));
        ReportData reply{};
        EXPECT_EQ(link.ReadReport(reply), ReadResult::Reply);
        return reply;
    }
    void upload(const HandImage& image) {
        send(image.infoHead);
        send(image.control);
        send(image.indexs);
        send(image.therapies);
    }
    RunState runState() {
        const ReportData reply = ask(RunStateRequest());
        EXPECT_EQ(CheckRunStateReply(reply), RunStateCheck::Accepted);
        return ReadRunState(reply);
    }
    BaseState baseState() {
        const ReportData reply = ask(BaseStateRequest());
        EXPECT_EQ(CheckBaseStateReply(reply), BaseStateCheck::Accepted);
        return ReadBaseState(reply);
    }
    void uploadAndStart(int startIndex = 0) {
        upload(HandImage{});
        ASSERT_TRUE(IsStartAcknowledgement(ask(StartRequest(startIndex))));
    }
};

TEST_F(SimulatedDeviceTest, AnswersTheLinkCheckAndItsBaseState) {
    device.setVersion({1, 2, 0, 3});
    device.setCorrectionPercentage(10);
    device.setPowerLevel(125);
    device.setCounterValue(0x01020304);

    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    ReportData reply{};
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_TRUE(IsLinkCheckReply(reply));

    const BaseState state = baseState();
    EXPECT_EQ(state.stateCode, 0);
    EXPECT_EQ(state.version, (DeviceVersion{1, 2, 0, 3}));
    EXPECT_EQ(state.correctionPercentage, 10);
    EXPECT_EQ(state.powerLevel, 125);
    EXPECT_EQ(state.storedProgramFlag, 0);
    EXPECT_EQ(state.value, 0x01020304u);

    // One pending reply: a second fetch finds nothing ready.
    ASSERT_TRUE(link.WriteReport(FetchRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_EQ(CheckBaseStateReply(reply), BaseStateCheck::Empty);
}

TEST_F(SimulatedDeviceTest, AnUploadedImageVerifies) {
    upload(HandImage{});
    EXPECT_EQ(ReadImageSummary(ask(SummaryRequest())), HandImageSummary);
    EXPECT_EQ(std::string(device.title().begin(), device.title().end()), "Protocol");
    ASSERT_EQ(device.itemCount(), 3);
    EXPECT_EQ(device.items()[0].programNumber, 3);
    EXPECT_EQ(device.items()[0].value, 300);
    EXPECT_EQ(device.items()[1].code, 'T');
    EXPECT_EQ(device.items()[2].code, 'W');
}

TEST_F(SimulatedDeviceTest, ACorruptedSectionShowsInItsOwnChecksum) {
    struct Case {
        const char* name;
        DeviceRequest HandImage::*section;
        size_t byte;
        ImageSummary expected;
    };
    ImageSummary itemOff = HandImageSummary;
    itemOff.itemChecksum += 1;
    ImageSummary indexOff = HandImageSummary;
    indexOff.indexChecksum += 1;
    ImageSummary therapyOff = HandImageSummary;
    therapyOff.therapyChecksum += 2; // slot 0 counts twice with two slots
    ImageSummary countOff = HandImageSummary;
    countOff.itemCount += 1; // a fourth item never sent adds nothing to the item checksum
    const Case cases[] = {
        {"program value", &HandImage::control, 11, itemOff},
        {"index entry", &HandImage::indexs, 5, indexOff},
        {"slot 0 device byte", &HandImage::therapies, 8, therapyOff},
        {"slot 1 device byte", &HandImage::therapies, 20, HandImageSummary}, // only slot 0 is summed
        {"item count", &HandImage::infoHead, 3, countOff},
    };
    for (const Case& c : cases) {
        SimulatedDevice fresh(clock);
        DeviceLink freshLink(fresh);
        HandImage image;
        (image.*c.section).bytes[c.byte] += 1;
        for (const DeviceRequest* request : {&image.infoHead, &image.control, &image.indexs, &image.therapies}) {
            ASSERT_TRUE(freshLink.WriteReport(request->span()));
        }
        ASSERT_TRUE(freshLink.WriteReport(SummaryRequest().span()));
        ASSERT_TRUE(freshLink.WriteReport(FetchRequest().span()));
        ReportData reply{};
        ASSERT_EQ(freshLink.ReadReport(reply), ReadResult::Reply);
        EXPECT_EQ(ReadImageSummary(reply), c.expected) << c.name;
    }
}

TEST_F(SimulatedDeviceTest, InjectedSummaryFaultLastsForTheChosenVerifications) {
    upload(HandImage{});
    device.corruptSummary(SummaryField::TherapyCount, 2);
    ImageSummary off = HandImageSummary;
    off.therapyCount += 1;
    EXPECT_EQ(ReadImageSummary(ask(SummaryRequest())), off);
    EXPECT_EQ(ReadImageSummary(ask(SummaryRequest())), off);
    EXPECT_EQ(ReadImageSummary(ask(SummaryRequest())), HandImageSummary);
}

TEST_F(SimulatedDeviceTest, RunsTheProgramInSimulatedTime) {
    uploadAndStart();
    RunState state = runState();
    EXPECT_EQ(state.stateCode, SimulatedDevice::StateRunningProgram);
    EXPECT_EQ(state.currentItem, 1);
    EXPECT_EQ(state.itemTotal, 300);
    EXPECT_EQ(state.itemRemaining, 300); // 299.8 s left: a started second still counts
    EXPECT_EQ(state.programTotal, 360);
    EXPECT_EQ(state.programRemaining, 360);

    clock.advance(300s);
    state = runState();
    EXPECT_EQ(state.stateCode, SimulatedDevice::StateRunningPause);
    EXPECT_EQ(state.currentItem, 2);
    EXPECT_EQ(state.itemTotal, 60);
    EXPECT_EQ(state.itemRemaining, 60);
    EXPECT_EQ(state.programRemaining, 60);

    clock.advance(60s);
    EXPECT_EQ(runState().stateCode, devstate::Waiting);
    clock.advance(1h); // a wait item holds until continued
    state = runState();
    EXPECT_EQ(state.stateCode, devstate::Waiting);
    EXPECT_EQ(state.currentItem, 3);

    send(ContinueRequest());
    const BaseState base = baseState();
    EXPECT_EQ(base.stateCode, 0);
    EXPECT_EQ(base.storedProgramFlag, 0);
    EXPECT_EQ(base.value, 1u); // one program started
}

TEST_F(SimulatedDeviceTest, WaitRequestHoldsTheItemUntilContinued) {
    uploadAndStart();
    clock.advance(100s);
    send(WaitRequest());
    clock.advance(1000s);
    RunState state = runState();
    EXPECT_EQ(state.stateCode, devstate::Waiting);
    EXPECT_EQ(state.currentItem, 1);
    EXPECT_EQ(state.itemRemaining, 200);

    send(ContinueRequest());
    state = runState();
    EXPECT_EQ(state.stateCode, SimulatedDevice::StateRunningProgram);
    clock.advance(200s);
    EXPECT_EQ(runState().currentItem, 2);
}

TEST_F(SimulatedDeviceTest, AbortKeepsAStoredProgramThatADownloadResumes) {
    uploadAndStart();
    clock.advance(310s);
    send(AbortRequest());
    const BaseState base = baseState();
    EXPECT_EQ(base.stateCode, 0);
    EXPECT_EQ(base.storedProgramFlag, 1);

    const ReportData reply = ask(ContextRequest(true));
    ASSERT_TRUE(IsContextReply(reply));
    const ContextReply context = ReadContext(reply);
    EXPECT_EQ(context.currentItem, 2);
    ASSERT_EQ(context.wordCount, 3);
    EXPECT_EQ(context.words[0], 3);
    EXPECT_EQ(context.words[1], 0x803C);
    EXPECT_EQ(context.words[2], 0xC000);

    uploadAndStart(1);
    const RunState state = runState();
    EXPECT_EQ(state.currentItem, 2);
    EXPECT_EQ(state.itemRemaining, 60);
    EXPECT_FALSE(device.storedProgram());
}

TEST_F(SimulatedDeviceTest, ANewInfoHeadDropsTheStoredProgram) {
    uploadAndStart();
    clock.advance(310s);
    send(AbortRequest());
    ASSERT_TRUE(device.storedProgram());

    send(HandImage{}.infoHead); // no start: the new image alone replaces what was kept
    EXPECT_EQ(baseState().storedProgramFlag, 0);
    EXPECT_EQ(ReadContext(ask(ContextRequest(true))).currentItem, 0);
}

TEST_F(SimulatedDeviceTest, BusyStateHoldsUntilAbortedAndBlocksUploads) {
    device.setBusyState(9);
    EXPECT_EQ(baseState().stateCode, 9);
    upload(HandImage{});
    EXPECT_EQ(device.itemCount(), 0);
    send(AbortRequest());
    EXPECT_EQ(baseState().stateCode, 0);
}

TEST_F(SimulatedDeviceTest, StartIsRefusedWithoutAProgramOrWhenSwitchedToAWrongAcknowledgement) {
    EXPECT_FALSE(IsStartAcknowledgement(ask(StartRequest(0))));
    upload(HandImage{});
    EXPECT_FALSE(IsStartAcknowledgement(ask(StartRequest(3)))); // past the last item
    device.setWrongStartAcknowledgement(true);
    EXPECT_FALSE(IsStartAcknowledgement(ask(StartRequest(0))));
    EXPECT_EQ(device.stateCode(), 0);
    device.setWrongStartAcknowledgement(false);
    EXPECT_TRUE(IsStartAcknowledgement(ask(StartRequest(0))));
}

TEST_F(SimulatedDeviceTest, SilentDeviceTimesOutInSimulatedTime) {
    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    ReportData reply{};
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    device.setNoReply(true);
    const SimTime before = clock.now();
    ASSERT_TRUE(link.WriteReport(FetchRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::TimedOut);
    EXPECT_EQ(clock.now() - before, 1000ms);
    EXPECT_TRUE(IsLinkCheckReply(reply)); // the previous report again
    EXPECT_FALSE(link.connected());
}

TEST_F(SimulatedDeviceTest, EmptyRepliesForTheNextFetchesKeepTheReplyPending) {
    device.giveEmptyReplies(2);
    EXPECT_EQ(CheckBaseStateReply(ask(BaseStateRequest())), BaseStateCheck::Empty);
    ReportData reply{};
    ASSERT_TRUE(link.WriteReport(FetchRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_EQ(CheckBaseStateReply(reply), BaseStateCheck::Empty);
    ASSERT_TRUE(link.WriteReport(FetchRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_EQ(CheckBaseStateReply(reply), BaseStateCheck::Accepted);
}

TEST_F(SimulatedDeviceTest, UnplugAndReplugUnderANewPath) {
    device.setForeignDeviceFirst(true);
    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    const std::string firstPath = link.devicePath();
    EXPECT_NE(firstPath.find("trv"), std::string::npos);

    device.unplug();
    EXPECT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(link.WriteReport(LinkCheckRequest().span()));

    device.replug();
    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    EXPECT_NE(link.devicePath(), firstPath);
    ReportData reply{};
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_TRUE(IsLinkCheckReply(reply));
}

TEST_F(SimulatedDeviceTest, AnUnplugArmedBeforeTakingFailsThatWriteOnly) {
    device.unplugAtRequest(2, UnplugPoint::BeforeTaking);
    send(BaseStateRequest());
    EXPECT_TRUE(link.WriteReport(RunStateRequest().span())); // fails underneath: the link closes
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(device.pluggedIn());
    ASSERT_EQ(device.requestLog().size(), 1u); // the second request never reached the device
    EXPECT_FALSE(link.WriteReport(FetchRequest().span()));

    // Fired once: after a replug the device answers as before.
    device.replug();
    EXPECT_EQ(CheckBaseStateReply(ask(BaseStateRequest())), BaseStateCheck::Accepted);
}

TEST_F(SimulatedDeviceTest, AnUnplugArmedAfterTakingActsOnTheRequestThenVanishes) {
    upload(HandImage{});
    device.unplugAtRequest(1, UnplugPoint::AfterTaking);
    ASSERT_TRUE(link.WriteReport(StartRequest(0).span()));
    EXPECT_FALSE(device.pluggedIn());
    EXPECT_EQ(device.stateCode(), 1); // the start was taken: the program runs without the cable
    EXPECT_EQ(device.requestLog().back().data[2], wire::Start);

    ReportData reply{};
    reply.fill(0x77);
    EXPECT_EQ(link.ReadReport(reply), ReadResult::TimedOut); // the device was open when the read began
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(IsStartAcknowledgement(reply));
}

TEST_F(SimulatedDeviceTest, StopAnsweringFromTheKthRequestTakesRequestsButTimesOutEveryRead) {
    device.stopAnsweringAtRequest(3);
    EXPECT_EQ(CheckBaseStateReply(ask(BaseStateRequest())), BaseStateCheck::Accepted); // requests 1 and 2
    upload(HandImage{});                                                               // from 3 on: silent
    EXPECT_EQ(device.computeSummary(), HandImageSummary);

    const SimTime before = clock.now();
    ASSERT_TRUE(link.WriteReport(FetchRequest().span()));
    ReportData reply{};
    ASSERT_EQ(link.ReadReport(reply), ReadResult::TimedOut);
    EXPECT_EQ(clock.now() - before, 1000ms);
    EXPECT_FALSE(link.connected());

    // It stays silent until told otherwise, also across a new opening.
    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::TimedOut);
    EXPECT_FALSE(link.connected());
    device.setNoReply(false);
    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_TRUE(IsLinkCheckReply(reply));
    EXPECT_TRUE(link.connected());
}

TEST_F(SimulatedDeviceTest, ALateReportMissesTheReadWaitingForItAndArrivesAfterIt) {
    upload(HandImage{});
    device.answerLateAtRequest(2);
    send(StartRequest(0));                                // request 1: no report of its own
    ASSERT_TRUE(link.WriteReport(FetchRequest().span())); // request 2: its report comes late
    const std::string path = link.devicePath();
    ReportData reply{};
    reply.fill(0x77);
    const SimTime before = clock.now();
    ASSERT_EQ(link.ReadReport(reply), ReadResult::TimedOut);
    EXPECT_EQ(clock.now() - before, 1000ms);
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(IsStartAcknowledgement(reply));
    EXPECT_EQ(device.stateCode(), SimulatedDevice::StateRunningProgram); // the start was taken

    // A new opening doesn't see it, and the next request is answered in time.
    ASSERT_TRUE(link.WriteReport(LinkCheckRequest().span()));
    ASSERT_EQ(link.ReadReport(reply), ReadResult::Reply);
    EXPECT_TRUE(IsLinkCheckReply(reply));
    link.CloseDevice();

    // On a handle that stays open the late report is the next one read.
    std::unique_ptr<HidHandle> handle = device.open(path);
    ASSERT_NE(handle, nullptr);
    device.answerLateAtRequest(1);
    std::array<uint8_t, ReportDataSize + 1> report{};
    report[1] = wire::LinkCheck;
    ASSERT_EQ(handle->write(report.data(), report.size()), static_cast<int>(report.size()));
    ReportData data{};
    EXPECT_EQ(handle->readTimeout(data.data(), data.size(), 1000), 0);
    EXPECT_EQ(handle->readTimeout(data.data(), data.size(), 1000), static_cast<int>(data.size()));
    EXPECT_TRUE(IsLinkCheckReply(data));
}

TEST_F(SimulatedDeviceTest, RefusedOpenReportsItsReason) {
    device.setOpenRefusal("Permission denied");
    EXPECT_FALSE(link.WriteReport(LinkCheckRequest().span()));
    EXPECT_EQ(link.openFailure(), "Permission denied");
    EXPECT_TRUE(device.requestLog().empty());
}

TEST_F(SimulatedDeviceTest, LogsEveryRequestWithItsTime) {
    clock.advance(5s);
    ask(BaseStateRequest());
    const auto& log = device.requestLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].at, 5000ms);
    EXPECT_EQ(log[1].at, 5200ms);
    EXPECT_EQ(log[0].data[2], 0xA4);
    EXPECT_EQ(log[0].data[4], 0x5A);
    EXPECT_EQ(log[1].data[0], 0xC1);
}

TEST_F(SimulatedDeviceTest, MalformedReportsAreRefused) {
    auto handle = device.open(device.enumerate().at(0).path);
    ASSERT_TRUE(handle);
    uint8_t report[65] = {0x01, 0xA0};
    EXPECT_EQ(handle->write(report, 65), -1); // not report ID 0
    report[0] = 0;
    EXPECT_EQ(handle->write(report, 64), -1);
    EXPECT_EQ(handle->write(report, 65), 65);
    EXPECT_EQ(device.requestLog().size(), 1u);
}

TEST_F(SimulatedDeviceTest, BatteryDrainsReportsLowPowerAndStopsWhenFlat) {
    HandImage image;
    image.control.bytes[11] = 0x10; // 3600 s
    image.control.bytes[12] = 0x0E;
    device.setPowerLevel(113);
    device.setDrainInterval(60s);
    upload(image);
    ASSERT_TRUE(IsStartAcknowledgement(ask(StartRequest(0))));
    clock.advance(120s);
    RunState state = runState();
    EXPECT_EQ(state.powerLevel, 111);
    EXPECT_EQ(state.stateCode, devstate::LowPower);
    clock.advance(120s);
    const BaseState base = baseState();
    EXPECT_EQ(base.powerLevel, SimulatedDevice::FlatPower);
    EXPECT_EQ(base.stateCode, 0);
    EXPECT_EQ(base.storedProgramFlag, 1);
    EXPECT_EQ(device.currentItem(), 1);
}

TEST_F(SimulatedDeviceTest, StopKeyKeepsTheProgramAndARechargeAllowsTheResume) {
    uploadAndStart();
    clock.advance(10s);
    device.pressStopKey();
    BaseState base = baseState();
    EXPECT_EQ(base.stateCode, 0);
    EXPECT_EQ(base.storedProgramFlag, 1);
    EXPECT_EQ(device.currentItem(), 1);

    // A flat battery refuses the resume until a charged one is put in.
    device.setPowerLevel(SimulatedDevice::FlatPower);
    EXPECT_FALSE(IsStartAcknowledgement(ask(StartRequest(0))));
    device.recharge(130);
    EXPECT_EQ(baseState().powerLevel, 130);
    EXPECT_TRUE(IsStartAcknowledgement(ask(StartRequest(0))));
    EXPECT_EQ(runState().currentItem, 1);
}

} // namespace
} // namespace trv::sim
