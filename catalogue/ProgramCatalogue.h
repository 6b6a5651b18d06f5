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
inline bool sameStep(const ProgramStep& a, const ProgramStep& b) {
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
};

} // namespace trv
