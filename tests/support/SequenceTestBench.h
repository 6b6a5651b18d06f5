#pragma once

#include "TestCatalogue.h"

#include "data/LanguageSelection.h"
#include "data/ProgramCatalogue.h"
#include "link/DeviceLink.h"
#include "logic/DownloadSequence.h"
#include "logic/SequenceTimer.h"
#include "program/ControlProgram.h"
#include "program/DeviceSession.h"
#include "sim/SimulatedDevice.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace trv::test {

// A timer the test fires by hand: each tick first moves the simulated clock by the interval.
class ManualTimer : public SequenceTimer {
public:
    explicit ManualTimer(sim::ManualClock& clock) : clock_(clock) {}

    void setHandler(Handler handler) override { handler_ = std::move(handler); }
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool enabled() const override { return enabled_; }

    // One timeout; false when the timer was off.
    bool tick() {
        if (!enabled_ || !handler_)
            return false;
        clock_.advance(sim::SimTime(interval_));
        Handler run = handler_; // the step may replace the handler while it runs
        run();
        return true;
    }
    // Ticks until the timer stays off; the number of ticks.
    int runToRest(int limit = 2000) {
        int ticks = 0;
        while (ticks < limit && tick())
            ++ticks;
        return ticks;
    }

private:
    sim::ManualClock& clock_;
    Handler handler_;
    int interval_ = 200;
    bool enabled_ = false;
};

// Passes everything to the real link and lets a test change the replies it reads.
class TamperingLink : public ReportLink {
public:
    explicit TamperingLink(ReportLink& inner) : inner_(inner) {}
    std::function<void(ReportData&)> onRead;

    bool WriteReport(std::span<const uint8_t> request) override { return inner_.WriteReport(request); }
    ReadResult ReadReport(ReportData& dest) override {
        const ReadResult read = inner_.ReadReport(dest);
        if (read != ReadResult::NoDevice && onRead)
            onRead(dest);
        return read;
    }
    void CloseDevice() override { inner_.CloseDevice(); }
    std::string openFailure() const override { return inner_.openFailure(); }

private:
    ReportLink& inner_;
};

// Texts "M<k>" and "C<k>", so a line tells which entry it came from.
inline LanguageTexts NumberedTexts() {
    LanguageTexts texts;
    for (int k = 0; k < MessageTable::size(); ++k)
        texts.messages.set(k, "M" + std::to_string(k));
    for (int k = 0; k < CaptionTable::size(); ++k)
        texts.captions.set(k, "C" + std::to_string(k));
    return texts;
}

// 20 programs of 15 steps each over 100 distinct steps: 20 items give 300 index entries.
inline ProgramCatalogue TwentyProgramCatalogue() {
    std::vector<std::vector<int>> programs;
    for (int k = 0; k < 20; ++k) {
        std::vector<int> steps;
        for (int j = 0; j < 15; ++j)
            steps.push_back((k * 5 + j) % 100);
        programs.push_back(steps);
    }
    return CatalogueOf(100, programs);
}

// What the download dialog showed and was asked to do.
class RecordingDownloadView : public DownloadView {
public:
    struct ErrorBox {
        std::string title;
        std::string text;
    };
    std::vector<std::string> lines;
    std::vector<int> progress;
    int maximum = -1;
    bool startEnabled = true;
    bool closeEnabled = true;
    std::vector<ErrorBox> errors;
    int warnings = 0;
    int closed = 0;
    // What the process-running warning does; by default the user aborts.
    std::function<void()> onWarning;

    void clearLines() override { lines.clear(); }
    void addLine(const std::string& text) override { lines.push_back(text); }
    void setProgressMaximum(int value) override { maximum = value; }
    void setProgress(int position) override { progress.push_back(position); }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void setCloseEnabled(bool enabled) override { closeEnabled = enabled; }
    void showErrorBox(const std::string& title, const std::string& text) override { errors.push_back({title, text}); }
    void showProcessRunningWarning() override {
        ++warnings;
        if (onWarning)
            onWarning();
    }
    void closeDialog() override { ++closed; }
};

// The simulated device on a manual clock behind the real link.
struct DeviceBench {
    sim::ManualClock clock;
    sim::SimulatedDevice device{clock};
    DeviceLink deviceLink{device};
    TamperingLink link{deviceLink};
    ManualTimer timer{clock};
    DeviceSession session;
    LanguageTexts texts = NumberedTexts();

    // Requests the device received since the last clear, as (milliseconds, leading bytes).
    std::vector<std::vector<uint8_t>> requests(size_t leading = 4) const {
        std::vector<std::vector<uint8_t>> out;
        for (const sim::LoggedRequest& entry : device.requestLog())
            out.emplace_back(entry.data.begin(), entry.data.begin() + static_cast<std::ptrdiff_t>(leading));
        return out;
    }
    // Commands of the framed requests (the third byte), fetches as C1 and link checks as A0.
    std::vector<uint8_t> commands() const {
        std::vector<uint8_t> out;
        for (const sim::LoggedRequest& entry : device.requestLog())
            out.push_back(entry.data[0] == wire::Framed ? entry.data[2] : entry.data[0]);
        return out;
    }
    long long timeOf(size_t request) const { return device.requestLog().at(request).at.count(); }
};

// A download bench: the sequence, a control program and a catalogue.
struct DownloadBench : DeviceBench {
    ProgramCatalogue catalogue;
    ControlProgram control;
    RecordingDownloadView view;
    DownloadSequence sequence;

    explicit DownloadBench(ProgramCatalogue programs = TwentyProgramCatalogue())
        : catalogue(std::move(programs)), control(catalogue, [this](int k) { return texts.messages.text(k); }),
          sequence(link, timer, view, session, control, catalogue, texts) {}

    // Program numbers (1-based) into the control program, no pauses between.
    void compose(const std::vector<int>& numbers) {
        control.Clear();
        for (int number : numbers)
            control.AddSelectedProgram(number - 1);
    }
    // Opens the dialog and runs until it waits for the user or has ended.
    void download() {
        sequence.FormActivate();
        timer.runToRest();
    }
};

} // namespace trv::test
