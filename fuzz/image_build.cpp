// BuildDeviceImage from arbitrary catalogues and control programs.
//
// The input decodes into a small catalogue and a control program of up to 20 items:
//   mode byte: bit 0 a damaged catalogue (step ranges and the step map taken as they come, as
//              no loader would hand them over), bit 1 items straight into the image instead of
//              through the control program;
//   correction percentage; number of programs (0..40); number of step templates (1..16);
//   the templates (20 bytes each, as in trvimpr.tvb); per program its step count (0..200), its
//   running time and a step pattern; then the items, 3 bytes each.
// The build must either refuse with a message, and then only for a reason the catalogue and the
// program really give, or produce an image whose counts, tables and requests are consistent.
#include "FuzzSupport.h"
#include "ImageChecks.h"

#include "data/StepMerge.h"
#include "program/ControlProgram.h"

#include <cstdlib>
#include <set>
#include <string>

using namespace trv;

namespace {

ProgramStep templateStep(fuzz::ByteSource& in) {
    ProgramStep step;
    step.stepWord = in.u16();
    for (uint8_t& byte : step.deviceBytes)
        byte = in.byte();
    step.padding = in.byte();
    step.frequency = in.u32();
    step.frequencySpan = in.u32();
    return step;
}

struct Decoded {
    ProgramCatalogue catalogue;
    bool damaged = false;
};

Decoded decodeCatalogue(fuzz::ByteSource& in, bool damaged) {
    const int programCount = in.inRange(0, 40);
    const int templateCount = in.inRange(1, 16);
    std::vector<ProgramStep> templates;
    for (int t = 0; t < templateCount; ++t)
        templates.push_back(templateStep(in));

    std::vector<ProgramStep> rawSteps;
    std::vector<CatalogueProgram> programs(static_cast<size_t>(programCount));
    for (int k = 0; k < programCount; ++k) {
        CatalogueProgram& program = programs[static_cast<size_t>(k)];
        program.number = k + 1;
        const int steps = in.inRange(0, 200);
        program.runningSeconds = in.u32();
        // Raw step j is a template, its frequency shifted by the pattern: repeats merge, others don't.
        const uint8_t pattern = in.byte();
        program.firstStep = static_cast<int>(rawSteps.size());
        program.stepCount = steps;
        for (int j = 0; j < steps; ++j) {
            ProgramStep step = templates[static_cast<size_t>((j * (pattern | 1) + k) % templateCount)];
            step.frequency += static_cast<uint32_t>((j * pattern) % (1 + (pattern >> 3)));
            rawSteps.push_back(step);
        }
    }
    MergedSteps merged = MergeSteps(rawSteps);
    if (damaged) {
        // Ranges and map entries that point anywhere, negative included.
        for (CatalogueProgram& program : programs) {
            program.firstStep += static_cast<int8_t>(in.byte());
            program.stepCount += static_cast<int8_t>(in.byte());
        }
        for (int& d : merged.stepMap)
            if (in.byte() == 0xFF)
                d = static_cast<int8_t>(in.byte()) * 3;
    }
    Decoded decoded;
    decoded.damaged = damaged;
    decoded.catalogue.assemble(1, std::move(programs), std::move(merged.distinctSteps), std::move(merged.stepMap));
    return decoded;
}

// What the build needs to refuse, worked out from the catalogue on its own terms.
struct Needs {
    bool unknownProgram = false;
    bool tooManySteps = false;
    bool badRange = false;
    long long indexEntries = 0;
    std::set<int> distinct;
};

Needs needsOf(const DeviceImage& image, const ProgramCatalogue& catalogue) {
    Needs needs;
    for (int i = 0; i < image.itemCount; ++i) {
        const ImageItem& item = image.items[static_cast<size_t>(i)];
        if (item.code != ItemProgram)
            continue;
        const CatalogueProgram* program = catalogue.program(item.programNumber);
        if (program == nullptr) {
            needs.unknownProgram = true;
            continue;
        }
        needs.tooManySteps = needs.tooManySteps || program->stepCount > MaxItemSteps;
        needs.indexEntries += std::max(program->stepCount, 0);
        for (int j = 0; j < program->stepCount; ++j) {
            const long long raw = static_cast<long long>(program->firstStep) + j;
            if (raw < 0 || raw >= static_cast<long long>(catalogue.stepMap().size())) {
                needs.badRange = true;
                break;
            }
            const int d = catalogue.stepMap()[static_cast<size_t>(raw)];
            if (d < 0 || d >= static_cast<int>(catalogue.distinctSteps().size())) {
                needs.badRange = true;
                break;
            }
            needs.distinct.insert(d);
        }
        needs.badRange = needs.badRange || program->stepCount < 0;
    }
    return needs;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteSource in(data, size);
    const uint8_t mode = in.byte();
    const uint8_t percentage = in.byte();
    const Decoded decoded = decodeCatalogue(in, (mode & 1) != 0);
    const ProgramCatalogue& catalogue = decoded.catalogue;
    const int programCount = catalogue.programCount();

    DeviceImage image;
    if ((mode & 2) != 0) {
        // As a context reply would set them: any code, any number.
        image.itemCount = in.inRange(0, MaxImageItems);
        for (int i = 0; i < image.itemCount; ++i) {
            ImageItem& item = image.items[static_cast<size_t>(i)];
            const uint8_t kind = in.byte();
            item.code = kind % 3 == 0 ? ItemProgram : kind % 3 == 1 ? ItemPause : ItemWait;
            item.programNumber = kind >= 0xF0 ? static_cast<int16_t>(in.u16()) : in.inRange(0, programCount + 2);
            item.value = in.u16() & 0x7FFF;
        }
    } else {
        // Through the control program, as the user composes it: inserts above a chosen line.
        ControlProgram control(catalogue, [](int) { return std::string("%s"); });
        while (!in.empty() && control.itemCount() < MaxControlItems) {
            const uint8_t kind = in.byte();
            const uint8_t a = in.byte();
            const uint8_t b = in.byte();
            control.SelectLine(a % control.count());
            switch (kind % 4) {
            case 0:
                control.AddSelectedProgram(b % (programCount + 1));
                break;
            case 1:
                control.InsertControlItem(KindProgram, kind >= 0xF0 ? programCount : b);
                break;
            case 2:
                control.InsertControlItem(a % 100, b % 60);
                break;
            default:
                control.AddWait();
                break;
            }
        }
        FUZZ_CHECK(control.count() <= MaxControlEntries);
        SetImageItems(image, control);
        FUZZ_CHECK(image.itemCount == control.itemCount());
    }

    const Needs needs = needsOf(image, catalogue);
    const bool selfTest =
        image.itemCount == 1 && image.items[0].code == ItemProgram && image.items[0].programNumber == programCount + 1;
    const ImageBuildResult built = BuildDeviceImage(image, catalogue, percentage);
    if (std::getenv("TRV_FUZZ_TRACE") != nullptr)
        std::fprintf(stderr, "build %s %d\n", built.ok ? "accepted" : "refused", built.message);
    if (!built.ok) {
        FUZZ_CHECK(fuzz::isBuildRefusal(built.message));
        FUZZ_CHECK(!selfTest);
        FUZZ_CHECK(needs.unknownProgram || needs.tooManySteps || needs.badRange ||
                   needs.indexEntries > MaxIndexEntries ||
                   needs.distinct.size() > static_cast<size_t>(MaxTherapySlots));
        if (built.message == msg::CatalogueDamaged)
            FUZZ_CHECK(decoded.damaged && needs.badRange);
        return 0;
    }
    // Accepted: no limit was passed, and the tables hold exactly what the programs use.
    FUZZ_CHECK(selfTest || (!needs.unknownProgram && !needs.tooManySteps && !needs.badRange));
    if (!selfTest) {
        FUZZ_CHECK(image.indexCount == needs.indexEntries);
        FUZZ_CHECK(image.therapyCount == static_cast<int>(needs.distinct.size()));
    }
    fuzz::checkAcceptedImage(image, catalogue);
    return 0;
}
