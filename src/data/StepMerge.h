#pragma once

#include "data/ProgramCatalogue.h"

#include <span>
#include <vector>

namespace trv {

// Raw steps merged by SameStep: each distinct step once, in order of first occurrence (so a
// merged step keeps the earlier one's padding byte), and for every raw step its distinct position.
struct MergedSteps {
    std::vector<ProgramStep> distinctSteps;
    std::vector<int> stepMap;

    friend bool operator==(const MergedSteps&, const MergedSteps&) = default;
};

// Linear expected time: a hash map keyed on the compared fields.
MergedSteps MergeSteps(std::span<const ProgramStep> rawSteps);

// The plain pairwise merge (quadratic); kept as the reference the fast merge is checked against.
MergedSteps MergeStepsPairwise(std::span<const ProgramStep> rawSteps);

} // namespace trv
