#include "data/ProgramNames.h"

#include "data/Log.h"
#include "data/MessageNumbers.h"
#include "data/NumberText.h"
#include "data/TextLines.h"

#include <limits>

namespace trv {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A decimal number as "%d" reads it: leading white space, an optional sign, digits. Advances pos.
std::optional<long long> ScanDecimal(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsSpace(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
        negative = text[pos++] == '-';
    if (pos >= text.size() || !IsDigit(text[pos]))
        return std::nullopt;
    long long value = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
        if (value < std::numeric_limits<int>::max())
            value = value * 10 + (text[pos] - '0');
    }
    return negative ? -value : value;
}

} // namespace

std::string ShortLabel(int number, std::string_view name) {
    std::string label;
    label.reserve(4 + ShortLabelNameLength + 3);
    AppendNumber(label, number, 3);
    label += ' ';
    if (name.size() > ShortLabelNameLength) {
        label.append(name.substr(0, ShortLabelNameLength));
        label.append("...");
    } else {
        label.append(name);
    }
    return label;
}

std::string LongLabel(std::string_view line, uint32_t runningSeconds) {
    std::string text;
    if (line.size() > LongLabelLineLength) {
        text.assign(line.substr(0, LongLabelLineLength));
        text.append("...");
    } else {
        text.assign(line);
    }
    text += " [";
    AppendNumber(text, runningSeconds / 60, 2, '0');
    text += ':';
    AppendNumber(text, runningSeconds % 60, 2, '0');
    text += ']';

    size_t start = 0;
    while (start < text.size() && IsDigit(text[start]))
        ++start;
    while (start < text.size() && text[start] == ' ')
        ++start;
    return text.substr(start);
}

int NamesChecksum(std::int64_t signedByteSum) {
    return static_cast<int>(signedByteSum % 65536);
}

namespace {

// Reads a names file in its order. Every fault is met where it stands and the outcome is the
// first refusal, the one the application shows; a sink hears of each fault and warning, and
// lines (when given) of each program line taken.
class NamesFileParser {
public:
    NamesFileParser(std::string_view bytes, const ProgramCatalogue& catalogue, Diagnostics* sink,
                    std::vector<NamesFileLine>* lines)
        : reader_(bytes), catalogue_(catalogue), programCount_(catalogue.programCount()), sink_(sink), lines_(lines),
          seenOnLine_(static_cast<size_t>(programCount_), 0) {
        result_.names.shortLabels.resize(static_cast<size_t>(programCount_));
    }

    ProgramNamesResult parse();

private:
    void readVersionLine();
    std::optional<std::string> readProgramLines();
    void readProgramLine(const std::string& line, int at);
    std::string programLineFault(const std::string& line, size_t digitsEnd, bool numbered, long long number) const;
    void readClosingLine(std::string_view closing, int at);
    void reportMissingPrograms(int closingLine);

    void noteRefusal(int message) {
        if (refusal_ < 0)
            refusal_ = message;
    }
    void refuse(int message, int line, const char* kind, std::string text) {
        noteRefusal(message);
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                "program names file, line " << line << ": " << text << " [message " << message << "]");
        if (sink_)
            sink_->lineError(line, message, kind, std::move(text));
    }
    void warn(int line, const char* kind, std::string text) { sink_->lineWarning(line, kind, std::move(text)); }

    TextLineReader reader_;
    const ProgramCatalogue& catalogue_;
    const int programCount_;
    Diagnostics* sink_;
    std::vector<NamesFileLine>* lines_;
    ProgramNamesResult result_;
    int refusal_ = -1;
    std::vector<int> seenOnLine_; // by program index: the line that names it, 0 for none yet
    bool damaged_ = false;        // a program line was refused
    int lineCount_ = 0;
    std::int64_t sum_ = 0;
};

ProgramNamesResult NamesFileParser::parse() {
    readVersionLine();
    // Without a sink nobody hears of the rest: a wrong first line ends the parse.
    if (refusal_ < 0 || sink_) {
        const std::optional<std::string> closing = readProgramLines();
        if (!closing) {
            refuse(msg::NamesDamaged, reader_.lineNumber(), "names-no-closing-line",
                   "the file ends without its closing line \"#checksum count\"");
        } else {
            const int closingLine = reader_.lineNumber();
            if (sink_ && !reader_.atEnd())
                warn(closingLine + 1, "names-after-closing-line", "the lines after the closing line are never read");
            readClosingLine(*closing, closingLine);
        }
    }
    if (refusal_ >= 0) {
        result_.outcome = LoadOutcome::failure(refusal_);
        result_.names = {};
    }
    return std::move(result_);
}

void NamesFileParser::readVersionLine() {
    const std::optional<std::string> first = reader_.next();
    const long long expected = catalogue_.catalogueVersion();
    if (!first || first->empty() || (*first)[0] != '#') {
        refuse(msg::NamesDamaged, 1, "names-first-line",
               "the first line must be \"#\" followed by the catalogue version " + std::to_string(expected));
        return;
    }
    size_t pos = 1;
    const std::optional<long long> version = ScanDecimal(*first, pos);
    if (!version || *version != expected)
        refuse(msg::NamesMismatch, 1, "names-version",
               "the file is for catalogue version " + (version ? std::to_string(*version) : std::string("?")) +
                   ", the catalogue is version " + std::to_string(expected));
}

// The program lines up to the closing line, which it returns; nullopt when the file has none.
std::optional<std::string> NamesFileParser::readProgramLines() {
    while (std::optional<std::string> line = reader_.next()) {
        if (!line->empty() && (*line)[0] == '#')
            return line;
        readProgramLine(*line, reader_.lineNumber());
    }
    return std::nullopt;
}

// A program line: a number 1..N not named before, a space, then the name.
void NamesFileParser::readProgramLine(const std::string& line, int at) {
    ++lineCount_;
    for (char c : line)
        sum_ += static_cast<int8_t>(c);
    if (sink_ && line.size() > MaxNamesLineLength)
        warn(at, "names-line-long",
             "the line has " + std::to_string(line.size()) + " characters, more than " +
                 std::to_string(MaxNamesLineLength));

    size_t digitsEnd = 0;
    long long number = 0;
    for (; digitsEnd < line.size() && IsDigit(line[digitsEnd]); ++digitsEnd) {
        if (number <= programCount_)
            number = number * 10 + (line[digitsEnd] - '0');
    }
    const bool numbered = digitsEnd > 0 && digitsEnd < line.size() && line[digitsEnd] == ' ';
    const bool inRange = number >= 1 && number <= programCount_;
    if (!numbered || !inRange || seenOnLine_[static_cast<size_t>(number - 1)] != 0) {
        damaged_ = true;
        if (sink_)
            sink_->lineError(at, msg::NamesDamaged, "names-program-line",
                             programLineFault(line, digitsEnd, numbered, number));
        return;
    }
    seenOnLine_[static_cast<size_t>(number - 1)] = at;

    size_t nameStart = digitsEnd;
    while (nameStart < line.size() && line[nameStart] == ' ')
        ++nameStart;
    const int n = static_cast<int>(number);
    const std::string_view name = std::string_view(line).substr(nameStart);
    if (sink_ && name.empty())
        warn(at, "names-empty", "program " + std::to_string(n) + " has no name");
    if (sink_ && line.size() > LongLabelLineLength)
        warn(at, "names-cut-in-list",
             "the line has " + std::to_string(line.size()) + " characters: the program list shows the first " +
                 std::to_string(LongLabelLineLength) + " and \"...\"");
    result_.names.nameOrder.push_back(n);
    result_.names.shortLabels[static_cast<size_t>(n - 1)] = ShortLabel(n, name);
    result_.names.longLabels.push_back(LongLabel(line, catalogue_.program(n)->runningSeconds));
    if (lines_)
        lines_->push_back({n, at, std::string(name)});
}

std::string NamesFileParser::programLineFault(const std::string& line, size_t digitsEnd, bool numbered,
                                              long long number) const {
    if (digitsEnd == 0)
        return "the line doesn't start with a program number";
    if (!numbered)
        return "no space follows the program number";
    if (number < 1 || number > programCount_)
        return "program " + line.substr(0, digitsEnd) + " is not in the catalogue (programs 1 to " +
               std::to_string(programCount_) + ")";
    return "program " + std::to_string(number) + " is named on line " +
           std::to_string(seenOnLine_[static_cast<size_t>(number - 1)]) + " already";
}

// "#checksum count" against the catalogue and the program lines read.
void NamesFileParser::readClosingLine(std::string_view closing, int at) {
    size_t pos = 1;
    const std::optional<long long> checksum = ScanDecimal(closing, pos);
    const std::optional<long long> count = checksum ? ScanDecimal(closing, pos) : std::nullopt;
    if (!count) {
        refuse(msg::NamesDamaged, at, "names-closing-line",
               "the closing line must be \"#\" followed by the checksum and the number of program lines");
        return;
    }
    if (*count != programCount_)
        refuse(msg::NamesMismatch, at, "names-count",
               "the closing line counts " + std::to_string(*count) + " programs, the catalogue has " +
                   std::to_string(programCount_));
    if (lineCount_ != *count)
        refuse(msg::NamesDamaged, at, "names-line-count",
               "the closing line counts " + std::to_string(*count) + " program lines, the file holds " +
                   std::to_string(lineCount_));
    if (*checksum != NamesChecksum(sum_))
        refuse(msg::NamesDamaged, at, "names-checksum",
               "the checksum is " + std::to_string(*checksum) + ", the program lines give " +
                   std::to_string(NamesChecksum(sum_)));
    // Lines that are all sound, as many as the catalogue's programs, name each program once.
    if (damaged_)
        noteRefusal(msg::NamesDamaged);
    if (sink_)
        reportMissingPrograms(at);
}

// Each missing program on its own, up to a handful; a file missing most says so once.
void NamesFileParser::reportMissingPrograms(int closingLine) {
    constexpr size_t Listed = 10;
    std::vector<int> missing;
    for (int n = 1; n <= programCount_; ++n) {
        if (seenOnLine_[static_cast<size_t>(n - 1)] == 0)
            missing.push_back(n);
    }
    for (size_t k = 0; k < missing.size() && k < Listed; ++k)
        refuse(msg::NamesDamaged, closingLine, "names-program-missing",
               "program " + std::to_string(missing[k]) + " has no line");
    if (missing.size() > Listed)
        refuse(msg::NamesDamaged, closingLine, "names-program-missing",
               std::to_string(missing.size() - Listed) + " more programs have no line");
}

} // namespace

ProgramNamesResult ParseProgramNames(std::string_view fileBytes, const ProgramCatalogue& catalogue, Diagnostics* sink,
                                     std::vector<NamesFileLine>* lines) {
    return NamesFileParser(fileBytes, catalogue, sink, lines).parse();
}

} // namespace trv
