#include "program/DeviceImage.h"

#include "program/ControlProgram.h"
#include "data/MessageNumbers.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace trv {

namespace {

constexpr int MaxCode = 4095;
constexpr int CodesPerDecade = 680;
constexpr int StartCodeBits = 12;
constexpr int SpanCodeBits = 10;

ImageBuildResult Refuse(int message) {
    return ImageBuildResult{false, message};
}

// 10^n in double, exact up to 10^22, which is far beyond any frequency the catalogue holds.
double PowerOfTen(int n) {
    double p = 1.0;
    for (int i = 0; i < n; ++i)
        p *= 10.0;
    return p;
}

// The decade of a positive product: the c with 10^c <= product < 10^(c+1). log10 only gives the
// first guess; the comparisons with exact powers of ten settle it, so 1000 lands in decade 3 and
// a product just below it in decade 2 whatever the last bit of the logarithm.
int DecadeOf(double product) {
    constexpr int MaxDecade = 38; // single precision ends here
    if (!(product > 0.0))
        return 0;
    const double guess = std::floor(std::log10(product));
    int c = static_cast<int>(std::clamp(guess, 0.0, static_cast<double>(MaxDecade)));
    while (c > 0 && PowerOfTen(c) > product)
        --c;
    while (c < MaxDecade && PowerOfTen(c + 1) <= product)
        ++c;
    return c;
}

void PutWord(uint8_t* at, int32_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

void PutTherapyEntry(uint8_t* at, const TherapySlot& slot) {
    at[0] = static_cast<uint8_t>(slot.stepWord & 0xFF);
    at[1] = static_cast<uint8_t>(slot.stepWord >> 8);
    std::copy(slot.deviceBytes.begin(), slot.deviceBytes.end(), at + 2);
    at[11] = slot.padding;
}

int ItemCountInTable(const DeviceImage& image) {
    return std::clamp(image.itemCount, 0, MaxImageItems);
}

int CeilDiv(int a, int b) {
    return a <= 0 ? 0 : (a + b - 1) / b;
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

float CorrectionFactor(uint8_t correctionPercentage) {
    // Formed in double and rounded once: for 72 of the 256 percentages a factor formed in single
    // precision lands on the other side of a decade boundary (20 %: just below 0.8 instead of above).
    return static_cast<float>(static_cast<double>(100 - static_cast<int>(correctionPercentage)) * 0.01);
}

int32_t EncodeFrequency(float x, float factor) {
    // The product of two floats is exact in double.
    const int c = DecadeOf(static_cast<double>(factor) * static_cast<double>(x));
    float d = 1.0f;
    for (int i = 0; i < c; ++i)
        d *= 10.0f;
    // Each step rounded to single precision; the position in the decade scales x - 10^c, not the
    // scaled frequency.
    const float difference = x - d;
    const float a = difference * factor;
    const float b = 0.014f * d;
    const float t = a / b;

    constexpr float Bound = 1.0e9f; // far beyond every code; keeps the conversion defined
    int32_t e = 0;
    if (std::isnan(t))
        e = 0;
    else if (t >= Bound)
        e = static_cast<int32_t>(Bound);
    else if (t <= -Bound)
        e = -static_cast<int32_t>(Bound);
    else {
        e = static_cast<int32_t>(t);
        if (t - static_cast<float>(e) > 0.5f)
            ++e;
    }
    return CodesPerDecade * c + e;
}

void PackBitsReversed(std::span<uint8_t> run, int firstByte, uint8_t firstMask, uint32_t value, int bitCount) {
    if (firstByte < 0 || firstMask == 0)
        return;
    size_t at = static_cast<size_t>(firstByte);
    uint8_t mask = firstMask;
    for (int i = 0; i < bitCount && at < run.size(); ++i) {
        if ((value >> i) & 1u)
            run[at] |= mask;
        mask = static_cast<uint8_t>(mask >> 1);
        if (mask == 0) {
            mask = 0x80;
            ++at;
        }
    }
}

void EncodeTherapyCodes(std::span<TherapySlot> slots, uint8_t correctionPercentage) {
    const float factor = CorrectionFactor(correctionPercentage);
    for (TherapySlot& slot : slots) {
        const int start = std::clamp(EncodeFrequency(static_cast<float>(slot.frequency), factor), 0, MaxCode);
        const float endFrequency = static_cast<float>(slot.frequency) + static_cast<float>(slot.frequencySpan);
        const int end = std::clamp(EncodeFrequency(endFrequency, factor), 0, MaxCode);
        const int difference = end - start;
        int spanCode = difference / 4;
        if (difference >= 0 && difference % 4 >= 2)
            ++spanCode;
        PackBitsReversed(slot.deviceBytes, 3, 0x08, static_cast<uint32_t>(start), StartCodeBits);
        PackBitsReversed(slot.deviceBytes, 5, 0x80, static_cast<uint32_t>(spanCode) & 0x3FFu, SpanCodeBits);
    }
}

int EncodedItemSize(int32_t code) {
    switch (code) {
    case ItemProgram:
        return 9;
    case ItemPause:
        return 3;
    case ItemWait:
        return 1;
    default:
        return 0;
    }
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

DeviceRequest InfoHeadRequest(const DeviceImage& image) {
    DeviceRequest request;
    uint8_t* b = request.bytes.data();
    b[0] = wire::Framed;
    b[1] = 0x0E;
    b[2] = wire::InfoHead;
    b[3] = static_cast<uint8_t>(image.itemCount);
    PutWord(b + 4, image.indexCount);
    PutWord(b + 6, image.therapyCount);
    std::copy(image.title.begin(), image.title.end(), b + 8);
    request.length = 16;
    return request;
}

ControlCut ControlRequest(const DeviceImage& image, int firstItem) {
    ControlCut cut;
    const int count = ItemCountInTable(image);
    if (firstItem < 0 || firstItem > count) {
        cut.last = true;
        return cut;
    }
    uint8_t* b = cut.request.bytes.data();
    b[0] = wire::Framed;
    b[2] = wire::Control;
    b[3] = static_cast<uint8_t>(firstItem);
    int used = 0;
    int next = firstItem;
    while (next < count) {
        const ImageItem& item = image.items[static_cast<size_t>(next)];
        const int size = EncodedItemSize(item.code);
        if (used + size > ControlItemBytes)
            break;
        uint8_t* at = b + 4 + used;
        if (item.code == ItemProgram) {
            at[0] = 0x50;
            PutWord(at + 1, item.programNumber);
            PutWord(at + 3, item.indexStart);
            PutWord(at + 5, item.indexCount);
            PutWord(at + 7, item.value);
        } else if (item.code == ItemPause) {
            at[0] = 0x54;
            PutWord(at + 1, item.value);
        } else if (item.code == ItemWait) {
            at[0] = 0x57;
        }
        used += size;
        ++next;
    }
    b[1] = static_cast<uint8_t>(2 + used);
    size_t length = 4 + static_cast<size_t>(used);
    if (used < ControlItemBytes)
        b[length++] = 0x00; // sent after a short run of items, though N leaves it out
    cut.request.length = length;
    cut.itemsTaken = next - firstItem;
    cut.last = next == count;
    return cut;
}

DeviceRequest IndexsRequest(const DeviceImage& image, int block) {
    DeviceRequest request;
    const int count = std::clamp(image.indexCount, 0, MaxIndexEntries);
    if (block < 0 || block >= CeilDiv(count, IndexsPerRequest))
        return request;
    uint8_t* b = request.bytes.data();
    b[0] = wire::Framed;
    b[1] = 0x3E;
    b[2] = wire::Indexs;
    b[3] = static_cast<uint8_t>(block);
    const int first = block * IndexsPerRequest;
    for (int k = 0; k < IndexsPerRequest; ++k) {
        const int at = first + k;
        // Entries past the index count are not significant; the table is never read past its end.
        b[4 + k] = at < count ? static_cast<uint8_t>(image.indexTable[static_cast<size_t>(at)] & 0xFF) : 0;
    }
    request.length = 4 + IndexsPerRequest;
    return request;
}

DeviceRequest TherapiesRequest(const DeviceImage& image, int block) {
    DeviceRequest request;
    const int count = std::clamp(image.therapyCount, 0, MaxTherapySlots);
    if (block < 0 || block >= CeilDiv(count, TherapiesPerRequest))
        return request;
    const int n = std::min(TherapiesPerRequest, count - TherapiesPerRequest * block);
    uint8_t* b = request.bytes.data();
    b[0] = wire::Framed;
    b[1] = static_cast<uint8_t>(n * TherapyEntrySize + 2);
    b[2] = wire::Therapies;
    b[3] = static_cast<uint8_t>(block);
    for (int k = 0; k < n; ++k)
        PutTherapyEntry(b + 4 + k * TherapyEntrySize,
                        image.therapySlots[static_cast<size_t>(TherapiesPerRequest * block + k)]);
    request.length = 4 + static_cast<size_t>(n * TherapyEntrySize);
    return request;
}

ProgressPlan PlanProgress(const DeviceImage& image) {
    ProgressPlan plan;
    const int count = ItemCountInTable(image);
    for (int next = 0; next < count;) {
        const ControlCut cut = ControlRequest(image, next);
        ++plan.controlRequests;
        if (cut.itemsTaken == 0)
            break; // cannot happen with the item sizes; never loop on it
        next += cut.itemsTaken;
    }
    plan.indexsRequests = CeilDiv(std::clamp(image.indexCount, 0, MaxIndexEntries), IndexsPerRequest);
    plan.therapiesRequests = CeilDiv(std::clamp(image.therapyCount, 0, MaxTherapySlots), TherapiesPerRequest);
    return plan;
}

} // namespace trv
