// The Download dialog's step machine driven by replies, timer ticks and button presses from the
// input, over the catalogue of SequenceFakes.h.
//
// Input: a settings byte (bit 0 empty texts, bit 1 a stored program), a byte for the start item,
// the control program (a count, then two bytes per item) or the stored program (a count, then its
// context words), then a script of operations; the link and the warning take their answers from
// the same bytes.
#include "FuzzSupport.h"
#include "SequenceFakes.h"

#include "data/BuiltinMessages.h"
#include "logic/DownloadSequence.h"
#include "program/ControlProgram.h"

#include <set>

using namespace trv;

namespace {

class CheckedDownloadView : public DownloadView {
public:
    CheckedDownloadView(fuzz::ByteSource& script, DeviceSession& session, const LanguageTexts& texts)
        : script_(script), session_(session) {
        for (int k = 0; k < MessageTable::size(); ++k)
            messageTexts_.insert(MessageText(texts.messages, k));
    }

    bool open = false;
    bool startEnabled = false;
    bool closeEnabled = false;
    int maximum = -1;
    int errorBoxes = 0;
    int closes = 0;

    void clearLines() override { FUZZ_CHECK(open); }
    void addLine(const std::string& text) override {
        FUZZ_CHECK(open);
        // Lines are message texts, shown as they are.
        FUZZ_CHECK(messageTexts_.count(text) == 1);
    }
    void setProgressMaximum(int value) override {
        FUZZ_CHECK(open && value >= 0);
        maximum = value;
    }
    void setProgress(int position) override {
        FUZZ_CHECK(open && position >= 0);
        FUZZ_CHECK(maximum < 0 || position <= maximum);
    }
    void setStartEnabled(bool enabled) override {
        FUZZ_CHECK(open);
        startEnabled = enabled;
    }
    void setCloseEnabled(bool enabled) override {
        FUZZ_CHECK(open);
        closeEnabled = enabled;
    }
    void showErrorBox(const std::string&, const std::string&) override {
        FUZZ_CHECK(open);
        ++errorBoxes;
    }
    void showProcessRunningWarning() override {
        FUZZ_CHECK(open);
        session_.continueFlag = script_.flag();
    }
    void closeDialog() override {
        FUZZ_CHECK(open);
        open = false;
        ++closes;
    }

private:
    fuzz::ByteSource& script_;
    DeviceSession& session_;
    std::set<std::string> messageTexts_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ProgramCatalogue catalogue = fuzz::sequenceCatalogue();
    fuzz::ByteSource in(data, size);
    const uint8_t settings = in.byte();
    const LanguageTexts texts = fuzz::formatLikeTexts((settings & 1) != 0);

    // The dialog opens only for what the windows can send: a composed program of at least one
    // item (Download is disabled otherwise) started from item 0, or a stored program resumed from
    // one of its program items.
    DeviceSession session;
    const uint8_t start = in.byte();
    ControlProgram control(catalogue, [&texts](int k) { return MessageText(texts.messages, k); });
    if ((settings & 2) != 0) {
        ContextReply context;
        context.itemCount = static_cast<uint8_t>(1 + in.byte() % MaxImageItems);
        context.wordCount = std::min<int>(context.itemCount, MaxContextItemWords);
        for (int k = 0; k < context.wordCount; ++k)
            context.words[static_cast<size_t>(k)] = in.u16();
        FUZZ_CHECK(SetImageItemsFromContext(session.image, context));
        int index = start % session.image.itemCount;
        while (index < session.image.itemCount && session.image.items[static_cast<size_t>(index)].code != ItemProgram)
            ++index;
        if (index == session.image.itemCount)
            return 0;
        session.startItemIndex = index;
        session.storedProgramFlag = true;
    } else {
        const int items = 1 + in.byte() % MaxControlItems;
        for (int k = 0; k < items; ++k) {
            const uint8_t kind = in.byte();
            const uint8_t value = in.byte();
            if (kind % 3 == 0)
                control.InsertControlItem(KindProgram, value % (catalogue.programCount() + 1));
            else if (kind % 3 == 1)
                control.InsertControlItem(value % 100, kind % 60);
            else
                control.AddWait();
        }
        if (control.itemCount() == 0) // only 0:00 pauses were asked for
            control.AddWait();
    }

    fuzz::ScriptedLink link(in, session);
    fuzz::FuzzTimer timer({DownloadSequence::StepIntervalMs, DownloadSequence::RestartIntervalMs});
    CheckedDownloadView view(in, session, texts);
    DownloadSequence sequence(link, timer, view, session, control, catalogue, texts);

    bool startSent = false;
    DownloadSequence::Outcome previous = DownloadSequence::Outcome::Running;
    link.onWrite = [&](std::span<const uint8_t> request) {
        // Only an open dialog talks to the device.
        FUZZ_CHECK(sequence.open());
        fuzz::checkImageOnInfoHead(request, session.image, catalogue);
        if (request[0] == wire::Framed && request[2] == wire::Start) {
            FUZZ_CHECK(sequence.outcome() == DownloadSequence::Outcome::Verified);
            FUZZ_CHECK(request[3] == (session.startItemIndex & 0xFF));
            startSent = true;
        }
    };

    const auto open = [&] {
        view.open = true;
        previous = DownloadSequence::Outcome::Running;
        startSent = false;
        view.maximum = -1;
        sequence.FormActivate();
    };
    open();
    previous = sequence.outcome();
    for (int step = 0; step < 600 && !in.empty(); ++step) {
        const int closesBefore = link.closes;
        const int closesOfView = view.closes;
        const int errorsBefore = view.errorBoxes;
        const int timedOutBefore = link.timedOutReads;
        const DownloadSequence::Step stepBefore = sequence.step();
        const int verifyBefore = sequence.verifyCount();
        bool fired = false;
        switch (in.byte() % 8) {
        case 4:
            if (view.open && view.startEnabled)
                sequence.StartButtonClick();
            break;
        case 5:
            if (view.open && view.closeEnabled)
                sequence.CloseButtonClick();
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
            fired = timer.fire();
            break;
        }

        FUZZ_CHECK(!timer.enabled() || (timer.hasHandler() && sequence.step() != DownloadSequence::Step::None));
        FUZZ_CHECK(sequence.open() == view.open);
        FUZZ_CHECK(sequence.open() || !timer.enabled());
        FUZZ_CHECK(sequence.verifyCount() >= 0 && sequence.verifyCount() <= DownloadSequence::MaxVerifications);
        const DownloadSequence::Outcome outcome = sequence.outcome();
        // A failure is always shown.
        if (outcome == DownloadSequence::Outcome::Failed && previous != DownloadSequence::Outcome::Failed)
            FUZZ_CHECK(view.errorBoxes == errorsBefore + 1);
        if (view.closes > closesOfView) {
            // Closed by the start or by a process the user let go on: the link stays open for the
            // status dialog; closed any other way: the link is closed.
            const bool keepsLink =
                outcome == DownloadSequence::Outcome::Started || outcome == DownloadSequence::Outcome::GaveWay;
            FUZZ_CHECK(keepsLink == (link.closes == closesBefore));
        }
        if (outcome == DownloadSequence::Outcome::Started)
            FUZZ_CHECK(startSent && !session.startPending && !sequence.open());
        // A summary or an acknowledgement is judged only on a reply of its own, never on the
        // previous one that a timed-out read hands back.
        if (outcome != previous &&
            (outcome == DownloadSequence::Outcome::Verified || outcome == DownloadSequence::Outcome::Started))
            FUZZ_CHECK(!link.lastReadTimedOut());
        // A step's late reply; the step an ended opening left behind doesn't count.
        const bool lateReply = fired && link.timedOutReads > timedOutBefore;
        // A late summary is a failed verification of every section: a whole resend round, or the
        // third verification's failure.
        if (lateReply && stepBefore == DownloadSequence::Step::CheckResult) {
            FUZZ_CHECK(sequence.verifyCount() == verifyBefore + 1);
            if (sequence.verifyCount() == DownloadSequence::MaxVerifications)
                FUZZ_CHECK(outcome == DownloadSequence::Outcome::Failed && view.errorBoxes == errorsBefore + 1);
            else
                FUZZ_CHECK(sequence.step() == DownloadSequence::Step::InfoHead && timer.enabled() &&
                           view.errorBoxes == errorsBefore);
        }
        // A late start acknowledgement: the device took the start, the user closes the dialog.
        if (lateReply && stepBefore == DownloadSequence::Step::CheckStart)
            FUZZ_CHECK(outcome == DownloadSequence::Outcome::StartRefused && !session.startPending && sequence.open() &&
                       !view.startEnabled && !timer.enabled() && view.errorBoxes == errorsBefore);
        // The start-pending flag is cleared only by a reply to a start request.
        if (!session.startPending)
            FUZZ_CHECK(startSent);
        previous = outcome;
    }
    const char* outcomes[] = {"running", "verified", "started", "start refused", "failed", "gave way", "closed"};
    fuzz::traceRun(link, outcomes[static_cast<int>(sequence.outcome())]);
    return 0;
}
