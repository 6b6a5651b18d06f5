#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace trv::gen {

// One row of a source table, with the line it came from for error messages.
struct TableRow {
    int line = 0;
    std::vector<std::string> cells;
};

// A semicolon-separated UTF-8 table. "#" lines are comments, empty lines are skipped, "@key;value"
// lines set directives, and the first other line names the columns.
class SourceTable {
public:
    std::string file;
    std::vector<std::string> header;
    std::vector<TableRow> rows;
    std::map<std::string, std::string> directives;

    // Position of a named column; throws when the header lacks it.
    size_t column(const std::string& name) const;
    // The cell of a row in a named column; throws when the row is too short or the cell empty.
    const std::string& cell(const TableRow& row, const std::string& name) const;
    const std::string& directive(const std::string& key) const;
};

SourceTable parseTable(const std::string& file, std::string_view text);

// Splits text into lines (LF or CR LF) with their 1-based numbers.
std::vector<std::pair<int, std::string>> splitLines(std::string_view text);

// Whole-string conversions that throw a located error on anything else.
long long parseInteger(const std::string& text, const std::string& file, int line);
std::vector<std::string> splitWords(const std::string& text);

} // namespace trv::gen
