#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trv {

// Files of the data folder; their names never change with the language.
inline constexpr const char* CatalogueFileName = "trvimpr.tvb";
inline constexpr const char* ProtocolFileName = "vorlix.spb";
inline constexpr const char* LanguageListFileName = "language.fld";
inline constexpr const char* SettingsFileName = "trv.cff";
inline constexpr const char* ErrorSoundFileName = "bom.wav";

// Writes all of bytes to the open file descriptor, going on after interrupted and partial writes;
// false at the first failing write, with an unknown part of bytes written.
bool WriteAll(int fd, std::string_view bytes);

// The folder all data files are read from (the working folder in the application, a temporary
// folder in tests). Paths are relative and may use the stored backslash as separator.
class DataFolder {
public:
    explicit DataFolder(std::string root = ".");

    const std::string& root() const { return root_; }

    // The stored relative path turned into an openable one: backslashes become '/', prefixed with the root.
    std::string nativePath(std::string_view relativePath) const;

    // Whole contents of a regular file; nullopt when it is missing or can't be read.
    std::optional<std::string> read(std::string_view relativePath) const;

    // Writes a temporary file next to the target, flushes it to disk and renames it over the
    // target, so the target is either the old or the complete new file. A symbolic link is
    // followed and the file it names replaced; the old file's mode (and owner, where allowed) is
    // kept; a file without write permission is left alone. false in that case and on any failure.
    bool writeAtomically(std::string_view relativePath, std::string_view bytes) const;

private:
    std::string root_;
};

} // namespace trv
