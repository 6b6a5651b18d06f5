// A download of 20 program items (300 index entries, 100 distinct steps) in real time against the
// simulated device on a steady clock. Prints the request count, the wall time against the floor
// the one-request-per-tick protocol sets, and the longest single step; asserts only on what was
// sent, never on time.
#include "SequenceTestBench.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

namespace trv::test {
namespace {

using Clock = std::chrono::steady_clock;

// Fires like a user-interface timer: a full interval after it was last enabled.
class RealTimeTimer : public SequenceTimer {
public:
    void setHandler(Handler handler) override { handler_ = std::move(handler); }
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        if (enabled)
            enabledAt_ = Clock::now();
    }
    bool enabled() const override { return enabled_; }

    // Runs the timer until it stays off; the longest single step.
    Clock::duration run() {
        Clock::duration longest{};
        while (enabled_ && handler_) {
            std::this_thread::sleep_until(enabledAt_ + std::chrono::milliseconds(interval_));
            Handler step = handler_;
            const auto begin = Clock::now();
            step();
            longest = std::max(longest, Clock::now() - begin);
        }
        return longest;
    }

private:
    Handler handler_;
    int interval_ = 200;
    bool enabled_ = false;
    Clock::time_point enabledAt_;
};

long long ms(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}
double msFine(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

TEST(DownloadTiming, TwentyProgramsInRealTime) {
    sim::SteadyClock clock;
    sim::SimulatedDevice device(clock);
    DeviceLink link(device);
    RealTimeTimer timer;
    RecordingDownloadView view;
    DeviceSession session;
    const LanguageTexts texts = NumberedTexts();
    const ProgramCatalogue catalogue = TwentyProgramCatalogue();
    ControlProgram control(catalogue, [&texts](int k) { return texts.messages.text(k); });
    for (int k = 0; k < 20; ++k)
        control.AddSelectedProgram(k);
    DownloadSequence sequence(link, timer, view, session, control, catalogue, texts);

    const auto begin = Clock::now();
    sequence.FormActivate();
    const Clock::duration activation = Clock::now() - begin;
    const Clock::duration longestStep = std::max(activation, timer.run());
    const Clock::duration verified = Clock::now() - begin;

    ASSERT_EQ(sequence.outcome(), DownloadSequence::Outcome::Verified);
    const size_t requests = device.requestLog().size();
    size_t sections = 0;
    for (const sim::LoggedRequest& request : device.requestLog())
        if (request.data[0] == wire::Framed && request.data[2] >= wire::InfoHead && request.data[2] <= wire::Therapies)
            ++sections;
    EXPECT_EQ(sections, 30u);
    EXPECT_EQ(requests, 35u); // link check, base state and its fetch, 30 sections, summary and its fetch

    // The floor: the base-state fetch one tick after opening (the InfoHead goes in that tick),
    // 29 more section requests, then the summary and its fetch one tick each.
    const long long floorMs = 200 + 29 * 200 + 2 * 200;
    std::printf("[ timing ] 20 items, 300 index entries, 100 distinct steps: %zu requests (%zu section requests)\n",
                requests, sections);
    std::printf("[ timing ] opening to verified: %lld ms; protocol floor %lld ms (30 section requests at 200 ms "
                "plus the verification)\n",
                ms(verified), floorMs);
    std::printf("[ timing ] longest single step on the user-interface thread: %.3f ms\n", msFine(longestStep));
}

} // namespace
} // namespace trv::test
