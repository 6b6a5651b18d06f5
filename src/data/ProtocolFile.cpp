#include "data/ProtocolFile.h"

#include "data/ByteReader.h"
#include "data/MessageNumbers.h"

namespace trv {

int SessionProgramList::size() const {
    int count = 0;
    while (count < SessionListSlots && slots[static_cast<size_t>(count)] != 0)
        ++count;
    return count;
}

int ProtocolRecord::itemCount() const {
    int count = 0;
    while (count < ProtocolItemSlots && !itemLists[static_cast<size_t>(count)].empty())
        ++count;
    return count;
}

SessionProgramList sessionProgramListFromBytes(std::string_view sixtyFourBytes) {
    SessionProgramList list;
    for (size_t i = 0; i < list.slots.size(); ++i)
        list.slots[i] = readU32(sixtyFourBytes, i * 4);
    return list;
}

ProtocolFileResult LoadProtocolFile(const std::optional<std::string>& fileBytes) {
    ProtocolFileResult result;
    if (!fileBytes) {
        result.outcome = LoadOutcome::failure(msg::ProtocolFileMissing);
        return result;
    }
    const std::string_view bytes = *fileBytes;
    const auto damaged = [&result] {
        result.outcome = LoadOutcome::failure(msg::ProtocolFileDamaged);
        result.file = {};
        return result;
    };
    if (bytes.size() < ProtocolFileHeaderSize || bytes.substr(0, 3) != "TVX" || bytes[3] != 1)
        return damaged();

    const size_t sessionCount = readU16(bytes, 4);
    const size_t protocolCount = readU16(bytes, 6);
    const size_t sessionsEnd = ProtocolFileHeaderSize + sessionCount * SessionProgramListSize;
    if (bytes.size() < sessionsEnd + protocolCount * ProtocolRecordSize)
        return damaged();

    ProtocolFile& file = result.file;
    file.sessions.reserve(sessionCount);
    for (size_t s = 0; s < sessionCount; ++s)
        file.sessions.push_back(
            sessionProgramListFromBytes(bytes.substr(ProtocolFileHeaderSize + s * SessionProgramListSize)));

    file.protocols.resize(protocolCount);
    for (size_t p = 0; p < protocolCount; ++p) {
        const std::string_view record = bytes.substr(sessionsEnd + p * ProtocolRecordSize, ProtocolRecordSize);
        ProtocolRecord& protocol = file.protocols[p];
        for (size_t j = 0; j < ProtocolItemSlots; ++j) {
            protocol.itemLists[j] = sessionProgramListFromBytes(record.substr(j * SessionProgramListSize));
            const size_t at = ProtocolItemSlots * SessionProgramListSize + j * 16;
            protocol.electrodes[j] = {readU32(record, at), readU32(record, at + 4), readU32(record, at + 8),
                                      readU32(record, at + 12)};
        }
        file.nodeKinds.push_back(NodeKind::Protocol);
        for (int item = 0; item < protocol.itemCount(); ++item)
            file.nodeKinds.push_back(NodeKind::Item);
    }
    return result;
}

} // namespace trv
