#pragma once

#include <chrono>

namespace trv::sim {

using SimTime = std::chrono::milliseconds;

// The simulated device's time source: real in the demo, stepped by hand in tests.
class SimClock {
public:
    virtual ~SimClock() = default;
    // Time since the clock's own origin.
    virtual SimTime now() const = 0;
    // A blocking wait of the device side (a read that times out).
    virtual void sleepFor(SimTime duration) = 0;
};

// Moves only when told to; a wait advances it instead of sleeping.
class ManualClock : public SimClock {
public:
    SimTime now() const override { return now_; }
    void sleepFor(SimTime duration) override { advance(duration); }
    void advance(SimTime duration) { now_ += duration; }

private:
    SimTime now_{0};
};

class SteadyClock : public SimClock {
public:
    SteadyClock();
    SimTime now() const override;
    void sleepFor(SimTime duration) override;

private:
    std::chrono::steady_clock::time_point origin_;
};

} // namespace trv::sim
