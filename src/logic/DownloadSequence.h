#pragma once

#include "data/LanguageSelection.h"
#include "data/ProgramCatalogue.h"
#include "link/ReplyExchange.h"
#include "link/ReportLink.h"
#include "logic/SequenceTimer.h"
#include "logic/SessionEvents.h"
#include "program/ControlProgram.h"
#include "program/DeviceImage.h"
#include "program/DeviceSession.h"
#include "program/ImageRequests.h"

#include <string>

namespace trv {

// What the download sequence needs of its window. Texts are the 8-bit texts of the language
// files; the window decodes them for display.
class DownloadView {
public:
    virtual ~DownloadView() = default;
    virtual void clearLines() = 0;
    virtual void addLine(const std::string& text) = 0; // a new last line of ListBox1
    virtual void setProgressMaximum(int maximum) = 0;  // ProgressBar1's minimum stays 0
    virtual void setProgress(int position) = 0;
    virtual void setStartEnabled(bool enabled) = 0;
    virtual void setCloseEnabled(bool enabled) = 0;
    // The error sound, then a modal error box; returns when the user has closed it.
    virtual void showErrorBox(const std::string& title, const std::string& text) = 0;
    // Shows the process-running warning modally; its answer is the session's continue flag.
    virtual void showProcessRunningWarning() = 0;
    // Ends the modal dialog (the sequence has already settled the timer and the link).
    virtual void closeDialog() = 0;
};

// The Download dialog's chain of timer steps: link check, base state, image build, the four
// sections one request per tick, up to three verifications with resend rounds of the flagged
// sections, then the start on the user's command.
class DownloadSequence {
public:
    static constexpr int StepIntervalMs = 200;
    static constexpr int RestartIntervalMs = 800; // after an abort, before the base state is asked again
    static constexpr int MaxVerifications = 3;

    enum class Step {
        None,
        GetStartBase,
        ReStart,
        InfoHead,
        Control,
        Indexs,
        Therapies,
        GetControl,
        CheckResult,
        CheckStart,
        Close,
    };

    // How the last opening ended (for the caller and the tests; the flags in the session are
    // what the main window reads).
    enum class Outcome { Running, Verified, Started, StartRefused, Failed, GaveWay, Closed };

    DownloadSequence(ReportLink& link, SequenceTimer& timer, DownloadView& view, DeviceSession& session,
                     const ControlProgram& control, const ProgramCatalogue& catalogue, const LanguageTexts& texts);

    // Handlers of the dialog.
    void FormActivate();
    void StartButtonClick();
    void CloseButtonClick();
    // The window frame's close box while the dialog is open: like Close, whatever step is running.
    void FrameClose();

    // Timer steps.
    void Timer1GetStartBase();
    void Timer1ReStart();
    void Timer1InfoHead();
    void Timer1Control();
    void Timer1Indexs();
    void Timer1Therapies();
    void Timer1GetControl();
    void Timer1CheckResult();
    void Timer1CheckStart();
    void Timer1Close();

    // The step the timer runs next (None when no handler was set in this opening).
    Step step() const { return step_; }
    Outcome outcome() const { return outcome_; }
    int verifyCount() const { return verifyCount_; }
    const ProgressPlan& plan() const { return plan_; }
    bool open() const { return open_; }
    // Who hears of what happens (the record, the desktop notices); must outlive the sequence.
    void setEventSink(SessionEventSink& sink) { events_ = &sink; }

private:
    struct ResendFlags {
        bool infoHead = false;
        bool control = false;
        bool indexs = false;
        bool therapies = false;
        bool any() const { return infoHead || control || indexs || therapies; }
    };

    void AddMessageLine(int message);
    void FailDownload(int message);
    void NextSection();
    void setStep(Step step);
    void setNext(Step step, int intervalMs);
    void enable();
    // Sends a request; false (after FailDownload 6) when no device could be found.
    bool send(const DeviceRequest& request);
    // false, after the failure was shown, for an exchange that found no device: none to send
    // to (message 6) or none left to read from (message 10). A reply late or not is the caller's.
    bool reached(Exchange exchange);
    // Section step bookkeeping after a request went out.
    void advanceProgress();
    // The Indexs and Therapies steps: the section's block at cursor_ a tick; once its blocks of
    // perRequest entries cover count, the section is sent and its resend flag cleared.
    void sendBlock(const DeviceRequest& request, int perRequest, int count, bool& resend);
    void finishDialog(Outcome outcome, bool closeLink);

    ReportLink& link_;
    SequenceTimer& timer_;
    DownloadView& view_;
    DeviceSession& session_;
    const ControlProgram& control_;
    const ProgramCatalogue& catalogue_;
    const LanguageTexts& texts_;

    Step step_ = Step::None;
    Outcome outcome_ = Outcome::Closed;
    bool open_ = false;
    ResendFlags resend_;
    int cursor_ = 0;
    ProgressPlan plan_;
    int progressCounter_ = 0;
    int verifyCount_ = 0;
    uint8_t deviceStateCode_ = 0;
    SessionEventSink* events_ = &SessionEventSink::none();
};

} // namespace trv
