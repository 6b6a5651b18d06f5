#pragma once

#include "data/DataFolder.h"
#include "data/Diagnostics.h"

#include <ostream>
#include <string>
#include <string_view>

namespace trv {

// Where a problem lies as an editor takes it: the folder's path, then "FILE:LINE" for a text
// line, or the file alone (binary files add record and offset at the end of the line).
std::string ProblemLocation(const DataFolder& folder, const Problem& problem);

// One line per problem in the form compilers use, then the counts.
void WriteTextReport(std::ostream& out, const DataFolder& folder, const Diagnostics& found);

// The same as one JSON document.
void WriteJsonReport(std::ostream& out, const DataFolder& folder, const Diagnostics& found);

// A JSON string literal of UTF-8 text, quotes included. Everything outside printable ASCII is
// written as \uXXXX, so the document is ASCII; malformed UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view utf8);

} // namespace trv
