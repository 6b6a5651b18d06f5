// How long the window thread stays blocked while the device dialogs talk to the simulated device
// in real time: during a normal download of twenty programs, and while the Device Status dialog
// polls a device that has gone silent. A probe thread keeps posting a call to the window thread
// and measures how long each one waits before it runs. Also prints the mean interval between the
// download's transfer requests as the device received them.
//
//   stall_bench [runs] [--record-traffic]   (offscreen unless QT_QPA_PLATFORM says otherwise)
//
// --record-traffic installs the application's log with every request, reply and step written to
// trv.log in $XDG_STATE_HOME/trv, as Record Device Traffic does.
#include "data/DataFolder.h"
#include "data/LanguageSelection.h"
#include "data/ProgramCatalogue.h"
#include "diag/ApplicationLog.h"
#include "link/DeviceLink.h"
#include "link/DeviceMessages.h"
#include "logic/AppContext.h"
#include "program/ControlProgram.h"
#include "program/DeviceSession.h"
#include "sim/SimulatedDevice.h"
#include "widgets/AppWindows.h"
#include "widgets/DownloadDialog.h"
#include "widgets/ErrorDisplay.h"
#include "widgets/StatusDialog.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Posts a call to the window thread every 2 ms (after the previous one ran) and keeps the longest
// wait; the wait of a call is how long a click or a repaint would have waited.
class StallProbe {
public:
    void start() {
        stop_ = false;
        thread_ = std::thread([this] { run(); });
    }
    void stop() {
        stop_ = true;
        thread_.join();
        QCoreApplication::sendPostedEvents(); // no probe call may outlive the probe
    }
    void reset() { worst_ = Clock::duration::zero(); }
    double worstMs() const { return std::chrono::duration<double, std::milli>(worst_).count(); }

private:
    void run() {
        while (!stop_) {
            auto handled = std::make_shared<std::atomic<bool>>(false);
            const Clock::time_point posted = Clock::now();
            QMetaObject::invokeMethod(
                qApp,
                [this, posted, handled] {
                    worst_ = std::max(worst_, Clock::now() - posted); // window thread only
                    *handled = true;
                },
                Qt::QueuedConnection);
            while (!*handled && !stop_)
                std::this_thread::sleep_for(100us);
            std::this_thread::sleep_for(2ms);
        }
    }

    std::thread thread_;
    std::atomic<bool> stop_{false};
    Clock::duration worst_{};
};

class SilentErrors : public trv::ErrorDisplay {
public:
    void show(QWidget*, const QString&, const QString& text, Icon, bool) override {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
};

// 20 programs of 15 steps over 100 distinct steps: a download of 30 transfer requests.
trv::ProgramCatalogue TwentyPrograms() {
    std::vector<trv::ProgramStep> distinct;
    for (int k = 0; k < 100; ++k) {
        trv::ProgramStep step;
        step.stepWord = static_cast<uint16_t>(k + 1);
        step.frequency = 100 + static_cast<uint32_t>(k) * 7;
        distinct.push_back(step);
    }
    std::vector<trv::CatalogueProgram> programs;
    std::vector<int> stepMap;
    for (int k = 0; k < 20; ++k) {
        trv::CatalogueProgram program;
        program.number = k + 1;
        program.runningSeconds = 60;
        program.firstStep = static_cast<int>(stepMap.size());
        program.stepCount = 15;
        program.shortLabel = "Program " + std::to_string(k + 1);
        for (int j = 0; j < 15; ++j)
            stepMap.push_back((k * 5 + j) % 100);
        programs.push_back(program);
    }
    trv::ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), std::move(distinct), std::move(stepMap));
    return catalogue;
}

struct Figures {
    double downloadWorstMs = 0;
    double meanTickMs = 0;
    int ticks = 0;
    double silentWorstMs = 0;
    bool started = false;
};

Figures RunOnce(StallProbe& probe) {
    trv::sim::SteadyClock clock;
    trv::sim::SimulatedDevice device(clock);
    trv::DeviceLink link(device);
    trv::ProgramCatalogue catalogue = TwentyPrograms();
    trv::LanguageTexts texts;
    trv::ControlProgram control{catalogue, [&texts](int k) { return texts.messages.text(k); }};
    for (int k = 0; k < 20; ++k)
        control.AddSelectedProgram(k);
    trv::DataFolder folder{"."};
    trv::DeviceSession session;
    trv::AppContext ctx{folder, catalogue, texts, control, session, link};
    SilentErrors errors;
    trv::AppWindows windows;
    trv::DownloadDialog download(ctx, errors, windows);
    trv::StatusDialog status(ctx, errors, windows);
    windows.download = &download;
    windows.status = &status;

    Figures figures;
    // The user presses Start as soon as the transfer is verified.
    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* start = download.findChild<QPushButton*>("StartButton");
        if (download.isVisible() && start->isEnabled()) {
            user.stop();
            start->click();
        }
    });
    user.start();
    probe.reset();
    download.exec();
    figures.downloadWorstMs = probe.worstMs();
    figures.started = !session.startPending;

    // From the first transfer request to the summary request: one tick apart each.
    std::vector<trv::sim::SimTime> transfer;
    for (const trv::sim::LoggedRequest& request : device.requestLog()) {
        const uint8_t command = request.data[2];
        if (request.data[0] == trv::wire::Framed && command >= trv::wire::InfoHead && command <= trv::wire::Summary)
            transfer.push_back(request.at);
    }
    if (transfer.size() >= 2) {
        figures.ticks = static_cast<int>(transfer.size()) - 1;
        figures.meanTickMs =
            std::chrono::duration<double, std::milli>(transfer.back() - transfer.front()).count() / figures.ticks;
    }

    // The device stops answering; the status dialog polls it for five seconds.
    device.setNoReply(true);
    QTimer::singleShot(5000, &status, [&status] { status.close(); });
    probe.reset();
    status.exec();
    figures.silentWorstMs = probe.worstMs();
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const bool recordTraffic = argc > 2 && std::strcmp(argv[2], "--record-traffic") == 0;
    if (recordTraffic) {
        trv::ApplicationLog::install();
        QLoggingCategory::setFilterRules(QStringLiteral("trv.*.debug=true"));
        std::printf("recording traffic in %s\n", qPrintable(trv::ApplicationLog::filePath()));
    }
    StallProbe probe;
    QApplication app(argc, argv);
    probe.start();
    std::vector<double> downloadWorst, ticks, silentWorst;
    for (int run = 0; run < runs; ++run) {
        const Figures f = RunOnce(probe);
        std::printf("run %d: download worst block %.1f ms, mean tick %.2f ms over %d ticks%s; silent device worst "
                    "block %.1f ms\n",
                    run + 1, f.downloadWorstMs, f.meanTickMs, f.ticks, f.started ? "" : " (not started)",
                    f.silentWorstMs);
        downloadWorst.push_back(f.downloadWorstMs);
        ticks.push_back(f.meanTickMs);
        silentWorst.push_back(f.silentWorstMs);
    }
    probe.stop();
    std::printf("median of %d runs: download worst block %.1f ms; mean tick %.2f ms; silent device worst block "
                "%.1f ms\n",
                runs, Median(downloadWorst), Median(ticks), Median(silentWorst));
    return 0;
}
