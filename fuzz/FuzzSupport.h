#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// Every fuzz target defines this entry point; libFuzzer drives it in the fuzz build and
// ReplayMain.cpp runs the committed corpus through it in the normal test suite.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// An invariant of a fuzz target. A violation aborts, which libFuzzer records as a finding and the
// corpus replay reports as a failed test.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            ::trv::fuzz::invariantFailed(#condition, __FILE__, __LINE__);                                              \
    } while (0)

namespace trv::fuzz {

[[noreturn]] inline void invariantFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

inline std::string_view asText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Takes values off the front of the fuzzer's bytes. Past the end everything reads as 0, so a
// short input still decodes into something (the smallest case) instead of being thrown away.
class ByteSource {
public:
    ByteSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ByteSource(std::string_view bytes)
        : data_(reinterpret_cast<const uint8_t*>(bytes.data())), size_(bytes.size()) {}

    size_t remaining() const { return size_ - pos_; }
    bool empty() const { return pos_ >= size_; }

    uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool flag() { return (byte() & 1) != 0; }
    uint16_t u16() {
        const uint16_t low = byte();
        return static_cast<uint16_t>(low | byte() << 8);
    }
    uint32_t u32() {
        const uint32_t low = u16();
        return low | static_cast<uint32_t>(u16()) << 16;
    }
    // A value in lo..hi (hi - lo below 65536), taken from one or two bytes.
    int inRange(int lo, int hi) {
        if (hi <= lo)
            return lo;
        const unsigned span = static_cast<unsigned>(hi - lo) + 1;
        const unsigned raw = span <= 256 ? byte() : u16();
        return lo + static_cast<int>(raw % span);
    }
    // Up to n bytes.
    std::string_view bytes(size_t n) {
        const size_t take = std::min(n, remaining());
        const std::string_view part(reinterpret_cast<const char*>(data_) + pos_, take);
        pos_ += take;
        return part;
    }
    std::string_view rest() { return bytes(remaining()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Targets that take several files read them from one input, the files separated by this line.
inline constexpr std::string_view PartSeparator = "\n~~~~\n";

// The input cut at the separators into at most maxParts parts (the last one takes the rest);
// missing parts are empty.
inline std::vector<std::string_view> splitParts(std::string_view input, size_t maxParts) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < maxParts) {
        const size_t at = input.find(PartSeparator);
        if (at == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, at));
        input.remove_prefix(at + PartSeparator.size());
    }
    parts.push_back(input);
    parts.resize(maxParts);
    return parts;
}

inline bool containsByte(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

} // namespace trv::fuzz
