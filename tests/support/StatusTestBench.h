#pragma once

#include "SequenceTestBench.h"
#include "logic/StatusSequence.h"

namespace trv::test {

class RecordingStatusView : public StatusView {
public:
    struct Box {
        std::string title;
        std::string text;
    };
    int shows = 0;
    std::vector<Box> refusals;
    int downloads = 0;
    int closed = 0;
    std::function<void()> onDownload;

    void showDisplay(const StatusDisplay&) override { ++shows; }
    void showVersionRefusal(const std::string& title, const std::string& text) override {
        refusals.push_back({title, text});
    }
    void openDownloadDialog() override {
        ++downloads;
        if (onDownload)
            onDownload();
    }
    void closeDialog() override { ++closed; }
};

// The Download dialog's sequence (to put a program into the device) and the Device Status
// dialog's sequence, each with its own timer, over one simulated device.
struct StatusBench : DownloadBench {
    ManualTimer statusTimer{clock};
    RecordingStatusView statusView;
    StatusSequence status{link, statusTimer, statusView, session, catalogue, texts};

    StatusBench() { texts.messages.set(34, "Count: *"); }

    const StatusDisplay& display() const { return status.display(); }
    const std::vector<std::string>& list(StatusDisplay::List which) const { return display().lines(which); }

    // Downloads and starts the composed program as the main window's Download does.
    void startProgram(const std::vector<int>& numbers, int startItemIndex = 0) {
        if (!numbers.empty())
            compose(numbers);
        session.storedProgramFlag = false;
        session.startItemIndex = startItemIndex;
        download();
        sequence.StartButtonClick();
        timer.runToRest();
    }
    // Stops the running program as an abort does; the device keeps it as interrupted.
    void interrupt() {
        link.WriteReport(AbortRequest().span());
        device.clearRequestLog();
    }
    // Fires the status timer n times.
    void ticks(int n) {
        for (int k = 0; k < n; ++k)
            statusTimer.tick();
    }
    // Times of the requests whose first four bytes are these.
    std::vector<long long> timesOf(const std::vector<uint8_t>& leading) const {
        std::vector<long long> out;
        for (const sim::LoggedRequest& entry : device.requestLog())
            if (std::equal(leading.begin(), leading.end(), entry.data.begin()))
                out.push_back(entry.at.count());
        return out;
    }
};

} // namespace trv::test
