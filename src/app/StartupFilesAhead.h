#pragma once

#include "logic/MainController.h"

#include <future>

namespace trv {

// Reads the start-up's files on a thread of its own from construction on, so the reading overlaps
// the toolkit's connection to the display. The folder must outlive the object.
class StartupFilesAhead {
public:
    explicit StartupFilesAhead(const DataFolder& folder);
    // Waits for the files; once only. A failure while reading is thrown here.
    StartupFiles take();

private:
    std::future<StartupFiles> files_;
};

} // namespace trv
