#include "data/ProgramNames.h"

#include "data/MessageNumbers.h"
#include "data/TextLines.h"

#include <cstdio>
#include <limits>

namespace trv {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A decimal number as "%d" reads it: leading white space, an optional sign, digits. Advances pos.
std::optional<long long> scanDecimal(std::string_view text, size_t& pos) {
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    if (pos >= text.size() || !isDigit(text[pos]))
        return std::nullopt;
    long long value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        if (value < std::numeric_limits<int>::max())
            value = value * 10 + (text[pos] - '0');
    }
    return negative ? -value : value;
}

} // namespace

std::string shortLabel(int number, std::string_view name) {
    char numberText[32];
    std::snprintf(numberText, sizeof numberText, "%3d ", number);
    std::string label = numberText;
    if (name.size() > ShortLabelNameLength) {
        label.append(name.substr(0, ShortLabelNameLength));
        label.append("...");
    } else {
        label.append(name);
    }
    return label;
}

std::string longLabel(std::string_view line, uint32_t runningSeconds) {
    std::string text;
    if (line.size() > LongLabelLineLength) {
        text.assign(line.substr(0, LongLabelLineLength));
        text.append("...");
    } else {
        text.assign(line);
    }
    char timeText[32];
    std::snprintf(timeText, sizeof timeText, " [%02u:%02u]", runningSeconds / 60, runningSeconds % 60);
    text.append(timeText);

    size_t start = 0;
    while (start < text.size() && isDigit(text[start]))
        ++start;
    while (start < text.size() && text[start] == ' ')
        ++start;
    return text.substr(start);
}

int namesChecksum(std::int64_t signedByteSum) {
    return static_cast<int>(signedByteSum % 65536);
}

ProgramNamesResult parseProgramNames(std::string_view fileBytes, const ProgramCatalogue& catalogue) {
    ProgramNamesResult result;
    const auto fail = [&result](int message) {
        result.outcome = LoadOutcome::failure(message);
        result.names = {};
        return result;
    };

    TextLineReader reader(fileBytes);
    const std::optional<std::string> first = reader.next();
    if (!first || first->empty() || (*first)[0] != '#')
        return fail(msg::NamesDamaged);
    size_t pos = 1;
    const std::optional<long long> version = scanDecimal(*first, pos);
    if (!version || *version != catalogue.catalogueVersion())
        return fail(msg::NamesMismatch);

    const int programCount = catalogue.programCount();
    std::vector<bool> seen(static_cast<size_t>(programCount), false);
    result.names.shortLabels.resize(static_cast<size_t>(programCount));
    bool damaged = false;
    int lineCount = 0;
    std::int64_t sum = 0;
    std::optional<std::string> closing;

    while (std::optional<std::string> line = reader.next()) {
        if (!line->empty() && (*line)[0] == '#') {
            closing = std::move(line);
            break;
        }
        ++lineCount;
        for (char c : *line)
            sum += static_cast<int8_t>(c);

        // A line has to start with a number 1..N not seen before, followed by a space.
        size_t digitsEnd = 0;
        long long number = 0;
        while (digitsEnd < line->size() && isDigit((*line)[digitsEnd])) {
            if (number <= programCount)
                number = number * 10 + ((*line)[digitsEnd] - '0');
            ++digitsEnd;
        }
        if (digitsEnd == 0 || digitsEnd >= line->size() || (*line)[digitsEnd] != ' ' || number < 1 ||
            number > programCount || seen[static_cast<size_t>(number - 1)]) {
            damaged = true;
            continue;
        }
        seen[static_cast<size_t>(number - 1)] = true;

        size_t nameStart = digitsEnd;
        while (nameStart < line->size() && (*line)[nameStart] == ' ')
            ++nameStart;
        const int n = static_cast<int>(number);
        result.names.nameOrder.push_back(n);
        result.names.shortLabels[static_cast<size_t>(n - 1)] = shortLabel(n, std::string_view(*line).substr(nameStart));
        result.names.longLabels.push_back(longLabel(*line, catalogue.program(n)->runningSeconds));
    }

    if (!closing)
        return fail(msg::NamesDamaged);
    pos = 1;
    const std::optional<long long> checksum = scanDecimal(*closing, pos);
    const std::optional<long long> count = checksum ? scanDecimal(*closing, pos) : std::nullopt;
    if (!count)
        return fail(msg::NamesDamaged);
    if (*count != programCount)
        return fail(msg::NamesMismatch);
    if (damaged || lineCount != *count || *checksum != namesChecksum(sum))
        return fail(msg::NamesDamaged);
    return result;
}

} // namespace trv
