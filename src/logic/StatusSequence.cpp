#include "logic/StatusSequence.h"

#include "data/BuiltinMessages.h"
#include "data/MessageNumbers.h"
#include "link/DeviceMessages.h"
#include "logic/SequenceEvents.h"
#include "logic/StepTable.h"

namespace trv {

namespace {

using Step = StatusSequence::Step;

// The timer handler of each step, in the order of Step; None has none.
constexpr StepEntry<StatusSequence, Step> StepHandlers[] = {
    {Step::None, nullptr},
    {Step::GetBaseState, &StatusSequence::Timer1GetBaseState},
    {Step::CheckBaseState, &StatusSequence::Timer1CheckBaseState},
    {Step::GetContext, &StatusSequence::Timer1GetContext},
    {Step::GetRunState, &StatusSequence::Timer1GetRunState},
    {Step::CheckRunState, &StatusSequence::Timer1CheckRunState},
    {Step::Close, &StatusSequence::Timer1Close},
};
static_assert(CoversEveryStep(StepHandlers, Step::Close));

} // namespace

StatusSequence::StatusSequence(ReportLink& link, SequenceTimer& timer, StatusView& view, DeviceSession& session,
                               const ProgramCatalogue& catalogue, const LanguageTexts& texts)
    : link_(link), timer_(timer), view_(view), session_(session), catalogue_(catalogue), texts_(texts) {}

void StatusSequence::setHandler(Step step) {
    step_ = step;
    SetStepHandler(timer_, *this, StepHandlers, step);
}

void StatusSequence::setNext(Step step) {
    setHandler(step);
    timer_.setEnabled(step != Step::None);
}

void StatusSequence::setNext(Step step, int intervalMs) {
    timer_.setInterval(intervalMs);
    setNext(step);
}

void StatusSequence::stop() {
    timer_.setEnabled(false);
}

void StatusSequence::show() {
    view_.showDisplay(display_);
}

void StatusSequence::setMode(WrcMode mode) {
    display_.SetWrcMode(mode, texts_.captions);
}

void StatusSequence::resetRunButton() {
    lastRunCode_ = -1;
    setMode(WrcMode::None);
    display_.SetWrcEnabled(false);
}

void StatusSequence::updateCurrentItem(int item) {
    if (item == currentItem_)
        return;
    currentItem_ = item;
    display_.Highlight(item - 1);
}

// --- handlers ---

void StatusSequence::FormActivate() {
    timer_.setEnabled(false);
    resetRunButton();
    currentItem_ = -1;
    // A notice left over from an earlier opening would keep the cleared list empty.
    noticeFlag_ = false;
    display_.Highlight(-1);
    display_.Clear();
    Timer1GetBaseState();
    emptyReplyCount_ = 0;
}

void StatusSequence::CloseButtonClick() {
    timer_.setEnabled(false);
    view_.closeDialog();
}

void StatusSequence::FrameClose() {
    // A closed dialog never goes on polling; the link stays open as with Close.
    timer_.setEnabled(false);
}

void StatusSequence::Timer1GetBaseState() {
    timer_.setEnabled(false);
    if (link_.WriteReport(BaseStateRequest().span())) {
        setNext(Step::CheckBaseState, StepIntervalMs);
    } else if (!noticeFlag_) {
        events_->statusEvent({StatusEventKind::ConnectionLost, currentItem_ > 0 ? currentItem_ : 0});
        display_.NoDeviceNotice(texts_.messages, link_.openFailure());
        noticeFlag_ = true;
        setNext(Step::GetBaseState, RetryIntervalMs);
    } else {
        setNext(Step::GetBaseState);
    }
    show();
}

void StatusSequence::baseStateFallback() {
    noticeFlag_ = false;
    setNext(Step::GetBaseState, RetryIntervalMs);
    show();
}

void StatusSequence::Timer1CheckBaseState() {
    timer_.setEnabled(false);
    ReportData reply{};
    const Exchange fetched = FetchReply(link_, reply);
    if (fetched != Exchange::Reply) {
        // A device that is there but silent would otherwise leave the last figures on display as
        // if it were still running: say that it didn't answer, as for a reply not understood.
        if (fetched == Exchange::NoAnswer)
            display_.BadReplyNotice(texts_.messages);
        baseStateFallback();
        return;
    }
    switch (CheckBaseStateReply(reply)) {
    case BaseStateCheck::NotAReply:
        baseStateFallback();
        return;
    case BaseStateCheck::Empty:
        display_.EmptyReplyNotice(texts_.messages);
        display_.SetWrcEnabled(false);
        baseStateFallback();
        return;
    case BaseStateCheck::WrongLength:
        display_.BadReplyNotice(texts_.messages);
        baseStateFallback();
        return;
    case BaseStateCheck::Accepted:
        break;
    }
    // The device answered, so no notice is on display any more; the next loss must be told again.
    noticeFlag_ = false;
    const BaseState state = ReadBaseState(reply);
    if (!MeetsMinimumVersion(state.version)) {
        show();
        view_.showVersionRefusal(MessageText(texts_.messages, msg::ErrorTitle),
                                 MessageText(texts_.messages, msg::DeviceTooOld));
        setNext(Step::Close);
        return;
    }
    deviceState_ = state.stateCode;
    if (devstate::IsIdle(state.stateCode)) {
        display_.IdleSummary(state, texts_.messages);
        session_.storedProgramFlag = state.storedProgramFlag != 0;
        if (state.storedProgramFlag == 0) {
            stop();
            show();
            return;
        }
    }
    if (link_.WriteReport(ContextRequest(session_.storedProgramFlag).span()))
        setNext(Step::GetContext, StepIntervalMs);
    else
        setNext(Step::GetBaseState);
    show();
}

void StatusSequence::Timer1GetContext() {
    timer_.setEnabled(false);
    ReportData reply{};
    if (FetchReply(link_, reply) != Exchange::Reply || !IsContextReply(reply)) {
        // An idle device stops here; a busy one (15 included) is asked again.
        setHandler(Step::GetBaseState);
        timer_.setEnabled(deviceState_ != devstate::Idle);
        show();
        return;
    }
    const ContextReply context = ReadContext(reply);
    currentItem_ = context.currentItem;
    // A count beyond the words the reply carries leaves no program to show or resume.
    const bool decoded = SetImageItemsFromContext(session_.image, context);
    if (deviceState_ == devstate::IdleBusy)
        deviceState_ = devstate::Idle;

    if (deviceState_ != devstate::Idle) {
        if (decoded)
            display_.ShowProgramList(session_.image, catalogue_, texts_.messages, currentItem_);
        else
            display_.ShowProgramList(DeviceImage{}, catalogue_, texts_.messages, 0);
        setNext(Step::GetRunState);
        show();
        return;
    }
    stop();
    if (!decoded) {
        show();
        return;
    }
    const int count = session_.image.itemCount;
    for (int k = currentItem_ > 0 ? currentItem_ - 1 : 0; k < count; ++k) {
        if (session_.image.items[static_cast<size_t>(k)].code == ItemProgram) {
            display_.SavedProgramMarker();
            display_.SetWrcEnabled(true);
            setMode(WrcMode::Resume);
            break;
        }
    }
    show();
}

void StatusSequence::Timer1GetRunState() {
    timer_.setEnabled(false);
    if (link_.WriteReport(RunStateRequest().span()))
        setNext(Step::CheckRunState, StepIntervalMs);
    else
        setNext(Step::GetBaseState, StepIntervalMs);
    show();
}

void StatusSequence::Timer1CheckRunState() {
    timer_.setEnabled(false);
    ReportData reply{};
    if (FetchReply(link_, reply) != Exchange::Reply) {
        setNext(Step::GetBaseState, StepIntervalMs);
        show();
        return;
    }
    switch (CheckRunStateReply(reply)) {
    case RunStateCheck::NotAReply:
        setNext(Step::GetRunState, StepIntervalMs);
        show();
        return;
    case RunStateCheck::Empty:
        ++emptyReplyCount_;
        setNext(emptyReplyCount_ <= MaxEmptyReplies ? Step::GetRunState : Step::GetBaseState);
        show();
        return;
    case RunStateCheck::WrongCode:
        setNext(Step::GetRunState);
        show();
        return;
    case RunStateCheck::Accepted:
        break;
    }
    emptyReplyCount_ = 0;
    const RunState state = ReadRunState(reply);
    const int code = state.stateCode;
    if (devstate::IsIdle(state.stateCode)) {
        events_->statusEvent({StatusEventKind::ProgramEnded, currentItem_ > 0 ? currentItem_ : 0});
        setMode(WrcMode::None);
        display_.SetWrcEnabled(false);
        setNext(Step::GetBaseState, StepIntervalMs);
        show();
        return;
    }
    if (code == devstate::Waiting) {
        if (code != lastRunCode_) {
            lastRunCode_ = code;
            if (IsWaitItem(session_.image, state.currentItem))
                events_->statusEvent({StatusEventKind::WaitReached, state.currentItem});
            display_.WaitingFigures(state, texts_.messages);
            setMode(WrcMode::Continue);
            display_.SetWrcEnabled(true);
        }
    } else {
        if (code != lastRunCode_) {
            lastRunCode_ = code;
            if (code == devstate::LowPower)
                events_->statusEvent({StatusEventKind::PowerLow, state.currentItem, state.powerLevel});
            if (display_.wrcMode() != WrcMode::Wait) {
                setMode(WrcMode::Wait);
                display_.SetWrcEnabled(true);
            }
        }
        display_.RunningFigures(lastRunCode_, state, texts_.messages);
    }
    updateCurrentItem(state.currentItem);
    setNext(Step::GetRunState, PollPauseMs);
    show();
}

void StatusSequence::Timer1Close() {
    timer_.setEnabled(false);
    link_.CloseDevice();
    view_.closeDialog();
}

void StatusSequence::WRCButtonClick() {
    timer_.setEnabled(false);
    switch (display_.wrcMode()) {
    case WrcMode::Wait:
    case WrcMode::Continue: {
        const DeviceRequest request = display_.wrcMode() == WrcMode::Wait ? WaitRequest() : ContinueRequest();
        setNext(link_.WriteReport(request.span()) ? Step::GetRunState : Step::GetBaseState, StepIntervalMs);
        if (step_ == Step::GetRunState) // the device took the command
            events_->statusEvent({display_.wrcMode() == WrcMode::Wait ? StatusEventKind::Held : StatusEventKind::Continued,
                                  currentItem_ > 0 ? currentItem_ : 0});
        break;
    }
    case WrcMode::Resume: {
        int index = currentItem_ > 0 ? currentItem_ - 1 : 0;
        const int count = session_.image.itemCount;
        while (index < count && session_.image.items[static_cast<size_t>(index)].code != ItemProgram)
            ++index;
        session_.startItemIndex = index;
        events_->statusEvent({StatusEventKind::ResumeRequested, index + 1});
        show();
        view_.openDownloadDialog();
        // The resumed run is a new run in this opening: without this, a run code equal to the one
        // before the interruption would leave the button on Resume, or disabled after an empty
        // base-state reply, for the whole run.
        resetRunButton();
        setNext(Step::GetBaseState, StepIntervalMs);
        break;
    }
    case WrcMode::None:
        timer_.setInterval(StepIntervalMs);
        timer_.setEnabled(step_ != Step::None);
        break;
    }
    show();
}

} // namespace trv
