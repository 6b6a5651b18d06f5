#include "sim/ImageReceiver.h"

#include "sim/ReportBytes.h"

#include <algorithm>

namespace trv::sim {

namespace {

constexpr uint8_t SummaryReplyLength = 0x10;

} // namespace

ImageReceiver::ImageReceiver() : items_(MaxItems), indexTable_(MaxIndexEntries), therapies_(MaxTherapySlots) {}

void ImageReceiver::takeInfoHead(const ReportData& data) {
    itemCount_ = data[3];
    indexCount_ = Read16(data, 4);
    therapyCount_ = Read16(data, 6);
    std::copy(data.begin() + 8, data.begin() + 16, title_.begin());
}

void ImageReceiver::takeControl(const ReportData& data) {
    const size_t end = std::min<size_t>(4 + (data[1] - 2), ReportDataSize);
    size_t pos = 4;
    int index = data[3];
    while (pos < end && index < MaxItems) {
        SimItem item;
        item.code = data[pos];
        size_t size = 0;
        switch (item.code) {
        case 'P':
            size = 9;
            break;
        case 'T':
            size = 3;
            break;
        case 'W':
            size = 1;
            break;
        default:
            return; // garbage: the rest of this request can't be framed
        }
        if (pos + size > end) {
            return;
        }
        if (item.code == 'P') {
            item.programNumber = Read16(data, pos + 1);
            item.indexStart = Read16(data, pos + 3);
            item.indexCount = Read16(data, pos + 5);
            item.value = Read16(data, pos + 7);
        } else if (item.code == 'T') {
            item.value = Read16(data, pos + 1);
        }
        items_[index] = item;
        ++index;
        pos += size;
    }
}

void ImageReceiver::takeIndexs(const ReportData& data) {
    const int block = data[3];
    const int entries = std::min(data[1] - 2, 60);
    for (int i = 0; i < entries; ++i) {
        const int at = block * 60 + i;
        if (at >= MaxIndexEntries) {
            break;
        }
        indexTable_[at] = data[4 + i];
    }
}

void ImageReceiver::takeTherapies(const ReportData& data) {
    const int block = data[3];
    const int slots = std::min((data[1] - 2) / 12, 5);
    for (int i = 0; i < slots; ++i) {
        const int at = block * 5 + i;
        if (at >= MaxTherapySlots) {
            break;
        }
        const size_t pos = 4 + 12 * static_cast<size_t>(i);
        SimTherapy& slot = therapies_[at];
        slot.stepWord = Read16(data, pos);
        std::copy(data.begin() + static_cast<std::ptrdiff_t>(pos + 2),
                  data.begin() + static_cast<std::ptrdiff_t>(pos + 11), slot.deviceBytes.begin());
        slot.padding = data[pos + 11];
    }
}

int ImageReceiver::heldItems() const {
    return std::min(itemCount_, MaxItems);
}

void ImageReceiver::corruptSummary(SummaryField field, int verifications) {
    corruptField_ = field;
    corruptVerifications_ = verifications;
}

ImageSummary ImageReceiver::computeSummary() const {
    ImageSummary summary;
    summary.itemCount = static_cast<uint8_t>(itemCount_);
    summary.indexCount = static_cast<uint16_t>(indexCount_);
    summary.therapyCount = static_cast<uint16_t>(therapyCount_);

    uint32_t itemSum = 0;
    for (int i = 0; i < heldItems(); ++i) {
        const SimItem& item = items_[i];
        itemSum += item.code;
        if (item.code == 'P') {
            itemSum += item.programNumber + item.indexStart + item.indexCount + item.value;
        } else if (item.code == 'T') {
            itemSum += item.value;
        }
    }
    summary.itemChecksum = static_cast<uint16_t>(itemSum);

    uint32_t indexSum = 0;
    for (int i = 0; i < std::min(indexCount_, MaxIndexEntries); ++i) {
        indexSum += indexTable_[i];
    }
    summary.indexChecksum = static_cast<uint16_t>(indexSum);

    // The device checks the first slot only, once for every slot in use.
    uint32_t slotSum = therapies_[0].stepWord;
    for (uint8_t b : therapies_[0].deviceBytes) {
        slotSum += b;
    }
    summary.therapyChecksum = static_cast<uint16_t>(static_cast<uint32_t>(therapyCount_) * slotSum);
    return summary;
}

ReportData ImageReceiver::summaryReply() {
    ImageSummary summary = computeSummary();
    if (corruptVerifications_ > 0) {
        --corruptVerifications_;
        switch (corruptField_) {
        case SummaryField::ItemCount:
            ++summary.itemCount;
            break;
        case SummaryField::IndexCount:
            ++summary.indexCount;
            break;
        case SummaryField::TherapyCount:
            ++summary.therapyCount;
            break;
        case SummaryField::ItemChecksum:
            ++summary.itemChecksum;
            break;
        case SummaryField::IndexChecksum:
            ++summary.indexChecksum;
            break;
        case SummaryField::TherapyChecksum:
            ++summary.therapyChecksum;
            break;
        }
    }
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = SummaryReplyLength;
    reply[4] = wire::Summary;
    reply[5] = summary.itemCount;
    Put16(reply, 6, summary.indexCount);
    Put16(reply, 8, summary.therapyCount);
    Put16(reply, 10, summary.itemChecksum);
    Put16(reply, 12, summary.indexChecksum);
    Put16(reply, 14, summary.therapyChecksum);
    return reply;
}

} // namespace trv::sim
