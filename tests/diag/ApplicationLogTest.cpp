#include "DiagTestSupport.h"
#include "FakeHidBackend.h"
#include "SequenceTestBench.h"

#include "data/CatalogueFile.h"
#include "data/DataFolder.h"
#include "diag/ApplicationLog.h"
#include "diag/DesktopNotifier.h"
#include "diag/DiagnosticReport.h"
#include "diag/LogCategories.h"
#include "diag/RotatingLogFile.h"
#include "link/DeviceLink.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace trv {
namespace {

using test::FakeHidBackend;
using test::reportOf;

const std::vector<uint8_t> Request{0xC0, 0x01};

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class ApplicationLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ApplicationLog::install();
        ApplicationLog::setTrafficRecording(false);
        // The file outlives a test when the tests share a process: each looks only at its own lines.
        start_ = QFileInfo(ApplicationLog::filePath()).size();
    }
    void TearDown() override {
        ApplicationLog::setTrafficRecording(false);
        ApplicationLog::uninstall();
    }
    QString written() const { return ReadAll(ApplicationLog::filePath()).mid(start_); }

    qint64 start_ = 0;
};

// Each failure the link, the HID access or a loader handles leaves one warning that says what
// failed, where (the path, and the source line) and why, with the default rules.
TEST_F(ApplicationLogTest, EveryHandledFailureLeavesItsWarning) {
    const struct {
        const char* what;
        std::function<void(FakeHidBackend::Device&, DeviceLink&)> act;
        const char* expected;
        const char* place;
    } cases[] = {
        {"failed write",
         [](auto& device, auto& link) {
             device.failWrites = true;
             link.WriteReport(Request);
         },
         "W trv.link: write to /dev/hidraw7 failed (-1 of 65 bytes), request C0 01: the link closes",
         "DeviceLink.cpp:"},
        {"short write",
         [](auto& device, auto& link) {
             device.shortWrites = true;
             link.WriteReport(Request);
         },
         "W trv.link: write to /dev/hidraw7 failed (64 of 65 bytes)", "DeviceLink.cpp:"},
        {"time-out",
         [](auto&, auto& link) {
             ReportData reply{};
             link.ReadReport(reply);
         },
         "W trv.link: no reply from /dev/hidraw7 within 1000 ms; the link closes", "DeviceLink.cpp:"},
        {"vanished device",
         [](auto& device, auto& link) {
             link.WriteReport(Request);
             device.present = false;
             ReportData reply{};
             link.ReadReport(reply);
         },
         "W trv.link: read from /dev/hidraw7 failed: the device is gone", "DeviceLink.cpp:"},
        {"refused open",
         [](auto& device, auto& link) {
             device.openError = "Permission denied";
             link.WriteReport(Request);
         },
         "W trv.link: opening /dev/hidraw7 refused: Permission denied", "DeviceLink.cpp:"},
        {"missing catalogue", [](auto&, auto&) { ReadCatalogueHeader(std::nullopt); },
         "W trv.data: trvimpr.tvb is missing or unreadable [message", "CatalogueFile.cpp:"},
        {"damaged catalogue", [](auto&, auto&) { ReadCatalogueHeader(std::string("TVX not a catalogue")); },
         "W trv.data: trvimpr.tvb is damaged", "CatalogueFile.cpp:"},
        {"unreadable data file", [](auto&, auto&) { DataFolder("/nonexistent-folder").read("trv.cff"); },
         "W trv.data: /nonexistent-folder/trv.cff can't be opened: No such file or directory", "DataFolder.cpp:"},
    };
    for (const auto& c : cases) {
        FakeHidBackend backend;
        auto device = backend.add("/dev/hidraw7", DeviceLink::VendorId, DeviceLink::ProductId);
        DeviceLink link(backend);
        const qint64 before = QFileInfo(ApplicationLog::filePath()).size();
        c.act(*device, link);
        const QString lines = ReadAll(ApplicationLog::filePath()).mid(before);
        const qsizetype at = lines.indexOf(QString::fromUtf8(c.expected));
        ASSERT_GE(at, 0) << c.what << ": " << lines.toStdString();
        const QString line = lines.mid(at, lines.indexOf(QLatin1Char('\n'), at) - at);
        EXPECT_TRUE(line.contains(QString::fromUtf8(c.place))) << c.what << ": " << line.toStdString();
        EXPECT_TRUE(ApplicationLog::recentLines().join(QLatin1Char('\n')).contains(line)) << c.what;
    }
}

// Requests and replies stay out of the log until Record Device Traffic is on, which the user's
// settings keep; the core's checks follow the toolkit's rules, whoever sets them.
// A download the device never verifies: each failed verification leaves its line with what the
// device got wrong, and the end its message, in the log support is handed.
TEST_F(ApplicationLogTest, ADownloadThatFailsVerificationLeavesEachRoundAndItsEnd) {
    test::DownloadBench b;
    b.compose({1, 2});
    b.device.corruptSummary(sim::SummaryField::ItemChecksum, 3);
    b.download();
    ASSERT_EQ(b.sequence.outcome(), DownloadSequence::Outcome::Failed);

    const QString log = written();
    for (const char* line : {"verification 1 of 3 failed: the device's summary differs in the control items, sent again",
                             "verification 2 of 3 failed: the device's summary differs in the control items, sent again",
                             "verification 3 of 3 failed: the device's summary differs in the control items ["})
        EXPECT_TRUE(log.contains(QStringLiteral("W trv.steps: download: ") + QString::fromUtf8(line)))
            << line << "\n" << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("W trv.steps: download failed with message 9: M9"))) << log.toStdString();
}

TEST_F(ApplicationLogTest, TrafficRecordingShowsEveryRequestAndReply) {
    FakeHidBackend backend;
    auto device = backend.add("/dev/hidraw7", DeviceLink::VendorId, DeviceLink::ProductId);
    DeviceLink link(backend);
    ReportData reply{};
    const auto exchange = [&] {
        device->reads.push_back({28, reportOf({0xC3, 0x1C, 0xAF})});
        link.WriteReport(Request);
        link.ReadReport(reply);
    };

    exchange();
    EXPECT_FALSE(LogEnabled(LogCategory::Link, LogLevel::Debug));
    EXPECT_FALSE(written().contains(QStringLiteral("request C0 01")));

    ApplicationLog::setTrafficRecording(true);
    EXPECT_TRUE(ApplicationLog::trafficRecording());
    EXPECT_TRUE(QFile::exists(QDir(test::XdgRoot()).filePath(QStringLiteral("config/trv/trv.conf"))));
    EXPECT_TRUE(LogEnabled(LogCategory::Link, LogLevel::Debug));
    exchange();
    const QString traffic = written();
    EXPECT_TRUE(traffic.contains(QStringLiteral("D trv.link: request C0 01 ("))) << traffic.toStdString();
    EXPECT_TRUE(traffic.contains(QStringLiteral("D trv.link: reply C3 1C AF 00"))) << traffic.toStdString();

    ApplicationLog::setTrafficRecording(false);
    EXPECT_FALSE(ApplicationLog::trafficRecording());
    EXPECT_FALSE(LogEnabled(LogCategory::Link, LogLevel::Debug));
    QLoggingCategory::setFilterRules(QStringLiteral("trv.data.info=true"));
    EXPECT_TRUE(LogEnabled(LogCategory::Data, LogLevel::Info));
    EXPECT_FALSE(LogEnabled(LogCategory::Data, LogLevel::Debug));
    EXPECT_TRUE(LogEnabled(LogCategory::Link, LogLevel::Warning));
}

// The report holds what support asks for, the device last seen among it, and the log's last 200 lines.
TEST_F(ApplicationLogTest, ReportHoldsTheDeviceLastSeenAndTheLastLogLines) {
    DesktopNotifier notifier;
    notifier.sink()->deviceIdentified({"1.2.0.3", 12});
    for (int k = 0; k < 250; ++k)
        qCWarning(DataLog, "numbered line %d.", k);
    const QString report = DiagnosticReport(
        {QStringLiteral("/data/folder"), QStringLiteral("0 errors, 2 warnings\n"), QStringLiteral("/rec.sqlite")});
    EXPECT_TRUE(report.contains(QStringLiteral("\nDevice: 1.2.0.3, correction 12 %\n"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("\nData folder: /data/folder\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("0 errors, 2 warnings\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("\nLog folder: ") + ApplicationLog::folder() + QLatin1Char('\n')));
    EXPECT_TRUE(report.contains(QStringLiteral("Last 200 log lines:\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("numbered line 50.")));
    EXPECT_TRUE(report.contains(QStringLiteral("numbered line 249.")));
    EXPECT_FALSE(report.contains(QStringLiteral("numbered line 49.")));
}

std::string Slurp(const std::string& path) {
    return ReadAll(QString::fromStdString(path)).toStdString();
}

// The file turns over before a line would take it past the limit; three older files are kept, in
// order, and the oldest lines go.
TEST(RotatingLogFile, KeepsThreeOlderFilesUnderTheLimit) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("trv.log")).toStdString();
    {
        RotatingLogFile log(path, 100, 3);
        for (int k = 10; k < 70; ++k)
            ASSERT_TRUE(log.append("line " + std::to_string(k) + "\n"));
    }
    std::string all;
    for (const std::string& name : {path + ".3", path + ".2", path + ".1", path}) {
        const std::string text = Slurp(name);
        EXPECT_FALSE(text.empty()) << name;
        EXPECT_LE(text.size(), 100u) << name;
        all += text;
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path + ".4")));
    // 12 lines of 8 bytes a file: the last 48 lines, whole and in order.
    std::string expected;
    for (int k = 22; k < 70; ++k)
        expected += "line " + std::to_string(k) + "\n";
    EXPECT_EQ(all, expected);
}

// A folder that can't be written loses lines, never the program; the file starts once it can.
TEST(RotatingLogFile, DropsLinesWhileTheFolderIsMissing) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("later"));
    RotatingLogFile log((folder + QStringLiteral("/trv.log")).toStdString());
    EXPECT_FALSE(log.append("lost\n"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(log.append("kept\n"));
    EXPECT_EQ(Slurp(log.path()), "kept\n");
}

} // namespace
} // namespace trv
