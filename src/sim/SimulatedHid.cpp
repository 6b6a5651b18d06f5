#include "sim/SimulatedHid.h"

#include "link/DeviceLink.h"

#include <algorithm>

namespace trv::sim {

namespace {

constexpr size_t ReportSize = ReportDataSize + 1;

} // namespace

class SimulatedHid::Handle : public HidHandle {
public:
    Handle(SimulatedHid& hid, std::shared_ptr<bool> alive, bool foreign)
        : hid_(hid), alive_(std::move(alive)), foreign_(foreign) {}

    int write(const uint8_t* data, size_t length) override {
        if (!*alive_) {
            return -1;
        }
        if (foreign_) {
            return static_cast<int>(length);
        }
        return hid_.receive(data, length);
    }

    int readTimeout(uint8_t* data, size_t length, int timeoutMs) override {
        if (!*alive_) {
            return -1;
        }
        if (foreign_) {
            hid_.clock_.sleepFor(SimTime(std::max(timeoutMs, 0)));
            return 0;
        }
        return hid_.deliver(data, length, timeoutMs);
    }

private:
    SimulatedHid& hid_;
    std::shared_ptr<bool> alive_;
    bool foreign_;
};

SimulatedHid::SimulatedHid(SimClock& clock, HidPeer& peer)
    : clock_(clock), peer_(peer), path_("sim:trv/0"), alive_(std::make_shared<bool>(true)),
      foreignAlive_(std::make_shared<bool>(true)) {}

SimulatedHid::~SimulatedHid() {
    // Handles may outlive the device; they must not reach back into it.
    *alive_ = false;
    *foreignAlive_ = false;
}

std::vector<HidDeviceInfo> SimulatedHid::enumerate() {
    peer_.update();
    std::vector<HidDeviceInfo> list;
    if (foreignFirst_) {
        list.push_back({foreignPath(), DeviceLink::VendorId, ForeignProductId});
    }
    if (pluggedIn_) {
        list.push_back({path_, DeviceLink::VendorId, DeviceLink::ProductId});
    }
    return list;
}

std::unique_ptr<HidHandle> SimulatedHid::open(const std::string& path) {
    peer_.update();
    if (foreignFirst_ && path == foreignPath()) {
        lastError_.clear();
        return std::make_unique<Handle>(*this, foreignAlive_, true);
    }
    if (!pluggedIn_ || path != path_) {
        lastError_ = "No such device";
        return nullptr;
    }
    if (!openRefusal_.empty()) {
        lastError_ = openRefusal_;
        return nullptr;
    }
    lastError_.clear();
    // A fresh file handle starts with an empty input queue.
    inputReports_.clear();
    lateReports_.clear();
    return std::make_unique<Handle>(*this, alive_, false);
}

void SimulatedHid::unplug() {
    peer_.update();
    pluggedIn_ = false;
    *alive_ = false;
    inputReports_.clear();
    lateReports_.clear();
}

void SimulatedHid::replug() {
    peer_.update();
    if (pluggedIn_) {
        return;
    }
    pluggedIn_ = true;
    ++plugCount_;
    path_ = "sim:trv/" + std::to_string(plugCount_);
    alive_ = std::make_shared<bool>(true);
}

void SimulatedHid::unplugAtRequest(int request, UnplugPoint point) {
    unplugAt_ = request > 0 ? arrivals_ + request : 0;
    unplugPoint_ = point;
}

void SimulatedHid::stopAnsweringAtRequest(int request) {
    silentAt_ = request > 0 ? arrivals_ + request : 0;
}

void SimulatedHid::answerLateAtRequest(int request) {
    lateAt_ = request > 0 ? arrivals_ + request : 0;
}

int SimulatedHid::receive(const uint8_t* report, size_t length) {
    peer_.update();
    // Anything but a whole report with report ID 0 is refused, as the HID driver would.
    if (length != ReportSize || report[0] != 0) {
        return -1;
    }
    const int arrival = ++arrivals_;
    const bool unplugHere = unplugAt_ == arrival;
    if (unplugHere) {
        unplugAt_ = 0;
    }
    if (unplugHere && unplugPoint_ == UnplugPoint::BeforeTaking) {
        unplug();
        return -1;
    }
    if (silentAt_ == arrival) {
        silentAt_ = 0;
        noReply_ = true;
    }
    const bool late = lateAt_ == arrival;
    if (late) {
        lateAt_ = 0;
    }
    LoggedRequest entry;
    entry.at = clock_.now();
    std::copy(report + 1, report + ReportSize, entry.data.begin());
    log_.push_back(entry);
    // A silent device still acts on the request; only its report is lost.
    const std::optional<ReportData> reply = peer_.answer(entry.data);
    if (reply && !noReply_) {
        (late ? lateReports_ : inputReports_).push_back(*reply);
    }
    if (unplugHere) {
        unplug(); // taken, and gone before anything can be read back
    }
    return static_cast<int>(ReportSize);
}

int SimulatedHid::deliver(uint8_t* data, size_t length, int timeoutMs) {
    peer_.update();
    if (inputReports_.empty()) {
        clock_.sleepFor(SimTime(std::max(timeoutMs, 0)));
        peer_.update();
        // What was held back arrives just after the read gave up.
        inputReports_.insert(inputReports_.end(), lateReports_.begin(), lateReports_.end());
        lateReports_.clear();
        return 0;
    }
    const ReportData report = inputReports_.front();
    inputReports_.pop_front();
    const size_t count = std::min(length, report.size());
    std::copy(report.begin(), report.begin() + static_cast<std::ptrdiff_t>(count), data);
    return static_cast<int>(count);
}

} // namespace trv::sim
