// The program finder on a full-size catalogue (550 programs) with names of the longest kind the
// program list shows, accented as the Central European names are: one keystroke is one find().
#include "data/Codepage.h"
#include "data/ProgramFinder.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

trv::ProgramCatalogue fullCatalogue() {
    static const char* const words[] = {"Ellenőrzés", "általános", "harmonizálás", "fejfájás",  "enyhítés",
                                        "Állkapocs",  "feszülés",  "anyagcsere",   "szorongás", "oldás",
                                        "keringés",   "támogatás", "ízületi",      "regeneráló"};
    std::mt19937 random(550);
    std::vector<trv::CatalogueProgram> programs;
    trv::ProgramNames names;
    for (int number = 1; number <= trv::MaxPrograms; ++number) {
        trv::CatalogueProgram program;
        program.number = number;
        programs.push_back(program);
        std::string name;
        while (name.size() < 56)
            name += std::string(name.empty() ? "" : " ") + words[random() % std::size(words)];
        names.nameOrder.push_back(number);
        names.longLabels.push_back(trv::EncodeFromUtf8(name, trv::Codepage::CentralEuropean) + " [12:30]");
        names.shortLabels.push_back(std::to_string(number));
    }
    trv::ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), {}, {});
    catalogue.applyNames(std::move(names));
    return catalogue;
}

// The index, built once per language.
void BuildIndex(benchmark::State& state) {
    const trv::ProgramCatalogue catalogue = fullCatalogue();
    for (auto _ : state)
        benchmark::DoNotOptimize(trv::ProgramFinder(catalogue));
}
BENCHMARK(BuildIndex)->Unit(benchmark::kMicrosecond);

// The text after each keystroke of a search, from the first letter (the most results) on.
void Keystroke(benchmark::State& state, const char* typed) {
    const trv::ProgramFinder finder(fullCatalogue());
    for (auto _ : state)
        benchmark::DoNotOptimize(finder.find(typed));
    state.SetLabel(std::to_string(finder.find(typed).size()) + " found");
}
BENCHMARK_CAPTURE(Keystroke, one_letter, "e")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, accented_word, "Ellenőrzés")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, two_words, "altalanos harmon")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, number, "12")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Keystroke, nothing_found, "xyzzy")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
