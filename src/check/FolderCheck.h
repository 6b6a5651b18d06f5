#pragma once

#include "data/DataFolder.h"
#include "data/Diagnostics.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// A language to check: its name in language.fld and its folder.
struct CheckedLanguage {
    std::string name;
    std::string folderCode;
    bool atStartUp = false; // the language trv.cff names, whose failures end the application
};

// The languages a check covers: those named (each must be listed in language.fld), or, with none
// named, every listed one and the one trv.cff names. Each folder once. nullopt, with the reason
// in error, when a named language is not listed.
std::optional<std::vector<CheckedLanguage>> LanguagesToCheck(const DataFolder& folder,
                                                             const std::vector<std::string>& named, std::string& error);

// Reads the data folder the way the application does at start-up and at each language change,
// through the application's own readers, and reports every problem they and the checks across
// files find.
Diagnostics CheckDataFolder(const DataFolder& folder, const std::vector<CheckedLanguage>& languages);

// The checks of one file's bytes that need no reader: bitmap and wave headers, and 8-bit text
// bytes that have no character in the code page the windows show them in.
std::optional<std::string> BitmapFault(std::string_view bytes);
std::optional<std::string> WaveFault(std::string_view bytes);
void CheckCodepageBytes(std::string_view bytes, Diagnostics& sink);

} // namespace trv
