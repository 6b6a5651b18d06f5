#pragma once

#include "data/Codepage.h"
#include "data/ProgramCatalogue.h"
#include "program/ControlProgram.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// A control program kept in a file: a small JSON document a practitioner can read, mail to a
// colleague and open again. Texts in the file are UTF-8; the catalogue's names are decoded from
// the names file's code page when saved.
inline constexpr std::string_view ProgramFileExtension = ".trvp";
inline constexpr std::string_view ProgramFileMediaType = "application/x-trv-program";
inline constexpr std::string_view ProgramFileFormat = "trv-program";
inline constexpr int ProgramFileVersion = 1;
// Far above any program of 20 items with a note; a bigger file is no program file.
inline constexpr size_t MaxProgramFileBytes = 1 << 20;

struct ProgramFileItem {
    enum class Kind { Program, Pause, Wait };
    Kind kind = Kind::Wait;
    int64_t number = 0; // program: the catalogue number
    std::string name;   // program: its name when saved (may be empty)
    int minutes = 0;    // pause
    int seconds = 0;    // pause

    friend bool operator==(const ProgramFileItem&, const ProgramFileItem&) = default;
};

struct ProgramDocument {
    std::string title; // optional
    std::string note;  // optional
    std::vector<ProgramFileItem> items;

    friend bool operator==(const ProgramDocument&, const ProgramDocument&) = default;
};

// What can be wrong with a program file, or worth a word. The windows and trv-check turn these
// into their texts; the details say where and what.
enum class ProgramFileIssueKind {
    Unreadable,      // detail: the system's words
    TooLarge,        // value: the file's size
    NotJson,         // detail: the parser's words (with line and column)
    NotProgramFile,  // detail: the field that is missing or wrong ("format", "version", "items", ...)
    NewerVersion,    // value: the file's version
    BadItem,         // item; detail: the field that is missing or wrong ("type", "number", ...)
    TooManyItems,    // value: the number of items
    UnknownProgram,  // item; value: the program number
    PauseOutOfRange, // item; value: minutes, value2: seconds
    NotWritten,      // detail: the system's words
    RenamedProgram,  // a notice: item; value: the number; detail: the saved name, detail2: the catalogue's
};

struct ProgramFileIssue {
    ProgramFileIssueKind kind = ProgramFileIssueKind::Unreadable;
    int item = 0; // 1-based; 0 when the issue is not about one item
    int64_t value = 0;
    int64_t value2 = 0;
    std::string detail;
    std::string detail2;

    friend bool operator==(const ProgramFileIssue&, const ProgramFileIssue&) = default;
};

// The outcome of reading a file: the document, or the problem that keeps it from being opened.
struct ProgramFileRead {
    std::optional<ProgramDocument> document;
    std::optional<ProgramFileIssue> problem;
};

// The file's bytes to a document. Checks the format, the version, the items' shape, their count
// and the pauses' ranges; the catalogue is checked by CheckProgramDocument.
ProgramFileRead ParseProgramFile(std::string_view bytes);
// Reads and parses a file (a file over MaxProgramFileBytes is refused unread).
ProgramFileRead ReadProgramFile(const std::string& path);

// Against the catalogue in force: a program it lacks is a problem; a name that differs from the
// catalogue's (names in the codepage of the names file) is a notice, the program is taken by number.
struct ProgramDocumentCheck {
    std::optional<ProgramFileIssue> problem;
    std::vector<ProgramFileIssue> notices;
};
ProgramDocumentCheck CheckProgramDocument(const ProgramDocument& document, const ProgramCatalogue& catalogue,
                                          Codepage page = Codepage::CentralEuropean);

// The control program's items as a document; names from the catalogue, decoded to UTF-8.
ProgramDocument DocumentOfControlProgram(const ControlProgram& control, const ProgramCatalogue& catalogue,
                                         Codepage page = Codepage::CentralEuropean);
// Replaces the control program by a checked document's items, the end line selected (as a
// protocol item loads). false, changing nothing, for a document that does not fit.
bool LoadProgramDocument(const ProgramDocument& document, ControlProgram& control);

// Reads a file, checks it against the catalogue and, when nothing is wrong, makes its items the
// control program. On a problem the control program stays as it was.
struct ProgramFileOpened {
    std::optional<ProgramFileIssue> problem;
    std::vector<ProgramFileIssue> notices;
    std::string title;
    std::string note;
};
ProgramFileOpened OpenProgramFile(const std::string& path, const ProgramCatalogue& catalogue, ControlProgram& control,
                                  Codepage page = Codepage::CentralEuropean);

// The document as the file's text: indented JSON, one item a line, ending with a line feed.
std::string ProgramFileText(const ProgramDocument& document);
// Writes the file whole or not at all: a temporary file beside it, flushed to the disk, then
// renamed over it. The problem (NotWritten) when that fails; the old file then stays as it was.
std::optional<ProgramFileIssue> WriteProgramFile(const std::string& path, const ProgramDocument& document);

// The English text of an issue; file is the path as the user gave it. The windows show the same
// texts through their translation.
std::string DescribeProgramFileIssue(const ProgramFileIssue& issue, std::string_view file);

} // namespace trv
