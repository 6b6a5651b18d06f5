#pragma once

#include "link/DeviceMessages.h"
#include "link/HidBackend.h"
#include "sim/ImageReceiver.h"
#include "sim/ProgramRunner.h"
#include "sim/SimClock.h"
#include "sim/SimulatedHid.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trv::sim {

// A TRV device behind the HidBackend interface: it shows up in enumeration, answers the requests
// the application sends, takes an uploaded control program, verifies it and runs it in simulated
// time. Fault switches let tests and the demo provoke what a real device and cable can do.
//
// It puts together the HID side (SimulatedHid), the image it receives (ImageReceiver) and the
// program it runs (ProgramRunner), and answers the framed requests between them.
class SimulatedDevice : public HidBackend, private HidPeer {
public:
    static constexpr int MaxItems = ImageReceiver::MaxItems;
    static constexpr int MaxIndexEntries = ImageReceiver::MaxIndexEntries;
    static constexpr int MaxTherapySlots = ImageReceiver::MaxTherapySlots;
    static constexpr uint16_t ForeignProductId = SimulatedHid::ForeignProductId;

    static constexpr uint8_t StateRunningProgram = ProgramRunner::StateRunningProgram;
    static constexpr uint8_t StateRunningPause = ProgramRunner::StateRunningPause;

    static constexpr uint8_t FullPower = ProgramRunner::FullPower;
    static constexpr uint8_t LowPowerLevel = ProgramRunner::LowPowerLevel;
    static constexpr uint8_t FlatPower = ProgramRunner::FlatPower;

    explicit SimulatedDevice(SimClock& clock);

    // HidBackend
    std::vector<HidDeviceInfo> enumerate() override { return hid_.enumerate(); }
    std::unique_ptr<HidHandle> open(const std::string& path) override { return hid_.open(path); }
    std::string lastError() const override { return hid_.lastError(); }

    // --- fault and setting switches ---
    void setForeignDeviceFirst(bool present) { hid_.setForeignDeviceFirst(present); }
    // The device takes requests but never answers: every read times out.
    void setNoReply(bool on) { hid_.setNoReply(on); }
    // Open handles die; the device leaves the enumeration.
    void unplug() { hid_.unplug(); }
    // Back under a new path, as a replugged hidraw device is.
    void replug() { hid_.replug(); }
    bool pluggedIn() const { return hid_.pluggedIn(); }
    // Arms an unplug for the `request`-th request that reaches the device from now on (1: the
    // next one). Fires once; unplug() or replug() in between don't disarm it.
    void unplugAtRequest(int request, UnplugPoint point) { hid_.unplugAtRequest(request, point); }
    // From the `request`-th request on (1: the next one) the device goes silent as setNoReply(true)
    // does; that request itself is taken but gets no answer.
    void stopAnsweringAtRequest(int request) { hid_.stopAnsweringAtRequest(request); }
    // The `request`-th request (1: the next one) is taken and acted on, but the report it brings
    // back comes too late: the read waiting for it times out, and the report arrives after that
    // read gave up. A fresh opening doesn't see it. Requests answered through a later fetch bring
    // back no report of their own and are not delayed. Fires once.
    void answerLateAtRequest(int request) { hid_.answerLateAtRequest(request); }
    // Opening the device fails with this reason (empty: opens normally).
    void setOpenRefusal(std::string reason) { hid_.setOpenRefusal(std::move(reason)); }
    // The next `verifications` summaries report `field` off by one.
    void corruptSummary(SummaryField field, int verifications) { image_.corruptSummary(field, verifications); }
    // The next `fetches` fetch requests get a reply of length 0.
    void giveEmptyReplies(int fetches) { emptyReplies_ = fetches; }
    void setWrongStartAcknowledgement(bool on) { wrongStartAck_ = on; }
    void setVersion(const DeviceVersion& version) { version_ = version; }
    // Reports this state code until an abort request arrives (0 switches it off).
    void setBusyState(uint8_t code) { runner_.setBusyState(code); }
    void setCorrectionPercentage(uint8_t percentage) { correctionPercentage_ = percentage; }
    void setPowerLevel(uint8_t level) { runner_.setPowerLevel(level); }
    // Simulated time per power level lost while a program runs (idle drains ten times slower).
    void setDrainInterval(SimTime perLevel) { runner_.setDrainInterval(perLevel); }
    void setCounterValue(uint32_t value) { runner_.setCounterValue(value); }
    // The device's own stop key: a running program is interrupted and kept for a resume.
    void pressStopKey();
    // A charged battery put in: the power level becomes `level`.
    void recharge(uint8_t level);

    // --- what the device holds and does ---
    const std::vector<LoggedRequest>& requestLog() const { return hid_.requestLog(); }
    void clearRequestLog() { hid_.clearRequestLog(); }
    uint8_t stateCode();
    uint8_t powerLevel();
    bool storedProgram();
    int currentItem(); // 1-based, 0 = none
    // The announced counts and the tables as received.
    int itemCount() const { return image_.itemCount(); }
    int indexCount() const { return image_.indexCount(); }
    int therapyCount() const { return image_.therapyCount(); }
    const std::array<char, 8>& title() const { return image_.title(); }
    const std::vector<SimItem>& items() const { return image_.items(); }
    const std::vector<uint8_t>& indexTable() const { return image_.indexTable(); }
    const std::vector<SimTherapy>& therapies() const { return image_.therapies(); }
    // The summary computed from what was received, without any injected corruption.
    ImageSummary computeSummary() const { return image_.computeSummary(); }
    // Brings the program up to the clock's time (every request does this by itself).
    void update() override;

private:
    // The program brought up to the clock's time, for what the device shows or is done to it.
    ProgramRunner& runnerNow();
    std::optional<ReportData> answer(const ReportData& request) override;
    void handleFramed(const ReportData& data);
    ReportData fetchReply();
    ReportData baseStateReply() const;
    ReportData startReply(bool accepted) const;

    SimClock& clock_;
    ImageReceiver image_;
    ProgramRunner runner_;
    SimulatedHid hid_; // last: gone first, so open handles die before the rest of the device

    int emptyReplies_ = 0;
    bool wrongStartAck_ = false;
    DeviceVersion version_{1, 2, 0, 3};
    uint8_t correctionPercentage_ = 0;

    // The one pending reply to a framed request.
    std::optional<ReportData> pendingReply_;
};

} // namespace trv::sim
