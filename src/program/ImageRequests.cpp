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

int IndexCountInTable(const DeviceImage& image) {
    return std::clamp(image.indexCount, 0, MaxIndexEntries);
}

int TherapyCountInTable(const DeviceImage& image) {
    return std::clamp(image.therapyCount, 0, MaxTherapySlots);
}

// The head every section's request starts with: framed, the section, where in it the request
// starts. The payload's length (byte 1) is the caller's. Returns the request's bytes.
uint8_t* SectionHead(DeviceRequest& request, uint8_t section, int position) {
    uint8_t* b = request.bytes.data();
    b[0] = wire::Framed;
    b[2] = section;
    b[3] = static_cast<uint8_t>(position);
    return b;
}

// Block `block` of a section of count entries, perRequest to a request: fill(payload, first, n)
// writes the block's n entries from entry number first and returns the payload's size. A
// block past the section gives an empty request.
template <typename Fill> DeviceRequest BlockRequest(uint8_t section, int block, int count, int perRequest, Fill fill) {
    DeviceRequest request;
    if (block < 0 || block >= CeilDiv(count, perRequest))
        return request;
    const int first = block * perRequest;
    uint8_t* b = SectionHead(request, section, block);
    const int payload = fill(b + 4, first, std::min(perRequest, count - first));
    b[1] = static_cast<uint8_t>(payload + 2);
    request.length = 4 + static_cast<size_t>(payload);
    return request;
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
    uint8_t* b = SectionHead(cut.request, wire::Control, firstItem);
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
    const int count = IndexCountInTable(image);
    return BlockRequest(wire::Indexs, block, count, IndexsPerRequest, [&](uint8_t* payload, int first, int) {
        for (int k = 0; k < IndexsPerRequest; ++k) {
            const int at = first + k;
            // A short last block goes whole: entries past the index count are not significant, and
            // the table is never read past its end.
            payload[k] = at < count ? static_cast<uint8_t>(image.indexTable[static_cast<size_t>(at)] & 0xFF) : 0;
        }
        return IndexsPerRequest;
    });
}

DeviceRequest TherapiesRequest(const DeviceImage& image, int block) {
    const int count = TherapyCountInTable(image);
    return BlockRequest(wire::Therapies, block, count, TherapiesPerRequest, [&](uint8_t* payload, int first, int n) {
        for (int k = 0; k < n; ++k)
            PutTherapyEntry(payload + k * TherapyEntrySize, image.therapySlots[static_cast<size_t>(first + k)]);
        return n * TherapyEntrySize;
    });
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
    plan.indexsRequests = CeilDiv(IndexCountInTable(image), IndexsPerRequest);
    plan.therapiesRequests = CeilDiv(TherapyCountInTable(image), TherapiesPerRequest);
    return plan;
}

} // namespace trv
