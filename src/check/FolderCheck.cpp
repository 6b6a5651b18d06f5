#include "check/FolderCheck.h"

#include "data/ByteReader.h"
#include "data/CaptionNumbers.h"
#include "data/CatalogueFile.h"
#include "data/Codepage.h"
#include "data/LanguageSelection.h"
#include "data/MessageNumbers.h"
#include "data/ProgramNames.h"
#include "data/ProtocolFile.h"
#include "data/ProtocolTexts.h"
#include "data/Settings.h"
#include "data/TextLines.h"
#include "program/ControlProgram.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace trv {

namespace {

// The dialogs' caption table has to reach its last entry in use; the others are never shown.
constexpr int UsedCaptionCount = std::end(caption::InUse)[-1] + 1;

bool MainLineInUse(int line) {
    return std::find(std::begin(caption::MainInUse), std::end(caption::MainInUse), static_cast<MainText>(line - 1)) !=
           std::end(caption::MainInUse);
}

std::string Quoted(std::string_view bytes) {
    return "\"" + DecodeToUtf8(bytes, Codepage::CentralEuropean) + "\"";
}

// Reports the flag's failure and lets the text loading go on, so the texts are checked as well.
class CheckedFlag : public FlagPicture {
public:
    CheckedFlag(Diagnostics& sink, std::string file, bool atStartUp)
        : sink_(sink), file_(std::move(file)), atStartUp_(atStartUp) {}

    bool loadFlag(const std::string&, const std::optional<std::string>& bytes) override {
        std::optional<std::string> fault = bytes ? BitmapFault(*bytes) : std::string("can't be read");
        if (fault) {
            sink_.setFile(file_);
            sink_.fileError(
                -1, "flag",
                "the flag picture " + *fault +
                    (atStartUp_ ? ": the application ends at start-up" : ": the application refuses the language"));
        }
        return true;
    }

private:
    Diagnostics& sink_;
    std::string file_;
    bool atStartUp_;
};

// Where a table of texts stops loading: its first empty entry (the file ended, or an empty line).
template <int Size> int FirstEmpty(const TextTable<Size>& table) {
    for (int k = 0; k < Size; ++k) {
        if (table.text(k).empty())
            return k;
    }
    return Size;
}

int LineCount(std::string_view bytes) {
    TextLineReader reader(bytes);
    while (reader.next()) {
    }
    return reader.lineNumber();
}

void CheckLanguageTexts(const DataFolder& folder, const LanguagePaths& paths, const LanguageTexts& texts,
                        LanguageLoadStage stage, Diagnostics& sink) {
    if (!CaptionsLoaded(stage))
        return;
    const std::string captionPath = paths.path(LanguageFile::Captions);
    sink.setFile(ShownPath(captionPath));
    const int captionLines = LineCount(folder.read(captionPath).value_or(std::string()));
    for (int line = 1; line <= MainTextCount; ++line) {
        if (!MainLineInUse(line))
            continue;
        if (line > captionLines) {
            sink.lineWarning(captionLines, "caption-lines-missing",
                             "the file ends at line " + std::to_string(captionLines) + ": the window texts of lines " +
                                 std::to_string(line) + " to " + std::to_string(MainTextCount) + " are empty");
            return; // the caption table then stops at once as well
        }
        if (texts.mainTexts[static_cast<size_t>(line - 1)].empty())
            sink.lineWarning(line, "caption-empty", "the window text of this line is empty");
    }
    const int captionStop = FirstEmpty(texts.captions);
    if (captionStop < UsedCaptionCount) {
        const int line = MainTextCount + 1 + captionStop;
        if (line > captionLines)
            sink.lineWarning(captionLines, "caption-lines-missing",
                             "the file ends at line " + std::to_string(captionLines) + ": dialog texts " +
                                 std::to_string(captionStop) + " to " + std::to_string(UsedCaptionCount - 1) +
                                 " (lines " + std::to_string(line) + " on) are empty");
        else
            sink.lineWarning(line, "caption-empty",
                             "the empty line ends the dialog texts: texts " + std::to_string(captionStop) + " to " +
                                 std::to_string(UsedCaptionCount - 1) + " are not loaded");
    }

    if (stage != LanguageLoadStage::Complete)
        return;
    const std::string messagePath = paths.path(LanguageFile::Messages);
    sink.setFile(ShownPath(messagePath));
    const int messageLines = LineCount(folder.read(messagePath).value_or(std::string()));
    const int messageStop = FirstEmpty(texts.messages);
    const int* firstLost =
        std::find_if(std::begin(msg::InUse), std::end(msg::InUse), [messageStop](int k) { return k >= messageStop; });
    if (firstLost != std::end(msg::InUse)) {
        const int line = messageStop + 1;
        const std::string lost = "messages " + std::to_string(*firstLost) + " and on show their built-in English text";
        if (line > messageLines)
            sink.lineWarning(messageLines, "message-lines-missing",
                             "the file ends at line " + std::to_string(messageLines) + ": " + lost);
        else
            sink.lineWarning(line, "message-empty", "the empty line ends the message table: " + lost);
    }
    const std::string& idleValue = texts.messages.text(msg::IdleValue);
    if (!idleValue.empty() && idleValue.find('*') == std::string::npos)
        sink.lineWarning(msg::IdleValue + 1, "message-no-star",
                         "message " + std::to_string(msg::IdleValue) + " has no \"*\" for the number to replace");
}

// A program list of the protocol file: numbers the catalogue lacks and lists the control program cuts.
void CheckProgramList(const SessionProgramList& list, const std::string& what, int record, long long offset,
                      int programCount, Diagnostics& sink) {
    for (int k = 0; k < list.size(); ++k) {
        const uint32_t number = list.slots[static_cast<size_t>(k)];
        if (number > static_cast<uint32_t>(programCount))
            sink.recordWarning(record, offset + 4 * k, "list-unknown-program",
                               what + " names program " + std::to_string(number) +
                                   ", which the catalogue doesn't have: the lists skip it and a download refuses it");
    }
    if (list.size() == SessionListSlots)
        sink.recordWarning(record, offset, "list-no-end", what + " fills all 16 slots without the ending 0");
    const int items = 2 * list.size() - 1;
    if (items > MaxControlItems)
        sink.recordWarning(record, offset, "list-too-long",
                           what + " has " + std::to_string(list.size()) + " programs, " + std::to_string(items) +
                               " control items with the pauses between them: the control program keeps the first " +
                               std::to_string(MaxControlItems));
}

void CheckProtocolLists(const ProtocolFile& file, int programCount, Diagnostics& sink) {
    sink.setFile(ProtocolFileName);
    for (size_t s = 0; s < file.sessions.size(); ++s) {
        const long long at = static_cast<long long>(ProtocolFileHeaderSize + s * SessionProgramListSize);
        CheckProgramList(file.sessions[s], "session " + std::to_string(s + 1), static_cast<int>(s) + 1, at,
                         programCount, sink);
    }
    const size_t protocolsStart = ProtocolFileHeaderSize + file.sessions.size() * SessionProgramListSize;
    for (size_t p = 0; p < file.protocols.size(); ++p) {
        const ProtocolRecord& protocol = file.protocols[p];
        const long long recordAt = static_cast<long long>(protocolsStart + p * ProtocolRecordSize);
        const std::string name = "protocol " + std::to_string(p + 1);
        const int record = static_cast<int>(p) + 1;
        for (int j = 0; j < protocol.itemCount(); ++j)
            CheckProgramList(protocol.itemLists[static_cast<size_t>(j)], name + " item " + std::to_string(j + 1),
                             record, recordAt + static_cast<long long>(j * SessionProgramListSize), programCount, sink);
        for (int j = protocol.itemCount() + 1; j < ProtocolItemSlots; ++j) {
            if (!protocol.itemLists[static_cast<size_t>(j)].empty())
                sink.recordWarning(
                    record, recordAt + static_cast<long long>(j * SessionProgramListSize), "protocol-item-hidden",
                    name + " item " + std::to_string(j + 1) + " follows an empty item and is never shown");
        }
    }
}

// The texts of vorlix.spn against the records of vorlix.spb they name, one to one.
void CheckProtocolTexts(const ProtocolFile& file, const ProtocolTexts& texts, const ProtocolTextLines& lines,
                        const std::string& textsFile, Diagnostics& sink) {
    sink.setFile(textsFile);
    const size_t protocols = std::min(file.protocols.size(), texts.protocols.size());
    for (size_t p = 0; p < protocols; ++p) {
        const int shown = static_cast<int>(texts.protocols[p].items.size());
        const int stored = file.protocols[p].itemCount();
        if (shown != stored)
            sink.lineWarning(lines.protocols[p], "texts-item-count",
                             "protocol " + std::to_string(p + 1) + " " + Quoted(texts.protocols[p].text) + " has " +
                                 std::to_string(shown) + " item lines, " + ProtocolFileName + " has " +
                                 std::to_string(stored) + " items");
    }
    if (texts.protocols.size() != file.protocols.size())
        sink.lineWarning(texts.protocols.empty() ? 0 : lines.protocols.back(), "texts-protocol-count",
                         std::to_string(texts.protocols.size()) + " protocol lines, " + ProtocolFileName + " has " +
                             std::to_string(file.protocols.size()) + " protocols");
    if (texts.sessionLines.size() != file.sessions.size())
        sink.lineWarning(texts.sessionLines.empty() ? 0 : lines.sessions.back(), "texts-session-count",
                         std::to_string(texts.sessionLines.size()) + " session lines, " + ProtocolFileName + " has " +
                             std::to_string(file.sessions.size()) + " sessions");

    // Electrode numbers are positions in this language's names.
    const uint32_t names = static_cast<uint32_t>(texts.electrodeNames.size());
    const size_t protocolsStart = ProtocolFileHeaderSize + file.sessions.size() * SessionProgramListSize;
    for (size_t p = 0; p < file.protocols.size(); ++p) {
        const ProtocolRecord& protocol = file.protocols[p];
        for (int j = 0; j < protocol.itemCount(); ++j) {
            const ElectrodeRecord& e = protocol.electrodes[static_cast<size_t>(j)];
            const std::pair<const char*, uint32_t> uses[] = {
                {"Input A", e.inputA}, {"Input B", e.inputB}, {"Output C", e.outputC}};
            for (const auto& [input, number] : uses) {
                if (number >= 1 && number <= names)
                    continue;
                sink.setFile(ProtocolFileName);
                sink.recordWarning(static_cast<int>(p) + 1,
                                   static_cast<long long>(protocolsStart + p * ProtocolRecordSize +
                                                          ProtocolItemSlots * SessionProgramListSize + j * 16),
                                   "electrode-unknown",
                                   "protocol " + std::to_string(p + 1) + " item " + std::to_string(j + 1) +
                                       " puts electrode " + std::to_string(number) + " on " + input + ", but " +
                                       textsFile + " names " + std::to_string(names) + " electrodes");
                sink.setFile(textsFile);
            }
        }
    }
}

// A name that stands once in each of two languages should carry the same program number in both.
struct NamedPrograms {
    std::string file;
    std::map<std::string, std::pair<int, int>> numberAndLine; // name -> program number, line
};

// The names of the program lines the application took; a name on more than one line is left out.
NamedPrograms CollectNames(const std::vector<NamesFileLine>& lines, const std::string& file) {
    NamedPrograms named{file, {}};
    std::map<std::string, int> seen;
    for (const NamesFileLine& line : lines) {
        if (line.name.empty() || ++seen[line.name] > 1) {
            named.numberAndLine.erase(line.name);
            continue;
        }
        named.numberAndLine[line.name] = {line.number, line.line};
    }
    return named;
}

void CompareNames(const NamedPrograms& reference, const NamedPrograms& other, Diagnostics& sink) {
    sink.setFile(other.file);
    for (const auto& [name, at] : other.numberAndLine) {
        const auto found = reference.numberAndLine.find(name);
        if (found != reference.numberAndLine.end() && found->second.first != at.first)
            sink.lineWarning(at.second, "names-number-differs",
                             Quoted(name) + " is program " + std::to_string(at.first) + " here but program " +
                                 std::to_string(found->second.first) + " in " + reference.file + " (line " +
                                 std::to_string(found->second.second) + ")");
    }
}

void CheckTextFileBytes(const DataFolder& folder, const std::string& stored, Diagnostics& sink) {
    if (const std::optional<std::string> bytes = folder.read(stored)) {
        sink.setFile(ShownPath(stored));
        CheckCodepageBytes(*bytes, sink);
    }
}

// Start-up: the settings and the language list they lead through.
void CheckSettingsAndLanguageList(const DataFolder& folder, Diagnostics& sink) {
    sink.setFile(SettingsFileName);
    const LoadedSettings settings = LoadSettings(folder.read(SettingsFileName), &sink);
    CheckTextFileBytes(folder, SettingsFileName, sink);
    sink.setFile(LanguageListFileName);
    const std::optional<std::string> listBytes = folder.read(LanguageListFileName);
    if (!listBytes) {
        sink.fileWarning("languages-missing", "can't be read: no language can be chosen, and the files are read "
                                              "from the ENG folder");
        return;
    }
    const std::vector<LanguageEntry> listed = ParseLanguageList(*listBytes, &sink);
    CheckCodepageBytes(*listBytes, sink);
    if (!settings.languageLineRead)
        return;
    const bool isListed = std::any_of(listed.begin(), listed.end(), [&settings](const LanguageEntry& entry) {
        return entry.name == settings.settings.languageName;
    });
    if (!isListed) {
        sink.setFile(SettingsFileName);
        sink.lineWarning(3, "settings-language-unlisted",
                         "language " + Quoted(settings.settings.languageName) + " is not listed in " +
                             LanguageListFileName + ": the files are read from the " + DefaultFolderCode + " folder");
    }
}

// The catalogue, read as the start-up reads it: the step table first, then the checked header.
// One refused for its step offsets still has the programs the other files name; nullopt when
// there are none to take.
std::optional<ProgramCatalogue> CheckCatalogue(const DataFolder& folder, Diagnostics& sink) {
    sink.setFile(CatalogueFileName);
    const std::optional<std::string> catalogueBytes = folder.read(CatalogueFileName);
    StepTable steps = LoadStepTable(catalogueBytes.value_or(std::string()));
    const CatalogueHeaderResult header = ReadCatalogueHeader(catalogueBytes, &sink);
    if (!header.outcome.ok() && header.header.runningSeconds.empty())
        return std::nullopt;
    ProgramCatalogue catalogue;
    AssembleCatalogue(catalogue, header.header, std::move(steps));
    return catalogue;
}

void CheckErrorSound(const DataFolder& folder, Diagnostics& sink) {
    sink.setFile(ErrorSoundFileName);
    if (const std::optional<std::string> sound = folder.read(ErrorSoundFileName)) {
        if (const std::optional<std::string> fault = WaveFault(*sound))
            sink.fileWarning("sound", "the error sound " + *fault + ": errors sound the platform's default instead");
    } else {
        sink.fileWarning("sound", "the error sound can't be read: errors sound the platform's default instead");
    }
}

// A language's names against the catalogue (when there is one); what they name, to compare
// with the other languages.
std::optional<NamedPrograms> CheckProgramNames(const DataFolder& folder, const LanguagePaths& paths,
                                               const ProgramCatalogue* catalogue, Diagnostics& sink) {
    const std::string namesFile = ShownPath(paths.path(LanguageFile::ProgramNames));
    sink.setFile(namesFile);
    const std::optional<std::string> namesBytes = folder.read(paths.path(LanguageFile::ProgramNames));
    if (!namesBytes) {
        sink.fileError(msg::NamesMissing, "names-missing", "the program names can't be read");
        return std::nullopt;
    }
    if (catalogue == nullptr)
        return std::nullopt;
    std::vector<NamesFileLine> lines;
    ParseProgramNames(*namesBytes, *catalogue, &sink, &lines);
    CheckCodepageBytes(*namesBytes, sink);
    return CollectNames(lines, namesFile);
}

// A language's protocol and session texts, and against the protocol file when that was taken.
void CheckProtocolTextFile(const DataFolder& folder, const LanguagePaths& paths, const ProtocolFile* protocols,
                           Diagnostics& sink) {
    const std::string textsFile = ShownPath(paths.path(LanguageFile::ProtocolTexts));
    sink.setFile(textsFile);
    const std::optional<std::string> textBytes = folder.read(paths.path(LanguageFile::ProtocolTexts));
    if (!textBytes) {
        sink.fileError(msg::ProtocolTextsMissing, "texts-missing", "the protocol and session texts can't be read");
        return;
    }
    ProtocolTextLines lines;
    const ProtocolTexts protocolTexts = ParseProtocolTexts(*textBytes, &sink, &lines);
    CheckCodepageBytes(*textBytes, sink);
    if (protocols)
        CheckProtocolTexts(*protocols, protocolTexts, lines, textsFile, sink);
}

} // namespace

std::optional<std::string> BitmapFault(std::string_view bytes) {
    if (bytes.size() < 26 || bytes.substr(0, 2) != "BM")
        return "is not a bitmap file";
    const uint32_t pixelsAt = ReadU32(bytes, 10);
    const uint32_t headerSize = ReadU32(bytes, 14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return "has a bitmap header of unknown size " + std::to_string(headerSize);
    if (bytes.size() < 14 + static_cast<size_t>(headerSize))
        return "ends inside its bitmap header";
    const bool core = headerSize == 12;
    const int64_t width = core ? ReadU16(bytes, 18) : static_cast<int32_t>(ReadU32(bytes, 18));
    const int64_t height = core ? ReadU16(bytes, 20) : static_cast<int32_t>(ReadU32(bytes, 22));
    const uint16_t planes = ReadU16(bytes, core ? 22 : 26);
    const uint16_t bits = ReadU16(bytes, core ? 24 : 28);
    const uint32_t compression = core ? 0 : ReadU32(bytes, 30);
    if (width <= 0 || height == 0 || planes != 1)
        return "has no sound size";
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return "has " + std::to_string(bits) + " bits per pixel";
    if (pixelsAt >= bytes.size())
        return "has no pixels";
    // Uncompressed rows are padded to four bytes; the file has to hold them all.
    if (compression == 0 || compression == 3) {
        const uint64_t row = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
        const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
        if (row * rows > bytes.size() - pixelsAt)
            return "ends before its last pixel row";
    } else if (compression > 3) {
        return "uses a compression a bitmap reader may not know";
    }
    return std::nullopt;
}

std::optional<std::string> WaveFault(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        return "is not a wave file";
    return std::nullopt;
}

void CheckCodepageBytes(std::string_view bytes, Diagnostics& sink) {
    TextLineReader reader(bytes);
    while (const std::optional<std::string> line = reader.next()) {
        for (const char c : *line) {
            const auto byte = static_cast<unsigned char>(c);
            const bool control = byte < 0x20 && byte != '\t';
            if (!control && CodepointOf(byte, Codepage::CentralEuropean) != 0xFFFD)
                continue;
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", byte);
            sink.lineWarning(
                reader.lineNumber(), "codepage-byte",
                std::string("byte ") + hex +
                    (control ? " is a control character" : " has no character in the Windows-1250 code page"));
            break; // one report a line is enough to find it
        }
    }
}

std::optional<std::vector<CheckedLanguage>>
LanguagesToCheck(const DataFolder& folder, const std::vector<std::string>& named, std::string& error) {
    const std::vector<LanguageEntry> listed = ReadLanguageList(folder).value_or(std::vector<LanguageEntry>{});
    const LoadedSettings settings = LoadSettings(folder.read(SettingsFileName));
    // The start-up folder: the one trv.cff's language leads to, otherwise the built-in one.
    std::string startName = settings.languageLineRead ? settings.settings.languageName : DefaultLanguageName;
    std::string startFolder = DefaultFolderCode;
    if (settings.languageLineRead)
        startFolder = ListedFolderCode(listed, startName).value_or(startFolder);

    std::vector<CheckedLanguage> languages;
    const auto add = [&languages](const std::string& name, const std::string& code, bool atStartUp) {
        for (CheckedLanguage& language : languages) {
            if (language.folderCode == code) {
                language.atStartUp = language.atStartUp || atStartUp;
                return;
            }
        }
        languages.push_back({name, code, atStartUp});
    };
    // Only a language line makes the start-up load a flag and texts that can end it.
    const bool startUpLoads = settings.languageLineRead;
    if (named.empty())
        add(startName, startFolder, startUpLoads);
    for (const LanguageEntry& entry : listed) {
        const bool wanted = named.empty() || std::find(named.begin(), named.end(), entry.name) != named.end();
        LanguagePaths paths;
        if (wanted && paths.setFolderCode(entry.folderCode))
            add(entry.name, std::string(paths.folderCode()), startUpLoads && paths.folderCode() == startFolder);
    }
    for (const std::string& name : named) {
        if (!ListedFolderCode(listed, name)) {
            error = "language \"" + name + "\" is not listed with a folder in " + LanguageListFileName;
            return std::nullopt;
        }
    }
    return languages;
}

Diagnostics CheckDataFolder(const DataFolder& folder, const std::vector<CheckedLanguage>& languages) {
    Diagnostics sink;
    CheckSettingsAndLanguageList(folder, sink);
    const std::optional<ProgramCatalogue> catalogue = CheckCatalogue(folder, sink);
    sink.setFile(ProtocolFileName);
    const ProtocolFileResult protocols = LoadProtocolFile(folder.read(ProtocolFileName), &sink);
    const ProtocolFile* protocolFile = protocols.outcome.ok() ? &protocols.file : nullptr;
    if (protocolFile && catalogue)
        CheckProtocolLists(*protocolFile, catalogue->programCount(), sink);
    CheckErrorSound(folder, sink);

    std::vector<NamedPrograms> names;
    for (const CheckedLanguage& language : languages) {
        LanguagePaths paths;
        paths.setFolderCode(language.folderCode);

        // Flag, captions and messages, as a language is applied.
        CheckedFlag flag(sink, ShownPath(paths.path(LanguageFile::Flag)), language.atStartUp);
        LanguageTexts texts;
        const LanguageLoadStage stage = ApplyLanguageTexts(folder, paths, flag, texts, &sink);
        CheckLanguageTexts(folder, paths, texts, stage, sink);
        CheckTextFileBytes(folder, paths.path(LanguageFile::Captions), sink);
        CheckTextFileBytes(folder, paths.path(LanguageFile::Messages), sink);

        // Names and protocol texts, as the catalogue texts are loaded.
        if (std::optional<NamedPrograms> named =
                CheckProgramNames(folder, paths, catalogue ? &*catalogue : nullptr, sink))
            names.push_back(std::move(*named));
        CheckProtocolTextFile(folder, paths, protocolFile, sink);
    }
    for (size_t k = 1; k < names.size(); ++k)
        CompareNames(names[0], names[k], sink);
    return sink;
}

} // namespace trv
