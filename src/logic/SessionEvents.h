#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace trv {

class ProgramCatalogue;
struct DeviceImage;

// What the step machines tell about a download and about the device while the Device Status
// dialog watches it: the treatment record and the desktop notices listen to the same calls.
// The calls come on the thread that runs the step machine (a device dialog's worker thread),
// so a sink must return quickly and must not touch widgets. Texts are UTF-8.

// One item of a control program as it went to the device.
struct SentItem {
    enum class Kind { Program, Pause, Wait };
    Kind kind = Kind::Program;
    int programNumber = 0; // Program: the catalogue number (one past the last for the self-test)
    std::string name;      // Program: its name in the language shown at the time; empty without one
    int seconds = 0;       // Program: running time; Pause: its length; Wait: 0

    friend bool operator==(const SentItem&, const SentItem&) = default;
};

// The Download dialog opened.
struct DownloadBegin {
    bool selfTest = false;       // the device's self-test instead of a composed program
    bool resume = false;         // the device's stored program, sent again from startItem
    int startItem = 0;           // 0-based item the device is to start from
    std::vector<SentItem> items; // what is about to be sent, in order
};

// The device answered the base-state request.
struct DeviceIdentified {
    std::string version;          // "1.2.0.3"
    int correctionPercentage = 0; // what the image is built for
};

// How a download ended.
enum class DownloadEnd {
    Started,            // verified, and the device acknowledged the start
    VerifiedNotStarted, // verified, but the start was refused or the user closed without starting
    Failed,             // a message ended it (message, messageText)
    ClosedByUser,       // closed before the device had verified the program
    DeviceKeptRunning,  // the device was busy and the user let it go on: nothing was sent
};

struct DownloadResult {
    DownloadEnd end = DownloadEnd::ClosedByUser;
    int verifications = 0;   // summary checks made
    int message = -1;        // the message number that ended it (Failed), or the start refusal's
    std::string messageText; // that message as shown
};

// What the Device Status dialog observes while it polls.
enum class StatusEventKind {
    Held,            // the user held the running program ("Wait")
    Continued,       // the user let a held or waiting program go on
    ResumeRequested, // the user resumed the device's stored program (a download follows)
    WaitReached,     // the device stopped at a wait item of its program
    ProgramEnded,    // the device was found idle after running
    PowerLow,        // the power level fell into the low range
    ConnectionLost,  // no device could be reached
};

struct StatusEvent {
    StatusEventKind kind = StatusEventKind::ProgramEnded;
    int item = 0;        // 1-based item of the device's program where known, 0 otherwise
    int powerLevel = -1; // PowerLow: the level reported
};

// A sink: every call has a no-op default, so a listener overrides only what it needs.
class SessionEventSink {
public:
    virtual ~SessionEventSink() = default;
    virtual void downloadBegan(const DownloadBegin&) {}
    virtual void deviceIdentified(const DeviceIdentified&) {}
    // The image was built for the device: the items as sent (running times as the device runs them).
    virtual void downloadPrepared(const std::vector<SentItem>&) {}
    virtual void downloadEnded(const DownloadResult&) {}
    virtual void statusEvent(const StatusEvent&) {}

    // The sink that listens to nothing: what a step machine calls until it is given another.
    static SessionEventSink& none();
};

// Passes every call on to several sinks, in the order they were added. Sinks may be added and
// removed from any thread while calls are under way; a call goes to the sinks present when it began.
class SessionEventFanOut final : public SessionEventSink {
public:
    void add(std::shared_ptr<SessionEventSink> sink);
    void remove(const SessionEventSink* sink);
    size_t size() const;

    void downloadBegan(const DownloadBegin& event) override;
    void deviceIdentified(const DeviceIdentified& event) override;
    void downloadPrepared(const std::vector<SentItem>& items) override;
    void downloadEnded(const DownloadResult& result) override;
    void statusEvent(const StatusEvent& event) override;

private:
    using Sinks = std::vector<std::shared_ptr<SessionEventSink>>;
    std::shared_ptr<const Sinks> sinks() const;
    // Passes the event on to every sink through the sink's member of the same name.
    template <typename Event> void forward(void (SessionEventSink::*notify)(const Event&), const Event& event);

    mutable std::mutex mutex_;
    std::shared_ptr<const Sinks> sinks_ = std::make_shared<const Sinks>();
};

// The image's items with their names from the catalogue's current language (UTF-8). A program
// item's time is the image's, or the catalogue's running time while the image holds none yet.
std::vector<SentItem> SentItemsOf(const DeviceImage& image, const ProgramCatalogue& catalogue);
int64_t TotalSeconds(const std::vector<SentItem>& items);
// "1.2.0.3"
std::string VersionText(const std::array<uint8_t, 4>& bytes);

} // namespace trv
