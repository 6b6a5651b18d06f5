#include "link/DeviceMessages.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace trv {
namespace {

std::vector<uint8_t> bytesOf(const DeviceRequest& request) {
    return {request.span().begin(), request.span().end()};
}

ReportData reportOf(std::initializer_list<uint8_t> leading) {
    ReportData report{};
    std::copy(leading.begin(), leading.end(), report.begin());
    return report;
}

TEST(DeviceMessages, RequestBuildersGiveTheWireBytes) {
    struct Case {
        const char* name;
        DeviceRequest request;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"link check", LinkCheckRequest(), {0xA0}},
        {"fetch", FetchRequest(), {0xC1}},
        {"base state", BaseStateRequest(), {0xC0, 0x02, 0xA4, 0x00}},
        {"run state", RunStateRequest(), {0xC0, 0x02, 0xA4, 0x01}},
        {"abort", AbortRequest(), {0xC0, 0x01, 0xAB}},
        {"summary", SummaryRequest(), {0xC0, 0x01, 0xD4}},
        {"start 3", StartRequest(3), {0xC0, 0x02, 0xC2, 0x03}},
        {"start low byte", StartRequest(0x104), {0xC0, 0x02, 0xC2, 0x04}},
        {"context", ContextRequest(false), {0xC0, 0x02, 0xD9, 0x00}},
        {"context stored", ContextRequest(true), {0xC0, 0x02, 0xD9, 0x01}},
        {"wait", WaitRequest(), {0xC0, 0x01, 0xC8}},
        {"continue", ContinueRequest(), {0xC0, 0x01, 0xC0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bytesOf(c.request), c.bytes) << c.name;
    }
}

TEST(DeviceMessages, FramedRequestFillsAtMostTheWholeReport) {
    std::vector<uint8_t> arguments(61, 0x11);
    const DeviceRequest largest = FramedRequest(0xD2, arguments);
    EXPECT_EQ(largest.length, 64u);
    EXPECT_EQ(largest.bytes[1], 62);
    EXPECT_EQ(largest.bytes[2], 0xD2);
    EXPECT_EQ(largest.bytes[63], 0x11);
    arguments.push_back(0x11);
    EXPECT_THROW(FramedRequest(0xD2, arguments), std::invalid_argument);
}

TEST(DeviceMessages, BaseStateCheckByMarkerAndLength) {
    struct Case {
        uint8_t marker;
        uint8_t length;
        BaseStateCheck expected;
    };
    const Case cases[] = {
        {0xC3, 28, BaseStateCheck::Accepted},      {0xC3, 0, BaseStateCheck::Empty},
        {0xC3, 27, BaseStateCheck::WrongLength},   {0xC3, 29, BaseStateCheck::WrongLength},
        {0xC3, 0x28, BaseStateCheck::WrongLength}, // 28 is decimal
        {0xAF, 28, BaseStateCheck::NotAReply},     {0x00, 0, BaseStateCheck::NotAReply},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckBaseStateReply(reportOf({c.marker, c.length})), c.expected)
            << int(c.marker) << "/" << int(c.length);
    }
}

TEST(DeviceMessages, BaseStateFieldsAreReadFromTheirOffsets) {
    const ReportData reply =
        reportOf({0xC3, 28, 0, 0, 0xA4, 9, 1, 2, 12, 130, 1, 0, 0, 0, 3, 4, 0x78, 0x56, 0x34, 0x12});
    const BaseState state = ReadBaseState(reply);
    EXPECT_EQ(state.stateCode, 9);
    EXPECT_EQ(state.version, (DeviceVersion{1, 2, 3, 4}));
    EXPECT_EQ(state.correctionPercentage, 12);
    EXPECT_EQ(state.powerLevel, 130);
    EXPECT_EQ(state.storedProgramFlag, 1);
    EXPECT_EQ(state.value, 0x12345678u);
}

TEST(DeviceMessages, VersionIsTestedByteByByte) {
    struct Case {
        DeviceVersion version;
        bool passes;
    };
    const Case cases[] = {
        {{1, 0, 0, 0}, true},  {{5, 3, 2, 1}, true},   {{0, 9, 9, 9}, false},
        {{0, 0, 0, 0}, false}, {{1, 255, 0, 0}, true}, {{255, 255, 255, 255}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MeetsMinimumVersion(c.version), c.passes)
            << int(c.version[0]) << "." << int(c.version[1]) << "." << int(c.version[2]) << "." << int(c.version[3]);
    }
    // With a higher minimum each byte counts on its own: 2.0.5.0 is not at least 1.1.1.1.
    EXPECT_FALSE(MeetsMinimumVersion({2, 0, 5, 0}, {1, 1, 1, 1}));
    EXPECT_TRUE(MeetsMinimumVersion({1, 1, 1, 1}, {1, 1, 1, 1}));
}

TEST(DeviceMessages, RunStateCheckAndFields) {
    EXPECT_EQ(CheckRunStateReply(reportOf({0xC3, 28, 0, 0, 0xAF})), RunStateCheck::Accepted);
    EXPECT_EQ(CheckRunStateReply(reportOf({0xC3, 1, 0, 0, 0xAF})), RunStateCheck::Accepted);
    EXPECT_EQ(CheckRunStateReply(reportOf({0xC3, 0, 0, 0, 0xAF})), RunStateCheck::Empty);
    EXPECT_EQ(CheckRunStateReply(reportOf({0xC3, 28, 0, 0, 0xD9})), RunStateCheck::WrongCode);
    EXPECT_EQ(CheckRunStateReply(reportOf({0xC1, 28, 0, 0, 0xAF})), RunStateCheck::NotAReply);

    const RunState state = ReadRunState(
        reportOf({0xC3, 28, 0, 0, 0xAF, 20, 0, 121, 3, 0, 0x10, 0x0E, 0x20, 0x1C, 0x2C, 0x01, 0x58, 0x02}));
    EXPECT_EQ(state.stateCode, 20);
    EXPECT_EQ(state.powerLevel, 121);
    EXPECT_EQ(state.currentItem, 3);
    EXPECT_EQ(state.programRemaining, 3600);
    EXPECT_EQ(state.programTotal, 7200);
    EXPECT_EQ(state.itemRemaining, 300);
    EXPECT_EQ(state.itemTotal, 600);
}

TEST(DeviceMessages, ContextReplyWordsAndTheirMeaning) {
    EXPECT_TRUE(IsContextReply(reportOf({0xC3, 0, 0, 0, 0xD9})));
    EXPECT_FALSE(IsContextReply(reportOf({0xC3, 0x3C, 0, 0, 0xAF})));
    EXPECT_FALSE(IsContextReply(reportOf({0xC2, 0x3C, 0, 0, 0xD9})));

    ReportData reply = reportOf({0xC3, 0x3C, 0, 0, 0xD9, 0, 2, 3});
    const uint8_t words[] = {0x05, 0x00, 0x96, 0x80, 0x00, 0xC0};
    std::copy(std::begin(words), std::end(words), reply.begin() + 16);
    const ContextReply context = ReadContext(reply);
    EXPECT_EQ(context.currentItem, 2);
    EXPECT_EQ(context.itemCount, 3);
    ASSERT_EQ(context.wordCount, 3);
    EXPECT_EQ(context.words[0], 0x0005);
    EXPECT_EQ(context.words[1], 0x8096);
    EXPECT_EQ(context.words[2], 0xC000);

    struct Case {
        uint16_t word;
        ContextItemKind kind;
        int value;
    };
    const Case cases[] = {
        {0xC000, ContextItemKind::Wait, 0},    {0x8096, ContextItemKind::Pause, 150},
        {0x8000, ContextItemKind::Pause, 0},   {0xC001, ContextItemKind::Pause, 0x4001},
        {0x0001, ContextItemKind::Program, 1}, {0x7FFF, ContextItemKind::Program, 0x7FFF},
    };
    for (const Case& c : cases) {
        const ContextItem item = DecodeItemWord(c.word);
        EXPECT_EQ(item.kind, c.kind) << std::hex << c.word;
        EXPECT_EQ(item.value, c.value) << std::hex << c.word;
        EXPECT_EQ(EncodeItemWord(item), c.word) << std::hex << c.word;
    }
}

TEST(DeviceMessages, ContextNeverReadsPastTheReport) {
    ReportData reply = reportOf({0xC3, 0x3C, 0, 0, 0xD9, 0, 1, 200});
    for (size_t i = 16; i < reply.size(); ++i) {
        reply[i] = static_cast<uint8_t>(i);
    }
    const ContextReply context = ReadContext(reply);
    EXPECT_EQ(context.itemCount, 200);
    ASSERT_EQ(context.wordCount, 24);
    EXPECT_EQ(context.words[23], 0x3F3E); // the last two data bytes
}

TEST(DeviceMessages, SummaryIsReadByItsSixFieldsOnly) {
    const ReportData reply =
        reportOf({0x00, 0x00, 0xFF, 0xFF, 0x00, 3, 0x2C, 0x01, 0x05, 0x00, 0x68, 0x02, 0x01, 0x00, 0x65, 0x06});
    const ImageSummary summary = ReadImageSummary(reply);
    EXPECT_EQ(summary, (ImageSummary{3, 300, 5, 616, 1, 1637}));
}

TEST(DeviceMessages, StartAcknowledgementMustMatchAllSixBytes) {
    ReportData good = reportOf({0xC3, 0x0E, 0x0E, 0x00, 0xAF, 0x09, 0x77, 0x88});
    EXPECT_TRUE(IsStartAcknowledgement(good));
    for (size_t i = 0; i < 6; ++i) {
        ReportData bad = good;
        bad[i] ^= 0x01;
        EXPECT_FALSE(IsStartAcknowledgement(bad)) << "byte " << i;
    }
    good[6] = 0xFF; // bytes after the sixth are not looked at
    EXPECT_TRUE(IsStartAcknowledgement(good));
}

TEST(DeviceMessages, LinkCheckReplyIsAFInByteZero) {
    EXPECT_TRUE(IsLinkCheckReply(reportOf({0xAF})));
    EXPECT_FALSE(IsLinkCheckReply(reportOf({0xC3, 0xAF})));
    EXPECT_FALSE(IsLinkCheckReply(ReportData{}));
}

} // namespace
} // namespace trv
