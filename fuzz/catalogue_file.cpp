// trvimpr.tvb: the step table, the header check, and images built from what they accept.
#include "FuzzSupport.h"
#include "ImageChecks.h"

#include "data/ByteReader.h"
#include "data/CatalogueFile.h"
#include "data/StepMerge.h"

#include <optional>
#include <string>

using namespace trv;

namespace {

ProgramStep stepAt(std::string_view bytes, size_t offset) {
    ProgramStep step;
    step.stepWord = ReadU16(bytes, offset);
    for (size_t i = 0; i < step.deviceBytes.size(); ++i)
        step.deviceBytes[i] = static_cast<uint8_t>(bytes[offset + 2 + i]);
    step.padding = static_cast<uint8_t>(bytes[offset + 11]);
    step.frequency = ReadU32(bytes, offset + 12);
    step.frequencySpan = ReadU32(bytes, offset + 16);
    return step;
}

void checkStepTable(const StepTable& table, std::string_view bytes) {
    const size_t programCount = bytes.size() < CatalogueHeaderSize ? 0 : ReadU16(bytes, 6);
    FUZZ_CHECK(table.programs.size() == programCount);
    const int rawCount = static_cast<int>(table.stepMap.size());
    FUZZ_CHECK(rawCount <= MaxRawSteps);
    FUZZ_CHECK(table.distinctSteps.size() <= table.stepMap.size());

    // Ranges lie inside the step area, ascend and never overlap.
    int previousEnd = 0;
    for (size_t k = 0; k < table.programs.size(); ++k) {
        const CatalogueProgram& program = table.programs[k];
        FUZZ_CHECK(program.number == static_cast<int>(k) + 1);
        FUZZ_CHECK(program.stepCount >= 0 && program.firstStep >= previousEnd);
        FUZZ_CHECK(program.firstStep + program.stepCount <= rawCount);
        previousEnd = program.firstStep + program.stepCount;
    }
    if (!table.programs.empty())
        FUZZ_CHECK(previousEnd == rawCount);

    // Every raw step maps to an equal distinct step; distinct steps appear in order of first use.
    const size_t stepArea = CatalogueHeaderSize + programCount * CatalogueIndexEntrySize;
    int firstUnused = 0;
    std::vector<ProgramStep> rawSteps;
    for (int j = 0; j < rawCount; ++j) {
        const int d = table.stepMap[static_cast<size_t>(j)];
        FUZZ_CHECK(d >= 0 && d <= firstUnused && d < static_cast<int>(table.distinctSteps.size()));
        if (d == firstUnused)
            ++firstUnused;
        const size_t offset = stepArea + static_cast<size_t>(j) * StepRecordSize;
        FUZZ_CHECK(offset + StepRecordSize <= bytes.size());
        rawSteps.push_back(stepAt(bytes, offset));
        FUZZ_CHECK(rawSteps.back().stepWord != 0xFFFF);
        FUZZ_CHECK(SameStep(rawSteps.back(), table.distinctSteps[static_cast<size_t>(d)]));
    }
    FUZZ_CHECK(firstUnused == static_cast<int>(table.distinctSteps.size()));
    // The area ends at the end marker, the end of the bytes, or after the most records there can be.
    const size_t after = stepArea + static_cast<size_t>(rawCount) * StepRecordSize;
    if (rawCount < MaxRawSteps && bytes.size() >= CatalogueHeaderSize && after + StepRecordSize <= bytes.size())
        FUZZ_CHECK(ReadU16(bytes, after) == 0xFFFF);

    // The fast merge agrees with the plain pairwise one (kept small: the reference is quadratic).
    if (rawCount <= 400) {
        const MergedSteps reference = MergeStepsPairwise(rawSteps);
        FUZZ_CHECK(reference.distinctSteps == table.distinctSteps && reference.stepMap == table.stepMap);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(fuzz::asText(data, size));
    StepTable table = LoadStepTable(bytes);
    checkStepTable(table, bytes);

    const CatalogueHeaderResult header = ReadCatalogueHeader(std::optional<std::string>(bytes));
    if (!header.outcome.ok()) {
        FUZZ_CHECK(header.outcome.message == msg::CatalogueDamaged);
        return 0;
    }
    FUZZ_CHECK(bytes.substr(0, 3) == "TVB");
    FUZZ_CHECK(header.header.programCount <= MaxPrograms);
    FUZZ_CHECK(header.header.runningSeconds.size() == header.header.programCount);
    // An accepted header has sound offsets, so the step table took them as they are.
    for (size_t k = 0; k < table.programs.size(); ++k) {
        const uint32_t offset = ReadU32(bytes, CatalogueHeaderSize + k * CatalogueIndexEntrySize);
        FUZZ_CHECK(static_cast<uint32_t>(table.programs[k].firstStep) == offset / StepRecordSize);
        FUZZ_CHECK(table.programs[k].runningSeconds == header.header.runningSeconds[k]);
    }

    ProgramCatalogue catalogue;
    AssembleCatalogue(catalogue, header.header, std::move(table));
    FUZZ_CHECK(catalogue.programCount() == header.header.programCount);

    // The first one, two and three programs, and the first twenty, as the download builds them.
    DeviceImage image;
    const int count = std::min(catalogue.programCount(), MaxImageItems);
    for (int items : {1, 2, 3, count}) {
        if (items < 1 || items > count)
            continue;
        image.items.fill(ImageItem{});
        image.itemCount = items;
        for (int i = 0; i < items; ++i)
            image.items[static_cast<size_t>(i)] = ImageItem{ItemProgram, i + 1, 0, 0, 0};
        const ImageBuildResult built = BuildDeviceImage(image, catalogue, static_cast<uint8_t>(size));
        if (built.ok)
            fuzz::checkAcceptedImage(image, catalogue);
        else
            FUZZ_CHECK(fuzz::isBuildRefusal(built.message));
    }
    return 0;
}
