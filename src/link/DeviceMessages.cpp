#include "link/DeviceMessages.h"

#include <algorithm>
#include <stdexcept>

namespace trv {

namespace {

DeviceRequest BytesRequest(std::initializer_list<uint8_t> bytes) {
    DeviceRequest request;
    std::copy(bytes.begin(), bytes.end(), request.bytes.begin());
    request.length = bytes.size();
    return request;
}

uint16_t Word16(const ReportData& reply, size_t offset) {
    return static_cast<uint16_t>(reply[offset] | (reply[offset + 1] << 8));
}

uint32_t Word32(const ReportData& reply, size_t offset) {
    return static_cast<uint32_t>(reply[offset]) | static_cast<uint32_t>(reply[offset + 1]) << 8 |
           static_cast<uint32_t>(reply[offset + 2]) << 16 | static_cast<uint32_t>(reply[offset + 3]) << 24;
}

// A reply to a state query is checked in one order: the reply mark, a payload at all (the device
// had none ready when its length is 0), then what marks the reply as the one asked for (own).
template <typename Check> Check CheckReply(const ReportData& reply, bool own, Check notOwn) {
    if (reply[0] != wire::Reply) {
        return Check::NotAReply;
    }
    if (reply[1] == 0) {
        return Check::Empty;
    }
    return own ? Check::Accepted : notOwn;
}

} // namespace

DeviceRequest LinkCheckRequest() {
    return BytesRequest({wire::LinkCheck});
}
DeviceRequest FetchRequest() {
    return BytesRequest({wire::Fetch});
}
DeviceRequest BaseStateRequest() {
    return BytesRequest({wire::Framed, 0x02, wire::StateQuery, wire::BaseStateArg});
}
DeviceRequest RunStateRequest() {
    return BytesRequest({wire::Framed, 0x02, wire::StateQuery, wire::RunStateArg});
}
DeviceRequest AbortRequest() {
    return BytesRequest({wire::Framed, 0x01, wire::Abort});
}
DeviceRequest SummaryRequest() {
    return BytesRequest({wire::Framed, 0x01, wire::Summary});
}

DeviceRequest StartRequest(int startItemIndex) {
    return BytesRequest({wire::Framed, 0x02, wire::Start, static_cast<uint8_t>(startItemIndex & 0xFF)});
}

DeviceRequest ContextRequest(bool storedProgram) {
    return BytesRequest({wire::Framed, 0x02, wire::Context, static_cast<uint8_t>(storedProgram ? 1 : 0)});
}

DeviceRequest WaitRequest() {
    return BytesRequest({wire::Framed, 0x01, wire::Wait});
}
DeviceRequest ContinueRequest() {
    return BytesRequest({wire::Framed, 0x01, wire::Continue});
}

DeviceRequest FramedRequest(uint8_t command, std::span<const uint8_t> arguments) {
    if (arguments.size() + 1 > wire::MaxFramedPayload) {
        throw std::invalid_argument("a framed request carries at most 61 argument bytes");
    }
    DeviceRequest request;
    request.bytes[0] = wire::Framed;
    request.bytes[1] = static_cast<uint8_t>(arguments.size() + 1);
    request.bytes[2] = command;
    std::copy(arguments.begin(), arguments.end(), request.bytes.begin() + 3);
    request.length = arguments.size() + 3;
    return request;
}

bool IsLinkCheckReply(const ReportData& reply) {
    return reply[0] == wire::LinkCheckReply;
}

BaseStateCheck CheckBaseStateReply(const ReportData& reply) {
    return CheckReply(reply, reply[1] == wire::BaseStateLength, BaseStateCheck::WrongLength);
}

bool MeetsMinimumVersion(const DeviceVersion& version, const DeviceVersion& minimum) {
    for (size_t i = 0; i < version.size(); ++i) {
        if (version[i] < minimum[i]) {
            return false;
        }
    }
    return true;
}

BaseState ReadBaseState(const ReportData& reply) {
    BaseState state;
    state.stateCode = reply[5];
    state.version = {reply[6], reply[7], reply[14], reply[15]};
    state.correctionPercentage = reply[8];
    state.powerLevel = reply[9];
    state.storedProgramFlag = reply[10];
    state.value = Word32(reply, 16);
    return state;
}

RunStateCheck CheckRunStateReply(const ReportData& reply) {
    return CheckReply(reply, reply[4] == wire::RunStateMark, RunStateCheck::WrongCode);
}

RunState ReadRunState(const ReportData& reply) {
    RunState state;
    state.stateCode = reply[5];
    state.powerLevel = reply[7];
    state.currentItem = reply[8];
    state.programRemaining = Word16(reply, 10);
    state.programTotal = Word16(reply, 12);
    state.itemRemaining = Word16(reply, 14);
    state.itemTotal = Word16(reply, 16);
    return state;
}

bool IsContextReply(const ReportData& reply) {
    return reply[0] == wire::Reply && reply[4] == wire::ContextMark;
}

ContextReply ReadContext(const ReportData& reply) {
    ContextReply context;
    context.currentItem = reply[6];
    context.itemCount = reply[7];
    // The words begin at byte 16; a count above what fits would read past the report.
    context.wordCount = std::min<int>(context.itemCount, MaxContextItemWords);
    for (int k = 0; k < context.wordCount; ++k) {
        context.words[k] = Word16(reply, 16 + 2 * static_cast<size_t>(k));
    }
    return context;
}

ContextItem DecodeItemWord(uint16_t word) {
    if (word == WaitItemWord) {
        return {ContextItemKind::Wait, 0};
    }
    if (word & 0x8000) {
        return {ContextItemKind::Pause, word & 0x7FFF};
    }
    return {ContextItemKind::Program, word};
}

uint16_t EncodeItemWord(const ContextItem& item) {
    switch (item.kind) {
    case ContextItemKind::Wait:
        return WaitItemWord;
    case ContextItemKind::Pause:
        return static_cast<uint16_t>(0x8000 | (item.value & 0x7FFF));
    case ContextItemKind::Program:
        break;
    }
    return static_cast<uint16_t>(item.value & 0x7FFF);
}

ImageSummary ReadImageSummary(const ReportData& reply) {
    ImageSummary summary;
    summary.itemCount = reply[5];
    summary.indexCount = Word16(reply, 6);
    summary.therapyCount = Word16(reply, 8);
    summary.itemChecksum = Word16(reply, 10);
    summary.indexChecksum = Word16(reply, 12);
    summary.therapyChecksum = Word16(reply, 14);
    return summary;
}

bool IsStartAcknowledgement(const ReportData& reply) {
    return std::equal(StartAcknowledgement.begin(), StartAcknowledgement.end(), reply.begin());
}

} // namespace trv
