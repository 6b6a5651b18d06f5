#pragma once

#include "link/DeviceMessages.h"
#include "link/HidBackend.h"
#include "sim/SimClock.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace trv::sim {

// One item of the control program as the device decoded it from the Control requests.
struct SimItem {
    uint8_t code = 0; // 'P', 'T', 'W'; 0 for an item never received
    int programNumber = 0;
    int indexStart = 0;
    int indexCount = 0;
    int value = 0; // program items: running seconds; pauses: seconds
};

struct SimTherapy {
    uint16_t stepWord = 0;
    std::array<uint8_t, 9> deviceBytes{};
    uint8_t padding = 0;
};

enum class SummaryField { ItemCount, IndexCount, TherapyCount, ItemChecksum, IndexChecksum, TherapyChecksum };

// Where an armed unplug strikes: the write of that request fails, or the device takes the request
// and is gone right after it.
enum class UnplugPoint { BeforeTaking, AfterTaking };

struct LoggedRequest {
    SimTime at{0};
    ReportData data{}; // the 64 data bytes after the report ID
};

// A TRV device behind the HidBackend interface: it shows up in enumeration, answers the requests
// the application sends, takes an uploaded control program, verifies it and runs it in simulated
// time. Fault switches let tests and the demo provoke what a real device and cable can do.
class SimulatedDevice : public HidBackend {
public:
    static constexpr int MaxItems = 255; // the InfoHead carries the item count in one byte
    static constexpr int MaxIndexEntries = 1024;
    static constexpr int MaxTherapySlots = 256;
    static constexpr uint16_t ForeignProductId = 0x000B;

    // States the device reports while it works (any code but 0, 15 and 20 means running).
    static constexpr uint8_t StateRunningProgram = 1;
    static constexpr uint8_t StateRunningPause = 2;

    // Power levels: full, the level below which it reports low power, and the level at which it
    // gives up and keeps the program as interrupted.
    static constexpr uint8_t FullPower = 135;
    static constexpr uint8_t LowPowerLevel = 111;
    static constexpr uint8_t FlatPower = 109;

    explicit SimulatedDevice(SimClock& clock);
    ~SimulatedDevice() override;

    // HidBackend
    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    std::string lastError() const override { return lastError_; }

    // --- fault and setting switches ---
    void setForeignDeviceFirst(bool present) { foreignFirst_ = present; }
    // The device takes requests but never answers: every read times out.
    void setNoReply(bool on) { noReply_ = on; }
    // Open handles die; the device leaves the enumeration.
    void unplug();
    // Back under a new path, as a replugged hidraw device is.
    void replug();
    bool pluggedIn() const { return pluggedIn_; }
    // Arms an unplug for the `request`-th request that reaches the device from now on (1: the
    // next one). Fires once; unplug() or replug() in between don't disarm it.
    void unplugAtRequest(int request, UnplugPoint point);
    // From the `request`-th request on (1: the next one) the device goes silent as setNoReply(true)
    // does; that request itself is taken but gets no answer.
    void stopAnsweringAtRequest(int request);
    // The `request`-th request (1: the next one) is taken and acted on, but the report it brings
    // back comes too late: the read waiting for it times out, and the report arrives after that
    // read gave up. A fresh opening doesn't see it. Requests answered through a later fetch bring
    // back no report of their own and are not delayed. Fires once.
    void answerLateAtRequest(int request);
    // Opening the device fails with this reason (empty: opens normally).
    void setOpenRefusal(std::string reason) { openRefusal_ = std::move(reason); }
    // The next `verifications` summaries report `field` off by one.
    void corruptSummary(SummaryField field, int verifications);
    // The next `fetches` fetch requests get a reply of length 0.
    void giveEmptyReplies(int fetches) { emptyReplies_ = fetches; }
    void setWrongStartAcknowledgement(bool on) { wrongStartAck_ = on; }
    void setVersion(const DeviceVersion& version) { version_ = version; }
    // Reports this state code until an abort request arrives (0 switches it off).
    void setBusyState(uint8_t code) { busyState_ = code; }
    void setCorrectionPercentage(uint8_t percentage) { correctionPercentage_ = percentage; }
    void setPowerLevel(uint8_t level) { powerLevel_ = level; }
    // Simulated time per power level lost while a program runs (idle drains ten times slower).
    void setDrainInterval(SimTime perLevel) { drainInterval_ = perLevel; }
    void setCounterValue(uint32_t value) { counterValue_ = value; }
    // The device's own stop key: a running program is interrupted and kept for a resume.
    void pressStopKey();
    // A charged battery put in: the power level becomes `level`.
    void recharge(uint8_t level);

    // --- what the device holds and does ---
    const std::vector<LoggedRequest>& requestLog() const { return log_; }
    void clearRequestLog() { log_.clear(); }
    uint8_t stateCode();
    uint8_t powerLevel();
    bool storedProgram();
    int currentItem(); // 1-based, 0 = none
    // The announced counts and the tables as received.
    int itemCount() const { return itemCount_; }
    int indexCount() const { return indexCount_; }
    int therapyCount() const { return therapyCount_; }
    const std::array<char, 8>& title() const { return title_; }
    const std::vector<SimItem>& items() const { return items_; }
    const std::vector<uint8_t>& indexTable() const { return indexTable_; }
    const std::vector<SimTherapy>& therapies() const { return therapies_; }
    // The summary computed from what was received, without any injected corruption.
    ImageSummary computeSummary() const;
    // Brings the program up to the clock's time (every request does this by itself).
    void update();

private:
    class Handle;
    friend class Handle;

    // Called by the open handle.
    int receive(const uint8_t* report, size_t length);
    int deliver(uint8_t* data, size_t length, int timeoutMs);

    void handleRequest(const ReportData& data);
    void queueReport(const ReportData& report);
    void handleFramed(const ReportData& data);
    void takeInfoHead(const ReportData& data);
    void takeControl(const ReportData& data);
    void takeIndexs(const ReportData& data);
    void takeTherapies(const ReportData& data);
    bool start(int itemIndex);
    void interrupt();
    void finish();
    void enterItem(int index);
    void loseOnePowerLevel();
    SimTime itemDuration(int index) const;
    int heldItems() const;
    uint8_t reportedState() const;
    std::string foreignPath() const;

    ReportData baseStateReply() const;
    ReportData runStateReply() const;
    ReportData contextReply() const;
    ReportData summaryReply();
    ReportData startReply(bool accepted) const;
    ReportData fetchReply();

    SimClock& clock_;
    SimTime lastUpdate_{0};
    std::string lastError_;

    // Connection
    bool pluggedIn_ = true;
    int plugCount_ = 0; // each plug-in gets a new path
    std::string path_;
    std::shared_ptr<bool> alive_;        // shared with open handles; false once unplugged
    std::shared_ptr<bool> foreignAlive_; // the foreign device's handles
    std::deque<ReportData> inputReports_;
    std::deque<ReportData> lateReports_; // queued once the next read has timed out
    std::vector<LoggedRequest> log_;

    // Switches
    int arrivals_ = 0; // requests that reached the device, for the armed faults below
    int unplugAt_ = 0; // arrival number that unplugs; 0 = none armed
    UnplugPoint unplugPoint_ = UnplugPoint::BeforeTaking;
    int silentAt_ = 0; // arrival number from which no answer is given; 0 = none armed
    int lateAt_ = 0;   // arrival number whose report comes too late; 0 = none armed
    // Set while that request is handled: its report goes to lateReports_.
    bool holdingLate_ = false;
    bool foreignFirst_ = false;
    bool noReply_ = false;
    std::string openRefusal_;
    SummaryField corruptField_ = SummaryField::ItemChecksum;
    int corruptVerifications_ = 0;
    int emptyReplies_ = 0;
    bool wrongStartAck_ = false;
    DeviceVersion version_{1, 2, 0, 3};
    uint8_t busyState_ = 0;
    uint8_t correctionPercentage_ = 0;
    uint8_t powerLevel_ = 130;
    SimTime drainInterval_{std::chrono::minutes(5)};
    SimTime drainCarry_{0};
    uint32_t counterValue_ = 0;

    // The one pending reply to a framed request.
    bool replyPending_ = false;
    ReportData pendingReply_{};

    // Image as received
    int itemCount_ = 0;
    int indexCount_ = 0;
    int therapyCount_ = 0;
    std::array<char, 8> title_{};
    std::vector<SimItem> items_;
    std::vector<uint8_t> indexTable_;
    std::vector<SimTherapy> therapies_;

    // Running program
    enum class RunMode { Idle, Running, Waiting, Held };
    RunMode mode_ = RunMode::Idle;
    int current_ = -1;         // 0-based item in progress, -1 = none
    SimTime itemElapsed_{0};   // time spent in the current item
    bool interrupted_ = false; // the stored-program flag
};

} // namespace trv::sim
