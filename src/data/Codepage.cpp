#include "data/Codepage.h"

#include <array>
#include <cstdint>

namespace trv {

namespace {

constexpr char32_t Undefined = 0xFFFD;

using HighHalf = std::array<char16_t, 128>;

// Bytes 0x80 to 0xFF of Windows-1250; 0xFFFD marks the bytes the page leaves undefined.
constexpr HighHalf CentralEuropeanHigh = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179, // 88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9, // F8
};

// Bytes 0x80 to 0xFF of Windows-1252; from 0xA0 on it is Latin-1.
constexpr HighHalf WesternHigh = [] {
    HighHalf table = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, // 88
        0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178, // 98
    };
    for (int byte = 0xA0; byte <= 0xFF; ++byte)
        table[static_cast<size_t>(byte - 0x80)] = static_cast<char16_t>(byte);
    return table;
}();

const HighHalf& HighHalfOf(Codepage page) {
    return page == Codepage::CentralEuropean ? CentralEuropeanHigh : WesternHigh;
}

// Reads one well-formed UTF-8 character at pos and advances pos past it. A malformed sequence
// (stray continuation byte, truncated, overlong, surrogate or beyond U+10FFFF) consumes one byte
// and gives nothing.
std::optional<char32_t> NextUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return std::nullopt;
    }
    if (pos + static_cast<size_t>(length) > text.size()) {
        ++pos;
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += static_cast<size_t>(length);
    return c;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = Undefined;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t CodepointOf(unsigned char byte, Codepage page) {
    if (byte < 0x80)
        return byte;
    return HighHalfOf(page)[byte - 0x80u];
}

std::optional<unsigned char> ByteOf(char32_t codepoint, Codepage page) {
    if (codepoint < 0x80)
        return static_cast<unsigned char>(codepoint);
    if (codepoint == Undefined)
        return std::nullopt;
    const HighHalf& table = HighHalfOf(page);
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i] == codepoint)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::string DecodeToUtf8(std::string_view bytes, Codepage page) {
    std::string out;
    out.reserve(bytes.size());
    // Runs of ASCII, most of every text, go over as they are.
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t asciiEnd = pos;
        while (asciiEnd < bytes.size() && static_cast<unsigned char>(bytes[asciiEnd]) < 0x80)
            ++asciiEnd;
        out.append(bytes.substr(pos, asciiEnd - pos));
        if (asciiEnd < bytes.size())
            AppendUtf8(out, CodepointOf(static_cast<unsigned char>(bytes[asciiEnd]), page));
        pos = asciiEnd + 1;
    }
    return out;
}

std::string EncodeFromUtf8(std::string_view utf8, Codepage page, int* unmapped) {
    std::string out;
    out.reserve(utf8.size());
    int missing = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        std::optional<unsigned char> byte;
        if (const std::optional<char32_t> c = NextUtf8(utf8, pos))
            byte = ByteOf(*c, page);
        if (byte) {
            out += static_cast<char>(*byte);
        } else {
            out += '?';
            ++missing;
        }
    }
    if (unmapped)
        *unmapped = missing;
    return out;
}

} // namespace trv
