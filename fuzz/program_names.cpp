// trvimpr.tvn against a catalogue derived from the input, and the labels and lists it gives.
//
// Input: a mode byte, the program count (2 bytes), the catalogue version (2 bytes), a running
// time seed (4 bytes), then the names file. With bit 0 of the mode set the rest is only the
// program lines: the target adds the version line and a closing line with the right checksum
// and count, so the fuzzer reaches the accepted file and its labels instead of stopping at the
// checksum; with bit 1 also set the program count is the number of those lines.
#include "FuzzSupport.h"

#include "data/MessageNumbers.h"
#include "data/ProgramNames.h"
#include "data/TextLines.h"
#include "program/ControlProgram.h"

#include <set>
#include <string>

using namespace trv;

namespace {

class DerivedCatalogue : public ProgramCatalogue {
public:
    DerivedCatalogue(uint16_t version, int programCount, uint32_t seed) {
        std::vector<CatalogueProgram> programs(static_cast<size_t>(programCount));
        for (int k = 0; k < programCount; ++k) {
            programs[static_cast<size_t>(k)].number = k + 1;
            // Spread over the whole 32-bit range, so minutes of one to eight digits all occur.
            programs[static_cast<size_t>(k)].runningSeconds = seed * static_cast<uint32_t>(k + 1) >> (k % 24);
        }
        assemble(version, std::move(programs), {}, {});
    }
};

std::string wrapProgramLines(std::string_view lines, uint16_t version) {
    std::int64_t sum = 0;
    const std::vector<std::string> split = SplitTextLines(lines);
    for (const std::string& line : split)
        for (char c : line)
            sum += static_cast<int8_t>(c);
    std::string file = "#" + std::to_string(version) + "\r\n";
    file.append(lines);
    if (!lines.empty() && lines.back() != '\n')
        file += "\r\n";
    file += "#" + std::to_string(NamesChecksum(sum)) + " " + std::to_string(split.size()) + "\r\n";
    return file;
}

std::string numberPrefix(int number) {
    char text[16];
    std::snprintf(text, sizeof text, "%3d ", number);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteSource in(data, size);
    const uint8_t mode = in.byte();
    int programCount = in.u16() % (MaxPrograms + 1);
    const uint16_t version = in.u16();
    const uint32_t seed = in.u32();
    const std::string_view body = in.rest();

    const bool wrapped = (mode & 1) != 0;
    if (wrapped && (mode & 2) != 0)
        programCount = std::min<int>(static_cast<int>(SplitTextLines(body).size()), MaxPrograms);
    const std::string file = wrapped ? wrapProgramLines(body, version) : std::string(body);

    DerivedCatalogue catalogue(version, programCount, seed);
    ProgramNamesResult result = ParseProgramNames(file, catalogue);
    if (!result.outcome.ok()) {
        FUZZ_CHECK(result.outcome.message == msg::NamesDamaged || result.outcome.message == msg::NamesMismatch);
        FUZZ_CHECK(result.names.nameOrder.empty() && result.names.longLabels.empty());
        return 0;
    }

    // Accepted: every number 1..N on exactly one line, labels within their slots.
    const ProgramNames& names = result.names;
    FUZZ_CHECK(names.nameOrder.size() == static_cast<size_t>(programCount));
    FUZZ_CHECK(names.longLabels.size() == names.nameOrder.size());
    FUZZ_CHECK(names.shortLabels.size() == static_cast<size_t>(programCount));
    const std::set<int> numbers(names.nameOrder.begin(), names.nameOrder.end());
    FUZZ_CHECK(numbers.size() == names.nameOrder.size());
    FUZZ_CHECK(numbers.empty() || (*numbers.begin() == 1 && *numbers.rbegin() == programCount));
    for (int k = 0; k < programCount; ++k) {
        const std::string& label = names.shortLabels[static_cast<size_t>(k)];
        FUZZ_CHECK(label.size() <= 31);
        FUZZ_CHECK(label.compare(0, 4, numberPrefix(k + 1)) == 0);
        FUZZ_CHECK(!fuzz::containsByte(label, '\n'));
    }
    for (const std::string& label : names.longLabels) {
        FUZZ_CHECK(label.size() <= 78);
        FUZZ_CHECK(!label.empty() && label.back() == ']');
        FUZZ_CHECK(!fuzz::containsByte(label, '\n'));
    }

    catalogue.applyNames(std::move(result.names));
    for (ListOrder order : {ListOrder::Numerical, ListOrder::Alphabetical}) {
        const std::vector<std::string> lines = catalogue.programListLines(order);
        FUZZ_CHECK(lines.size() == static_cast<size_t>(programCount));
        for (int line = 0; line < programCount; ++line) {
            const int index = catalogue.programIndexOfLine(order, line);
            FUZZ_CHECK(index >= 0 && index < programCount);
            if (order == ListOrder::Numerical)
                FUZZ_CHECK(index == line);
        }
        FUZZ_CHECK(catalogue.programIndexOfLine(order, programCount) == -1);
    }
    for (int number = 1; number <= programCount; ++number)
        FUZZ_CHECK(catalogue.longLabel(number) != nullptr);

    // The control list shows the short labels, each within its 31 characters.
    ControlProgram control(catalogue, [](int) { return std::string("%s%n"); });
    std::vector<uint32_t> list;
    for (size_t k = 0; k < catalogue.nameOrder().size() && list.size() < 15; ++k)
        list.push_back(static_cast<uint32_t>(catalogue.nameOrder()[k]));
    list.push_back(0);
    control.LoadProgramList(std::span<const uint32_t>(list));
    for (const std::string& line : control.lines())
        FUZZ_CHECK(line.size() <= 116);
    return 0;
}
