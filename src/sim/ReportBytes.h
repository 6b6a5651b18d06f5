#pragma once

#include "link/DeviceMessages.h"

#include <cstddef>
#include <cstdint>

namespace trv::sim {

// The device's words are little-endian.
inline uint16_t Read16(const ReportData& data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

inline void Put16(ReportData& data, size_t offset, uint32_t value) {
    data[offset] = static_cast<uint8_t>(value & 0xFF);
    data[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

inline void Put32(ReportData& data, size_t offset, uint32_t value) {
    Put16(data, offset, value & 0xFFFF);
    Put16(data, offset + 2, value >> 16);
}

} // namespace trv::sim
