#include "app/StartupFilesAhead.h"

namespace trv {

StartupFilesAhead::StartupFilesAhead(const DataFolder& folder)
    : files_(std::async(std::launch::async, [&folder] { return ReadStartupFiles(folder); })) {}

StartupFiles StartupFilesAhead::take() {
    return files_.get();
}

} // namespace trv
