#include "sim/SimulatedDevice.h"

#include "sim/ReportBytes.h"

#include <algorithm>
#include <utility>

namespace trv::sim {

namespace {

ReportData emptyReply() {
    ReportData reply{};
    reply[0] = wire::Reply;
    return reply;
}

} // namespace

SimulatedDevice::SimulatedDevice(SimClock& clock) : clock_(clock), runner_(image_, clock.now()), hid_(clock, *this) {}

void SimulatedDevice::update() {
    runner_.update(clock_.now());
}

ProgramRunner& SimulatedDevice::runnerNow() {
    update();
    return runner_;
}

void SimulatedDevice::pressStopKey() {
    runnerNow().interrupt();
}

void SimulatedDevice::recharge(uint8_t level) {
    runnerNow().setPowerLevel(level);
}

uint8_t SimulatedDevice::stateCode() {
    return runnerNow().reportedState();
}

uint8_t SimulatedDevice::powerLevel() {
    return runnerNow().powerLevel();
}

bool SimulatedDevice::storedProgram() {
    return runnerNow().storedProgram();
}

int SimulatedDevice::currentItem() {
    return runnerNow().currentItem();
}

std::optional<ReportData> SimulatedDevice::answer(const ReportData& request) {
    switch (request[0]) {
    case wire::LinkCheck: {
        ReportData reply{};
        reply[0] = wire::LinkCheckReply;
        return reply;
    }
    case wire::Fetch:
        return fetchReply();
    case wire::Framed:
        handleFramed(request); // answered through a later fetch
        return std::nullopt;
    default:
        return std::nullopt; // unknown requests are ignored
    }
}

ReportData SimulatedDevice::fetchReply() {
    if (emptyReplies_ > 0) {
        // Not ready yet: the pending reply stays for a later fetch.
        --emptyReplies_;
        return emptyReply();
    }
    if (!pendingReply_) {
        return emptyReply();
    }
    return *std::exchange(pendingReply_, std::nullopt);
}

void SimulatedDevice::handleFramed(const ReportData& data) {
    const uint8_t length = data[1];
    if (length < 1 || length > wire::MaxFramedPayload) {
        return;
    }
    const bool idle = runner_.idle();
    switch (data[2]) {
    case wire::StateQuery:
        if (data[3] == wire::BaseStateArg) {
            pendingReply_ = baseStateReply();
        } else if (data[3] == wire::RunStateArg) {
            pendingReply_ = runner_.runStateReply();
        }
        break;
    case wire::Abort:
        runner_.abort();
        break;
    // A busy device ignores uploads; the application aborts before it sends one.
    case wire::InfoHead:
        if (idle) {
            image_.takeInfoHead(data);
            runner_.forgetStoredProgram();
        }
        break;
    case wire::Control:
        if (idle) {
            image_.takeControl(data);
        }
        break;
    case wire::Indexs:
        if (idle) {
            image_.takeIndexs(data);
        }
        break;
    case wire::Therapies:
        if (idle) {
            image_.takeTherapies(data);
        }
        break;
    case wire::Summary:
        pendingReply_ = image_.summaryReply();
        break;
    case wire::Start: {
        const bool accepted = !wrongStartAck_ && idle && runner_.start(data[3]);
        pendingReply_ = startReply(accepted);
        break;
    }
    case wire::Context:
        pendingReply_ = runner_.contextReply();
        break;
    case wire::Wait:
        runner_.hold();
        break;
    case wire::Continue:
        runner_.resume();
        break;
    default:
        break;
    }
}

ReportData SimulatedDevice::startReply(bool accepted) const {
    ReportData reply{};
    std::copy(StartAcknowledgement.begin(), StartAcknowledgement.end(), reply.begin());
    if (!accepted) {
        reply[5] = 0x0A; // refused
    }
    return reply;
}

ReportData SimulatedDevice::baseStateReply() const {
    ReportData reply{};
    reply[0] = wire::Reply;
    reply[1] = wire::BaseStateLength;
    reply[4] = wire::StateQuery;
    reply[5] = runner_.reportedState();
    reply[6] = version_[0];
    reply[7] = version_[1];
    reply[8] = correctionPercentage_;
    reply[9] = runner_.powerLevel();
    reply[10] = runner_.storedProgram() ? 1 : 0;
    reply[14] = version_[2];
    reply[15] = version_[3];
    Put32(reply, 16, runner_.counterValue());
    return reply;
}

} // namespace trv::sim
