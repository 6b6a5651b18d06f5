#pragma once

#include "link/ReportLink.h"

#include <array>
#include <cstdint>
#include <span>

namespace trv {

// Leading bytes and command codes of the device's requests and replies.
namespace wire {
inline constexpr uint8_t LinkCheck = 0xA0;
inline constexpr uint8_t LinkCheckReply = 0xAF;
inline constexpr uint8_t Framed = 0xC0;
inline constexpr uint8_t Fetch = 0xC1;
inline constexpr uint8_t Reply = 0xC3;

// Commands of framed requests (the byte after the length).
inline constexpr uint8_t StateQuery = 0xA4; // argument 00 base state, 01 run state
inline constexpr uint8_t Abort = 0xAB;
inline constexpr uint8_t InfoHead = 0xD0;
inline constexpr uint8_t Control = 0xD1;
inline constexpr uint8_t Indexs = 0xD2;
inline constexpr uint8_t Therapies = 0xD3;
inline constexpr uint8_t Summary = 0xD4;
inline constexpr uint8_t Start = 0xC2;
inline constexpr uint8_t Context = 0xD9;
inline constexpr uint8_t Wait = 0xC8;
inline constexpr uint8_t Continue = 0xC0;

inline constexpr uint8_t BaseStateArg = 0x00;
inline constexpr uint8_t RunStateArg = 0x01;

// Reply codes at byte 4 of a fetch reply.
inline constexpr uint8_t RunStateMark = 0xAF;
inline constexpr uint8_t ContextMark = 0xD9;

inline constexpr uint8_t BaseStateLength = 28;
inline constexpr size_t MaxFramedPayload = 62; // command and arguments
} // namespace wire

// Device state codes (byte 5 of the base-state and run-state replies).
namespace devstate {
inline constexpr uint8_t Idle = 0;
// Shown as idle too, but still busy handing over its program: a context it fails to give is
// asked for again, and once given the device counts as plain idle.
inline constexpr uint8_t IdleBusy = 15;
inline constexpr uint8_t LowPower = 17;
inline constexpr uint8_t Held = 18;
inline constexpr uint8_t Waiting = 20;
inline bool IsIdle(uint8_t code) {
    return code == Idle || code == IdleBusy;
}
} // namespace devstate

// A request as handed to the link: only the first `length` bytes are significant.
struct DeviceRequest {
    ReportData bytes{};
    size_t length = 0;
    std::span<const uint8_t> span() const { return {bytes.data(), length}; }
};

DeviceRequest LinkCheckRequest();
DeviceRequest FetchRequest();
DeviceRequest BaseStateRequest();
DeviceRequest RunStateRequest();
DeviceRequest AbortRequest();
DeviceRequest SummaryRequest();
// Carries the low byte of the 0-based start item index.
DeviceRequest StartRequest(int startItemIndex);
// storedProgram: the device's stored (interrupted) program is asked for.
DeviceRequest ContextRequest(bool storedProgram);
DeviceRequest WaitRequest();
DeviceRequest ContinueRequest();
// C0, N, command, arguments; arguments of at most 61 bytes (more is std::invalid_argument).
DeviceRequest FramedRequest(uint8_t command, std::span<const uint8_t> arguments);

// Link check: byte 0 AF.
bool IsLinkCheckReply(const ReportData& reply);

enum class BaseStateCheck {
    Accepted,    // C3, length 28
    NotAReply,   // byte 0 not C3
    Empty,       // length 0: the device had no reply ready
    WrongLength, // any other length
};
BaseStateCheck CheckBaseStateReply(const ReportData& reply);

using DeviceVersion = std::array<uint8_t, 4>; // bytes 6, 7, 14, 15 of the base-state reply
inline constexpr DeviceVersion MinimumDeviceVersion{1, 0, 0, 0};
// Each byte on its own must reach the minimum's byte; not compared as one number.
bool MeetsMinimumVersion(const DeviceVersion& version, const DeviceVersion& minimum = MinimumDeviceVersion);

struct BaseState {
    uint8_t stateCode = 0;
    DeviceVersion version{};
    uint8_t correctionPercentage = 0;
    uint8_t powerLevel = 0;
    uint8_t storedProgramFlag = 0;
    uint32_t value = 0;
};
// Reads the fields whatever the checks say; check first.
BaseState ReadBaseState(const ReportData& reply);

enum class RunStateCheck {
    Accepted,  // C3, length not 0, AF at byte 4
    NotAReply, // byte 0 not C3
    Empty,     // length 0
    WrongCode, // byte 4 not AF
};
RunStateCheck CheckRunStateReply(const ReportData& reply);

struct RunState {
    uint8_t stateCode = 0;
    uint8_t powerLevel = 0;
    uint8_t currentItem = 0; // 1-based, 0 = none
    uint16_t programRemaining = 0;
    uint16_t programTotal = 0;
    uint16_t itemRemaining = 0;
    uint16_t itemTotal = 0;
};
RunState ReadRunState(const ReportData& reply);

// Context reply: C3 at byte 0 and D9 at byte 4 (the length is not checked).
bool IsContextReply(const ReportData& reply);

// Words from byte 16 on, two bytes each: no more than 24 fit in the 64 data bytes.
inline constexpr int MaxContextItemWords = 24;

struct ContextReply {
    uint8_t currentItem = 0; // 1-based
    uint8_t itemCount = 0;   // as the device reported it, possibly above MaxContextItemWords
    int wordCount = 0;       // words actually read: min(itemCount, MaxContextItemWords)
    std::array<uint16_t, MaxContextItemWords> words{};
};
ContextReply ReadContext(const ReportData& reply);

// One item word of the context reply: C000 a wait, bit 15 a pause of (word & 7FFF) seconds,
// otherwise a program number.
enum class ContextItemKind { Program, Pause, Wait };
struct ContextItem {
    ContextItemKind kind = ContextItemKind::Wait;
    int value = 0; // program number (1-based) or pause seconds; 0 for a wait
};
inline constexpr uint16_t WaitItemWord = 0xC000;
ContextItem DecodeItemWord(uint16_t word);
uint16_t EncodeItemWord(const ContextItem& item);

struct ImageSummary {
    uint8_t itemCount = 0;
    uint16_t indexCount = 0;
    uint16_t therapyCount = 0;
    uint16_t itemChecksum = 0;
    uint16_t indexChecksum = 0;
    uint16_t therapyChecksum = 0;
    friend bool operator==(const ImageSummary&, const ImageSummary&) = default;
};
// Bytes 0, 1 and 4 are not tested: only the six fields count.
ImageSummary ReadImageSummary(const ReportData& reply);

inline constexpr std::array<uint8_t, 6> StartAcknowledgement{0xC3, 0x0E, 0x0E, 0x00, 0xAF, 0x09};
bool IsStartAcknowledgement(const ReportData& reply);

} // namespace trv
