#pragma once

#include "data/LanguageSelection.h"
#include "data/ProgramCatalogue.h"
#include "link/ReplyExchange.h"
#include "link/ReportLink.h"
#include "logic/SequenceTimer.h"
#include "logic/SessionEvents.h"
#include "logic/StatusDisplay.h"
#include "program/DeviceSession.h"

#include <string>

namespace trv {

// What the status sequence needs of its window.
class StatusView {
public:
    virtual ~StatusView() = default;
    // The display changed: copy it into the widgets.
    virtual void showDisplay(const StatusDisplay& display) = 0;
    // Modal box with the stop icon and one OK button (no error sound); returns when closed.
    virtual void showVersionRefusal(const std::string& title, const std::string& text) = 0;
    // Shows the Download dialog modally to resume the stored program; returns when it has closed.
    virtual void openDownloadDialog() = 0;
    virtual void closeDialog() = 0;
};

// The Device Status dialog's polling chain: base state, the device's stored control program,
// then the run state every 900 ms while a program runs, and the WRC button.
class StatusSequence {
public:
    static constexpr int StepIntervalMs = 200;
    static constexpr int RetryIntervalMs = 1000; // no device, or no usable base-state reply
    static constexpr int PollPauseMs = 700;      // after a run-state reply, before the next request
    static constexpr int MaxEmptyReplies = 2;    // tolerated in a row before going back to the base state

    enum class Step { None, GetBaseState, CheckBaseState, GetContext, GetRunState, CheckRunState, Close };

    StatusSequence(ReportLink& link, SequenceTimer& timer, StatusView& view, DeviceSession& session,
                   const ProgramCatalogue& catalogue, const LanguageTexts& texts);

    void FormActivate();
    void CloseButtonClick();
    // The window's close box: the timer stops, the link stays open.
    void FrameClose();
    void WRCButtonClick();

    // Steps A to F.
    void Timer1GetBaseState();
    void Timer1CheckBaseState();
    void Timer1GetContext();
    void Timer1GetRunState();
    void Timer1CheckRunState();
    void Timer1Close();

    const StatusDisplay& display() const { return display_; }
    Step step() const { return step_; }
    int deviceState() const { return deviceState_; }
    int lastRunCode() const { return lastRunCode_; }
    int currentItem() const { return currentItem_; }
    int emptyReplyCount() const { return emptyReplyCount_; }
    bool noticeFlag() const { return noticeFlag_; }
    // Who hears of what happens (the record, the desktop notices); must outlive the sequence.
    void setEventSink(SessionEventSink& sink) { events_ = &sink; }

private:
    // The timer's next handler without enabling it.
    void setHandler(Step step);
    // ...and enabled at the current interval, or at intervalMs.
    void setNext(Step step);
    void setNext(Step step, int intervalMs);
    void stop();
    void show();
    void baseStateFallback();
    void updateCurrentItem(int item);
    void setMode(WrcMode mode);
    // Last run code, button mode and button state as an opening finds them, so the next
    // run-state reply sets the button afresh.
    void resetRunButton();

    ReportLink& link_;
    SequenceTimer& timer_;
    StatusView& view_;
    DeviceSession& session_;
    const ProgramCatalogue& catalogue_;
    const LanguageTexts& texts_;

    StatusDisplay display_;
    Step step_ = Step::None;
    int deviceState_ = 0;
    int lastRunCode_ = -1;
    int currentItem_ = -1;
    int emptyReplyCount_ = 0;
    bool noticeFlag_ = false;
    SessionEventSink* events_ = &SessionEventSink::none();
};

} // namespace trv
