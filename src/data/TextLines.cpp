#include "data/TextLines.h"

namespace trv {

std::optional<std::string> TextLineReader::next() {
    return next(std::string::npos);
}

std::optional<std::string> TextLineReader::next(size_t maxChars, bool* hadLineEnd) {
    if (atEnd())
        return std::nullopt;
    const size_t lf = bytes_.find('\n', pos_);
    const size_t stop = lf == std::string_view::npos ? bytes_.size() : lf;
    std::string_view line = bytes_.substr(pos_, stop - pos_);
    pos_ = lf == std::string_view::npos ? bytes_.size() : lf + 1;
    const bool crlf = lf != std::string_view::npos && !line.empty() && line.back() == '\r';
    if (crlf)
        line.remove_suffix(1);
    ++lineNumber_;
    lastLength_ = line.size();

    const bool fits = line.size() <= maxChars;
    if (hadLineEnd)
        *hadLineEnd = lf != std::string_view::npos && fits;
    if (!fits)
        line = line.substr(0, maxChars);
    return std::string(line);
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
    std::vector<std::string> lines;
    TextLineReader reader(bytes);
    while (auto line = reader.next())
        lines.push_back(std::move(*line));
    return lines;
}

} // namespace trv
