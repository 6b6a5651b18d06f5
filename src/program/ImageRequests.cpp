#include "program/ImageRequests.h"

#include <algorithm>

namespace trv {

namespace {

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

int CeilDiv(int a, int b) {
    return a <= 0 ? 0 : (a + b - 1) / b;
}

int ItemCountInTable(const DeviceImage& image) {
    return std::clamp(image.itemCount, 0, MaxImageItems);
}

} // namespace

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
