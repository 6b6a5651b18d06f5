#pragma once

#include "data/DataFolder.h"
#include "data/LanguageSelection.h"
#include "data/ProgramCatalogue.h"
#include "link/ReportLink.h"
#include "program/ControlProgram.h"
#include "program/DeviceSession.h"

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
