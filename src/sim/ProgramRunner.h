#pragma once

#include "link/DeviceMessages.h"
#include "sim/ImageReceiver.h"
#include "sim/SimClock.h"

#include <chrono>
#include <cstdint>

namespace trv::sim {

// Runs the received program in simulated time: program items and pauses last their seconds, a
// wait item holds until continued. The battery drains as the device works; an abort, the stop key
// or a flat battery keep the program as interrupted, to be resumed from the item it stopped in.
class ProgramRunner {
public:
    // States the device reports while it works (any code but 0, 15 and 20 means running).
    static constexpr uint8_t StateRunningProgram = 1;
    static constexpr uint8_t StateRunningPause = 2;

    // Power levels: full, the level below which it reports low power, and the level at which it
    // gives up and keeps the program as interrupted.
    static constexpr uint8_t FullPower = 135;
    static constexpr uint8_t LowPowerLevel = 111;
    static constexpr uint8_t FlatPower = 109;

    // `now` is the clock's time the runner starts from.
    ProgramRunner(const ImageReceiver& image, SimTime now);

    // Brings the program up to `now`.
    void update(SimTime now);

    // Reports this state code until aborted (0 switches it off).
    void setBusyState(uint8_t code) { busyState_ = code; }
    void setPowerLevel(uint8_t level) { powerLevel_ = level; }
    // Simulated time per power level lost while a program runs (idle drains ten times slower).
    void setDrainInterval(SimTime perLevel) { drainInterval_ = perLevel; }
    void setCounterValue(uint32_t value) { counterValue_ = value; }

    // Neither running nor busy: the device takes uploads and starts.
    bool idle() const { return mode_ == Mode::Idle && busyState_ == 0; }
    uint8_t reportedState() const;
    uint8_t powerLevel() const { return powerLevel_; }
    bool storedProgram() const { return interrupted_; }
    int currentItem() const { return current_ + 1; } // 1-based, 0 = none
    uint32_t counterValue() const { return counterValue_; }

    // Starts at the 0-based item; false when there is no such item or the battery is flat.
    bool start(int itemIndex);
    // Ends a busy state and interrupts a running program.
    void abort();
    // The stop key, a flat battery: a running program is kept for a resume.
    void interrupt();
    // Holds a running item (the Wait request).
    void hold();
    // Goes on after a hold or past a wait item.
    void resume();
    // A new image replaces whatever program was kept.
    void forgetStoredProgram();

    ReportData runStateReply() const;
    ReportData contextReply() const;

private:
    enum class Mode { Idle, Running, Waiting, Held };

    void enterItem(int index);
    void finish();
    void loseOnePowerLevel();
    SimTime itemDuration(int index) const;

    const ImageReceiver& image_;
    SimTime lastUpdate_;

    uint8_t busyState_ = 0;
    uint8_t powerLevel_ = 130;
    SimTime drainInterval_{std::chrono::minutes(5)};
    SimTime drainCarry_{0};
    uint32_t counterValue_ = 0;

    Mode mode_ = Mode::Idle;
    int current_ = -1;         // 0-based item in progress, -1 = none
    SimTime itemElapsed_{0};   // time spent in the current item
    bool interrupted_ = false; // the stored-program flag
};

} // namespace trv::sim
