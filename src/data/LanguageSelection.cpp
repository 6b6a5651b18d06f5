#include "data/LanguageSelection.h"

#include "data/TextLines.h"

namespace trv {

std::vector<LanguageEntry> parseLanguageList(std::string_view fileBytes) {
    std::vector<LanguageEntry> entries;
    for (const std::string& line : splitTextLines(fileBytes)) {
        if (line.empty())
            continue;
        LanguageEntry entry;
        const size_t space = line.find(' ');
        entry.name = line.substr(0, space);
        if (space != std::string::npos) {
            const size_t codeStart = line.find_first_not_of(' ', space);
            if (codeStart != std::string::npos && line.size() - codeStart >= FolderCodeLength)
                entry.folderCode = line.substr(codeStart, FolderCodeLength);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::vector<LanguageEntry>> readLanguageList(const DataFolder& folder) {
    const std::optional<std::string> bytes = folder.read(LanguageListFileName);
    if (!bytes)
        return std::nullopt;
    return parseLanguageList(*bytes);
}

std::string acceptLanguageName(std::string_view typed) {
    return std::string(typed.substr(0, MaxLanguageNameLength));
}

LanguageLoadStage ApplyLanguageTexts(const DataFolder& folder, const LanguagePaths& paths, FlagPicture& flag,
                                     LanguageTexts& texts) {
    const std::string& flagPath = paths.path(LanguageFile::Flag);
    if (!flag.loadFlag(folder.nativePath(flagPath), folder.read(flagPath)))
        return LanguageLoadStage::FlagFailed;

    const std::optional<std::string> captionBytes = folder.read(paths.path(LanguageFile::Captions));
    if (!captionBytes)
        return LanguageLoadStage::CaptionsMissing;
    TextLineReader captionFile(*captionBytes);
    for (std::string& text : texts.mainTexts)
        text = ReadTextLine(captionFile);
    fillTextTable(texts.captions, captionFile);

    const std::optional<std::string> messageBytes = folder.read(paths.path(LanguageFile::Messages));
    if (!messageBytes)
        return LanguageLoadStage::MessagesMissing;
    TextLineReader messageFile(*messageBytes);
    fillTextTable(texts.messages, messageFile);
    return LanguageLoadStage::Complete;
}

LanguageSelection SelectLanguage(std::string_view languageName, const DataFolder& folder, LanguagePaths& paths,
                                 FlagPicture& flag, LanguageTexts& texts) {
    LanguageSelection selection;
    const std::string_view name = languageName.substr(0, languageName.find('\n'));
    if (const std::optional<std::vector<LanguageEntry>> languages = readLanguageList(folder)) {
        for (const LanguageEntry& entry : *languages) {
            if (entry.name == name) {
                selection.listed = paths.setFolderCode(entry.folderCode);
                break;
            }
        }
    }
    selection.stage = ApplyLanguageTexts(folder, paths, flag, texts);
    return selection;
}

} // namespace trv
