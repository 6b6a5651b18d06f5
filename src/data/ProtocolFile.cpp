#include "data/ProtocolFile.h"

#include "data/ByteReader.h"
#include "data/DataFolder.h"
#include "data/Log.h"
#include "data/MessageNumbers.h"

#include <string>

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

SessionProgramList SessionProgramListFromBytes(std::string_view sixtyFourBytes) {
    SessionProgramList list;
    for (size_t i = 0; i < list.slots.size(); ++i)
        list.slots[i] = ReadU32(sixtyFourBytes, i * 4);
    return list;
}

ProtocolFileResult LoadProtocolFile(const std::optional<std::string>& fileBytes, Diagnostics* sink) {
    ProtocolFileResult result;
    if (!fileBytes) {
        result.outcome = LoadOutcome::failure(msg::ProtocolFileMissing);
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                ProtocolFileName << " is missing or unreadable [message " << msg::ProtocolFileMissing << "]");
        if (sink)
            sink->fileError(msg::ProtocolFileMissing, "protocols-missing", "the protocol file can't be read");
        return result;
    }
    const std::string_view bytes = *fileBytes;
    const auto damaged = [&result] {
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                ProtocolFileName << " is damaged: trv-check names the record and offset [message "
                                 << msg::ProtocolFileDamaged << "]");
        result.outcome = LoadOutcome::failure(msg::ProtocolFileDamaged);
        result.file = {};
        return result;
    };
    if (bytes.size() < ProtocolFileHeaderSize || bytes.substr(0, 3) != "TVX" || bytes[3] != 1) {
        if (sink)
            sink->recordError(0, bytes.size() < ProtocolFileHeaderSize || bytes.substr(0, 3) != "TVX" ? 0 : 3,
                              msg::ProtocolFileDamaged, "protocols-header",
                              bytes.size() < ProtocolFileHeaderSize ? "the file is shorter than its 64-byte header"
                              : bytes.substr(0, 3) != "TVX"         ? "the file doesn't start with \"TVX\""
                                                                    : "the format version is not 1");
        return damaged();
    }

    const size_t sessionCount = ReadU16(bytes, 4);
    const size_t protocolCount = ReadU16(bytes, 6);
    const size_t sessionsEnd = ProtocolFileHeaderSize + sessionCount * SessionProgramListSize;
    const size_t protocolsEnd = sessionsEnd + protocolCount * ProtocolRecordSize;
    if (bytes.size() < protocolsEnd) {
        if (sink) {
            // Name the first record the file cuts short.
            const bool inSessions = bytes.size() < sessionsEnd;
            const size_t start = inSessions ? ProtocolFileHeaderSize : sessionsEnd;
            const size_t size = inSessions ? SessionProgramListSize : ProtocolRecordSize;
            const size_t record = (bytes.size() - start) / size;
            sink->recordError(static_cast<int>(record) + 1, static_cast<long long>(start + record * size),
                              msg::ProtocolFileDamaged, "protocols-short",
                              std::string(inSessions ? "session " : "protocol ") + std::to_string(record + 1) +
                                  " is cut short: the header counts " + std::to_string(sessionCount) +
                                  " sessions and " + std::to_string(protocolCount) + " protocols, which take " +
                                  std::to_string(protocolsEnd) + " bytes; the file has " +
                                  std::to_string(bytes.size()));
        }
        return damaged();
    }
    if (sink && bytes.size() > protocolsEnd)
        sink->recordWarning(0, static_cast<long long>(protocolsEnd), "protocols-trailing",
                            std::to_string(bytes.size() - protocolsEnd) +
                                " bytes after the last protocol are never read");

    ProtocolFile& file = result.file;
    file.sessions.reserve(sessionCount);
    for (size_t s = 0; s < sessionCount; ++s)
        file.sessions.push_back(
            SessionProgramListFromBytes(bytes.substr(ProtocolFileHeaderSize + s * SessionProgramListSize)));

    file.protocols.resize(protocolCount);
    for (size_t p = 0; p < protocolCount; ++p) {
        const std::string_view record = bytes.substr(sessionsEnd + p * ProtocolRecordSize, ProtocolRecordSize);
        ProtocolRecord& protocol = file.protocols[p];
        for (size_t j = 0; j < ProtocolItemSlots; ++j) {
            protocol.itemLists[j] = SessionProgramListFromBytes(record.substr(j * SessionProgramListSize));
            const size_t at = ProtocolItemSlots * SessionProgramListSize + j * 16;
            protocol.electrodes[j] = {ReadU32(record, at), ReadU32(record, at + 4), ReadU32(record, at + 8),
                                      ReadU32(record, at + 12)};
        }
        file.nodeKinds.push_back(NodeKind::Protocol);
        for (int item = 0; item < protocol.itemCount(); ++item)
            file.nodeKinds.push_back(NodeKind::Item);
    }
    return result;
}

} // namespace trv
