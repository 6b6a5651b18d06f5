#pragma once

#include "data/Diagnostics.h"
#include "data/LoadOutcome.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

inline constexpr size_t ProtocolFileHeaderSize = 64;
inline constexpr size_t SessionProgramListSize = 64;
inline constexpr size_t ProtocolRecordSize = 800;
inline constexpr int SessionListSlots = 16;
inline constexpr int ProtocolItemSlots = 10;

// Program numbers ended by 0 in 16 slots: the list of a session or a protocol item, and what the
// control program's LoadProgramList takes. Iterating gives the numbers before the first 0 (all
// 16 when the file holds no 0, never more).
struct SessionProgramList {
    std::array<uint32_t, SessionListSlots> slots{};

    const uint32_t* begin() const { return slots.data(); }
    const uint32_t* end() const { return slots.data() + size(); }
    int size() const;
    bool empty() const { return slots[0] == 0; }

    friend bool operator==(const SessionProgramList&, const SessionProgramList&) = default;
};

// Electrode numbers of a protocol item: 1-based positions in electrodeNames.
struct ElectrodeRecord {
    uint32_t unused = 0;
    uint32_t inputA = 0;
    uint32_t inputB = 0;
    uint32_t outputC = 0;
};

struct ProtocolRecord {
    std::array<SessionProgramList, ProtocolItemSlots> itemLists{};
    std::array<ElectrodeRecord, ProtocolItemSlots> electrodes{};

    // Items 0, 1, ... up to the first whose list starts with 0, at most ten.
    int itemCount() const;
};

enum class NodeKind : uint8_t { Protocol = 0, Item = 1 };

// The contents of vorlix.spb.
struct ProtocolFile {
    std::vector<SessionProgramList> sessions;
    std::vector<ProtocolRecord> protocols;
    std::vector<NodeKind> nodeKinds; // tree order: each protocol followed by its items
};

struct ProtocolFileResult {
    LoadOutcome outcome;
    ProtocolFile file;
};

// nullopt (missing) gives message 39; a short header, wrong magic, version not 1, or a short
// session or protocol block give message 40. A sink hears where the file falls short, and of
// bytes after the last protocol, which are never read.
ProtocolFileResult LoadProtocolFile(const std::optional<std::string>& fileBytes, Diagnostics* sink = nullptr);

SessionProgramList SessionProgramListFromBytes(std::string_view sixtyFourBytes);

} // namespace trv
