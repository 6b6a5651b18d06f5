#include "tools/trvgen/SourceTable.h"

#include "tools/trvgen/GeneratorError.h"

#include <charconv>

namespace trv::gen {

std::vector<std::pair<int, std::string>> splitLines(std::string_view text) {
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(number, std::string(line));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

namespace {

std::vector<std::string> splitCells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    while (true) {
        const size_t end = line.find(';', start);
        cells.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return cells;
}

} // namespace

SourceTable parseTable(const std::string& file, std::string_view text) {
    SourceTable table;
    table.file = file;
    for (auto& [number, line] : splitLines(text)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> cells = splitCells(line);
        if (line[0] == '@') {
            if (cells.size() != 2)
                throw sourceError(file, number, "a directive is \"@key;value\"");
            table.directives[cells[0].substr(1)] = cells[1];
        } else if (table.header.empty()) {
            table.header = std::move(cells);
        } else {
            if (cells.size() != table.header.size())
                throw sourceError(file, number,
                                  "expected " + std::to_string(table.header.size()) + " cells, found " +
                                      std::to_string(cells.size()));
            table.rows.push_back({number, std::move(cells)});
        }
    }
    if (table.header.empty())
        throw sourceError(file, 1, "no header line");
    return table;
}

size_t SourceTable::column(const std::string& name) const {
    for (size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name)
            return i;
    }
    throw sourceError(file, 1, "no column \"" + name + "\"");
}

const std::string& SourceTable::cell(const TableRow& row, const std::string& name) const {
    const std::string& value = row.cells.at(column(name));
    if (value.empty())
        throw sourceError(file, row.line, "empty cell in column \"" + name + "\"");
    return value;
}

const std::string& SourceTable::directive(const std::string& key) const {
    const auto found = directives.find(key);
    if (found == directives.end())
        throw sourceError(file, 1, "missing directive @" + key);
    return found->second;
}

long long parseInteger(const std::string& text, const std::string& file, int line) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        throw sourceError(file, line, "\"" + text + "\" is not an integer");
    return value;
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && text[pos] == ' ')
            ++pos;
        const size_t start = pos;
        while (pos < text.size() && text[pos] != ' ')
            ++pos;
        if (pos > start)
            words.push_back(text.substr(start, pos - start));
    }
    return words;
}

} // namespace trv::gen
