// A download and the watched device, from the step machines on the simulated device through the
// fan-out and the writer's thread into the record file in the user's data folder.
#include "StatusTestBench.h"
#include "data/MessageNumbers.h"
#include "record/RecordPath.h"
#include "record/RecordStore.h"
#include "record/RecordWriter.h"

#include <QtCore/QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace trv {
namespace {

using namespace std::chrono_literals;
using test::StatusBench;

// Counts what reaches a second sink, so the fan-out is seen to pass every call to each.
struct CountingSink : SessionEventSink {
    int begun = 0, ended = 0, status = 0;
    void downloadBegan(const DownloadBegin&) override { ++begun; }
    void downloadEnded(const DownloadResult&) override { ++ended; }
    void statusEvent(const StatusEvent&) override { ++status; }
};

// The application's record file, emptied for each test.
QString freshRecord() {
    const QString path = TreatmentRecordPath(false);
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    return path;
}

struct RecordedBench : StatusBench {
    QString path = freshRecord();
    std::shared_ptr<RecordWriter> writer = std::make_shared<RecordWriter>(path);
    std::shared_ptr<CountingSink> counter = std::make_shared<CountingSink>();
    SessionEventFanOut events;

    RecordedBench() {
        events.add(writer);
        events.add(counter);
        sequence.setEventSink(events);
        status.setEventSink(events);
    }
    // Everything written so far, as the window would read it.
    std::vector<RecordEntry> entries() {
        writer->flush();
        RecordStore store;
        EXPECT_TRUE(store.open(path, RecordStore::Mode::ReadOnly).ok);
        std::vector<RecordEntry> out;
        store.forEachEntry({}, true, [&](const RecordEntry& entry) {
            out.push_back(entry);
            return true;
        });
        return out;
    }
};

std::vector<StatusEventKind> kindsOf(const RecordEntry& entry) {
    std::vector<StatusEventKind> kinds;
    for (const RecordEvent& event : entry.events)
        kinds.push_back(event.kind);
    return kinds;
}

TEST(RecordSessionTest, AStartedDownloadAndWhatTheStatusDialogSawMakeOneEntry) {
    RecordedBench b;
    ASSERT_TRUE(b.writer->openResult().ok) << b.writer->openResult().message.toStdString();
    b.catalogue.applyNames({{1, 2}, {"Alpha long", "Beta long"}, {"Alpha  ", "B\xe9ta \"two\""}});
    b.device.setCorrectionPercentage(7);
    b.control.Clear();
    b.control.AddSelectedProgram(0);
    b.control.AddPause("1", "30");
    b.control.AddWait();
    b.control.AddSelectedProgram(1);
    b.startProgram({});
    ASSERT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Started);

    // Held and continued by the user in the first program, then stopped at the wait item, let go
    // on, and found idle once the second program has run.
    b.status.FormActivate();
    b.ticks(4);
    b.status.WRCButtonClick();
    b.ticks(2);
    b.status.WRCButtonClick();
    b.ticks(2);
    b.clock.advance(60s + 90s);
    b.ticks(4);
    ASSERT_EQ(b.status.lastRunCode(), devstate::Waiting);
    b.status.WRCButtonClick();
    b.ticks(2);
    b.clock.advance(80s);
    b.ticks(6);

    const std::vector<RecordEntry> entries = b.entries();
    ASSERT_EQ(entries.size(), 1u);
    const RecordEntry& entry = entries[0];
    EXPECT_EQ(entry.kind, EntryKind::Download);
    EXPECT_EQ(entry.outcome, RecordOutcome::Started);
    EXPECT_EQ(entry.verifications, 1);
    EXPECT_EQ(entry.deviceVersion, QStringLiteral("1.2.0.3"));
    EXPECT_EQ(entry.correction, 7);
    ASSERT_TRUE(entry.ended.has_value());
    EXPECT_GE(entry.ended->ms, entry.began.ms);
    // The names as shown then (the language's 8-bit text decoded), the pause and the wait in order.
    ASSERT_EQ(entry.items.size(), 4u);
    EXPECT_EQ(entry.items[0].name, QStringLiteral("Alpha"));
    EXPECT_EQ(entry.items[1].kind, SentItem::Kind::Pause);
    EXPECT_EQ(entry.items[1].seconds, 90);
    EXPECT_EQ(entry.items[2].kind, SentItem::Kind::Wait);
    EXPECT_EQ(entry.items[3].programNumber, 2);
    EXPECT_EQ(entry.items[3].name, QStringLiteral("Béta \"two\""));
    EXPECT_EQ(entry.totalSeconds, 60 + 90 + 70);
    EXPECT_EQ(entry.programs, QStringLiteral("Alpha (1), Béta \"two\" (2)"));
    EXPECT_EQ(kindsOf(entry), (std::vector<StatusEventKind>{StatusEventKind::Held, StatusEventKind::Continued,
                                                            StatusEventKind::WaitReached, StatusEventKind::Continued,
                                                            StatusEventKind::ProgramEnded}));
    EXPECT_EQ(entry.events[2].item, 3);
    EXPECT_EQ(b.counter->begun, 1);
    EXPECT_EQ(b.counter->ended, 1);
    EXPECT_EQ(b.counter->status, 5);

    // The file and its folder are the owner's alone.
    struct stat file {
    }, folder{};
    ASSERT_EQ(::stat(b.path.toLocal8Bit().constData(), &file), 0);
    ASSERT_EQ(::stat(QFileInfo(b.path).absolutePath().toLocal8Bit().constData(), &folder), 0);
    EXPECT_EQ(file.st_mode & 0777, 0600u);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
}

TEST(RecordSessionTest, HowADownloadEndedIsRecorded) {
    const struct {
        const char* name;
        std::function<void(RecordedBench&)> act;
        RecordOutcome outcome;
        int verifications;
        int message;
    } cases[] = {
        {"a checksum the device never gets right ends it with its message",
         [](RecordedBench& b) {
             b.device.corruptSummary(sim::SummaryField::IndexChecksum, 3);
             b.download();
             b.timer.runToRest();
         },
         RecordOutcome::Failed, 3, msg::VerifyFailed},
        {"the device gone before the base state",
         [](RecordedBench& b) {
             b.device.unplug();
             b.download();
         },
         RecordOutcome::Failed, 0, msg::NoDevice},
        {"closed by the user during the transfer",
         [](RecordedBench& b) {
             b.sequence.FormActivate();
             for (int k = 0; k < 5; ++k)
                 b.timer.tick();
             b.sequence.FrameClose();
         },
         RecordOutcome::Closed, 0, -1},
        {"verified, then closed without a start",
         [](RecordedBench& b) {
             b.download();
             b.sequence.CloseButtonClick();
         },
         RecordOutcome::Verified, 1, -1},
        {"verified, and the device refused the start",
         [](RecordedBench& b) {
             b.device.setWrongStartAcknowledgement(true);
             b.download();
             b.sequence.StartButtonClick();
             b.timer.runToRest();
             b.sequence.CloseButtonClick();
         },
         RecordOutcome::Verified, 1, msg::StartRefused},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedBench b;
        b.compose({4, 5});
        c.act(b);
        const std::vector<RecordEntry> entries = b.entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].outcome, c.outcome);
        EXPECT_EQ(entries[0].verifications, c.verifications);
        EXPECT_EQ(entries[0].message.value_or(-1), c.message);
        if (c.message >= 0) {
            EXPECT_EQ(entries[0].messageText.toStdString().substr(0, 3), "M" + std::to_string(c.message));
        }
        EXPECT_TRUE(entries[0].ended.has_value());
        // What was about to go out is there even when nothing reached the device.
        ASSERT_EQ(entries[0].items.size(), 2u);
        EXPECT_EQ(entries[0].items[1].programNumber, 5);
        EXPECT_EQ(b.counter->ended, 1);
    }
}

TEST(RecordSessionTest, TheSelfTestAndAResumeAreMarkedAndLostConnectionsGoToTheLatestEntry) {
    RecordedBench b;
    b.compose({1, 2, 3});
    b.startProgram({});
    b.interrupt();

    // The status dialog finds the interrupted program; Resume downloads it again from item 1.
    b.statusView.onDownload = [&] {
        b.download();
        b.sequence.StartButtonClick();
        b.timer.runToRest();
    };
    b.status.FormActivate();
    b.ticks(3);
    ASSERT_EQ(b.display().wrcMode(), WrcMode::Resume);
    b.status.WRCButtonClick();
    b.ticks(2);
    b.device.unplug();
    b.ticks(4);

    b.control.LoadSelfTest(b.catalogue.programCount());
    MarkImageTitle(b.session.image, true);
    b.session.storedProgramFlag = false;
    b.download();

    const std::vector<RecordEntry> entries = b.entries();
    ASSERT_EQ(entries.size(), 3u); // newest first
    EXPECT_EQ(entries[2].kind, EntryKind::Download);
    EXPECT_EQ(kindsOf(entries[2]), (std::vector<StatusEventKind>{StatusEventKind::ResumeRequested}));
    EXPECT_EQ(entries[1].kind, EntryKind::Resume);
    EXPECT_EQ(entries[1].outcome, RecordOutcome::Started);
    EXPECT_EQ(entries[1].items.size(), 3u);
    EXPECT_EQ(kindsOf(entries[1]), (std::vector<StatusEventKind>{StatusEventKind::ConnectionLost}));
    EXPECT_EQ(entries[0].kind, EntryKind::SelfTest);
    EXPECT_EQ(entries[0].outcome, RecordOutcome::Failed);
}

} // namespace
} // namespace trv
