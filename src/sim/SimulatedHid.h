#pragma once

#include "link/DeviceMessages.h"
#include "link/HidBackend.h"
#include "sim/SimClock.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trv::sim {

// Where an armed unplug strikes: the write of that request fails, or the device takes the request
// and is gone right after it.
enum class UnplugPoint { BeforeTaking, AfterTaking };

struct LoggedRequest {
    SimTime at{0};
    ReportData data{}; // the 64 data bytes after the report ID
};

// The device behind the cable, as the HID side sees it.
class HidPeer {
public:
    virtual ~HidPeer() = default;
    // Brings the device up to the clock's time; called before anything is seen of it.
    virtual void update() = 0;
    // Acts on one request; the input report it brings back, if any.
    virtual std::optional<ReportData> answer(const ReportData& request) = 0;
};

// The device's USB side: what enumeration shows, the open handles, the input reports waiting to
// be read, and what a cable and a flaky device can do to them.
class SimulatedHid : public HidBackend {
public:
    static constexpr uint16_t ForeignProductId = 0x000B;

    SimulatedHid(SimClock& clock, HidPeer& peer);
    ~SimulatedHid() override;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::string lastError() const override { return lastError_; }

    void setForeignDeviceFirst(bool present) { foreignFirst_ = present; }
    void setNoReply(bool on) { noReply_ = on; }
    void setOpenRefusal(std::string reason) { openRefusal_ = std::move(reason); }
    void unplug();
    void replug();
    bool pluggedIn() const { return pluggedIn_; }
    // Armed faults count requests from now on (1: the next one); 0 disarms.
    void unplugAtRequest(int request, UnplugPoint point);
    void stopAnsweringAtRequest(int request);
    void answerLateAtRequest(int request);

    const std::vector<LoggedRequest>& requestLog() const { return log_; }
    void clearRequestLog() { log_.clear(); }

private:
    class Handle;
    friend class Handle;

    // Called by the open handle.
    int receive(const uint8_t* report, size_t length);
    int deliver(uint8_t* data, size_t length, int timeoutMs);

    std::string foreignPath() const { return "sim:foreign/0"; }

    SimClock& clock_;
    HidPeer& peer_;
    std::string lastError_;

    bool pluggedIn_ = true;
    int plugCount_ = 0; // each plug-in gets a new path
    std::string path_;
    std::shared_ptr<bool> alive_;        // shared with open handles; false once unplugged
    std::shared_ptr<bool> foreignAlive_; // the foreign device's handles
    std::deque<ReportData> inputReports_;
    std::deque<ReportData> lateReports_; // queued once the next read has timed out
    std::vector<LoggedRequest> log_;

    int arrivals_ = 0; // requests that reached the device, for the armed faults below
    int unplugAt_ = 0; // arrival number that unplugs; 0 = none armed
    UnplugPoint unplugPoint_ = UnplugPoint::BeforeTaking;
    int silentAt_ = 0; // arrival number from which no answer is given; 0 = none armed
    int lateAt_ = 0;   // arrival number whose report comes too late; 0 = none armed
    bool foreignFirst_ = false;
    bool noReply_ = false;
    std::string openRefusal_;
};

} // namespace trv::sim
