#include "data/CatalogueFile.h"

#include "data/ByteReader.h"
#include "data/MessageNumbers.h"
#include "data/StepMerge.h"

#include <algorithm>

namespace trv {

namespace {

constexpr uint16_t EndOfStepsWord = 0xFFFF;

struct IndexEntry {
    uint32_t stepOffset = 0;
    uint32_t runningSeconds = 0;
};

// The parts of trvimpr.tvb both readers need. Index entries past the end of the file read as 0.
struct CatalogueLayout {
    int programCount = 0;
    std::vector<IndexEntry> index;
    std::vector<ProgramStep> rawSteps; // the records before the end of the step area
};

ProgramStep stepFromBytes(std::string_view record) {
    ProgramStep step;
    step.stepWord = readU16(record, 0);
    for (size_t i = 0; i < step.deviceBytes.size(); ++i)
        step.deviceBytes[i] = static_cast<uint8_t>(record[2 + i]);
    step.padding = static_cast<uint8_t>(record[11]);
    step.frequency = readU32(record, 12);
    step.frequencySpan = readU32(record, 16);
    return step;
}

CatalogueLayout readLayout(std::string_view bytes) {
    CatalogueLayout layout;
    if (bytes.size() < CatalogueHeaderSize)
        return layout;
    layout.programCount = readU16(bytes, 6);

    layout.index.resize(static_cast<size_t>(layout.programCount));
    for (size_t k = 0; k < layout.index.size(); ++k) {
        const size_t at = CatalogueHeaderSize + k * CatalogueIndexEntrySize;
        layout.index[k] = {readU32(bytes, at), readU32(bytes, at + 4)};
    }

    // The area ends at a 0xFFFF word, at a record the file fills only in part or not at all, or after 28000.
    size_t at = CatalogueHeaderSize + layout.index.size() * CatalogueIndexEntrySize;
    while (layout.rawSteps.size() < static_cast<size_t>(MaxRawSteps) && at <= bytes.size() &&
           bytes.size() - at >= StepRecordSize) {
        const ProgramStep step = stepFromBytes(bytes.substr(at, StepRecordSize));
        if (step.stepWord == EndOfStepsWord)
            break;
        layout.rawSteps.push_back(step);
        at += StepRecordSize;
    }
    return layout;
}

} // namespace

StepTable LoadStepTable(std::string_view fileBytes) {
    const CatalogueLayout layout = readLayout(fileBytes);
    const int rawCount = static_cast<int>(layout.rawSteps.size());

    StepTable table;
    table.programs.resize(layout.index.size());
    // Ranges are kept inside the step area and never negative, whatever the offsets say; a file
    // with unsound offsets is refused by ReadCatalogueHeader.
    int previousFirst = 0;
    for (size_t k = 0; k < layout.index.size(); ++k) {
        const uint32_t first = layout.index[k].stepOffset / StepRecordSize;
        const int firstStep = std::clamp(static_cast<int>(std::min<uint32_t>(first, static_cast<uint32_t>(rawCount))),
                                         previousFirst, rawCount);
        CatalogueProgram& program = table.programs[k];
        program.number = static_cast<int>(k) + 1;
        program.runningSeconds = layout.index[k].runningSeconds;
        program.firstStep = firstStep;
        previousFirst = firstStep;
    }
    for (size_t k = 0; k < table.programs.size(); ++k) {
        const int next = k + 1 < table.programs.size() ? table.programs[k + 1].firstStep : rawCount;
        table.programs[k].stepCount = next - table.programs[k].firstStep;
    }

    MergedSteps merged = mergeSteps(layout.rawSteps);
    table.distinctSteps = std::move(merged.distinctSteps);
    table.stepMap = std::move(merged.stepMap);
    return table;
}

CatalogueHeaderResult ReadCatalogueHeader(const std::optional<std::string>& fileBytes) {
    CatalogueHeaderResult result;
    if (!fileBytes) {
        result.outcome = LoadOutcome::failure(msg::CatalogueMissing);
        return result;
    }
    const std::string_view bytes = *fileBytes;
    const auto damaged = [&result] {
        result.outcome = LoadOutcome::failure(msg::CatalogueDamaged);
        return result;
    };
    if (bytes.size() < CatalogueHeaderSize || bytes.substr(0, 3) != "TVB")
        return damaged();
    if (readU16(bytes, 6) > MaxPrograms)
        return damaged();

    const CatalogueLayout layout = readLayout(bytes);
    const uint64_t rawCount = layout.rawSteps.size();
    uint64_t previousFirst = 0;
    for (const IndexEntry& entry : layout.index) {
        const uint64_t first = entry.stepOffset / StepRecordSize;
        if (entry.stepOffset % StepRecordSize != 0 || first < previousFirst || first > rawCount)
            return damaged();
        previousFirst = first;
    }

    result.header.catalogueVersion = readU16(bytes, 4);
    result.header.programCount = static_cast<uint16_t>(layout.programCount);
    result.header.runningSeconds.reserve(layout.index.size());
    for (const IndexEntry& entry : layout.index)
        result.header.runningSeconds.push_back(entry.runningSeconds);
    return result;
}

void assembleCatalogue(ProgramCatalogue& catalogue, const CatalogueHeader& header, StepTable steps) {
    std::vector<CatalogueProgram> programs(header.programCount);
    for (size_t k = 0; k < programs.size(); ++k) {
        if (k < steps.programs.size())
            programs[k] = steps.programs[k];
        programs[k].number = static_cast<int>(k) + 1;
        programs[k].runningSeconds = k < header.runningSeconds.size() ? header.runningSeconds[k] : 0;
    }
    catalogue.assemble(header.catalogueVersion, std::move(programs), std::move(steps.distinctSteps),
                       std::move(steps.stepMap));
}

} // namespace trv
