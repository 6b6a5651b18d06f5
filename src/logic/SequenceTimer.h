#pragma once

#include <functional>

namespace trv {

// The one timer of a device dialog. Every step disables it, does one exchange, picks the next
// handler and enables it again; a step left disabled ends the chain. The windows put a QTimer
// behind it, the tests a timer they fire by hand.
class SequenceTimer {
public:
    using Handler = std::function<void()>;
    virtual ~SequenceTimer() = default;
    virtual void setHandler(Handler handler) = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    // Enabling (again) starts a full interval from now.
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
};

} // namespace trv
