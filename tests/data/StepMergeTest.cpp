#include "data/StepMerge.h"

#include <gtest/gtest.h>

#include <random>

namespace trv {
namespace {

// Random steps drawn from a small pool of field values, so that equal steps, steps that differ in a
// single field and steps equal but for the padding byte all occur often.
std::vector<ProgramStep> randomSteps(std::mt19937& random, size_t count, int valueRange) {
    std::uniform_int_distribution<int> value(0, valueRange - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<ProgramStep> steps(count);
    for (ProgramStep& step : steps) {
        step.stepWord = static_cast<uint16_t>(value(random));
        step.frequency = static_cast<uint32_t>(value(random));
        step.frequencySpan = static_cast<uint32_t>(value(random) % 2);
        step.deviceBytes[static_cast<size_t>(value(random)) % 9] = static_cast<uint8_t>(value(random));
        step.padding = static_cast<uint8_t>(byte(random));
    }
    return steps;
}

TEST(StepMerge, FastMergeGivesExactlyThePairwiseResult) {
    std::mt19937 random(20240611);
    for (int valueRange : {2, 3, 8, 1000}) {
        for (size_t count : {size_t{0}, size_t{1}, size_t{17}, size_t{600}}) {
            const std::vector<ProgramStep> steps = randomSteps(random, count, valueRange);
            const MergedSteps fast = MergeSteps(steps);
            const MergedSteps reference = MergeStepsPairwise(steps);
            ASSERT_EQ(fast, reference) << "range " << valueRange << ", " << count << " steps";
        }
    }
}

TEST(StepMerge, MapPointsAtAnEqualStepAndDistinctStepsDiffer) {
    std::mt19937 random(7);
    const std::vector<ProgramStep> steps = randomSteps(random, 2000, 4);
    const MergedSteps merged = MergeSteps(steps);
    ASSERT_EQ(merged.stepMap.size(), steps.size());
    for (size_t k = 0; k < steps.size(); ++k)
        EXPECT_TRUE(SameStep(steps[k], merged.distinctSteps[static_cast<size_t>(merged.stepMap[k])]));
    for (size_t a = 0; a < merged.distinctSteps.size(); ++a)
        for (size_t b = a + 1; b < merged.distinctSteps.size(); ++b)
            ASSERT_FALSE(SameStep(merged.distinctSteps[a], merged.distinctSteps[b]));
}

} // namespace
} // namespace trv
