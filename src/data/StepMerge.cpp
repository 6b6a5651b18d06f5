#include "data/StepMerge.h"

#include <bit>
#include <cstring>

namespace trv {

namespace {

uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    h ^= h >> 33;
    return h;
}

// Hash over exactly the fields SameStep compares, so equal steps always meet in one probe chain.
uint64_t StepHash(const ProgramStep& step) {
    uint64_t bytesLow = 0;
    std::memcpy(&bytesLow, step.deviceBytes.data(), 8);
    const uint64_t a = (uint64_t{step.frequency} << 32) | step.frequencySpan;
    const uint64_t b = (uint64_t{step.stepWord} << 8) | step.deviceBytes[8];
    return Mix(a ^ Mix(bytesLow ^ Mix(b)));
}

} // namespace

MergedSteps MergeSteps(std::span<const ProgramStep> rawSteps) {
    MergedSteps merged;
    merged.stepMap.resize(rawSteps.size());
    if (rawSteps.empty())
        return merged;
    merged.distinctSteps.reserve(rawSteps.size());

    // Open addressing with linear probing over positions in distinctSteps; at most half full.
    const size_t capacity = std::bit_ceil(rawSteps.size() * 2);
    const size_t mask = capacity - 1;
    std::vector<int> slots(capacity, -1);

    for (size_t raw = 0; raw < rawSteps.size(); ++raw) {
        const ProgramStep& step = rawSteps[raw];
        size_t slot = StepHash(step) & mask;
        for (;;) {
            const int distinct = slots[slot];
            if (distinct < 0) {
                const int position = static_cast<int>(merged.distinctSteps.size());
                merged.distinctSteps.push_back(step);
                slots[slot] = position;
                merged.stepMap[raw] = position;
                break;
            }
            if (SameStep(merged.distinctSteps[static_cast<size_t>(distinct)], step)) {
                merged.stepMap[raw] = distinct;
                break;
            }
            slot = (slot + 1) & mask;
        }
    }
    return merged;
}

MergedSteps MergeStepsPairwise(std::span<const ProgramStep> rawSteps) {
    const size_t count = rawSteps.size();
    std::vector<bool> keep(count, true);
    std::vector<size_t> pointsAt(count);
    for (size_t j = 0; j < count; ++j)
        pointsAt[j] = j;

    for (size_t j = 0; j < count; ++j) {
        if (!keep[j])
            continue;
        for (size_t k = j + 1; k < count; ++k) {
            if (SameStep(rawSteps[j], rawSteps[k])) {
                pointsAt[k] = j;
                keep[k] = false;
            }
        }
    }

    MergedSteps merged;
    std::vector<int> distinctPosition(count, -1);
    for (size_t j = 0; j < count; ++j) {
        if (keep[j]) {
            distinctPosition[j] = static_cast<int>(merged.distinctSteps.size());
            merged.distinctSteps.push_back(rawSteps[j]);
        }
    }
    merged.stepMap.resize(count);
    for (size_t j = 0; j < count; ++j)
        merged.stepMap[j] = distinctPosition[pointsAt[j]];
    return merged;
}

} // namespace trv
