// Every device reply the application reads: link check, base state, run state, context, image
// summary and start acknowledgement, and the stored program a context reply carries, decoded
// into the image and built against a catalogue.
//
// Input: the 64 data bytes of a reply (a short input is padded with zeros), then a byte with the
// catalogue's program count and one with the correction percentage.
#include "FuzzSupport.h"
#include "ImageChecks.h"

#include "link/DeviceMessages.h"
#include "program/DeviceImage.h"

#include <algorithm>

using namespace trv;

namespace {

// Programs 1..count, program k with k % 5 steps, some of them shared.
ProgramCatalogue smallCatalogue(int count) {
    std::vector<ProgramStep> distinct;
    for (int k = 0; k < 8; ++k) {
        ProgramStep step;
        step.stepWord = static_cast<uint16_t>(k + 1);
        step.frequency = 10u * static_cast<uint32_t>(k + 1) * static_cast<uint32_t>(k + 1);
        step.frequencySpan = static_cast<uint32_t>(k) * 3;
        distinct.push_back(step);
    }
    std::vector<CatalogueProgram> programs;
    std::vector<int> stepMap;
    for (int k = 0; k < count; ++k) {
        CatalogueProgram program;
        program.number = k + 1;
        program.runningSeconds = 30u * static_cast<uint32_t>(k);
        program.firstStep = static_cast<int>(stepMap.size());
        program.stepCount = k % 5;
        for (int j = 0; j < program.stepCount; ++j)
            stepMap.push_back((k + j) % 8);
        programs.push_back(program);
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), std::move(distinct), std::move(stepMap));
    return catalogue;
}

uint16_t word(const ReportData& reply, size_t offset) {
    return static_cast<uint16_t>(reply[offset] | reply[offset + 1] << 8);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteSource in(data, size);
    ReportData reply{};
    const std::string_view head = in.bytes(ReportDataSize);
    std::copy(head.begin(), head.end(), reply.begin());
    const int programCount = in.byte() % 24;
    const uint8_t percentage = in.byte();

    FUZZ_CHECK(IsLinkCheckReply(reply) == (reply[0] == 0xAF));

    const BaseStateCheck base = CheckBaseStateReply(reply);
    FUZZ_CHECK((base == BaseStateCheck::Accepted) == (reply[0] == 0xC3 && reply[1] == 28));
    FUZZ_CHECK((base == BaseStateCheck::Empty) == (reply[0] == 0xC3 && reply[1] == 0));
    const BaseState state = ReadBaseState(reply);
    FUZZ_CHECK(state.stateCode == reply[5] && state.correctionPercentage == reply[8]);
    FUZZ_CHECK(state.powerLevel == reply[9] && state.storedProgramFlag == reply[10]);
    FUZZ_CHECK(state.value == (word(reply, 16) | static_cast<uint32_t>(word(reply, 18)) << 16));
    // Each version byte on its own: only a first byte of 0 falls below 1.0.0.0.
    FUZZ_CHECK(MeetsMinimumVersion(state.version) == (reply[6] >= 1));

    const RunStateCheck run = CheckRunStateReply(reply);
    FUZZ_CHECK((run == RunStateCheck::Accepted) == (reply[0] == 0xC3 && reply[1] != 0 && reply[4] == 0xAF));
    const RunState runState = ReadRunState(reply);
    FUZZ_CHECK(runState.currentItem == reply[8] && runState.programRemaining == word(reply, 10));
    FUZZ_CHECK(runState.itemTotal == word(reply, 16));

    const ImageSummary summary = ReadImageSummary(reply);
    FUZZ_CHECK(summary.itemCount == reply[5] && summary.therapyChecksum == word(reply, 14));

    FUZZ_CHECK(IsStartAcknowledgement(reply) ==
               std::equal(StartAcknowledgement.begin(), StartAcknowledgement.end(), reply.begin()));

    // The context reply and the stored program it carries.
    FUZZ_CHECK(IsContextReply(reply) == (reply[0] == 0xC3 && reply[4] == 0xD9));
    const ContextReply context = ReadContext(reply);
    FUZZ_CHECK(context.itemCount == reply[7] && context.currentItem == reply[6]);
    FUZZ_CHECK(context.wordCount == std::min<int>(reply[7], MaxContextItemWords));
    for (int k = 0; k < context.wordCount; ++k) {
        const uint16_t itemWord = context.words[static_cast<size_t>(k)];
        FUZZ_CHECK(itemWord == word(reply, 16 + 2 * static_cast<size_t>(k)));
        FUZZ_CHECK(EncodeItemWord(DecodeItemWord(itemWord)) == itemWord);
    }

    const ProgramCatalogue catalogue = smallCatalogue(programCount);
    DeviceImage image;
    image.items[0] = ImageItem{ItemWait, 0, 0, 0, 0};
    image.itemCount = 1;
    const DeviceImage before = image;
    if (!SetImageItemsFromContext(image, context)) {
        FUZZ_CHECK(context.itemCount > MaxImageItems);
        FUZZ_CHECK(image.itemCount == before.itemCount && image.items == before.items);
        return 0;
    }
    FUZZ_CHECK(image.itemCount == context.itemCount);
    for (int k = 0; k < image.itemCount; ++k) {
        const ImageItem& item = image.items[static_cast<size_t>(k)];
        const ContextItem decoded = DecodeItemWord(context.words[static_cast<size_t>(k)]);
        FUZZ_CHECK(item.code == (decoded.kind == ContextItemKind::Program ? ItemProgram
                                 : decoded.kind == ContextItemKind::Pause ? ItemPause
                                                                          : ItemWait));
        if (item.code == ItemProgram)
            FUZZ_CHECK(item.programNumber == decoded.value);
        if (item.code == ItemPause)
            FUZZ_CHECK(item.value == decoded.value && item.value <= 0x7FFF);
    }

    const ImageBuildResult built = BuildDeviceImage(image, catalogue, percentage);
    if (!built.ok) {
        FUZZ_CHECK(fuzz::isBuildRefusal(built.message));
        // The small catalogue fits every table, so only a number it doesn't hold is refused.
        bool unknown = false;
        for (int k = 0; k < image.itemCount; ++k) {
            const ImageItem& item = image.items[static_cast<size_t>(k)];
            unknown = unknown || (item.code == ItemProgram && catalogue.program(item.programNumber) == nullptr);
        }
        FUZZ_CHECK(unknown);
        return 0;
    }
    fuzz::checkAcceptedImage(image, catalogue);
    return 0;
}
