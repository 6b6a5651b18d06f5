#include "check/CheckReport.h"

#include <cstdio>

namespace trv {

namespace {

std::string HexOffset(long long offset) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", offset);
    return text;
}

const char* SeverityName(const Problem& problem) {
    return problem.isError() ? "error" : "warning";
}

// Decodes one UTF-8 sequence at pos; U+FFFD (one byte consumed) for a malformed one.
char32_t NextCodepoint(std::string_view text, size_t& pos) {
    const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    const int extra = lead >= 0xF0 && lead <= 0xF4  ? 3
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                                                    : -1;
    if (extra < 0 || text.size() - pos <= static_cast<size_t>(extra)) {
        ++pos;
        return 0xFFFD;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(pos + static_cast<size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed as well.
    const char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        ++pos;
        return 0xFFFD;
    }
    pos += static_cast<size_t>(extra) + 1;
    return c;
}

void AppendEscape(std::string& out, char32_t unit) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04X", static_cast<unsigned>(unit));
    out += text;
}

} // namespace

std::string ProblemLocation(const DataFolder& folder, const Problem& problem) {
    std::string location =
        folder.root() == "." || folder.root().empty() ? problem.file : folder.nativePath(problem.file);
    if (problem.line > 0)
        location += ":" + std::to_string(problem.line);
    return location;
}

std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (size_t pos = 0; pos < utf8.size();) {
        const char32_t c = NextCodepoint(utf8, pos);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c > 0xFFFF) {
            AppendEscape(out, 0xD800 + ((c - 0x10000) >> 10));
            AppendEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            AppendEscape(out, c);
        }
    }
    return out + "\"";
}

void WriteTextReport(std::ostream& out, const DataFolder& folder, const Diagnostics& found) {
    for (const Problem& problem : found.problems()) {
        out << ProblemLocation(folder, problem) << ": " << SeverityName(problem) << ": " << problem.text;
        if (problem.offset >= 0) {
            out << " (";
            if (problem.record > 0)
                out << "record " << problem.record << ", ";
            out << "offset " << HexOffset(problem.offset) << ")";
        }
        if (problem.message >= 0)
            out << " [message " << problem.message << "]";
        out << '\n';
    }
    const int errors = found.errorCount();
    const int warnings = found.warningCount();
    out << errors << (errors == 1 ? " error, " : " errors, ") << warnings << (warnings == 1 ? " warning" : " warnings")
        << '\n';
}

void WriteJsonReport(std::ostream& out, const DataFolder& folder, const Diagnostics& found) {
    out << "{\n  \"folder\": " << JsonString(folder.root()) << ",\n  \"problems\": [";
    const char* separator = "\n";
    for (const Problem& problem : found.problems()) {
        out << separator << "    {\"severity\": \"" << SeverityName(problem)
            << "\", \"file\": " << JsonString(problem.file);
        if (problem.line > 0)
            out << ", \"line\": " << problem.line;
        if (problem.record > 0)
            out << ", \"record\": " << problem.record;
        if (problem.offset >= 0)
            out << ", \"offset\": " << problem.offset;
        if (problem.message >= 0)
            out << ", \"message\": " << problem.message;
        out << ", \"kind\": " << JsonString(problem.kind) << ", \"text\": " << JsonString(problem.text) << "}";
        separator = ",\n";
    }
    out << (found.problems().empty() ? "" : "\n  ") << "],\n  \"errors\": " << found.errorCount()
        << ",\n  \"warnings\": " << found.warningCount() << "\n}\n";
}

} // namespace trv
