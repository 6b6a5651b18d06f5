// The Device Status dialog's step machine, and the Download dialog it opens to resume a stored
// program, driven by replies, timer ticks and button presses from the input.
//
// Input: a settings byte (bit 0 empty texts, bit 1 the stored-program flag already set), then a
// script of operations; the link, the version box and the nested download take their answers
// from the same bytes.
#include "FuzzSupport.h"
#include "SequenceFakes.h"

#include "data/BuiltinMessages.h"
#include "logic/DownloadSequence.h"
#include "logic/StatusSequence.h"
#include "program/ControlProgram.h"

using namespace trv;

namespace {

void checkDisplay(const StatusDisplay& display, const DeviceSession& session, const LanguageTexts& texts) {
    FUZZ_CHECK(display.powerBar() >= 0 && display.powerBar() <= 100);
    FUZZ_CHECK(display.progressBar() >= 0 && display.progressBar() <= 100);
    const auto& program = display.lines(StatusDisplay::ProgramList);
    // Notices, the idle summary with the saved-program marker, or one line per item.
    FUZZ_CHECK(program.size() <= static_cast<size_t>(MaxImageItems));
    FUZZ_CHECK(display.highlightedLine() >= -1 && display.highlightedLine() < static_cast<int>(program.size()));
    for (const std::string& line : program)
        FUZZ_CHECK(line.size() <= MaxTextLength + 12);
    for (StatusDisplay::List list : {StatusDisplay::WholeTotal, StatusDisplay::WholeRemaining, StatusDisplay::ItemTotal,
                                     StatusDisplay::ItemRemaining}) {
        const auto& lines = display.lines(list);
        FUZZ_CHECK(lines.size() <= 1);
        // "  %2d:%02d" of at most 65535 seconds.
        for (const std::string& line : lines)
            FUZZ_CHECK(line.size() >= 7 && line.size() <= 9 && line.compare(0, 2, "  ") == 0 &&
                       line[line.size() - 3] == ':');
    }
    FUZZ_CHECK(display.lines(StatusDisplay::StatusLineList).size() <= 1);

    int caption = 27;
    switch (display.wrcMode()) {
    case WrcMode::None:
        FUZZ_CHECK(!display.wrcEnabled());
        break;
    case WrcMode::Wait:
        break;
    case WrcMode::Continue:
        caption = 12;
        break;
    case WrcMode::Resume:
        caption = 43;
        break;
    }
    FUZZ_CHECK(display.wrcCaption() == texts.captions.text(caption));
    FUZZ_CHECK(display.wrcHint() == texts.captions.text(caption + 1));
    FUZZ_CHECK(session.image.itemCount >= 0 && session.image.itemCount <= MaxImageItems);
}

class CheckedStatusView : public StatusView {
public:
    CheckedStatusView(fuzz::ByteSource& script, DeviceSession& session, const LanguageTexts& texts,
                      std::function<void()> download)
        : script_(script), session_(session), texts_(texts), download_(std::move(download)) {}

    bool open = false;
    int closes = 0;
    int refusals = 0;

    void showDisplay(const StatusDisplay& display) override {
        FUZZ_CHECK(open);
        checkDisplay(display, session_, texts_);
    }
    const fuzz::ScriptedLink* link = nullptr;

    void showVersionRefusal(const std::string& title, const std::string& text) override {
        FUZZ_CHECK(open);
        // Refused on a reply of its own, not on the previous one a timed-out read hands back.
        FUZZ_CHECK(link != nullptr && !link->lastReadTimedOut());
        FUZZ_CHECK(title == MessageText(texts_.messages, 0) && text == MessageText(texts_.messages, 7));
        ++refusals;
    }
    void openDownloadDialog() override {
        FUZZ_CHECK(open);
        // Resumes from a program item of the stored program.
        const int index = session_.startItemIndex;
        FUZZ_CHECK(index >= 0);
        if (index < session_.image.itemCount)
            FUZZ_CHECK(session_.image.items[static_cast<size_t>(index)].code == ItemProgram);
        download_();
    }
    void closeDialog() override {
        FUZZ_CHECK(open);
        open = false;
        ++closes;
    }

private:
    fuzz::ByteSource& script_;
    DeviceSession& session_;
    const LanguageTexts& texts_;
    std::function<void()> download_;
};

// The Download dialog as the resume opens it: it runs until it closes, or the user closes it.
class NestedDownloadView : public DownloadView {
public:
    explicit NestedDownloadView(fuzz::ByteSource& script, DeviceSession& session)
        : script_(script), session_(session) {}
    bool open = false;
    bool startEnabled = false;
    void clearLines() override {}
    void addLine(const std::string&) override { FUZZ_CHECK(open); }
    void setProgressMaximum(int) override {}
    void setProgress(int) override {}
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void setCloseEnabled(bool) override {}
    void showErrorBox(const std::string&, const std::string&) override { FUZZ_CHECK(open); }
    void showProcessRunningWarning() override { session_.continueFlag = script_.flag(); }
    void closeDialog() override {
        FUZZ_CHECK(open);
        open = false;
    }

private:
    fuzz::ByteSource& script_;
    DeviceSession& session_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ProgramCatalogue catalogue = fuzz::sequenceCatalogue();
    fuzz::ByteSource in(data, size);
    const uint8_t settings = in.byte();
    const LanguageTexts texts = fuzz::formatLikeTexts((settings & 1) != 0);

    DeviceSession session;
    session.storedProgramFlag = (settings & 2) != 0;
    ControlProgram control(catalogue, [&texts](int k) { return MessageText(texts.messages, k); });
    control.AddSelectedProgram(0);
    fuzz::ScriptedLink link(in, session);

    // The nested download over the same link, with its own timer.
    fuzz::FuzzTimer downloadTimer({DownloadSequence::StepIntervalMs, DownloadSequence::RestartIntervalMs});
    NestedDownloadView downloadView(in, session);
    DownloadSequence download(link, downloadTimer, downloadView, session, control, catalogue, texts);
    int downloadLinkCloses = 0;
    const auto runDownload = [&] {
        const int closesBefore = link.closes;
        const bool stored = session.storedProgramFlag;
        const DeviceImage items = session.image;
        downloadView.open = true;
        download.FormActivate();
        for (int tick = 0; tick < 80 && downloadView.open && !in.empty(); ++tick) {
            if (downloadView.startEnabled && in.byte() < 0x80)
                download.StartButtonClick();
            else
                downloadTimer.fire();
        }
        if (downloadView.open)
            download.FrameClose();
        FUZZ_CHECK(!download.open() && !downloadTimer.enabled());
        downloadLinkCloses += link.closes - closesBefore;
        // A resumed program is sent as the device holds it, never the main window's program.
        if (stored && download.outcome() != DownloadSequence::Outcome::Failed) {
            FUZZ_CHECK(session.image.itemCount == items.itemCount);
            for (int k = 0; k < items.itemCount; ++k) {
                FUZZ_CHECK(session.image.items[static_cast<size_t>(k)].code ==
                           items.items[static_cast<size_t>(k)].code);
                FUZZ_CHECK(session.image.items[static_cast<size_t>(k)].programNumber ==
                           items.items[static_cast<size_t>(k)].programNumber);
            }
        }
    };

    fuzz::FuzzTimer timer(
        {StatusSequence::StepIntervalMs, StatusSequence::PollPauseMs, StatusSequence::RetryIntervalMs});
    CheckedStatusView view(in, session, texts, runDownload);
    view.link = &link;
    StatusSequence sequence(link, timer, view, session, catalogue, texts);

    link.onWrite = [&](std::span<const uint8_t> request) {
        if (request[0] != wire::Framed)
            return;
        if (request[2] == wire::Context)
            FUZZ_CHECK(request[3] == (session.storedProgramFlag ? 1 : 0));
        if (request[2] == wire::Wait)
            FUZZ_CHECK(sequence.display().wrcMode() == WrcMode::Wait);
        if (request[2] == wire::Continue && !download.open())
            FUZZ_CHECK(sequence.display().wrcMode() == WrcMode::Continue);
        if (download.open())
            fuzz::checkImageOnInfoHead(request, session.image, catalogue);
    };

    const auto open = [&] {
        view.open = true;
        sequence.FormActivate();
    };
    open();
    for (int step = 0; step < 600 && !in.empty(); ++step) {
        const int linkClosesBefore = link.closes;
        const int downloadClosesBefore = downloadLinkCloses;
        const int viewClosesBefore = view.closes;
        const StatusSequence::Step stepBefore = sequence.step();
        switch (in.byte() % 8) {
        case 4:
            if (view.open && sequence.display().wrcEnabled())
                sequence.WRCButtonClick();
            break;
        case 5:
            if (view.open) {
                sequence.CloseButtonClick();
                FUZZ_CHECK(!view.open && link.closes == linkClosesBefore);
            }
            break;
        case 6:
            if (view.open) {
                sequence.FrameClose();
                view.open = false;
            }
            break;
        case 7:
            if (!view.open)
                open();
            break;
        default:
            if (view.open)
                timer.fire();
            break;
        }
        FUZZ_CHECK(!timer.enabled() || (timer.hasHandler() && sequence.step() != StatusSequence::Step::None));
        FUZZ_CHECK(view.open || !timer.enabled());
        FUZZ_CHECK(sequence.emptyReplyCount() >= 0);
        // Only the close step closes the link (besides the download it opened), and the dialog with it.
        const int statusCloses = link.closes - linkClosesBefore - (downloadLinkCloses - downloadClosesBefore);
        FUZZ_CHECK(statusCloses == 0 || statusCloses == 1);
        if (statusCloses == 1)
            FUZZ_CHECK(stepBefore == StatusSequence::Step::Close && view.closes == viewClosesBefore + 1);
        if (view.open)
            checkDisplay(sequence.display(), session, texts);
    }
    const std::string ending = "status step " + std::to_string(static_cast<int>(sequence.step())) + ", download " +
                               std::to_string(static_cast<int>(download.outcome())) + ", view closes " +
                               std::to_string(view.closes) + ", refusals " + std::to_string(view.refusals);
    fuzz::traceRun(link, ending.c_str());
    return 0;
}
