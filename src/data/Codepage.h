#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trv {

// The 8-bit code pages. The language files carry no marker; every window shows them in the
// Central European page its fonts are made for. The Western page serves the tools and tests.
enum class Codepage {
    CentralEuropean, // Windows-1250
    Western,         // Windows-1252
};

// The Unicode character of one byte. Bytes below 0x80 are ASCII. The few bytes a page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98 in 1250; 0x81, 0x8D, 0x8F, 0x90, 0x9D in 1252) give
// U+FFFD, so a damaged text shows a visible mark instead of an invisible control character.
char32_t CodepointOf(unsigned char byte, Codepage page);

// The byte of a character in the page, or nothing when the page lacks it (U+FFFD included).
std::optional<unsigned char> ByteOf(char32_t codepoint, Codepage page);

// 8-bit text of the page to UTF-8.
std::string DecodeToUtf8(std::string_view bytes, Codepage page);

// UTF-8 to 8-bit text of the page. A character the page lacks, and every byte of a malformed
// UTF-8 sequence, becomes '?'; unmapped (when given) receives how many such '?' were written.
std::string EncodeFromUtf8(std::string_view utf8, Codepage page, int* unmapped = nullptr);

// Appends one character as UTF-8; one that UTF-8 can't carry (a surrogate, beyond U+10FFFF) as U+FFFD.
void AppendUtf8(std::string& out, char32_t c);

} // namespace trv
