#pragma once

#include "link/ReportLink.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <span>
#include <string>

namespace trv::test {

// Holds every read until released (or until holdFor has passed, so that a read made on the window
// thread stalls the test instead of hanging it), and counts the callers inside the link at once.
class GatedLink : public ReportLink {
public:
    GatedLink(ReportLink& inner, std::chrono::milliseconds holdFor) : inner_(inner), holdFor_(holdFor) {}

    bool WriteReport(std::span<const uint8_t> request) override {
        const Inside in(*this);
        return inner_.WriteReport(request);
    }
    ReadResult ReadReport(ReportData& dest) override {
        const Inside in(*this);
        {
            std::unique_lock lock(mutex_);
            ++waiting_;
            ++readsEntered_;
            changed_.wait_for(lock, holdFor_, [this] { return released_ || passes_ > 0; });
            if (!released_ && passes_ > 0)
                --passes_;
            --waiting_;
        }
        return inner_.ReadReport(dest);
    }
    void CloseDevice() override {
        const Inside in(*this);
        ++closes;
        inner_.CloseDevice();
    }
    std::string openFailure() const override { return inner_.openFailure(); }

    bool readWaiting() {
        const std::lock_guard lock(mutex_);
        return waiting_ > 0;
    }
    int readsEntered() {
        const std::lock_guard lock(mutex_);
        return readsEntered_;
    }
    void release() { setReleased(true); }
    // Holds the reads that come from now on.
    void hold() { setReleased(false); }
    // Lets one held read through.
    void passOne() {
        {
            const std::lock_guard lock(mutex_);
            ++passes_;
        }
        changed_.notify_all();
    }
    // The most callers that were inside the link at one time.
    int mostInside() {
        const std::lock_guard lock(mutex_);
        return mostInside_;
    }
    std::atomic<int> closes{0};

private:
    void setReleased(bool released) {
        {
            const std::lock_guard lock(mutex_);
            released_ = released;
        }
        changed_.notify_all();
    }

    struct Inside {
        explicit Inside(GatedLink& link) : link_(link) {
            const std::lock_guard lock(link_.mutex_);
            link_.mostInside_ = std::max(link_.mostInside_, ++link_.inside_);
        }
        ~Inside() {
            const std::lock_guard lock(link_.mutex_);
            --link_.inside_;
        }
        GatedLink& link_;
    };

    ReportLink& inner_;
    const std::chrono::milliseconds holdFor_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int waiting_ = 0;
    bool released_ = false;
    int passes_ = 0;
    int readsEntered_ = 0;
    int inside_ = 0;
    int mostInside_ = 0;
};

} // namespace trv::test
