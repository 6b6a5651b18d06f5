#pragma once

#include "data/ProgramCatalogue.h"

#include <string>
#include <vector>

namespace trv::test {

// A program of a test catalogue: its raw steps as positions in the distinct step list.
struct TestProgram {
    std::vector<int> steps;
    uint32_t runningSeconds = 60;
};

// A step whose frequency tells it apart; zero device bytes, so the codes written are all there is.
inline ProgramStep StepWithFrequency(uint32_t frequency, uint32_t span = 0, uint16_t word = 1) {
    ProgramStep step;
    step.stepWord = word;
    step.frequency = frequency;
    step.frequencySpan = span;
    return step;
}

inline std::vector<ProgramStep> DistinctSteps(int count) {
    std::vector<ProgramStep> steps;
    for (int k = 0; k < count; ++k)
        steps.push_back(StepWithFrequency(100 + static_cast<uint32_t>(k), 0, static_cast<uint16_t>(k + 1)));
    return steps;
}

inline ProgramCatalogue MakeCatalogue(std::vector<ProgramStep> distinct, const std::vector<TestProgram>& programs) {
    std::vector<CatalogueProgram> entries;
    std::vector<int> stepMap;
    for (size_t k = 0; k < programs.size(); ++k) {
        CatalogueProgram program;
        program.number = static_cast<int>(k + 1);
        program.runningSeconds = programs[k].runningSeconds;
        program.firstStep = static_cast<int>(stepMap.size());
        program.stepCount = static_cast<int>(programs[k].steps.size());
        program.shortLabel = "  " + std::to_string(k + 1) + " Program";
        stepMap.insert(stepMap.end(), programs[k].steps.begin(), programs[k].steps.end());
        entries.push_back(program);
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(entries), std::move(distinct), std::move(stepMap));
    return catalogue;
}

} // namespace trv::test
