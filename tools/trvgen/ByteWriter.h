#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trv::gen {

// Appends little-endian values to a byte string.
class ByteWriter {
public:
    void u8(uint8_t v) { bytes_ += static_cast<char>(v); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void text(std::string_view s) { bytes_ += s; }
    void zeros(size_t count) { bytes_.append(count, '\0'); }
    size_t size() const { return bytes_.size(); }
    std::string take() { return std::move(bytes_); }

private:
    std::string bytes_;
};

} // namespace trv::gen
