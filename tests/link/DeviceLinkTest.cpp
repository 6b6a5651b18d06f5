#include "FakeHidBackend.h"

#include "link/DeviceLink.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace trv {
namespace {

using test::FakeHidBackend;
using test::reportOf;

constexpr uint16_t Vid = DeviceLink::VendorId;
constexpr uint16_t Pid = DeviceLink::ProductId;

const std::vector<uint8_t> ThreeBytes{0xC0, 0x01, 0xAB};

class DeviceLinkTest : public ::testing::Test {
protected:
    FakeHidBackend backend;
    DeviceLink link{backend};
};

TEST_F(DeviceLinkTest, NoDeviceMeansFalseAndNothingWritten) {
    auto foreign = backend.add("/dev/hidraw0", 0x1234, Pid);
    ReportData dest{};
    EXPECT_FALSE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(link.ReadReport(dest), ReadResult::NoDevice);
    EXPECT_FALSE(link.connected());
    EXPECT_TRUE(foreign->written.empty());
    EXPECT_TRUE(backend.openedPaths.empty());
    EXPECT_TRUE(link.openFailure().empty());
}

TEST_F(DeviceLinkTest, ReportIsIdZeroThenRequestThenFiller) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    ASSERT_EQ(device->written.size(), 1u);
    const auto& report = device->written[0];
    ASSERT_EQ(report.size(), 65u);
    EXPECT_EQ(report[0], 0x00);
    EXPECT_EQ(report[1], 0xC0);
    EXPECT_EQ(report[2], 0x01);
    EXPECT_EQ(report[3], 0xAB);
    for (size_t i = 4; i < 65; ++i) {
        EXPECT_EQ(report[i], 0x5A) << "byte " << i;
    }

    std::vector<uint8_t> full(64);
    for (size_t i = 0; i < full.size(); ++i) {
        full[i] = static_cast<uint8_t>(i + 1);
    }
    ASSERT_TRUE(link.WriteReport(full));
    std::vector<uint8_t> expected{0x00};
    expected.insert(expected.end(), full.begin(), full.end());
    EXPECT_EQ(device->written[1], expected); // no filler after a full request
    EXPECT_EQ(device->opens, 1);             // one handle, opened once, for every write
}

TEST_F(DeviceLinkTest, RequestLengthOutsideOneToSixtyFourIsRefused) {
    backend.add("/dev/hidraw0", Vid, Pid);
    EXPECT_THROW(link.WriteReport(std::span<const uint8_t>()), std::invalid_argument);
    std::vector<uint8_t> tooLong(65, 0xC0);
    EXPECT_THROW(link.WriteReport(tooLong), std::invalid_argument);
}

TEST_F(DeviceLinkTest, ForeignDevicesAreNeverOpened) {
    backend.add("/dev/hidraw0", Vid, 0x0001);
    backend.add("/dev/hidraw1", 0x0001, Pid);
    auto device = backend.add("/dev/hidraw2", Vid, Pid);
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(backend.openedPaths, std::vector<std::string>{"/dev/hidraw2"});
    EXPECT_EQ(link.devicePath(), "/dev/hidraw2");
    EXPECT_EQ(device->written.size(), 1u);
}

TEST_F(DeviceLinkTest, FirstMatchingDeviceInEnumerationOrderWins) {
    auto first = backend.add("/dev/hidraw5", Vid, Pid);
    auto second = backend.add("/dev/hidraw1", Vid, Pid);
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(first->written.size(), 1u);
    EXPECT_TRUE(second->written.empty());
    EXPECT_EQ(second->opens, 0);
}

TEST_F(DeviceLinkTest, ReceiveBufferStartsZeroAndKeepsTheLastReportAfterTimeOut) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    ReportData dest;
    dest.fill(0xEE);
    ASSERT_EQ(link.ReadReport(dest), ReadResult::TimedOut); // times out at once: nothing scripted
    EXPECT_EQ(dest, ReportData{});
    EXPECT_FALSE(link.connected());

    device->reads.push_back({64, reportOf({0xC3, 0x1C, 0x00, 0x00, 0xA4, 0x05})});
    ASSERT_EQ(link.ReadReport(dest), ReadResult::Reply);
    EXPECT_TRUE(link.connected());
    EXPECT_EQ(dest, reportOf({0xC3, 0x1C, 0x00, 0x00, 0xA4, 0x05}));

    // The time-out hands back the same bytes and closes the link; the next write searches again.
    const int enumerationsBefore = backend.enumerations;
    dest.fill(0);
    ASSERT_EQ(link.ReadReport(dest), ReadResult::TimedOut);
    EXPECT_EQ(dest, reportOf({0xC3, 0x1C, 0x00, 0x00, 0xA4, 0x05}));
    EXPECT_FALSE(link.connected());
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(backend.enumerations, enumerationsBefore + 1);
    EXPECT_TRUE(link.connected());

    for (int timeout : device->readTimeouts) {
        EXPECT_EQ(timeout, 1000);
    }
}

// Each read says how it went, so no caller can take the previous reply handed back after a
// time-out for an answer, or judge bytes that no device delivered.
TEST_F(DeviceLinkTest, EachReadSaysWhetherItGotAReplyTimedOutOrFoundNoDevice) {
    using Device = FakeHidBackend::Device;
    ReportData untouched;
    untouched.fill(0xEE);
    struct Case {
        const char* name;
        std::function<void(Device&, DeviceLink&)> arrange; // on an open link whose last reply was AF 01
        ReadResult expected;
        ReportData dest;
        bool connected;
    };
    const Case cases[] = {
        {"reply",
         [](Device& d, DeviceLink&) {
             d.reads.push_back({64, reportOf({0xC3, 0x02})});
         },
         ReadResult::Reply, reportOf({0xC3, 0x02}), true},
        {"silent device", [](Device&, DeviceLink&) {}, ReadResult::TimedOut, reportOf({0xAF, 0x01}), false},
        {"vanishes during the read",
         [](Device& d, DeviceLink&) {
             d.reads.push_back({-1, reportOf({0x11})});
         },
         ReadResult::TimedOut, reportOf({0xAF, 0x01}), false},
        {"no device at all",
         [](Device& d, DeviceLink& l) {
             l.CloseDevice();
             d.present = false;
         },
         ReadResult::NoDevice, untouched, false},
        {"device refuses to open",
         [](Device& d, DeviceLink& l) {
             l.CloseDevice();
             d.openError = "Permission denied";
         },
         ReadResult::NoDevice, untouched, false},
    };
    for (const Case& c : cases) {
        FakeHidBackend hid;
        DeviceLink fresh(hid);
        auto device = hid.add("/dev/hidraw0", Vid, Pid);
        device->reads.push_back({64, reportOf({0xAF, 0x01})});
        ReportData dest{};
        ASSERT_EQ(fresh.ReadReport(dest), ReadResult::Reply) << c.name;
        c.arrange(*device, fresh);
        dest = untouched;
        EXPECT_EQ(fresh.ReadReport(dest), c.expected) << c.name;
        EXPECT_EQ(dest, c.dest) << c.name;
        EXPECT_EQ(fresh.connected(), c.connected) << c.name;
    }
}

TEST_F(DeviceLinkTest, ShortReportLeavesNoTraceOfThePreviousOne) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    ReportData full;
    full.fill(0x77);
    device->reads.push_back({64, full});
    device->reads.push_back({2, reportOf({0xC3, 0x00, 0x99})});
    ReportData dest{};
    ASSERT_EQ(link.ReadReport(dest), ReadResult::Reply);
    ASSERT_EQ(link.ReadReport(dest), ReadResult::Reply);
    EXPECT_EQ(dest, reportOf({0xC3, 0x00}));
}

TEST_F(DeviceLinkTest, UnplugBetweenWritesClosesThenReportsNoDevice) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    device->present = false;
    EXPECT_TRUE(link.WriteReport(ThreeBytes)); // the failure closes the link but still reports true
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(link.WriteReport(ThreeBytes));
    ReportData dest{};
    EXPECT_EQ(link.ReadReport(dest), ReadResult::NoDevice);
}

TEST_F(DeviceLinkTest, ShortOrFailedWriteClosesTheLink) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    device->shortWrites = true;
    EXPECT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_FALSE(link.connected());
    device->shortWrites = false;
    device->failWrites = true;
    EXPECT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(device->opens, 2);
}

TEST_F(DeviceLinkTest, ReplugIsFoundUnderItsNewPath) {
    auto before = backend.add("/dev/hidraw3", Vid, Pid);
    ReportData dest{};
    before->reads.push_back({64, reportOf({0xAF, 0x01})});
    ASSERT_EQ(link.ReadReport(dest), ReadResult::Reply);
    before->present = false;
    EXPECT_TRUE(link.WriteReport(ThreeBytes));
    auto after = backend.add("/dev/hidraw4", Vid, Pid);
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(link.devicePath(), "/dev/hidraw4");
    EXPECT_EQ(after->written.size(), 1u);
    // The receive buffer survives the reconnection.
    ASSERT_EQ(link.ReadReport(dest), ReadResult::TimedOut);
    EXPECT_EQ(dest, reportOf({0xAF, 0x01}));
}

TEST_F(DeviceLinkTest, CloseDeviceOnAClosedLinkDoesNothingAndTheNextWriteReopens) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    link.CloseDevice();
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(backend.enumerations, 0);
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    link.CloseDevice();
    link.CloseDevice();
    EXPECT_FALSE(link.connected());
    ASSERT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(device->opens, 2);
}

TEST_F(DeviceLinkTest, RefusedOpenKeepsTheReasonAndTriesEachPathOnce) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    device->openError = "Permission denied";
    backend.add("/dev/hidraw0", Vid, Pid); // hidraw listing the interface twice
    EXPECT_FALSE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(link.openFailure(), "Permission denied");
    EXPECT_EQ(backend.openedPaths.size(), 1u);
    EXPECT_FALSE(link.connected());

    // A refused device doesn't stop the search: a second one is still used.
    auto other = backend.add("/dev/hidraw1", Vid, Pid);
    EXPECT_TRUE(link.WriteReport(ThreeBytes));
    EXPECT_EQ(other->written.size(), 1u);
    EXPECT_TRUE(link.openFailure().empty());
}

TEST_F(DeviceLinkTest, OpenFailureIsForgottenWhenTheDeviceGoesAway) {
    auto device = backend.add("/dev/hidraw0", Vid, Pid);
    device->openError = "Permission denied";
    EXPECT_FALSE(link.WriteReport(ThreeBytes));
    device->present = false;
    EXPECT_FALSE(link.WriteReport(ThreeBytes));
    EXPECT_TRUE(link.openFailure().empty());
}

} // namespace
} // namespace trv
