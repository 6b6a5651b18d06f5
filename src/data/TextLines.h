#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// Reads the lines of an 8-bit text file's bytes one by one. A line ends with LF or CR LF; the
// line end is not part of the line. A last line without line end is a line too.
class TextLineReader {
public:
    // The reader keeps a view: the bytes must outlive it.
    explicit TextLineReader(std::string_view bytes) : bytes_(bytes) {}
    explicit TextLineReader(const char* text) : bytes_(text) {}
    explicit TextLineReader(std::string&&) = delete;

    // The next line; nullopt at the end of the bytes.
    std::optional<std::string> next();

    // The next line cut to maxChars characters, the rest of that line dropped, so an over-long
    // line never spills into the next read. hadLineEnd (if given) tells whether the line ended
    // with a line end inside the limit, as a bounded line read would see it.
    std::optional<std::string> next(size_t maxChars, bool* hadLineEnd = nullptr);

    bool atEnd() const { return pos_ >= bytes_.size(); }
    // 1-based number of the line the last read returned; 0 before the first.
    int lineNumber() const { return lineNumber_; }
    // Characters of the last line read, line end excluded, before any cut.
    size_t lastLength() const { return lastLength_; }

private:
    std::string_view bytes_;
    size_t pos_ = 0;
    int lineNumber_ = 0;
    size_t lastLength_ = 0;
};

// All lines of the bytes (see TextLineReader).
std::vector<std::string> SplitTextLines(std::string_view bytes);

} // namespace trv
