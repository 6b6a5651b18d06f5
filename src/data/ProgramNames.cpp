#include "data/ProgramNames.h"

#include "data/MessageNumbers.h"
#include "data/NumberText.h"
#include "data/TextLines.h"

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
    std::string label;
    label.reserve(4 + ShortLabelNameLength + 3);
    appendNumber(label, number, 3);
    label += ' ';
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
    text += " [";
    appendNumber(text, runningSeconds / 60, 2, '0');
    text += ':';
    appendNumber(text, runningSeconds % 60, 2, '0');
    text += ']';

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

ProgramNamesResult parseProgramNames(std::string_view fileBytes, const ProgramCatalogue& catalogue, Diagnostics* sink) {
    ProgramNamesResult result;
    // Without a sink the first refusal ends the parse; with one the parse goes on, and the
    // outcome is the refusal the application meets first.
    int refusal = -1;
    const auto refuse = [&](int message, int line, const char* kind, std::string text) {
        if (refusal < 0)
            refusal = message;
        if (sink)
            sink->lineError(line, message, kind, std::move(text));
        return sink == nullptr;
    };
    const auto fail = [&result](int message) {
        result.outcome = LoadOutcome::failure(message);
        result.names = {};
        return result;
    };
    const auto warn = [sink](int line, const char* kind, std::string text) {
        if (sink)
            sink->lineWarning(line, kind, std::move(text));
    };

    TextLineReader reader(fileBytes);
    const std::optional<std::string> first = reader.next();
    if (!first || first->empty() || (*first)[0] != '#') {
        if (refuse(msg::NamesDamaged, 1, "names-first-line",
                   "the first line must be \"#\" followed by the catalogue version " +
                       std::to_string(catalogue.catalogueVersion())))
            return fail(msg::NamesDamaged);
    } else {
        size_t pos = 1;
        const std::optional<long long> version = scanDecimal(*first, pos);
        if (!version || *version != catalogue.catalogueVersion()) {
            if (refuse(msg::NamesMismatch, 1, "names-version",
                       "the file is for catalogue version " + (version ? std::to_string(*version) : std::string("?")) +
                           ", the catalogue is version " + std::to_string(catalogue.catalogueVersion())))
                return fail(msg::NamesMismatch);
        }
    }

    const int programCount = catalogue.programCount();
    std::vector<int> seenOnLine(static_cast<size_t>(programCount), 0);
    result.names.shortLabels.resize(static_cast<size_t>(programCount));
    bool damaged = false;
    int lineCount = 0;
    std::int64_t sum = 0;
    std::optional<std::string> closing;
    int closingLine = 0;

    while (std::optional<std::string> line = reader.next()) {
        const int at = reader.lineNumber();
        if (!line->empty() && (*line)[0] == '#') {
            closing = std::move(line);
            closingLine = at;
            break;
        }
        ++lineCount;
        for (char c : *line)
            sum += static_cast<int8_t>(c);
        if (line->size() > MaxNamesLineLength)
            warn(at, "names-line-long",
                 "the line has " + std::to_string(line->size()) + " characters, more than " +
                     std::to_string(MaxNamesLineLength));

        // A line has to start with a number 1..N not seen before, followed by a space.
        size_t digitsEnd = 0;
        long long number = 0;
        while (digitsEnd < line->size() && isDigit((*line)[digitsEnd])) {
            if (number <= programCount)
                number = number * 10 + ((*line)[digitsEnd] - '0');
            ++digitsEnd;
        }
        const bool numbered = digitsEnd > 0 && digitsEnd < line->size() && (*line)[digitsEnd] == ' ';
        const bool inRange = number >= 1 && number <= programCount;
        if (!numbered || !inRange || seenOnLine[static_cast<size_t>(number - 1)] != 0) {
            damaged = true;
            if (sink) {
                const std::string text =
                    digitsEnd == 0 ? "the line doesn't start with a program number"
                    : !numbered    ? "no space follows the program number"
                    : !inRange ? "program " + line->substr(0, digitsEnd) + " is not in the catalogue (programs 1 to " +
                                     std::to_string(programCount) + ")"
                               : "program " + std::to_string(number) + " is named on line " +
                                     std::to_string(seenOnLine[static_cast<size_t>(number - 1)]) + " already";
                sink->lineError(at, msg::NamesDamaged, "names-program-line", text);
            }
            continue;
        }
        seenOnLine[static_cast<size_t>(number - 1)] = at;

        size_t nameStart = digitsEnd;
        while (nameStart < line->size() && (*line)[nameStart] == ' ')
            ++nameStart;
        const int n = static_cast<int>(number);
        if (nameStart == line->size())
            warn(at, "names-empty", "program " + std::to_string(n) + " has no name");
        if (line->size() > LongLabelLineLength)
            warn(at, "names-cut-in-list",
                 "the line has " + std::to_string(line->size()) + " characters: the program list shows the first " +
                     std::to_string(LongLabelLineLength) + " and \"...\"");
        result.names.nameOrder.push_back(n);
        result.names.shortLabels[static_cast<size_t>(n - 1)] = shortLabel(n, std::string_view(*line).substr(nameStart));
        result.names.longLabels.push_back(longLabel(*line, catalogue.program(n)->runningSeconds));
    }

    if (!closing) {
        refuse(msg::NamesDamaged, reader.lineNumber(), "names-no-closing-line",
               "the file ends without its closing line \"#checksum count\"");
        return fail(msg::NamesDamaged);
    }
    if (sink && !reader.atEnd())
        warn(closingLine + 1, "names-after-closing-line", "the lines after the closing line are never read");
    size_t pos = 1;
    const std::optional<long long> checksum = scanDecimal(*closing, pos);
    const std::optional<long long> count = checksum ? scanDecimal(*closing, pos) : std::nullopt;
    if (!count) {
        refuse(msg::NamesDamaged, closingLine, "names-closing-line",
               "the closing line must be \"#\" followed by the checksum and the number of program lines");
        return fail(msg::NamesDamaged);
    }
    if (*count != programCount) {
        if (refuse(msg::NamesMismatch, closingLine, "names-count",
                   "the closing line counts " + std::to_string(*count) + " programs, the catalogue has " +
                       std::to_string(programCount)))
            return fail(msg::NamesMismatch);
    }
    if (!sink && (damaged || lineCount != *count || *checksum != namesChecksum(sum)))
        return fail(msg::NamesDamaged);
    if (sink) {
        if (lineCount != *count)
            refuse(msg::NamesDamaged, closingLine, "names-line-count",
                   "the closing line counts " + std::to_string(*count) + " program lines, the file holds " +
                       std::to_string(lineCount));
        if (*checksum != namesChecksum(sum))
            refuse(msg::NamesDamaged, closingLine, "names-checksum",
                   "the checksum is " + std::to_string(*checksum) + ", the program lines give " +
                       std::to_string(namesChecksum(sum)));
        // Each missing program on its own, up to a handful; a file missing most says so once.
        std::vector<int> missing;
        for (int n = 1; n <= programCount; ++n) {
            if (seenOnLine[static_cast<size_t>(n - 1)] == 0)
                missing.push_back(n);
        }
        for (size_t k = 0; k < missing.size() && k < 10; ++k)
            sink->lineError(closingLine, msg::NamesDamaged, "names-program-missing",
                            "program " + std::to_string(missing[k]) + " has no line");
        if (missing.size() > 10)
            sink->lineError(closingLine, msg::NamesDamaged, "names-program-missing",
                            std::to_string(missing.size() - 10) + " more programs have no line");
        if ((damaged || !missing.empty()) && refusal < 0)
            refusal = msg::NamesDamaged;
    }
    if (refusal >= 0)
        return fail(refusal);
    return result;
}

} // namespace trv
