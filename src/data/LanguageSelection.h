#pragma once

#include "data/DataFolder.h"
#include "data/Diagnostics.h"
#include "data/LanguagePaths.h"
#include "data/TextTables.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

inline constexpr size_t MaxLanguageNameLength = 48;
inline constexpr const char* DefaultLanguageName = "English";

// A line of language.fld: the name up to the first space, then the folder code after the spaces.
struct LanguageEntry {
    std::string name;
    std::string folderCode; // three characters; empty when the line has none

    friend bool operator==(const LanguageEntry&, const LanguageEntry&) = default;
};

// The lines of language.fld in file order (empty lines skipped). A sink hears of lines that can
// never select their folder, and of names listed twice.
std::vector<LanguageEntry> ParseLanguageList(std::string_view fileBytes, Diagnostics* sink = nullptr);
// nullopt when language.fld can't be read: the dialog then offers no entries.
std::optional<std::vector<LanguageEntry>> ReadLanguageList(const DataFolder& folder);

// The folder code language.fld gives a language: that of the first line with the name, when it
// is one a folder can have. nullopt for a name not listed, or listed without such a code; the
// application then stays with the folder in force.
std::optional<std::string> ListedFolderCode(const std::vector<LanguageEntry>& listed, std::string_view name);
// The same, from the data folder's language.fld; nullopt too when that can't be read.
std::optional<std::string> ListedFolderCode(const DataFolder& folder, std::string_view name);

// A name typed into the language dialog, cut to the 48 characters the settings keep.
std::string AcceptLanguageName(std::string_view typed);

// The window's side of loading the flag picture. path is the flag file's path for messages;
// bytes is nullopt when the file can't be read. Returns false when no picture could be made
// (the window shows its file error), which stops the rest of the language load.
class FlagPicture {
public:
    virtual ~FlagPicture() = default;
    virtual bool loadFlag(const std::string& path, const std::optional<std::string>& bytes) = 0;
};

// The texts of the language in force. Nothing here is cleared before a load.
struct LanguageTexts {
    MessageTable messages;
    CaptionTable captions;
    MainWindowTexts mainTexts;
};

// How far ApplyLanguageTexts got; the window applies mainTexts from CaptionsLoaded on.
enum class LanguageLoadStage {
    FlagFailed,      // nothing else was loaded
    CaptionsMissing, // flag shown; no caphint.txt, so window texts, captions and messages unchanged
    MessagesMissing, // flag, window texts and caption table loaded; no msg.txt
    Complete,        // flag, window texts, caption table and message table loaded
};

inline bool CaptionsLoaded(LanguageLoadStage stage) {
    return stage == LanguageLoadStage::MessagesMissing || stage == LanguageLoadStage::Complete;
}

// Loads, in this order, the flag picture, caphint.txt and msg.txt of the current language folder.
// A sink hears of a missing text file and of cut lines (the flag's side reports its own failure).
LanguageLoadStage ApplyLanguageTexts(const DataFolder& folder, const LanguagePaths& paths, FlagPicture& flag,
                                     LanguageTexts& texts, Diagnostics* sink = nullptr);

struct LanguageSelection {
    bool listed = false; // language.fld lists the name (with a folder code), so the folder was set
    LanguageLoadStage stage = LanguageLoadStage::FlagFailed;
};

// Finds the name in language.fld, sets the language folder when it is listed, then
// ApplyLanguageTexts whether it was listed or not.
LanguageSelection SelectLanguage(std::string_view languageName, const DataFolder& folder, LanguagePaths& paths,
                                 FlagPicture& flag, LanguageTexts& texts);

} // namespace trv
