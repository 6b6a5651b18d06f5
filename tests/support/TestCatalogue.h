#pragma once

#include "data/ProgramCatalogue.h"
#include "program/DeviceImage.h"

#include <cstdint>
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

// The one way the tests assemble a catalogue in memory: program k (number k + 1, label "Prog<k + 1>")
// takes the distinct steps listed for it.
inline ProgramCatalogue MakeCatalogue(std::vector<ProgramStep> distinct, const std::vector<TestProgram>& programs,
                                      uint16_t version = 1) {
    std::vector<CatalogueProgram> entries;
    std::vector<int> stepMap;
    for (size_t k = 0; k < programs.size(); ++k) {
        CatalogueProgram program;
        program.number = static_cast<int>(k + 1);
        program.runningSeconds = programs[k].runningSeconds;
        program.firstStep = static_cast<int>(stepMap.size());
        program.stepCount = static_cast<int>(programs[k].steps.size());
        program.shortLabel = "Prog" + std::to_string(k + 1);
        stepMap.insert(stepMap.end(), programs[k].steps.begin(), programs[k].steps.end());
        entries.push_back(program);
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(version, std::move(entries), std::move(distinct), std::move(stepMap));
    return catalogue;
}

// Program k (number k + 1) uses the distinct steps listed for it, of frequencies 100, 107, 114, ...
// and spans 0, 10, 20, 0, ...; 60 s plus 10 s per number.
inline ProgramCatalogue CatalogueOf(int distinctSteps, const std::vector<std::vector<int>>& programSteps) {
    std::vector<ProgramStep> distinct;
    for (int k = 0; k < distinctSteps; ++k)
        distinct.push_back(StepWithFrequency(100 + static_cast<uint32_t>(k) * 7, static_cast<uint32_t>(k % 3) * 10,
                                             static_cast<uint16_t>(k + 1)));
    std::vector<TestProgram> programs;
    for (size_t k = 0; k < programSteps.size(); ++k)
        programs.push_back({programSteps[k], 60 + 10 * static_cast<uint32_t>(k)});
    return MakeCatalogue(std::move(distinct), programs);
}

// A catalogue with no steps whose programs have the given running times.
inline ProgramCatalogue catalogueWithTimes(uint16_t version, const std::vector<uint32_t>& runningSeconds) {
    std::vector<TestProgram> programs;
    for (uint32_t seconds : runningSeconds)
        programs.push_back({{}, seconds});
    return MakeCatalogue({}, programs, version);
}

// A device image holding just these items.
inline DeviceImage ImageOf(const std::vector<ImageItem>& items) {
    DeviceImage image;
    for (size_t k = 0; k < items.size(); ++k)
        image.items[k] = items[k];
    image.itemCount = static_cast<int32_t>(items.size());
    return image;
}

} // namespace trv::test
