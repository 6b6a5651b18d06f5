#pragma once

#include "data/Diagnostics.h"
#include "data/LoadOutcome.h"
#include "data/ProgramCatalogue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

inline constexpr size_t ShortLabelNameLength = 24; // longer names are cut and get "..."
inline constexpr size_t LongLabelLineLength = 60;  // longer names lines are cut and get "..."

// "%3d " with the number, then the name, cut at 24 characters + "...".
std::string ShortLabel(int number, std::string_view name);
// The names line, cut at 60 characters + "...", then " [%02d:%02d]" with the running time,
// without the leading number and the spaces after it.
std::string LongLabel(std::string_view line, uint32_t runningSeconds);

struct ProgramNamesResult {
    LoadOutcome outcome;
    ProgramNames names;
};

// A program line a names file names a program with: its number, where it stands (1-based) and
// the name after the spaces that follow the number.
struct NamesFileLine {
    int number = 0;
    int line = 0;
    std::string name;
};

// Parses trvimpr.tvn against the catalogue (version, program count, running times). Failures:
// message 4 for a damaged file (no "#" first line, no or bad closing line, a line count or
// checksum that differs, a number outside 1..N or repeated, no space after the number),
// message 5 when the version or the closing count differs from the catalogue. A sink hears of
// every such fault with its line, and of what is accepted but shown cut or empty; lines (when
// given) receives each program line taken, even from a file refused as a whole. The outcome
// is the same with a sink or without.
ProgramNamesResult ParseProgramNames(std::string_view fileBytes, const ProgramCatalogue& catalogue,
                                     Diagnostics* sink = nullptr, std::vector<NamesFileLine>* lines = nullptr);

// Characters of a names line, line end excluded, that the format allows.
inline constexpr size_t MaxNamesLineLength = 98;

// The checksum of the closing line: each character of the program lines as a signed 8-bit
// value, summed, remainder of division by 65536 with truncation (negative for a negative sum).
int NamesChecksum(std::int64_t signedByteSum);

} // namespace trv
