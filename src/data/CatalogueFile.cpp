#include "data/CatalogueFile.h"

#include "data/ByteReader.h"
#include "data/DataFolder.h"
#include "data/Log.h"
#include "data/MessageNumbers.h"
#include "data/StepMerge.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace trv {

namespace {

constexpr uint16_t EndOfStepsWord = 0xFFFF;
// Steps one item of the device image carries; the download refuses a program with more.
constexpr uint64_t ItemStepLimit = 128;

struct IndexEntry {
    uint32_t stepOffset = 0;
    uint32_t runningSeconds = 0;
};

// The parts of trvimpr.tvb both readers need. Index entries past the end of the file read as 0.
struct CatalogueLayout {
    int programCount = 0;
    std::vector<IndexEntry> index;
    size_t stepsStart = 0;             // the offset of the first step record
    size_t rawCount = 0;               // the records before the end of the step area
    bool cutShort = false;             // the file ends inside a record, and no end word starts it
    std::vector<ProgramStep> rawSteps; // those records, only when asked for (the header check needs the count alone)
};

uint32_t LittleEndian32(const unsigned char* at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

// One whole record, its place checked by the caller: the full catalogue has 28000 of them.
ProgramStep StepFromRecord(const unsigned char* record) {
    ProgramStep step;
    step.stepWord = static_cast<uint16_t>(record[0] | record[1] << 8);
    std::memcpy(step.deviceBytes.data(), record + 2, step.deviceBytes.size());
    step.padding = record[11];
    step.frequency = LittleEndian32(record + 12);
    step.frequencySpan = LittleEndian32(record + 16);
    return step;
}

CatalogueLayout ReadLayout(std::string_view bytes, bool withSteps) {
    CatalogueLayout layout;
    if (bytes.size() < CatalogueHeaderSize)
        return layout;
    layout.programCount = ReadU16(bytes, 6);

    layout.index.resize(static_cast<size_t>(layout.programCount));
    for (size_t k = 0; k < layout.index.size(); ++k) {
        const size_t at = CatalogueHeaderSize + k * CatalogueIndexEntrySize;
        layout.index[k] = {ReadU32(bytes, at), ReadU32(bytes, at + 4)};
    }

    // The area ends at a 0xFFFF word, at a record the file fills only in part or not at all, or after 28000.
    const size_t start = CatalogueHeaderSize + layout.index.size() * CatalogueIndexEntrySize;
    const size_t records = start <= bytes.size() ? (bytes.size() - start) / StepRecordSize : 0;
    const size_t limit = std::min<size_t>(records, MaxRawSteps);
    while (layout.rawCount < limit && ReadU16(bytes, start + layout.rawCount * StepRecordSize) != EndOfStepsWord)
        ++layout.rawCount;
    layout.stepsStart = start;
    const size_t stepsEnd = start + layout.rawCount * StepRecordSize;
    const size_t left = bytes.size() > stepsEnd ? bytes.size() - stepsEnd : 0;
    layout.cutShort = layout.rawCount < static_cast<size_t>(MaxRawSteps) && left > 0 && left < StepRecordSize &&
                      ReadU16(bytes, stepsEnd) != EndOfStepsWord;
    if (withSteps) {
        const auto* records = reinterpret_cast<const unsigned char*>(bytes.data());
        layout.rawSteps.resize(layout.rawCount);
        for (size_t k = 0; k < layout.rawCount; ++k)
            layout.rawSteps[k] = StepFromRecord(records + start + k * StepRecordSize);
    }
    return layout;
}

// A file cut inside a step record loses the steps from there on, and the programs whose steps
// run up to the end of the area lose theirs with them. The reader can't tell a cut from an end,
// so the application takes the file; the warning names those programs.
void ReportCutStepArea(const CatalogueLayout& layout, Diagnostics& sink) {
    if (!layout.cutShort || layout.index.empty())
        return;
    std::vector<size_t> cut; // the programs whose steps run to the end of the area
    for (size_t k = layout.index.size(); k-- > 0;) {
        cut.insert(cut.begin(), k);
        if (layout.index[k].stepOffset / StepRecordSize < layout.rawCount)
            break;
    }
    std::string programs = cut.size() == 1 ? "program " : "programs ";
    for (size_t j = 0; j < cut.size(); ++j) {
        programs += j == 0 ? "" : j + 1 == cut.size() ? " and " : ", ";
        programs += std::to_string(cut[j] + 1);
    }
    const std::string them = cut.size() == 1 ? "it" : "them";
    sink.recordWarning(
        static_cast<int>(layout.rawCount) + 1,
        static_cast<long long>(layout.stepsStart + layout.rawCount * StepRecordSize), "catalogue-cut-short",
        "the file ends inside this step record, without the end word: it is cut short, and the steps of " + programs +
            " run past its end, so a download sends " + them + " without those steps");
}

// The 16-byte header: its size, "TVB" and a program count within the catalogue's limit.
bool HeaderSound(std::string_view bytes, Diagnostics* sink) {
    if (bytes.size() < CatalogueHeaderSize || bytes.substr(0, 3) != "TVB") {
        if (sink)
            sink->recordError(0, 0, msg::CatalogueDamaged, "catalogue-header",
                              bytes.size() < CatalogueHeaderSize ? "the file is shorter than its 16-byte header"
                                                                 : "the file doesn't start with \"TVB\"");
        return false;
    }
    if (ReadU16(bytes, 6) > MaxPrograms) {
        if (sink)
            sink->recordError(0, 6, msg::CatalogueDamaged, "catalogue-too-many",
                              "the header counts " + std::to_string(ReadU16(bytes, 6)) + " programs, more than " +
                                  std::to_string(MaxPrograms));
        return false;
    }
    return true;
}

// Each program's step offset: a whole record, not before the previous program's, inside the step
// area. Without a sink the first unsound one ends the check; a sink hears of each.
bool StepOffsetsSound(const CatalogueLayout& layout, Diagnostics* sink) {
    uint64_t previousFirst = 0;
    bool sound = true;
    for (size_t k = 0; k < layout.index.size(); ++k) {
        const IndexEntry& entry = layout.index[k];
        const uint64_t first = entry.stepOffset / StepRecordSize;
        const char* fault = entry.stepOffset % StepRecordSize != 0 ? "is not a multiple of 20"
                            : first < previousFirst                ? "lies before the previous program's"
                            : first > layout.rawCount              ? "lies past the end of the step area"
                                                                   : nullptr;
        previousFirst = first;
        if (fault == nullptr)
            continue;
        if (!sink)
            return false;
        sound = false;
        sink->recordError(static_cast<int>(k) + 1,
                          static_cast<long long>(CatalogueHeaderSize + k * CatalogueIndexEntrySize),
                          msg::CatalogueDamaged, "catalogue-step-offset",
                          "the step offset " + std::to_string(entry.stepOffset) + " of program " +
                              std::to_string(k + 1) + " " + fault);
    }
    return sound;
}

// What a sound file holds that the application takes but the device can't run as it stands.
void ReportStepArea(std::string_view bytes, const CatalogueLayout& layout, Diagnostics& sink) {
    ReportCutStepArea(layout, sink);
    const size_t stepsEnd = layout.stepsStart + layout.rawCount * StepRecordSize;
    if (layout.rawCount == static_cast<size_t>(MaxRawSteps) && bytes.size() - stepsEnd >= StepRecordSize &&
        ReadU16(bytes, stepsEnd) != EndOfStepsWord)
        sink.recordWarning(MaxRawSteps + 1, static_cast<long long>(stepsEnd), "catalogue-steps-ignored",
                           "the step area ends after " + std::to_string(MaxRawSteps) +
                               " steps; the steps after them are never read");
    for (size_t k = 0; k < layout.index.size(); ++k) {
        const uint64_t first = layout.index[k].stepOffset / StepRecordSize;
        const uint64_t next =
            k + 1 < layout.index.size() ? layout.index[k + 1].stepOffset / StepRecordSize : layout.rawCount;
        const long long at = static_cast<long long>(CatalogueHeaderSize + k * CatalogueIndexEntrySize);
        const std::string program = "program " + std::to_string(k + 1);
        if (next == first)
            sink.recordWarning(static_cast<int>(k) + 1, at, "program-no-steps",
                               program + " has no steps: the device would run nothing");
        else if (next - first > ItemStepLimit)
            sink.recordWarning(static_cast<int>(k) + 1, at, "program-too-many-steps",
                               program + " has " + std::to_string(next - first) + " steps, more than the " +
                                   std::to_string(ItemStepLimit) + " an item carries: a download refuses it");
    }
}

} // namespace

StepTable LoadStepTable(std::string_view fileBytes) {
    const CatalogueLayout layout = ReadLayout(fileBytes, true);
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

    MergedSteps merged = MergeSteps(layout.rawSteps);
    table.distinctSteps = std::move(merged.distinctSteps);
    table.stepMap = std::move(merged.stepMap);
    return table;
}

CatalogueHeaderResult ReadCatalogueHeader(const std::optional<std::string>& fileBytes, Diagnostics* sink) {
    CatalogueHeaderResult result;
    if (!fileBytes) {
        result.outcome = LoadOutcome::failure(msg::CatalogueMissing);
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                CatalogueFileName << " is missing or unreadable [message " << msg::CatalogueMissing << "]");
        if (sink)
            sink->fileError(msg::CatalogueMissing, "catalogue-missing", "the program catalogue can't be read");
        return result;
    }
    const std::string_view bytes = *fileBytes;
    const auto damaged = [&result] {
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                CatalogueFileName << " is damaged: trv-check names the record and offset [message "
                                  << msg::CatalogueDamaged << "]");
        result.outcome = LoadOutcome::failure(msg::CatalogueDamaged);
        return result;
    };
    if (!HeaderSound(bytes, sink))
        return damaged();

    const CatalogueLayout layout = ReadLayout(bytes, false);
    // With only step offsets unsound, the version, count and running times still are: the
    // names can be checked against them.
    result.header.catalogueVersion = ReadU16(bytes, 4);
    result.header.programCount = static_cast<uint16_t>(layout.programCount);
    result.header.runningSeconds.reserve(layout.index.size());
    for (const IndexEntry& entry : layout.index)
        result.header.runningSeconds.push_back(entry.runningSeconds);
    if (!StepOffsetsSound(layout, sink))
        return damaged();
    if (sink)
        ReportStepArea(bytes, layout, *sink);
    return result;
}

void AssembleCatalogue(ProgramCatalogue& catalogue, const CatalogueHeader& header, StepTable steps) {
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
