#pragma once

#include "GuiTestSupport.h"
#include "SequenceTestBench.h"

#include "logic/AppContext.h"
#include "widgets/AppWindows.h"
#include "link/DeviceLink.h"
#include "sim/SimulatedDevice.h"

namespace trv::test {

// What the device windows need around them: the simulated device in real time behind the link,
// a twenty-program catalogue, numbered texts and a recording error display.
struct WindowBench {
    sim::SteadyClock clock;
    sim::SimulatedDevice device{clock};
    DeviceLink link{device};
    ProgramCatalogue catalogue = TwentyProgramCatalogue();
    LanguageTexts texts = NumberedTexts();
    ControlProgram control{catalogue, [this](int k) { return texts.messages.text(k); }};
    DataFolder folder{"."};
    DeviceSession session;
    AppContext ctx{folder, catalogue, texts, control, session, link};
    RecordingErrorDisplay errors;
    AppWindows windows;
};

} // namespace trv::test
