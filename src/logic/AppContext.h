#pragma once

#include "app/ControlProgram.h"
#include "app/DeviceSession.h"
#include "catalogue/DataFolder.h"
#include "catalogue/LanguageSelection.h"
#include "catalogue/ProgramCatalogue.h"
#include "device/ReportLink.h"

namespace trv {

// Everything the windows share, owned by the process entry and handed to each window.
// No globals: tests build their own context over temporary folders and fake links.
struct AppContext {
    DataFolder& folder;
    ProgramCatalogue& catalogue;
    LanguageTexts& texts;
    ControlProgram& control;
    DeviceSession& session;
    ReportLink& link;
};

} // namespace trv
