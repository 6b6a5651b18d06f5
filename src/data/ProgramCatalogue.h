#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace trv {

inline constexpr int MaxPrograms = 550;
inline constexpr int MaxRawSteps = 28000;
inline constexpr int StepRecordSize = 20;

// One 20-byte step record of trvimpr.tvb.
struct ProgramStep {
    uint16_t stepWord = 0;
    std::array<uint8_t, 9> deviceBytes{};
    uint8_t padding = 0;
    uint32_t frequency = 0;
    uint32_t frequencySpan = 0;

    friend bool operator==(const ProgramStep&, const ProgramStep&) = default;
};

// Equal for the device: the padding byte takes no part.
inline bool SameStep(const ProgramStep& a, const ProgramStep& b) {
    return a.stepWord == b.stepWord && a.frequency == b.frequency && a.frequencySpan == b.frequencySpan &&
           a.deviceBytes == b.deviceBytes;
}

struct CatalogueProgram {
    int number = 0; // 1-based; the program index is number - 1
    uint32_t runningSeconds = 0;
    int firstStep = 0;
    int stepCount = 0;
    std::string shortLabel; // 8-bit text as the names file holds it, at most 31 characters
    std::string longLabel;  // 8-bit text, at most 78 characters
};

enum class ListOrder { Numerical = 0, Alphabetical = 1 };

// The labels a names file gives, ready to be put into the catalogue.
struct ProgramNames {
    std::vector<int> nameOrder;           // program numbers in file order
    std::vector<std::string> longLabels;  // in file order
    std::vector<std::string> shortLabels; // by program index
};

// The loaded catalogue: programs by number, merged steps, and the names of the current language.
// Texts are kept as the 8-bit bytes of the files; the windows decode them for display.
class ProgramCatalogue {
public:
    int programCount() const { return static_cast<int>(programs_.size()); }
    uint16_t catalogueVersion() const { return catalogueVersion_; }

    // nullptr for a number outside 1..programCount.
    const CatalogueProgram* program(int number) const {
        if (number < 1 || number > programCount())
            return nullptr;
        return &programs_[static_cast<size_t>(number - 1)];
    }

    const std::vector<ProgramStep>& distinctSteps() const { return distinctSteps_; }
    const std::vector<int>& stepMap() const { return stepMap_; }
    // Program numbers in the order of the names file's program lines.
    const std::vector<int>& nameOrder() const { return nameOrder_; }

    // Replaces the labels and nameOrder with those of a names file checked against this catalogue.
    void applyNames(ProgramNames names);
    bool hasNames() const { return !nameOrder_.empty(); }

    // The long label of a program number, searched through nameOrder; nullptr when no names line
    // carries the number (any number outside 1..programCount, or before the names are loaded).
    const std::string* longLabel(long long number) const;

    // The lines of the program list in the given order: numerical "%3d " + long label by number,
    // alphabetical long label + " (%d)" in names file order.
    std::vector<std::string> programListLines(ListOrder order) const;
    // The program index (number - 1) shown on a line of that list; -1 for a line outside it.
    int programIndexOfLine(ListOrder order, int line) const;

    ListOrder listOrder() const { return listOrder_; }
    // true when the order changed, so the list has to be filled again.
    bool setListOrder(ListOrder order);

    // Assembles a catalogue from parts already checked by the caller (the loaders, and tests).
    void assemble(uint16_t version, std::vector<CatalogueProgram> programs, std::vector<ProgramStep> distinctSteps,
                  std::vector<int> stepMap) {
        catalogueVersion_ = version;
        programs_ = std::move(programs);
        distinctSteps_ = std::move(distinctSteps);
        stepMap_ = std::move(stepMap);
    }

protected:
    uint16_t catalogueVersion_ = 0;
    std::vector<CatalogueProgram> programs_;
    std::vector<ProgramStep> distinctSteps_;
    std::vector<int> stepMap_;
    std::vector<int> nameOrder_;
    std::vector<std::string> longLabels_; // in names file order
    std::vector<int> linePosition_;       // by program index: position in nameOrder, -1 without a line
    ListOrder listOrder_ = ListOrder::Numerical;
};

} // namespace trv
