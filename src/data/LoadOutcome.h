#pragma once

namespace trv {

// Result of a loader that the window reports with ShowError: success, or the number of the
// message to show (see MessageNumbers.h).
struct LoadOutcome {
    int message = -1;

    bool ok() const { return message < 0; }
    static LoadOutcome success() { return {}; }
    static LoadOutcome failure(int messageNumber) { return {messageNumber}; }
};

} // namespace trv
