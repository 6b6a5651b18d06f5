#include "sim/ProgramRunner.h"

#include "sim/ReportBytes.h"

#include <algorithm>

namespace trv::sim {

namespace {

constexpr uint8_t StatusReplyLength = 28;
constexpr uint8_t ContextReplyLength = 0x3C;

uint16_t seconds16(SimTime time) {
    const auto seconds = (time.count() + 999) / 1000; // a started second counts as remaining
    return static_cast<uint16_t>(std::clamp<long long>(seconds, 0, 0xFFFF));
}

} // namespace

ProgramRunner::ProgramRunner(const ImageReceiver& image, SimTime now) : image_(image), lastUpdate_(now) {}

uint8_t ProgramRunner::reportedState() const {
    if (busyState_ != 0) {
        return busyState_;
    }
    switch (mode_) {
    case Mode::Idle:
        return devstate::Idle;
    case Mode::Waiting:
    case Mode::Held:
        return devstate::Waiting;
    case Mode::Running:
        break;
    }
    if (powerLevel_ <= LowPowerLevel) {
        return devstate::LowPower;
    }
    return image_.items()[current_].code == 'P' ? StateRunningProgram : StateRunningPause;
}

bool ProgramRunner::start(int itemIndex) {
    if (itemIndex >= image_.heldItems() || powerLevel_ <= FlatPower) {
        return false;
    }
    interrupted_ = false;
    ++counterValue_;
    enterItem(itemIndex);
    return true;
}

void ProgramRunner::abort() {
    busyState_ = 0;
    interrupt();
}

void ProgramRunner::interrupt() {
    if (mode_ == Mode::Idle) {
        return;
    }
    // Kept for a later resume from the item it stopped in.
    mode_ = Mode::Idle;
    interrupted_ = true;
    itemElapsed_ = SimTime(0);
}

void ProgramRunner::hold() {
    if (mode_ == Mode::Running) {
        mode_ = Mode::Held;
    }
}

void ProgramRunner::resume() {
    if (mode_ == Mode::Held) {
        mode_ = Mode::Running;
    } else if (mode_ == Mode::Waiting) {
        enterItem(current_ + 1);
    }
}

void ProgramRunner::forgetStoredProgram() {
    interrupted_ = false;
    current_ = -1;
}

void ProgramRunner::enterItem(int index) {
    itemElapsed_ = SimTime(0);
    if (index >= image_.heldItems()) {
        finish();
        return;
    }
    current_ = index;
    mode_ = image_.items()[index].code == 'W' ? Mode::Waiting : Mode::Running;
}

void ProgramRunner::finish() {
    mode_ = Mode::Idle;
    interrupted_ = false;
    current_ = -1;
    itemElapsed_ = SimTime(0);
}

void ProgramRunner::loseOnePowerLevel() {
    if (powerLevel_ > 0) {
        --powerLevel_;
    }
    if (powerLevel_ <= FlatPower) {
        interrupt();
    }
}

SimTime ProgramRunner::itemDuration(int index) const {
    const SimItem& item = image_.items()[index];
    if (item.code == 'P' || item.code == 'T') {
        return std::chrono::seconds(item.value);
    }
    return SimTime(0);
}

void ProgramRunner::update(SimTime now) {
    SimTime elapsed = std::max(now - lastUpdate_, SimTime(0));
    lastUpdate_ = now;
    for (;;) {
        // Items of no length are passed at once.
        while (mode_ == Mode::Running && itemElapsed_ >= itemDuration(current_)) {
            enterItem(current_ + 1);
        }
        if (elapsed <= SimTime(0)) {
            break;
        }
        // Working drains the battery ten times faster than standing idle.
        const SimTime drainEvery = std::max(mode_ == Mode::Idle ? drainInterval_ * 10 : drainInterval_, SimTime(1));
        SimTime chunk = std::min(elapsed, drainEvery - std::min(drainCarry_, drainEvery));
        if (mode_ == Mode::Running) {
            chunk = std::min(chunk, itemDuration(current_) - itemElapsed_);
            itemElapsed_ += chunk;
        }
        elapsed -= chunk;
        drainCarry_ += chunk;
        if (drainCarry_ >= drainEvery) {
            drainCarry_ = SimTime(0);
            loseOnePowerLevel();
        }
    }
}

ReportData ProgramRunner::runStateReply() const {
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = StatusReplyLength;
    reply[4] = wire::RunStateMark;
    reply[5] = reportedState();
    reply[7] = powerLevel_;
    if (mode_ != Mode::Idle && current_ >= 0) {
        reply[8] = static_cast<uint8_t>(current_ + 1);
        SimTime total{0};
        SimTime remaining{0};
        for (int i = 0; i < image_.heldItems(); ++i) {
            total += itemDuration(i);
            if (i > current_) {
                remaining += itemDuration(i);
            }
        }
        const SimTime itemTotal = itemDuration(current_);
        const SimTime itemLeft = std::max(itemTotal - itemElapsed_, SimTime(0));
        remaining += itemLeft;
        Put16(reply, 10, seconds16(remaining));
        Put16(reply, 12, seconds16(total));
        Put16(reply, 14, seconds16(itemLeft));
        Put16(reply, 16, seconds16(itemTotal));
    }
    return reply;
}

ReportData ProgramRunner::contextReply() const {
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = ContextReplyLength;
    reply[4] = wire::ContextMark;
    reply[6] = static_cast<uint8_t>(current_ + 1);
    reply[7] = static_cast<uint8_t>(image_.itemCount());
    const int words = std::min(image_.heldItems(), MaxContextItemWords);
    for (int k = 0; k < words; ++k) {
        const SimItem& item = image_.items()[k];
        ContextItem decoded;
        if (item.code == 'P') {
            decoded = {ContextItemKind::Program, item.programNumber};
        } else if (item.code == 'T') {
            decoded = {ContextItemKind::Pause, item.value};
        } else {
            decoded = {ContextItemKind::Wait, 0};
        }
        Put16(reply, 16 + 2 * static_cast<size_t>(k), EncodeItemWord(decoded));
    }
    return reply;
}

} // namespace trv::sim
