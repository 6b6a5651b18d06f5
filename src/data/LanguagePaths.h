#pragma once

#include <array>
#include <string>
#include <string_view>

namespace trv {

// The five files of a language folder.
enum class LanguageFile { Messages = 0, ProtocolTexts = 1, ProgramNames = 2, Captions = 3, Flag = 4 };

inline constexpr const char* DefaultFolderCode = "ENG";
inline constexpr int FolderCodeLength = 3;

// The language file paths as stored texts: folder code, backslash, file name. A language change
// overwrites only the folder code; DataFolder turns the backslash into the platform's separator.
class LanguagePaths {
public:
    LanguagePaths();

    // Takes the first three characters of code; a shorter code, or one holding a path separator
    // or a NUL, changes nothing (false).
    bool setFolderCode(std::string_view code);
    std::string_view folderCode() const { return std::string_view(paths_[0]).substr(0, FolderCodeLength); }

    const std::string& path(LanguageFile file) const { return paths_[static_cast<size_t>(file)]; }

private:
    std::array<std::string, 5> paths_;
};

} // namespace trv
