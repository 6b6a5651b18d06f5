#pragma once

#include "link/DeviceMessages.h"
#include "program/DeviceImage.h"

#include <cstdint>

namespace trv {

// Per request: 60 item bytes of Control, 60 index entries of Indexs, 5 slots of Therapies.
inline constexpr int ControlItemBytes = 60;
inline constexpr int IndexsPerRequest = 60;
inline constexpr int TherapiesPerRequest = 5;
inline constexpr int TherapyEntrySize = 12; // stepWord, nine device bytes, padding byte

// Bytes an item takes in a Control request: 9 for 'P', 3 for 'T', 1 for 'W', 0 otherwise.
int EncodedItemSize(int32_t code);

// The requests that carry the image, cut as the download sends them.
DeviceRequest InfoHeadRequest(const DeviceImage& image);

struct ControlCut {
    DeviceRequest request;
    int itemsTaken = 0;
    bool last = false; // this request took the image's last item: the Control section is done
};
// The Control request that starts at item number firstItem (0-based). A firstItem outside
// 0..itemCount gives an empty request.
ControlCut ControlRequest(const DeviceImage& image, int firstItem);
// Block b of the Indexs and Therapies sections; a block past the section gives an empty request.
DeviceRequest IndexsRequest(const DeviceImage& image, int block);
DeviceRequest TherapiesRequest(const DeviceImage& image, int block);

// Requests per section (d, e and f of the download's progress bar).
struct ProgressPlan {
    int controlRequests = 0;
    int indexsRequests = 0;
    int therapiesRequests = 0;

    int infoHeadStart() const { return 0; }
    int controlStart() const { return 1; }
    int indexsStart() const { return controlRequests + 1; }
    int therapiesStart() const { return controlRequests + indexsRequests + 1; }
    int maximum() const { return controlRequests + indexsRequests + therapiesRequests; }
};
ProgressPlan PlanProgress(const DeviceImage& image);

} // namespace trv
