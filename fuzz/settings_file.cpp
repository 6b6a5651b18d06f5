// trv.cff: whatever the file holds, the settings read from it are in range and survive being
// written and read again; so does a language name typed into the dialog.
//
// Input: a byte choosing what to read (bit 0: the file is missing), then the file; after a
// PartSeparator, a typed language name.
#include "FuzzSupport.h"

#include "data/LanguageSelection.h"
#include "data/Settings.h"

#include <optional>
#include <string>

using namespace trv;

namespace {

void checkRoundTrip(const Settings& settings) {
    const std::string bytes = SettingsFileBytes(settings);
    const LoadedSettings again = LoadSettings(bytes);
    FUZZ_CHECK(again.languageLineRead);
    FUZZ_CHECK(again.settings == settings);
    // Written the same way a second time: nothing drifts from one run to the next.
    FUZZ_CHECK(SettingsFileBytes(again.settings) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ByteSource in(data, size);
    const bool missing = (in.byte() & 1) != 0;
    const std::vector<std::string_view> parts = fuzz::splitParts(in.rest(), 2);

    const std::optional<std::string> file = missing ? std::nullopt : std::optional<std::string>(parts[0]);
    const LoadedSettings loaded = LoadSettings(file);
    const Settings& settings = loaded.settings;
    FUZZ_CHECK(settings.firstLineValue >= 0 && settings.firstLineValue <= 4);
    FUZZ_CHECK(settings.languageName.size() <= MaxLanguageNameLength);
    FUZZ_CHECK(!fuzz::containsByte(settings.languageName, '\n'));
    if (missing) {
        FUZZ_CHECK(settings == Settings{} && !loaded.languageLineRead);
        return 0;
    }
    // Only a second line of exactly "Alpha" gives the alphabetical order.
    if (settings.listOrder == ListOrder::Alphabetical)
        FUZZ_CHECK(parts[0].find("\nAlpha\n") != std::string_view::npos ||
                   parts[0].find("\nAlpha\r\n") != std::string_view::npos);
    if (loaded.languageLineRead)
        checkRoundTrip(settings);

    // A name typed into the language dialog, kept as the main window keeps it: up to its line feed.
    Settings typed = settings;
    typed.languageName = AcceptLanguageName(parts[1].substr(0, parts[1].find('\n')));
    FUZZ_CHECK(typed.languageName.size() <= MaxLanguageNameLength);
    checkRoundTrip(typed);
    return 0;
}
