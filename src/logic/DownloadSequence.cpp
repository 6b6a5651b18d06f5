#include "logic/DownloadSequence.h"

#include "data/BuiltinMessages.h"
#include "data/Codepage.h"
#include "data/Log.h"
#include "data/MessageNumbers.h"
#include "link/DeviceMessages.h"
#include "logic/SequenceEvents.h"
#include "logic/StepTable.h"

namespace trv {

namespace {

using Step = DownloadSequence::Step;

// The timer handler of each step, in the order of Step; None has none.
constexpr StepEntry<DownloadSequence, Step> StepHandlers[] = {
    {Step::None, nullptr},
    {Step::GetStartBase, &DownloadSequence::Timer1GetStartBase},
    {Step::ReStart, &DownloadSequence::Timer1ReStart},
    {Step::InfoHead, &DownloadSequence::Timer1InfoHead},
    {Step::Control, &DownloadSequence::Timer1Control},
    {Step::Indexs, &DownloadSequence::Timer1Indexs},
    {Step::Therapies, &DownloadSequence::Timer1Therapies},
    {Step::GetControl, &DownloadSequence::Timer1GetControl},
    {Step::CheckResult, &DownloadSequence::Timer1CheckResult},
    {Step::CheckStart, &DownloadSequence::Timer1CheckStart},
    {Step::Close, &DownloadSequence::Timer1Close},
};
static_assert(CoversEveryStep(StepHandlers, Step::Close));

} // namespace

DownloadSequence::DownloadSequence(ReportLink& link, SequenceTimer& timer, DownloadView& view, DeviceSession& session,
                                   const ControlProgram& control, const ProgramCatalogue& catalogue,
                                   const LanguageTexts& texts)
    : link_(link), timer_(timer), view_(view), session_(session), control_(control), catalogue_(catalogue),
      texts_(texts) {}

// --- shared operations ---

void DownloadSequence::AddMessageLine(int message) {
    view_.addLine(MessageText(texts_.messages, message));
}

void DownloadSequence::FailDownload(int message) {
    timer_.setEnabled(false);
    outcome_ = Outcome::Failed;
    std::string text = MessageText(texts_.messages, message);
    // A device that is there but refused to open needs the user's action, not a plug check.
    if (message == msg::NoDevice && !link_.openFailure().empty()) {
        text += TextLineBreak;
        text += MessageText(texts_.messages, msg::DevicePermission);
    }
    events_->downloadEnded(FailureOfDownload(message, text, verifyCount_));
    TRV_LOG(LogCategory::Steps, LogLevel::Warning,
            "download failed with message " << message << ": " << DecodeToUtf8(text, Codepage::CentralEuropean));
    view_.showErrorBox(MessageText(texts_.messages, msg::ErrorTitle), text);
    // The user may have closed the window meanwhile; then there is nothing left to end.
    if (!open_)
        return;
    setNext(Step::Close, timer_.interval());
}

void DownloadSequence::setStep(Step step) {
    step_ = step;
    SetStepHandler(timer_, *this, StepHandlers, step);
}

void DownloadSequence::setNext(Step step, int intervalMs) {
    setStep(step);
    timer_.setInterval(intervalMs);
    timer_.setEnabled(true);
}

void DownloadSequence::enable() {
    timer_.setEnabled(true);
}

bool DownloadSequence::send(const DeviceRequest& request) {
    if (link_.WriteReport(request.span()))
        return true;
    FailDownload(msg::NoDevice);
    return false;
}

bool DownloadSequence::reached(Exchange exchange) {
    if (exchange == Exchange::NotSent)
        FailDownload(msg::NoDevice);
    else if (exchange == Exchange::Lost)
        FailDownload(msg::BadReply);
    return exchange == Exchange::Reply || exchange == Exchange::NoAnswer;
}

void DownloadSequence::advanceProgress() {
    view_.setProgress(progressCounter_);
    ++progressCounter_;
}

void DownloadSequence::finishDialog(Outcome outcome, bool closeLink) {
    if (open_ && outcome_ != Outcome::Failed) // a failure was told when its message was shown
        events_->downloadEnded(EndOfDownload(outcome_, outcome, verifyCount_, texts_.messages));
    timer_.setEnabled(false);
    if (closeLink)
        link_.CloseDevice();
    if (outcome_ != Outcome::Failed || outcome != Outcome::Closed)
        outcome_ = outcome;
    if (!open_)
        return;
    open_ = false;
    view_.closeDialog();
}

void DownloadSequence::NextSection() {
    cursor_ = 0;
    if (resend_.infoHead) {
        setStep(Step::InfoHead);
        progressCounter_ = plan_.infoHeadStart();
        return;
    }
    if (resend_.control) {
        setStep(Step::Control);
        progressCounter_ = plan_.controlStart();
        return;
    }
    if (resend_.indexs && session_.image.indexCount == 0)
        resend_.indexs = false;
    if (resend_.indexs) {
        setStep(Step::Indexs);
        progressCounter_ = plan_.indexsStart();
        return;
    }
    if (resend_.therapies && session_.image.therapyCount == 0)
        resend_.therapies = false;
    if (resend_.therapies) {
        setStep(Step::Therapies);
        progressCounter_ = plan_.therapiesStart();
        return;
    }
    setStep(Step::GetControl);
}

// --- handlers ---

void DownloadSequence::FormActivate() {
    timer_.setEnabled(false);
    timer_.setInterval(StepIntervalMs);
    setStep(Step::None);
    open_ = true;
    outcome_ = Outcome::Running;
    resend_ = {};
    cursor_ = 0;
    plan_ = {};
    progressCounter_ = 0;
    verifyCount_ = 0;
    deviceStateCode_ = 0;
    view_.clearLines();
    view_.setProgress(0);
    view_.setCloseEnabled(false);
    view_.setStartEnabled(false);
    session_.startPending = true;
    events_->downloadBegan(BeginOfDownload(session_, control_, catalogue_));

    AddMessageLine(msg::DownloadOpened);
    ReportData reply{};
    const Exchange checked = ExchangeReply(link_, LinkCheckRequest().span(), reply);
    if (!reached(checked))
        return;
    if (checked != Exchange::Reply || !IsLinkCheckReply(reply)) {
        FailDownload(msg::BadReply);
        return;
    }
    if (!send(BaseStateRequest()))
        return;
    setNext(Step::GetStartBase, StepIntervalMs);
}

void DownloadSequence::Timer1GetStartBase() {
    timer_.setEnabled(false);
    AddMessageLine(msg::FetchingBaseState);
    ReportData reply{};
    const Exchange fetched = FetchReply(link_, reply);
    if (!reached(fetched))
        return;
    if (fetched == Exchange::NoAnswer) {
        FailDownload(msg::BadReply);
        return;
    }
    switch (CheckBaseStateReply(reply)) {
    case BaseStateCheck::Accepted:
        break;
    case BaseStateCheck::Empty:
        FailDownload(msg::EmptyReply);
        return;
    case BaseStateCheck::NotAReply:
    case BaseStateCheck::WrongLength:
        FailDownload(msg::BadReply);
        return;
    }
    const BaseState state = ReadBaseState(reply);
    events_->deviceIdentified({VersionText(state.version), state.correctionPercentage});
    if (!MeetsMinimumVersion(state.version)) {
        FailDownload(msg::DeviceTooOld);
        return;
    }
    deviceStateCode_ = state.stateCode;
    if (!devstate::IsIdle(deviceStateCode_)) {
        session_.continueFlag = false;
        view_.showProcessRunningWarning();
        if (!open_)
            return; // closed meanwhile: the timer and the link are settled
        if (session_.continueFlag) {
            // The device goes on with its program: nothing is sent and the link stays open.
            finishDialog(Outcome::GaveWay, false);
            return;
        }
        if (!send(AbortRequest()))
            return;
        setNext(Step::ReStart, RestartIntervalMs);
        return;
    }

    const ImageBuildResult built =
        BuildDeviceImage(session_.image, control_, session_.storedProgramFlag, catalogue_, state.correctionPercentage);
    if (!built.ok) {
        // Nothing of an image that doesn't fit the device's tables may reach it.
        FailDownload(built.message);
        return;
    }
    plan_ = PlanProgress(session_.image);
    events_->downloadPrepared(SentItemsOf(session_.image, catalogue_));
    view_.setProgressMaximum(plan_.maximum());
    progressCounter_ = 0;
    view_.setProgress(0);
    resend_ = {true, true, true, true};
    verifyCount_ = 0;
    AddMessageLine(msg::TransferStarted);
    Timer1InfoHead();
}

void DownloadSequence::Timer1ReStart() {
    timer_.setEnabled(false);
    if (!send(BaseStateRequest()))
        return;
    setNext(Step::GetStartBase, StepIntervalMs);
}

void DownloadSequence::Timer1InfoHead() {
    timer_.setEnabled(false);
    if (!send(InfoHeadRequest(session_.image)))
        return;
    advanceProgress();
    cursor_ = 0;
    resend_.infoHead = false;
    NextSection();
    enable();
}

void DownloadSequence::Timer1Control() {
    timer_.setEnabled(false);
    const ControlCut cut = ControlRequest(session_.image, cursor_);
    if (!send(cut.request))
        return;
    advanceProgress();
    cursor_ += cut.itemsTaken;
    if (cut.last || cut.itemsTaken == 0) {
        cursor_ = 0;
        resend_.control = false;
        NextSection();
    }
    enable();
}

void DownloadSequence::sendBlock(const DeviceRequest& request, int perRequest, int count, bool& resend) {
    timer_.setEnabled(false);
    if (!send(request))
        return;
    advanceProgress();
    ++cursor_;
    if (perRequest * cursor_ >= count) {
        resend = false;
        NextSection(); // the next section starts at its first block
    }
    enable();
}

void DownloadSequence::Timer1Indexs() {
    sendBlock(IndexsRequest(session_.image, cursor_), IndexsPerRequest, session_.image.indexCount, resend_.indexs);
}

void DownloadSequence::Timer1Therapies() {
    sendBlock(TherapiesRequest(session_.image, cursor_), TherapiesPerRequest, session_.image.therapyCount,
              resend_.therapies);
}

void DownloadSequence::Timer1GetControl() {
    timer_.setEnabled(false);
    if (!send(SummaryRequest()))
        return;
    setStep(Step::CheckResult);
    enable();
}

void DownloadSequence::Timer1CheckResult() {
    timer_.setEnabled(false);
    ReportData reply{};
    const Exchange fetched = FetchReply(link_, reply);
    if (!reached(fetched))
        return;
    if (fetched == Exchange::NoAnswer) {
        // Nothing is known of what the device holds: a whole resend round costs less than the
        // download, and the verification limit still ends a device that never answers in time.
        resend_ = {true, true, true, true};
    } else {
        const ImageSummary got = ReadImageSummary(reply);
        const ImageSummary expected = ExpectedSummary(session_.image);
        if (got.itemCount != expected.itemCount || got.indexCount != expected.indexCount ||
            got.therapyCount != expected.therapyCount)
            resend_.infoHead = true;
        if (got.itemChecksum != expected.itemChecksum)
            resend_.control = true;
        if (got.indexChecksum != expected.indexChecksum)
            resend_.indexs = true;
        if (got.therapyChecksum != expected.therapyChecksum)
            resend_.therapies = true;
    }

    if (!resend_.any()) {
        AddMessageLine(msg::VerifiedLine1);
        AddMessageLine(msg::VerifiedLine2);
        view_.setCloseEnabled(true);
        view_.setStartEnabled(true);
        setStep(Step::None);
        outcome_ = Outcome::Verified;
        return;
    }
    ++verifyCount_;
    TRV_LOG(LogCategory::Steps, LogLevel::Warning,
            "download: verification " << verifyCount_ << " of " << MaxVerifications << " failed: "
                                      << (fetched == Exchange::NoAnswer ? "no summary came in time"
                                                                        : "the device's summary differs in")
                                      << (resend_.infoHead ? " the info head" : "")
                                      << (resend_.control ? " the control items" : "")
                                      << (resend_.indexs ? " the indexes" : "")
                                      << (resend_.therapies ? " the therapies" : "")
                                      << (verifyCount_ < MaxVerifications ? ", sent again" : ""));
    if (verifyCount_ >= MaxVerifications) {
        FailDownload(msg::VerifyFailed);
        return;
    }
    NextSection();
    enable();
}

void DownloadSequence::StartButtonClick() {
    // The button keeps its state while a start is under way or a failure closes the dialog; a
    // click then must not send a second start nor take the place of the closing step.
    if (!open_ || step_ != Step::None || outcome_ != Outcome::Verified)
        return;
    if (!send(StartRequest(session_.startItemIndex)))
        return;
    setStep(Step::CheckStart);
    enable();
}

void DownloadSequence::Timer1CheckStart() {
    timer_.setEnabled(false);
    ReportData reply{};
    const Exchange fetched = FetchReply(link_, reply);
    if (!reached(fetched))
        return;
    // The device took the start request and may well be running: the status dialog after Close
    // shows what it does, also when its answer came too late to be read.
    session_.startPending = false;
    if (fetched == Exchange::Reply && IsStartAcknowledgement(reply)) {
        // The link stays open for the Device Status dialog that follows.
        finishDialog(Outcome::Started, false);
        return;
    }
    setStep(Step::None);
    view_.setStartEnabled(false);
    if (fetched == Exchange::NoAnswer)
        AddMessageLine(msg::BadReply);
    AddMessageLine(msg::StartRefused);
    outcome_ = Outcome::StartRefused;
}

void DownloadSequence::CloseButtonClick() {
    setStep(Step::None);
    finishDialog(Outcome::Closed, true);
}

void DownloadSequence::Timer1Close() {
    setStep(Step::None);
    finishDialog(Outcome::Closed, true);
}

void DownloadSequence::FrameClose() {
    if (!open_)
        return;
    // Without this the timer would go on talking to the device behind a closed window.
    setStep(Step::None);
    finishDialog(Outcome::Closed, true);
}

} // namespace trv
