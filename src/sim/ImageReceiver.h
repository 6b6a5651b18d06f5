#pragma once

#include "link/DeviceMessages.h"

#include <array>
#include <cstdint>
#include <vector>

namespace trv::sim {

// One item of the control program as the device decoded it from the Control requests.
struct SimItem {
    uint8_t code = 0; // 'P', 'T', 'W'; 0 for an item never received
    int programNumber = 0;
    int indexStart = 0;
    int indexCount = 0;
    int value = 0; // program items: running seconds; pauses: seconds
};

struct SimTherapy {
    uint16_t stepWord = 0;
    std::array<uint8_t, 9> deviceBytes{};
    uint8_t padding = 0;
};

enum class SummaryField { ItemCount, IndexCount, TherapyCount, ItemChecksum, IndexChecksum, TherapyChecksum };

// The image as the device takes it in and the summary it answers. It reads the request bytes
// itself, sharing nothing with the application's encoder, so that a fault there shows in the
// summary instead of being mirrored here.
class ImageReceiver {
public:
    static constexpr int MaxItems = 255; // the InfoHead carries the item count in one byte
    static constexpr int MaxIndexEntries = 1024;
    static constexpr int MaxTherapySlots = 256;

    ImageReceiver();

    // The framed requests' data bytes, as received.
    void takeInfoHead(const ReportData& data);
    void takeControl(const ReportData& data);
    void takeIndexs(const ReportData& data);
    void takeTherapies(const ReportData& data);

    // The next `verifications` summaries report `field` off by one.
    void corruptSummary(SummaryField field, int verifications);
    // The summary computed from what was received, without any injected corruption.
    ImageSummary computeSummary() const;
    // The reply to a Summary request; uses up one corrupted verification.
    ReportData summaryReply();

    int itemCount() const { return itemCount_; }
    int indexCount() const { return indexCount_; }
    int therapyCount() const { return therapyCount_; }
    // The announced items the device has room for.
    int heldItems() const;
    const std::array<char, 8>& title() const { return title_; }
    const std::vector<SimItem>& items() const { return items_; }
    const std::vector<uint8_t>& indexTable() const { return indexTable_; }
    const std::vector<SimTherapy>& therapies() const { return therapies_; }

private:
    int itemCount_ = 0;
    int indexCount_ = 0;
    int therapyCount_ = 0;
    std::array<char, 8> title_{};
    std::vector<SimItem> items_;
    std::vector<uint8_t> indexTable_;
    std::vector<SimTherapy> therapies_;

    SummaryField corruptField_ = SummaryField::ItemChecksum;
    int corruptVerifications_ = 0;
};

} // namespace trv::sim
