#include "FaultBench.h"

#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// Every exchange of a download and of the status polling, struck once by each kind of fault:
// the sequence must end (download) or fall back (status) with its message, leave the link
// closed, and the next operation must find the device again and complete.
namespace trv::test {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;
using Outcome = DownloadSequence::Outcome;
using Step = StatusSequence::Step;
using L = StatusDisplay;

constexpr int DownloadTickLimit = 200;
constexpr int StatusTickLimit = 25;

std::string MessageText(int message) {
    return "M" + std::to_string(message);
}

// --- the summary printed at the end of the run ---

struct CaseRecord {
    std::string group;
    std::string name;
    std::string outcome;
    int ticks = 0;
    long long simulatedMs = 0;
    bool passed = false;
};

std::vector<CaseRecord>& records() {
    static std::vector<CaseRecord> all;
    return all;
}

// Files the case when it goes out of scope, also after a failed ASSERT.
struct CaseRecorder {
    CaseRecord record;
    CaseRecorder(std::string group, std::string name) {
        record.group = std::move(group);
        record.name = std::move(name);
    }
    ~CaseRecorder() {
        record.passed = !::testing::Test::HasFailure();
        records().push_back(record);
    }
};

class MatrixSummary : public ::testing::Environment {
public:
    void TearDown() override {
        std::map<std::string, std::vector<const CaseRecord*>> groups;
        for (const CaseRecord& record : records())
            groups[record.group].push_back(&record);
        std::printf("\nFault matrix summary\n");
        for (const auto& [group, cases] : groups) {
            std::map<std::string, int> outcomes;
            int passed = 0;
            int mostTicks = 0;
            long long longestMs = 0;
            for (const CaseRecord* record : cases) {
                ++outcomes[record->outcome];
                passed += record->passed ? 1 : 0;
                mostTicks = std::max(mostTicks, record->ticks);
                longestMs = std::max(longestMs, record->simulatedMs);
            }
            std::printf("  %-9s %3zu cases, %3d passed, %3zu failed; at most %d timer steps and %lld ms of "
                        "simulated time until the dialog ended (download) or the notice showed (status)\n",
                        group.c_str(), cases.size(), passed, cases.size() - static_cast<size_t>(passed), mostTicks,
                        longestMs);
            for (const auto& [outcome, count] : outcomes)
                std::printf("            %3d x %s\n", count, outcome.c_str());
            for (const CaseRecord* record : cases)
                if (!record->passed)
                    std::printf("            FAILED %s (%s)\n", record->name.c_str(), record->outcome.c_str());
        }
    }
};

[[maybe_unused]] ::testing::Environment* const summaryEnvironment =
    ::testing::AddGlobalTestEnvironment(new MatrixSummary);

// --- download ---

// The requests of a whole download of the four-section program, in the order they go out.
enum class DownloadRequest {
    LinkCheck = 1,
    BaseState,
    BaseStateFetch,
    InfoHead,
    Control1,
    Control2,
    Indexs1,
    Indexs2,
    Therapies1,
    Therapies2,
    Summary,
    SummaryFetch,
    Start,
    StartFetch,
};

struct DownloadRequestInfo {
    DownloadRequest request;
    const char* name;
    uint8_t command; // the framed command, or the leading byte of the link check and the fetch
    // The message that ends the download when this request is struck by each fault.
    int writeFails;
    int vanishesAfter;
    int stopsAnswering;
};

// A lost write surfaces one call later: the link closes and still returns true, so the next
// read finds no device (10) and the next write fails (6). A device that vanished after taking a
// request fails the write after it in the same way, so the loss shows two calls on. A read that
// gets no report of its own (time-out, or the device gone during it) is a failed read (10), except
// for two. A summary read so is a failed verification that resends every section: a device that
// is gone fails the resend's first write (6), one that stays silent the third summary (9), also
// when it fell silent during the transfer, whose requests need no answer. A start acknowledgement
// read so leaves the dialog waiting for Close with 11 in its list (11).
const DownloadRequestInfo DownloadRequests[] = {
    {DownloadRequest::LinkCheck, "LinkCheck", wire::LinkCheck, 10, 10, 10},
    {DownloadRequest::BaseState, "BaseState", wire::StateQuery, 6, 10, 10},
    {DownloadRequest::BaseStateFetch, "BaseStateFetch", wire::Fetch, 10, 10, 10},
    {DownloadRequest::InfoHead, "InfoHead", wire::InfoHead, 6, 6, 9},
    {DownloadRequest::Control1, "Control1", wire::Control, 6, 6, 9},
    {DownloadRequest::Control2, "Control2", wire::Control, 6, 6, 9},
    {DownloadRequest::Indexs1, "Indexs1", wire::Indexs, 6, 6, 9},
    {DownloadRequest::Indexs2, "Indexs2", wire::Indexs, 6, 6, 9},
    {DownloadRequest::Therapies1, "Therapies1", wire::Therapies, 6, 6, 9},
    {DownloadRequest::Therapies2, "Therapies2", wire::Therapies, 6, 6, 9},
    {DownloadRequest::Summary, "Summary", wire::Summary, 6, 10, 9},
    {DownloadRequest::SummaryFetch, "SummaryFetch", wire::Fetch, 10, 6, 9},
    {DownloadRequest::Start, "Start", wire::Start, 6, 10, 11},
    {DownloadRequest::StartFetch, "StartFetch", wire::Fetch, 10, 11, 11},
};

struct DownloadRow {
    DownloadRequestInfo info;
    Fault fault;
    int message;

    int ordinal() const { return static_cast<int>(info.request); }
    // The device acted on the start request before it was lost: its program runs.
    bool deviceStarted() const {
        return info.request == DownloadRequest::StartFetch ||
               (info.request == DownloadRequest::Start && fault != Fault::WriteFails);
    }
    // No error box: the start went out and no answer came in time, so the dialog waits for Close.
    bool startUnanswered() const { return message == msg::StartRefused; }
    std::string name() const { return std::string(info.name) + "_" + FaultName(fault); }
    friend void PrintTo(const DownloadRow& row, std::ostream* out) { *out << row.name(); }
};

std::vector<DownloadRow> downloadRows() {
    std::vector<DownloadRow> rows;
    for (const DownloadRequestInfo& info : DownloadRequests) {
        rows.push_back({info, Fault::WriteFails, info.writeFails});
        rows.push_back({info, Fault::VanishesAfter, info.vanishesAfter});
        rows.push_back({info, Fault::StopsAnswering, info.stopsAnswering});
    }
    return rows;
}

// The matrix counts requests; this pins the count to the exchange it names.
TEST(FaultMatrixGround, ACleanDownloadSendsTheRequestsTheMatrixNames) {
    FaultBench b;
    b.downloadAndStart(DownloadTickLimit);
    ASSERT_EQ(b.sequence.outcome(), Outcome::Started);
    std::vector<uint8_t> expected;
    for (const DownloadRequestInfo& info : DownloadRequests)
        expected.push_back(info.command);
    EXPECT_EQ(b.commands(), expected);
    EXPECT_EQ(b.session.image.itemCount, 9);
    EXPECT_EQ(b.session.image.indexCount, 84);
    EXPECT_EQ(b.session.image.therapyCount, 8);
}

class DownloadFaultMatrix : public ::testing::TestWithParam<DownloadRow> {};

TEST_P(DownloadFaultMatrix, EndsWithItsMessageAndTheNextDownloadStarts) {
    const DownloadRow& row = GetParam();
    CaseRecorder recorder("Download", row.name());
    FaultBench b;
    b.arm(row.fault, row.ordinal());

    const int ticks = b.downloadAndStart(DownloadTickLimit);
    recorder.record.ticks = ticks;
    recorder.record.simulatedMs = b.clock.now().count();
    recorder.record.outcome = b.view.errors.empty() ? "no error box" : b.view.errors.back().text;
    if (row.startUnanswered() && !b.view.lines.empty())
        recorder.record.outcome += ", " + b.view.lines.back() + " in the list, status dialog after Close";
    if (row.deviceStarted())
        recorder.record.outcome += ", device left running (the next download aborts it)";

    // Ended, not hanging: the timer is off.
    EXPECT_LT(ticks, DownloadTickLimit);
    EXPECT_FALSE(b.timer.enabled());
    EXPECT_LT(b.clock.now(), 30s);
    if (row.startUnanswered()) {
        // The device took the start: the dialog waits for Close, and the status dialog follows.
        EXPECT_TRUE(b.view.errors.empty());
        ASSERT_GE(b.view.lines.size(), 2u);
        EXPECT_EQ(b.view.lines[b.view.lines.size() - 2], MessageText(msg::BadReply));
        EXPECT_EQ(b.view.lines.back(), MessageText(msg::StartRefused));
        EXPECT_FALSE(b.view.startEnabled);
        EXPECT_TRUE(b.view.closeEnabled);
        EXPECT_TRUE(b.sequence.open());
        EXPECT_EQ(b.sequence.outcome(), Outcome::StartRefused);
        EXPECT_FALSE(b.session.startPending);
        b.sequence.CloseButtonClick();
        EXPECT_FALSE(b.sequence.open());
    } else {
        // The dialog closed itself after one error box.
        EXPECT_FALSE(b.sequence.open());
        EXPECT_EQ(b.sequence.outcome(), Outcome::Failed);
        ASSERT_EQ(b.view.errors.size(), 1u);
        EXPECT_EQ(b.view.errors[0].text, MessageText(row.message));
        // No reply to the start was read: the main window must not go on to the status dialog.
        EXPECT_TRUE(b.session.startPending);
    }
    EXPECT_EQ(b.view.closed, 1);
    EXPECT_FALSE(b.deviceLink.connected());
    if (row.fault != Fault::StopsAnswering) {
        // Nothing went out after the device was lost.
        const size_t taken = static_cast<size_t>(row.ordinal() - (row.fault == Fault::WriteFails ? 1 : 0));
        EXPECT_EQ(b.device.requestLog().size(), taken);
    }
    EXPECT_EQ(b.device.stateCode() != devstate::Idle, row.deviceStarted());

    // The next download finds the device again; one it left running is first aborted.
    b.heal(row.fault);
    b.device.clearRequestLog();
    const size_t errorBoxes = b.view.errors.size();
    b.downloadAndStart(DownloadTickLimit);
    EXPECT_EQ(b.sequence.outcome(), Outcome::Started);
    EXPECT_EQ(b.view.errors.size(), errorBoxes);
    EXPECT_EQ(b.view.warnings, row.deviceStarted() ? 1 : 0);
    EXPECT_FALSE(b.session.startPending);
    EXPECT_TRUE(b.deviceLink.connected());
    EXPECT_EQ(b.device.computeSummary(), ExpectedSummary(b.session.image));
    EXPECT_EQ(b.device.currentItem(), 1);
    EXPECT_EQ(b.device.stateCode(), sim::SimulatedDevice::StateRunningProgram);
}

INSTANTIATE_TEST_SUITE_P(EveryRequest, DownloadFaultMatrix, ::testing::ValuesIn(downloadRows()),
                         [](const auto& info) { return info.param.name(); });

// --- status ---

// Where the polling is struck: the request of each step (B sends the fetch and then the context
// request), and the two kinds of WRC request.
enum class StatusPoint {
    BaseState,      // A
    BaseStateFetch, // B
    ContextRequest, // end of B
    ContextFetch,   // C
    RunState,       // D
    RunStateFetch,  // E
    WaitRequest,    // W in wait mode
    ContinueRequest // W in continue mode
};

struct StatusPointInfo {
    StatusPoint point;
    const char* name;
    int ordinal; // request number from the dialog's opening; W points count from the button
};

const StatusPointInfo StatusPoints[] = {
    {StatusPoint::BaseState, "A_BaseState", 1},
    {StatusPoint::BaseStateFetch, "B_BaseStateFetch", 2},
    {StatusPoint::ContextRequest, "B_ContextRequest", 3},
    {StatusPoint::ContextFetch, "C_ContextFetch", 4},
    {StatusPoint::RunState, "D_RunState", 5},
    {StatusPoint::RunStateFetch, "E_RunStateFetch", 6},
    {StatusPoint::WaitRequest, "W_Wait", 1},
    {StatusPoint::ContinueRequest, "W_Continue", 1},
};

// The dialog right after the download started the program (the link still holds the start
// acknowledgement), or opened again after it had polled the running program once already.
enum class Opening { AfterDownload, Reopened };

struct StatusRow {
    StatusPointInfo info;
    Fault fault;
    Opening opening;
    // A device that is gone is announced by step A (6); one that is there but silent by step B (10).
    int notice() const { return fault == Fault::StopsAnswering ? msg::BadReply : msg::NoDevice; }
    std::string name() const {
        return std::string(info.name) + "_" + FaultName(fault) +
               (opening == Opening::Reopened ? "_Reopened" : "_AfterDownload");
    }
    friend void PrintTo(const StatusRow& row, std::ostream* out) { *out << row.name(); }
};

std::vector<StatusRow> statusRows() {
    std::vector<StatusRow> rows;
    for (Opening opening : {Opening::AfterDownload, Opening::Reopened})
        for (const StatusPointInfo& info : StatusPoints)
            for (Fault fault : {Fault::WriteFails, Fault::VanishesAfter, Fault::StopsAnswering})
                rows.push_back({info, fault, opening});
    return rows;
}

// Ticks the status timer until `reached` holds, at most `limit` times; the ticks taken, or -1.
template <typename Condition> int tickUntil(FaultBench& b, int limit, Condition reached) {
    for (int ticks = 0; ticks <= limit; ++ticks) {
        if (reached())
            return ticks;
        if (ticks < limit && !b.statusTimer.tick())
            return reached() ? ticks : -1;
    }
    return -1;
}

std::string describe(const FaultBench& b) {
    std::string text = "step " + std::to_string(static_cast<int>(b.status.step())) + ", interval " +
                       std::to_string(b.statusTimer.interval()) + (b.statusTimer.enabled() ? "" : " (off)") +
                       ", link " + (b.deviceLink.connected() ? "open" : "closed") + ", list:";
    for (const std::string& line : b.statusList(L::ProgramList))
        text += " [" + line + "]";
    return text;
}

class StatusFaultMatrix : public ::testing::TestWithParam<StatusRow> {};

TEST_P(StatusFaultMatrix, FallsBackWithItsNoticeAndPollingRecovers) {
    const StatusRow& row = GetParam();
    CaseRecorder recorder("Status", row.name());
    FaultBench b;
    b.downloadAndStart(DownloadTickLimit);
    ASSERT_EQ(b.sequence.outcome(), Outcome::Started);
    const Lines program = b.programListLines();
    b.clock.advance(5s);

    const auto polling = [&] {
        return b.status.step() == Step::GetRunState && b.statusTimer.interval() == StatusSequence::PollPauseMs &&
               b.statusTimer.enabled();
    };
    if (row.opening == Opening::Reopened) {
        b.status.FormActivate();
        ASSERT_GE(tickUntil(b, 8, polling), 0) << describe(b);
        b.status.CloseButtonClick();
        b.clock.advance(3s);
    }

    const int closedBefore = b.statusView.closed;
    switch (row.info.point) {
    case StatusPoint::WaitRequest:
    case StatusPoint::ContinueRequest:
        b.status.FormActivate();
        ASSERT_GE(tickUntil(b, 8, polling), 0) << describe(b);
        ASSERT_EQ(b.status.display().wrcMode(), WrcMode::Wait);
        if (row.info.point == StatusPoint::ContinueRequest) {
            b.status.WRCButtonClick();
            ASSERT_GE(tickUntil(b, 4, polling), 0) << describe(b);
            ASSERT_EQ(b.status.display().wrcMode(), WrcMode::Continue);
        }
        b.arm(row.fault, row.info.ordinal);
        b.status.WRCButtonClick();
        break;
    default:
        b.arm(row.fault, row.info.ordinal);
        b.status.FormActivate(); // runs step A at once
        break;
    }

    // The fault is noticed: the notice alone on the list, step A next after a second, link closed.
    const sim::SimTime faultAt = b.clock.now();
    const auto noticed = [&](int message) {
        return [&b, message] {
            return b.statusList(L::ProgramList) == Lines{MessageText(message)} &&
                   b.status.step() == Step::GetBaseState && b.statusTimer.enabled() &&
                   b.statusTimer.interval() == StatusSequence::RetryIntervalMs && !b.deviceLink.connected();
        };
    };
    const int ticks = tickUntil(b, StatusTickLimit, noticed(row.notice()));
    recorder.record.ticks = ticks;
    recorder.record.simulatedMs = (b.clock.now() - faultAt).count();
    recorder.record.outcome =
        ticks < 0 ? "not noticed" : "notice " + MessageText(row.notice()) + ", step A after 1000 ms";
    EXPECT_GE(ticks, 0) << describe(b);
    EXPECT_TRUE(b.statusView.refusals.empty());
    EXPECT_EQ(b.statusView.closed, closedBefore); // neither refused nor closed

    // The device comes back: the program list and live figures follow without reopening.
    b.heal(row.fault);
    const auto showsProgram = [&] { return polling() && b.statusList(L::ProgramList) == program; };
    ASSERT_GE(tickUntil(b, StatusTickLimit, showsProgram), 0) << describe(b);
    EXPECT_EQ(b.status.display().highlightedLine(), b.device.currentItem() - 1);
    if (b.device.stateCode() == devstate::Waiting) {
        // The wait was taken before the device was lost: it is held, and Continue goes on.
        ASSERT_EQ(b.status.display().wrcMode(), WrcMode::Continue);
        b.status.WRCButtonClick();
        ASSERT_GE(tickUntil(b, 4, polling), 0) << describe(b);
        recorder.record.outcome += " (device held on return, continued)";
    }
    EXPECT_EQ(b.status.display().wrcMode(), WrcMode::Wait);
    const Lines remaining = b.statusList(L::WholeRemaining);
    b.clock.advance(10s);
    ASSERT_GE(tickUntil(b, 4, [&] { return polling() && b.statusList(L::WholeRemaining) != remaining; }), 0)
        << "the figures stay frozen";

    // A second loss in the same opening is announced as well.
    b.device.unplug();
    EXPECT_GE(tickUntil(b, StatusTickLimit, noticed(msg::NoDevice)), 0) << describe(b);
    if (::testing::Test::HasFailure() && ticks >= 0)
        recorder.record.outcome += "; recovery or second loss failed";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, StatusFaultMatrix, ::testing::ValuesIn(statusRows()),
                         [](const auto& info) { return info.param.name(); });

} // namespace
} // namespace trv::test
