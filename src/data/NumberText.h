#pragma once

#include <charconv>
#include <string>

namespace trv {

// printf's "%*d" (fill ' ') and "%0*d" (fill '0') without parsing a format: the program lists
// format a number or two on each of their hundreds of lines at start-up.
inline void AppendNumber(std::string& out, long long value, int width, char fill = ' ') {
    char digits[24];
    const bool negative = value < 0;
    // The magnitude as unsigned, so the most negative value has one too.
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    char* const end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
    const int length = static_cast<int>(end - digits) + (negative ? 1 : 0);
    const int padding = width > length ? width - length : 0;
    if (fill == '0') {
        if (negative)
            out += '-';
        out.append(static_cast<size_t>(padding), '0');
    } else {
        out.append(static_cast<size_t>(padding), ' ');
        if (negative)
            out += '-';
    }
    out.append(digits, static_cast<size_t>(end - digits));
}

} // namespace trv
