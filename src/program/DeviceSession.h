#pragma once

#include "program/DeviceImage.h"

namespace trv {

// The values the main window and the device dialogs hand each other. Dialog answers travel
// through these flags, set before a dialog closes and read by its caller afterwards.
struct DeviceSession {
    DeviceImage image;              // the image being sent; its title survives rebuilds
    int startItemIndex = 0;         // 0-based item the device starts from
    bool storedProgramFlag = false; // resume: send the items decoded from the device
    bool startPending = false;      // set when the Download dialog opens, cleared once a start reply was read
    bool continueFlag = false;      // "Continue processing" / "Continue" in the warnings
    bool selfTestFlag = false;      // "Start" in the self-test warning
};

} // namespace trv
