#include "data/LanguageSelection.h"

#include "data/Codepage.h"
#include "data/Log.h"
#include "data/TextLines.h"

namespace trv {

std::vector<LanguageEntry> ParseLanguageList(std::string_view fileBytes, Diagnostics* sink) {
    std::vector<LanguageEntry> entries;
    std::vector<int> lineOf;
    TextLineReader reader(fileBytes);
    while (const std::optional<std::string> read = reader.next()) {
        const std::string& line = *read;
        if (line.empty())
            continue;
        LanguageEntry entry;
        const size_t space = line.find(' ');
        entry.name = line.substr(0, space);
        size_t codeStart = std::string::npos;
        if (space != std::string::npos) {
            codeStart = line.find_first_not_of(' ', space);
            if (codeStart != std::string::npos && line.size() - codeStart >= FolderCodeLength)
                entry.folderCode = line.substr(codeStart, FolderCodeLength);
        }
        if (sink) {
            const int at = reader.lineNumber();
            const std::string shown = DecodeToUtf8(entry.name, Codepage::CentralEuropean);
            if (entry.name.empty())
                sink->lineWarning(at, "language-no-name", "the line starts with a space, so its language has no name");
            if (entry.folderCode.empty())
                sink->lineWarning(at, "language-no-folder",
                                  "language \"" + shown + "\" has no three-character folder code after the name");
            else if (LanguagePaths().setFolderCode(entry.folderCode) == false)
                sink->lineWarning(at, "language-bad-folder",
                                  "the folder code of \"" + shown + "\" holds a path separator and is never used");
            else if (codeStart + FolderCodeLength < line.size())
                sink->lineWarning(at, "language-long-folder",
                                  "only the first three characters after the name, \"" +
                                      DecodeToUtf8(entry.folderCode, Codepage::CentralEuropean) +
                                      "\", are the folder code");
            for (size_t k = 0; k < entries.size(); ++k) {
                if (entries[k].name == entry.name) {
                    sink->lineWarning(at, "language-twice",
                                      "language \"" + shown + "\" is listed on line " + std::to_string(lineOf[k]) +
                                          " already; this line is never used");
                    break;
                }
            }
            lineOf.push_back(at);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::vector<LanguageEntry>> ReadLanguageList(const DataFolder& folder) {
    const std::optional<std::string> bytes = folder.read(LanguageListFileName);
    if (!bytes)
        return std::nullopt;
    return ParseLanguageList(*bytes);
}

std::optional<std::string> ListedFolderCode(const std::vector<LanguageEntry>& listed, std::string_view name) {
    for (const LanguageEntry& entry : listed) {
        if (entry.name == name) {
            if (!LanguagePaths().setFolderCode(entry.folderCode))
                return std::nullopt;
            return entry.folderCode;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ListedFolderCode(const DataFolder& folder, std::string_view name) {
    const std::optional<std::vector<LanguageEntry>> listed = ReadLanguageList(folder);
    return listed ? ListedFolderCode(*listed, name) : std::nullopt;
}

std::string AcceptLanguageName(std::string_view typed) {
    return std::string(typed.substr(0, MaxLanguageNameLength));
}

LanguageLoadStage ApplyLanguageTexts(const DataFolder& folder, const LanguagePaths& paths, FlagPicture& flag,
                                     LanguageTexts& texts, Diagnostics* sink) {
    const std::string& flagPath = paths.path(LanguageFile::Flag);
    if (!flag.loadFlag(folder.nativePath(flagPath), folder.read(flagPath))) {
        TRV_LOG(LogCategory::Data, LogLevel::Warning, flagPath << " is missing or no bitmap: the language is refused");
        return LanguageLoadStage::FlagFailed;
    }

    const std::string& captionPath = paths.path(LanguageFile::Captions);
    if (sink)
        sink->setFile(ShownPath(captionPath));
    const std::optional<std::string> captionBytes = folder.read(captionPath);
    if (!captionBytes) {
        if (sink) {
            sink->fileWarning("captions-missing", "can't be read: the windows keep their built-in English texts, and "
                                                  "msg.txt is not read either");
        }
        return LanguageLoadStage::CaptionsMissing;
    }
    TextLineReader captionFile(*captionBytes);
    for (std::string& text : texts.mainTexts)
        text = ReadTextLine(captionFile, sink);
    FillTextTable(texts.captions, captionFile, sink);

    const std::string& messagePath = paths.path(LanguageFile::Messages);
    if (sink)
        sink->setFile(ShownPath(messagePath));
    const std::optional<std::string> messageBytes = folder.read(messagePath);
    if (!messageBytes) {
        if (sink)
            sink->fileWarning("messages-missing", "can't be read: every message shows its built-in English text");
        return LanguageLoadStage::MessagesMissing;
    }
    TextLineReader messageFile(*messageBytes);
    FillTextTable(texts.messages, messageFile, sink);
    return LanguageLoadStage::Complete;
}

LanguageSelection SelectLanguage(std::string_view languageName, const DataFolder& folder, LanguagePaths& paths,
                                 FlagPicture& flag, LanguageTexts& texts) {
    LanguageSelection selection;
    const std::string_view name = languageName.substr(0, languageName.find('\n'));
    if (const std::optional<std::string> code = ListedFolderCode(folder, name))
        selection.listed = paths.setFolderCode(*code);
    selection.stage = ApplyLanguageTexts(folder, paths, flag, texts);
    return selection;
}

} // namespace trv
