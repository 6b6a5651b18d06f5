#pragma once

#include "data/DataFolder.h"
#include "data/Diagnostics.h"
#include "data/LanguageSelection.h"
#include "data/ProgramCatalogue.h"

#include <optional>
#include <string>

namespace trv {

// What trv.cff keeps from one run to the next.
struct Settings {
    int firstLineValue = 0; // 0 to 4, kept without other use
    ListOrder listOrder = ListOrder::Numerical;
    std::string languageName = DefaultLanguageName; // without line end, at most 48 characters

    friend bool operator==(const Settings&, const Settings&) = default;
};

struct LoadedSettings {
    Settings settings;
    bool languageLineRead = false; // only then the start-up selects the language
};

// Reads trv.cff (nullopt: missing, all defaults). Lines end with CR LF or LF; line 1 is read up to
// 3 characters, line 2 up to 8, line 3 up to 48, the rest of an over-long line dropped. A sink
// hears of lines the defaults replace and of a cut language name.
LoadedSettings LoadSettings(const std::optional<std::string>& fileBytes, Diagnostics* sink = nullptr);

// The exact bytes SaveSettings writes: "%d\r\n", "Alpha\r\n" or "Num\r\n", the name and "\r\n".
std::string SettingsFileBytes(const Settings& settings);

// Writes trv.cff atomically (see DataFolder::writeAtomically); false, and the old file untouched,
// when it can't be written or the user made it read-only.
bool SaveSettings(const DataFolder& folder, const Settings& settings);

} // namespace trv
