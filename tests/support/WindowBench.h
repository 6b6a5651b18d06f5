#pragma once

#include "GatedLink.h"
#include "GuiTestSupport.h"
#include "SequenceTestBench.h"

#include "link/DeviceLink.h"
#include "logic/AppContext.h"
#include "sim/SimulatedDevice.h"
#include "widgets/AppWindows.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>

namespace trv::test {

// Passes everything to the link and counts the calls made on the window thread, which must wait
// for no device.
class WindowThreadWatch : public ReportLink {
public:
    explicit WindowThreadWatch(ReportLink& inner) : inner_(inner) {}
    bool WriteReport(std::span<const uint8_t> request) override {
        note();
        return inner_.WriteReport(request);
    }
    ReadResult ReadReport(ReportData& dest) override {
        note();
        return inner_.ReadReport(dest);
    }
    void CloseDevice() override {
        note();
        inner_.CloseDevice();
    }
    std::string openFailure() const override { return inner_.openFailure(); }

    std::atomic<int> callsOnWindowThread{0};

private:
    void note() {
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            ++callsOnWindowThread;
    }
    ReportLink& inner_;
};

// What the device windows need around them: the simulated device in real time behind the link,
// a twenty-program catalogue, numbered texts and a recording error display.
struct WindowBench {
    sim::SteadyClock clock;
    sim::SimulatedDevice device{clock};
    DeviceLink link{device};
    WindowThreadWatch watch{link}; // what the windows talk through
    ProgramCatalogue catalogue = TwentyProgramCatalogue();
    LanguageTexts texts = NumberedTexts();
    ControlProgram control{catalogue, [this](int k) { return texts.messages.text(k); }};
    DataFolder folder{"."};
    DeviceSession session;
    AppContext ctx{folder, catalogue, texts, control, session, watch};
    RecordingErrorDisplay errors;
    AppWindows windows;
};

} // namespace trv::test
