// The merge of equal catalogue steps: hash-based against the pairwise reference, on a full-size
// catalogue (550 programs, 28000 steps, mostly distinct).
#include "data/CatalogueFile.h"
#include "data/StepMerge.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

std::vector<trv::ProgramStep> fullCatalogueSteps() {
    std::mt19937 random(550);
    std::uniform_int_distribution<uint32_t> frequency(1, 5000000);
    std::uniform_int_distribution<int> percent(0, 99);
    std::vector<trv::ProgramStep> steps;
    steps.reserve(trv::MaxRawSteps);
    while (steps.size() < static_cast<size_t>(trv::MaxRawSteps)) {
        // About one step in twenty repeats an earlier one, now and then with another padding byte.
        if (!steps.empty() && percent(random) < 5) {
            trv::ProgramStep copy = steps[random() % steps.size()];
            copy.padding = static_cast<uint8_t>(random());
            steps.push_back(copy);
            continue;
        }
        trv::ProgramStep step;
        step.stepWord = static_cast<uint16_t>(180 + random() % 8 * 60); // few distinct durations
        step.frequency = frequency(random);
        step.frequencySpan = step.frequency / 100;
        step.deviceBytes = {0x28, static_cast<uint8_t>(random()), 0xF7, 0xF0, 0, 0, 0x35, 0xF5, 0xD8};
        steps.push_back(step);
    }
    return steps;
}

const std::vector<trv::ProgramStep>& steps() {
    static const std::vector<trv::ProgramStep> all = fullCatalogueSteps();
    return all;
}

void BM_MergeHashed(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(trv::MergeSteps(steps()));
    state.counters["distinct"] = static_cast<double>(trv::MergeSteps(steps()).distinctSteps.size());
}

void BM_MergePairwise(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(trv::MergeStepsPairwise(steps()));
}

} // namespace

BENCHMARK(BM_MergeHashed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergePairwise)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
