#pragma once

#include "StatusTestBench.h"

#include <string>
#include <vector>

namespace trv::test {

// How the device fails at the exchange a case aims at.
enum class Fault {
    WriteFails,     // unplugged as the request arrives: its write fails
    VanishesAfter,  // takes the request, then is unplugged
    StopsAnswering, // takes that request and every later one, but answers none
};

inline const char* FaultName(Fault fault) {
    switch (fault) {
    case Fault::WriteFails:
        return "WriteFails";
    case Fault::VanishesAfter:
        return "VanishesAfter";
    case Fault::StopsAnswering:
        return "StopsAnswering";
    }
    return "?";
}

// Seven programs of twelve steps over eight distinct steps, a pause and a wait: 67 item bytes,
// 84 index entries and 8 therapy slots, so every section takes two requests.
inline ProgramCatalogue FourSectionCatalogue() {
    std::vector<std::vector<int>> programs;
    for (int k = 0; k < 7; ++k) {
        std::vector<int> steps;
        for (int j = 0; j < 12; ++j)
            steps.push_back((k + j) % 8);
        programs.push_back(steps);
    }
    return CatalogueOf(8, programs);
}

// Both device dialogs' sequences over one simulated device holding the four-section program.
struct FaultBench : DownloadBench {
    ManualTimer statusTimer{clock};
    RecordingStatusView statusView;
    StatusSequence status{link, statusTimer, statusView, session, catalogue, texts};

    FaultBench() : DownloadBench(FourSectionCatalogue()) {
        control.Clear();
        for (int index : {0, 1, 2})
            control.AddSelectedProgram(index);
        control.AddPause("1", "0");
        control.AddSelectedProgram(3);
        control.AddWait();
        for (int index : {4, 5, 6})
            control.AddSelectedProgram(index);
        texts.messages.set(34, "Count: *");
    }

    // Arms `fault` for the `request`-th request from now on (1: the next one).
    void arm(Fault fault, int request) {
        switch (fault) {
        case Fault::WriteFails:
            device.unplugAtRequest(request, sim::UnplugPoint::BeforeTaking);
            break;
        case Fault::VanishesAfter:
            device.unplugAtRequest(request, sim::UnplugPoint::AfterTaking);
            break;
        case Fault::StopsAnswering:
            device.stopAnsweringAtRequest(request);
            break;
        }
    }
    // What the user does about it: plugs the cable back in, or the device answers again.
    void heal(Fault fault) {
        if (fault == Fault::StopsAnswering)
            device.setNoReply(false);
        else
            device.replug();
    }

    // A download from the main window's Download button: to the verified image, then Start.
    // The timer steps it took.
    int downloadAndStart(int tickLimit) {
        session.startItemIndex = 0;
        session.storedProgramFlag = false;
        sequence.FormActivate();
        int ticks = timer.runToRest(tickLimit);
        if (sequence.outcome() == DownloadSequence::Outcome::Verified) {
            sequence.StartButtonClick();
            ticks += timer.runToRest(tickLimit);
        }
        return ticks;
    }

    // The program list the status dialog shows for the downloaded image.
    std::vector<std::string> programListLines() const {
        std::vector<std::string> lines;
        for (int k = 0; k < session.image.itemCount; ++k)
            lines.push_back(
                StatusDisplay::ProgramListLine(session.image.items[static_cast<size_t>(k)], catalogue, texts.messages));
        return lines;
    }
    const std::vector<std::string>& statusList(StatusDisplay::List which) const {
        return status.display().lines(which);
    }
};

} // namespace trv::test
