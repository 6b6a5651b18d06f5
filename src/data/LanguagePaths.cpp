#include "data/LanguagePaths.h"

namespace trv {

LanguagePaths::LanguagePaths()
    : paths_{"ENG\\msg.txt", "ENG\\vorlix.spn", "ENG\\trvimpr.tvn", "ENG\\caphint.txt", "ENG\\flag.bmp"} {}

bool LanguagePaths::setFolderCode(std::string_view code) {
    if (code.size() < FolderCodeLength)
        return false;
    // The code names a sub-folder of the data folder; a separator (or a NUL, which ends the
    // path) in it would lead the language files out of the data folder.
    if (code.substr(0, FolderCodeLength).find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos)
        return false;
    for (std::string& path : paths_)
        path.replace(0, FolderCodeLength, code.substr(0, FolderCodeLength));
    return true;
}

} // namespace trv
