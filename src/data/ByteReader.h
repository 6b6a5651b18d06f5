#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace trv {

// Little-endian fields of the binary files; a field that lies past the end of the bytes reads as 0.
inline uint16_t ReadU16(std::string_view bytes, size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 2)
        return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) | static_cast<uint8_t>(bytes[offset + 1]) << 8);
}

inline uint32_t ReadU32(std::string_view bytes, size_t offset) {
    if (offset > bytes.size() || bytes.size() - offset < 4)
        return 0;
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t{static_cast<uint8_t>(bytes[offset + i])} << (8 * i);
    return value;
}

} // namespace trv
