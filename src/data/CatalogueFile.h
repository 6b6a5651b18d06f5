#pragma once

#include "data/Diagnostics.h"
#include "data/LoadOutcome.h"
#include "data/ProgramCatalogue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

inline constexpr size_t CatalogueHeaderSize = 16;
inline constexpr size_t CatalogueIndexEntrySize = 8;

// What LoadStepTable builds from trvimpr.tvb: per program (by index = number - 1) its number,
// running time and step range, and the merged steps.
struct StepTable {
    std::vector<CatalogueProgram> programs;
    std::vector<ProgramStep> distinctSteps;
    std::vector<int> stepMap;
};

// The checked header of trvimpr.tvb.
struct CatalogueHeader {
    uint16_t catalogueVersion = 0;
    uint16_t programCount = 0;
    std::vector<uint32_t> runningSeconds; // by program index
};

struct CatalogueHeaderResult {
    LoadOutcome outcome;
    CatalogueHeader header;
};

// Reads the index and step area and merges equal steps. Reports nothing: any bytes give a table
// with step ranges inside the step area (ReadCatalogueHeader refuses a file that is not sound).
StepTable LoadStepTable(std::string_view fileBytes);

// Checks trvimpr.tvb: nullopt (missing) gives message 1; a short header, wrong magic, more than
// 550 programs, or step offsets that are not multiples of 20, descend or point past the step
// area give message 2. A sink hears of every unsound index entry, not only the first, and of
// programs the device can't run as they stand (no steps, more steps than an item carries); when
// only step offsets are unsound, the refused result still carries the header for further checks.
CatalogueHeaderResult ReadCatalogueHeader(const std::optional<std::string>& fileBytes, Diagnostics* sink = nullptr);

// Puts the step table and the checked header together into the catalogue (names come later).
void AssembleCatalogue(ProgramCatalogue& catalogue, const CatalogueHeader& header, StepTable steps);

} // namespace trv
