#include "program/DeviceImage.h"

#include "data/MessageNumbers.h"
#include "program/ControlProgram.h"
#include "program/TherapyCodes.h"

#include <algorithm>
#include <vector>

namespace trv {

namespace {

ImageBuildResult Refuse(int message) {
    return ImageBuildResult{false, message};
}

int ItemCountInTable(const DeviceImage& image) {
    return std::clamp(image.itemCount, 0, MaxImageItems);
}

bool IsSelfTest(const DeviceImage& image, const ProgramCatalogue& catalogue) {
    return image.itemCount == 1 && image.items[0].code == ItemProgram &&
           image.items[0].programNumber == catalogue.programCount() + 1;
}

} // namespace

void MarkImageTitle(DeviceImage& image, bool selfTest) {
    image.title[0] = selfTest ? 'X' : 'P';
}

void SetImageItems(DeviceImage& image, const ControlProgram& program) {
    image.items.fill(ImageItem{});
    int count = 0;
    for (const ControlEntry& entry : program.items()) {
        if (count == MaxImageItems)
            break;
        ImageItem item;
        if (entry.kind == KindWait) {
            item.code = ItemWait;
        } else if (entry.kind == KindProgram) {
            item.code = ItemProgram;
            item.programNumber = entry.value + 1;
        } else if (entry.kind >= 0) {
            item.code = ItemPause;
            item.value = entry.kind * 60 + entry.value;
        } else {
            continue; // only the end marker is left, and items() doesn't hold it
        }
        image.items[static_cast<size_t>(count++)] = item;
    }
    image.itemCount = count;
}

ImageBuildResult BuildDeviceImage(DeviceImage& image, const ControlProgram& program, bool storedProgram,
                                  const ProgramCatalogue& catalogue, uint8_t correctionPercentage) {
    if (!storedProgram)
        SetImageItems(image, program);
    return BuildDeviceImage(image, catalogue, correctionPercentage);
}

ImageBuildResult BuildDeviceImage(DeviceImage& image, const ProgramCatalogue& catalogue, uint8_t correctionPercentage) {
    image.correctionPercentage = correctionPercentage;
    image.indexTable.fill(0);
    image.indexCount = 0;
    image.therapySlots.fill(TherapySlot{});
    image.therapyCount = 0;
    if (image.itemCount < 0 || image.itemCount > MaxImageItems)
        return Refuse(msg::BadReply);

    if (IsSelfTest(image, catalogue)) {
        ImageItem& item = image.items[0];
        image.therapySlots[0] = TestTherapy;
        item.indexStart = 0;
        item.indexCount = 1;
        item.value = TestTherapy.stepWord;
        image.indexTable[0] = 0;
        image.indexCount = 1;
        image.therapyCount = 1;
        EncodeTherapyCodes(std::span(image.therapySlots.data(), 1), correctionPercentage);
        return {};
    }

    const std::vector<ProgramStep>& distinct = catalogue.distinctSteps();
    const std::vector<int>& stepMap = catalogue.stepMap();
    // Slot of each distinct step, handed out in order of first use over the whole program.
    std::vector<int> slotOfStep(distinct.size(), -1);

    for (int i = 0; i < image.itemCount; ++i) {
        ImageItem& item = image.items[static_cast<size_t>(i)];
        if (item.code != ItemProgram)
            continue;
        const CatalogueProgram* program = catalogue.program(item.programNumber);
        if (program == nullptr)
            return Refuse(msg::UnknownProgram);
        if (program->stepCount > MaxItemSteps)
            return Refuse(msg::TooManySteps);
        if (program->stepCount < 0)
            return Refuse(msg::CatalogueDamaged);
        if (image.indexCount + program->stepCount > MaxIndexEntries)
            return Refuse(msg::TooManyIndexEntries);

        item.indexStart = image.indexCount;
        item.indexCount = program->stepCount;
        item.value = static_cast<int32_t>(program->runningSeconds);
        for (int j = 0; j < program->stepCount; ++j) {
            const long long raw = static_cast<long long>(program->firstStep) + j;
            if (raw < 0 || raw >= static_cast<long long>(stepMap.size()))
                return Refuse(msg::CatalogueDamaged);
            const int d = stepMap[static_cast<size_t>(raw)];
            if (d < 0 || d >= static_cast<int>(distinct.size()))
                return Refuse(msg::CatalogueDamaged);
            int& slot = slotOfStep[static_cast<size_t>(d)];
            if (slot < 0) {
                if (image.therapyCount == MaxTherapySlots)
                    return Refuse(msg::TooManyTherapySlots);
                slot = image.therapyCount++;
                image.therapySlots[static_cast<size_t>(slot)] = distinct[static_cast<size_t>(d)];
            }
            image.indexTable[static_cast<size_t>(image.indexCount++)] = slot;
        }
    }

    EncodeTherapyCodes(std::span(image.therapySlots.data(), static_cast<size_t>(image.therapyCount)),
                       correctionPercentage);
    return {};
}

bool SetImageItemsFromContext(DeviceImage& image, const ContextReply& context) {
    const int count = context.itemCount;
    if (count > context.wordCount || count > MaxImageItems)
        return false;
    image.items.fill(ImageItem{});
    for (int k = 0; k < count; ++k) {
        const ContextItem decoded = DecodeItemWord(context.words[static_cast<size_t>(k)]);
        ImageItem& item = image.items[static_cast<size_t>(k)];
        switch (decoded.kind) {
        case ContextItemKind::Wait:
            item.code = ItemWait;
            break;
        case ContextItemKind::Pause:
            item.code = ItemPause;
            item.value = decoded.value;
            break;
        case ContextItemKind::Program:
            item.code = ItemProgram;
            item.programNumber = decoded.value;
            break;
        }
    }
    image.itemCount = count;
    return true;
}

uint16_t ItemChecksum(std::span<const ImageItem> items) {
    // Unsigned so that running times near the 32-bit edge wrap instead of overflowing.
    uint32_t sum = 0;
    for (const ImageItem& item : items) {
        sum += static_cast<uint32_t>(item.code);
        if (item.code == ItemProgram)
            sum += static_cast<uint32_t>(item.programNumber) + static_cast<uint32_t>(item.indexStart) +
                   static_cast<uint32_t>(item.indexCount) + static_cast<uint32_t>(item.value);
        else if (item.code == ItemPause)
            sum += static_cast<uint32_t>(item.value);
    }
    return static_cast<uint16_t>(sum & 0xFFFFu);
}

uint16_t IndexChecksum(std::span<const int32_t> indexEntries) {
    uint32_t sum = 0;
    for (int32_t entry : indexEntries)
        sum += static_cast<uint32_t>(entry);
    return static_cast<uint16_t>(sum & 0xFFFFu);
}

uint16_t TherapyChecksum(std::span<const TherapySlot> slotsInUse) {
    if (slotsInUse.empty())
        return 0;
    const TherapySlot& first = slotsInUse.front();
    uint32_t perSlot = first.stepWord;
    for (uint8_t byte : first.deviceBytes)
        perSlot += byte;
    return static_cast<uint16_t>((static_cast<uint32_t>(slotsInUse.size()) * perSlot) & 0xFFFFu);
}

uint16_t ItemChecksum(const DeviceImage& image) {
    return ItemChecksum(std::span(image.items.data(), static_cast<size_t>(ItemCountInTable(image))));
}

uint16_t IndexChecksum(const DeviceImage& image) {
    const int count = std::clamp(image.indexCount, 0, MaxIndexEntries);
    return IndexChecksum(std::span(image.indexTable.data(), static_cast<size_t>(count)));
}

uint16_t TherapyChecksum(const DeviceImage& image) {
    const int count = std::clamp(image.therapyCount, 0, MaxTherapySlots);
    return TherapyChecksum(std::span(image.therapySlots.data(), static_cast<size_t>(count)));
}

ImageSummary ExpectedSummary(const DeviceImage& image) {
    ImageSummary summary;
    summary.itemCount = static_cast<uint8_t>(image.itemCount);
    summary.indexCount = static_cast<uint16_t>(image.indexCount);
    summary.therapyCount = static_cast<uint16_t>(image.therapyCount);
    summary.itemChecksum = ItemChecksum(image);
    summary.indexChecksum = IndexChecksum(image);
    summary.therapyChecksum = TherapyChecksum(image);
    return summary;
}

} // namespace trv
