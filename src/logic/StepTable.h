#pragma once

#include "data/Log.h"
#include "logic/SequenceTimer.h"

#include <cstddef>

namespace trv {

// A step of a step machine and the member that runs it when the timer fires; none for a step
// that waits for the user.
template <class Machine, class Step> struct StepEntry {
    Step step;
    void (Machine::*handler)();
};

// True when every step of the enumeration up to last stands at its own place in the table, so a
// step finds its handler by its value.
template <class Machine, class Step, std::size_t N>
constexpr bool CoversEveryStep(const StepEntry<Machine, Step> (&table)[N], Step last) {
    for (std::size_t k = 0; k < N; ++k) {
        if (static_cast<std::size_t>(table[k].step) != k)
            return false;
    }
    return N == static_cast<std::size_t>(last) + 1;
}

// Puts the step's handler on the timer.
template <class Machine, class Step, std::size_t N>
void SetStepHandler(SequenceTimer& timer, Machine& machine, const StepEntry<Machine, Step> (&table)[N], Step step) {
    void (Machine::*handler)() = table[static_cast<std::size_t>(step)].handler;
    if (handler == nullptr)
        timer.setHandler(nullptr);
    else
        timer.setHandler([&machine, handler, step] {
            TRV_LOG(LogCategory::Steps, LogLevel::Debug,
                    LoggedTypeName<Machine>() << ": step " << static_cast<int>(step) << " runs");
            (machine.*handler)();
        });
}

} // namespace trv
