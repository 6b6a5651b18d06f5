#pragma once

#include "FuzzSupport.h"

#include "data/MessageNumbers.h"
#include "data/ProgramCatalogue.h"
#include "program/DeviceImage.h"
#include "program/ImageRequests.h"

#include <map>
#include <vector>

namespace trv::fuzz {

// What a build may refuse with: the table limits, an unknown program, a damaged catalogue, and
// an item count that no image holds.
inline bool isBuildRefusal(int message) {
    return message == msg::TooManySteps || message == msg::TooManyIndexEntries || message == msg::TooManyTherapySlots ||
           message == msg::UnknownProgram || message == msg::CatalogueDamaged || message == msg::BadReply;
}

// The bits the frequency codes may set in the device bytes: bytes 3 (bits 3..0) to 6 (bits 7, 6).
inline uint8_t codeBitsOf(size_t deviceByte) {
    switch (deviceByte) {
    case 3:
        return 0x0F;
    case 4:
    case 5:
        return 0xFF;
    case 6:
        return 0xC0;
    default:
        return 0x00;
    }
}

// A therapy slot is the catalogue step with code bits ORed in, and nothing else changed.
inline bool slotCopiesStep(const TherapySlot& slot, const ProgramStep& step) {
    if (slot.stepWord != step.stepWord || slot.padding != step.padding || slot.frequency != step.frequency ||
        slot.frequencySpan != step.frequencySpan)
        return false;
    for (size_t b = 0; b < slot.deviceBytes.size(); ++b) {
        const unsigned kept = ~codeBitsOf(b) & 0xFFu;
        if ((slot.deviceBytes[b] & step.deviceBytes[b]) != step.deviceBytes[b] ||
            (slot.deviceBytes[b] & kept) != (step.deviceBytes[b] & kept))
            return false;
    }
    return true;
}

// The requests cut from an accepted image carry exactly its items, index entries and slots.
inline void checkImageRequests(const DeviceImage& image) {
    const DeviceRequest head = InfoHeadRequest(image);
    FUZZ_CHECK(head.length == 16 && head.bytes[3] == image.itemCount);
    FUZZ_CHECK((head.bytes[4] | head.bytes[5] << 8) == image.indexCount);
    FUZZ_CHECK((head.bytes[6] | head.bytes[7] << 8) == image.therapyCount);

    // Control: every item once, in order, never split, each request within 64 bytes.
    const ProgressPlan plan = PlanProgress(image);
    int next = 0;
    int requests = 0;
    for (bool last = image.itemCount == 0; !last;) {
        const ControlCut cut = ControlRequest(image, next);
        FUZZ_CHECK(cut.request.length <= ReportDataSize && cut.request.length >= 4);
        FUZZ_CHECK(cut.request.bytes[3] == next);
        FUZZ_CHECK(cut.itemsTaken > 0);
        size_t at = 4;
        for (int k = next; k < next + cut.itemsTaken; ++k) {
            const ImageItem& item = image.items[static_cast<size_t>(k)];
            const auto word = [&](size_t offset) {
                return cut.request.bytes[offset] | cut.request.bytes[offset + 1] << 8;
            };
            FUZZ_CHECK(cut.request.bytes[at] == item.code);
            if (item.code == ItemProgram) {
                FUZZ_CHECK(word(at + 1) == (item.programNumber & 0xFFFF));
                FUZZ_CHECK(word(at + 3) == item.indexStart && word(at + 5) == item.indexCount);
                FUZZ_CHECK(word(at + 7) == (item.value & 0xFFFF));
            } else if (item.code == ItemPause) {
                FUZZ_CHECK(word(at + 1) == (item.value & 0xFFFF));
            }
            at += static_cast<size_t>(EncodedItemSize(item.code));
        }
        FUZZ_CHECK(cut.request.bytes[1] == at - 2);
        next += cut.itemsTaken;
        last = cut.last;
        ++requests;
        FUZZ_CHECK(requests <= MaxImageItems);
    }
    FUZZ_CHECK(next == image.itemCount);
    FUZZ_CHECK(requests == plan.controlRequests);

    for (int block = 0; block < plan.indexsRequests; ++block) {
        const DeviceRequest request = IndexsRequest(image, block);
        FUZZ_CHECK(request.length == 64 && request.bytes[3] == block);
        for (int k = 0; k < IndexsPerRequest && block * IndexsPerRequest + k < image.indexCount; ++k)
            FUZZ_CHECK(request.bytes[4 + static_cast<size_t>(k)] ==
                       image.indexTable[static_cast<size_t>(block * IndexsPerRequest + k)]);
    }
    FUZZ_CHECK(plan.indexsRequests * IndexsPerRequest >= image.indexCount);
    FUZZ_CHECK(IndexsRequest(image, plan.indexsRequests).length == 0);

    int slotsSent = 0;
    for (int block = 0; block < plan.therapiesRequests; ++block) {
        const DeviceRequest request = TherapiesRequest(image, block);
        const int n = (request.bytes[1] - 2) / TherapyEntrySize;
        FUZZ_CHECK(n >= 1 && n <= TherapiesPerRequest && request.length == 4 + static_cast<size_t>(n) * 12);
        slotsSent += n;
    }
    FUZZ_CHECK(slotsSent == image.therapyCount);
    FUZZ_CHECK(TherapiesRequest(image, plan.therapiesRequests).length == 0);
}

// Invariants of an image the build accepted, against the catalogue it was built from.
inline void checkAcceptedImage(const DeviceImage& image, const ProgramCatalogue& catalogue) {
    FUZZ_CHECK(image.itemCount >= 0 && image.itemCount <= MaxImageItems);
    FUZZ_CHECK(image.indexCount >= 0 && image.indexCount <= MaxIndexEntries);
    FUZZ_CHECK(image.therapyCount >= 0 && image.therapyCount <= MaxTherapySlots);

    const bool selfTest = image.itemCount == 1 && image.items[0].code == ItemProgram &&
                          image.items[0].programNumber == catalogue.programCount() + 1;
    int indexTotal = 0;
    for (int i = 0; i < image.itemCount; ++i) {
        const ImageItem& item = image.items[static_cast<size_t>(i)];
        FUZZ_CHECK(item.code == ItemProgram || item.code == ItemPause || item.code == ItemWait);
        if (item.code != ItemProgram)
            continue;
        FUZZ_CHECK(item.indexStart == indexTotal);
        FUZZ_CHECK(item.indexCount >= 0 && item.indexCount <= MaxItemSteps);
        indexTotal += item.indexCount;
        if (selfTest)
            continue;
        const CatalogueProgram* program = catalogue.program(item.programNumber);
        FUZZ_CHECK(program != nullptr);
        FUZZ_CHECK(item.indexCount == program->stepCount);
        FUZZ_CHECK(item.value == static_cast<int32_t>(program->runningSeconds));
        // Each step of the program sits in the slot its index entry names.
        for (int j = 0; j < item.indexCount; ++j) {
            const int raw = program->firstStep + j;
            const int d = catalogue.stepMap()[static_cast<size_t>(raw)];
            const int slot = image.indexTable[static_cast<size_t>(item.indexStart + j)];
            FUZZ_CHECK(slot >= 0 && slot < image.therapyCount);
            FUZZ_CHECK(slotCopiesStep(image.therapySlots[static_cast<size_t>(slot)],
                                      catalogue.distinctSteps()[static_cast<size_t>(d)]));
        }
    }
    FUZZ_CHECK(indexTotal == image.indexCount);

    // Slots are handed out in order of first use, one per distinct step.
    int nextSlot = 0;
    for (int k = 0; k < image.indexCount; ++k) {
        const int slot = image.indexTable[static_cast<size_t>(k)];
        FUZZ_CHECK(slot >= 0 && slot <= nextSlot);
        if (slot == nextSlot)
            ++nextSlot;
    }
    FUZZ_CHECK(nextSlot == image.therapyCount);
    if (selfTest) {
        FUZZ_CHECK(image.therapyCount == 1 && image.indexCount == 1 && image.items[0].value == TestTherapy.stepWord);
        FUZZ_CHECK(slotCopiesStep(image.therapySlots[0], TestTherapy));
    } else {
        std::map<int, int> stepOfSlot;
        for (int i = 0; i < image.itemCount; ++i) {
            const ImageItem& item = image.items[static_cast<size_t>(i)];
            if (item.code != ItemProgram)
                continue;
            const CatalogueProgram* program = catalogue.program(item.programNumber);
            for (int j = 0; j < item.indexCount; ++j) {
                const int d = catalogue.stepMap()[static_cast<size_t>(program->firstStep + j)];
                const auto [where, fresh] =
                    stepOfSlot.emplace(image.indexTable[static_cast<size_t>(item.indexStart + j)], d);
                FUZZ_CHECK(fresh || where->second == d);
            }
        }
    }

    const ImageSummary summary = ExpectedSummary(image);
    FUZZ_CHECK(summary.itemCount == image.itemCount && summary.indexCount == image.indexCount &&
               summary.therapyCount == image.therapyCount);
    checkImageRequests(image);
}

} // namespace trv::fuzz
