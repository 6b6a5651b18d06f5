#include "sim/SimClock.h"

#include <thread>

namespace trv::sim {

SteadyClock::SteadyClock() : origin_(std::chrono::steady_clock::now()) {}

SimTime SteadyClock::now() const {
    return std::chrono::duration_cast<SimTime>(std::chrono::steady_clock::now() - origin_);
}

void SteadyClock::sleepFor(SimTime duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace trv::sim
