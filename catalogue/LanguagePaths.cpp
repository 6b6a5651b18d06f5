#include "catalogue/LanguagePaths.h"

namespace trv {

LanguagePaths::LanguagePaths()
    : paths_{"ENG\\msg.txt", "ENG\\vorlix.spn", "ENG\\trvimpr.tvn", "ENG\\caphint.txt", "ENG\\flag.bmp"} {}

bool LanguagePaths::setFolderCode(std::string_view code) {
    if (code.size() < FolderCodeLength)
        return false;
    for (std::string& path : paths_)
        path.replace(0, FolderCodeLength, code.substr(0, FolderCodeLength));
    return true;
}

} // namespace trv
