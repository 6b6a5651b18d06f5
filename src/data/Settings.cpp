#include "data/Settings.h"

#include <cstdio>

namespace trv {

namespace {

// Characters of each line before its line end: the reads take 4, 9 and 49 characters with the line end.
constexpr size_t FirstLineLength = 3;
constexpr size_t OrderLineLength = 8;

// "%d": leading white space, an optional sign, digits; nullopt when no digit follows.
std::optional<int> ScanInt(std::string_view text) {
    size_t pos = text.find_first_not_of(" \t\v\f\r");
    if (pos == std::string_view::npos)
        return std::nullopt;
    bool negative = false;
    if (text[pos] == '-' || text[pos] == '+')
        negative = text[pos++] == '-';
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9')
        return std::nullopt;
    int value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        value = value * 10 + (text[pos] - '0'); // at most three digits: no overflow
    return negative ? -value : value;
}

} // namespace

LoadedSettings LoadSettings(const std::optional<std::string>& fileBytes, Diagnostics* sink) {
    LoadedSettings loaded;
    if (!fileBytes) {
        if (sink)
            sink->fileWarning("settings-missing", "can't be read: the application starts in English with the "
                                                  "built-in texts and numerical order");
        return loaded;
    }
    Settings& settings = loaded.settings;
    TextLineReader file(*fileBytes);

    if (std::optional<std::string> line = file.next(FirstLineLength)) {
        const std::optional<int> value = ScanInt(*line);
        if (value)
            settings.firstLineValue = *value;
        if (sink && (!value || *value < 0 || *value > 4 || file.lastLength() > FirstLineLength))
            sink->lineWarning(1, "settings-first-line",
                              "the first line should be a number from 0 to 4; it is read as " +
                                  std::to_string(value && *value >= 0 && *value <= 4 ? *value : 0));
    }
    if (settings.firstLineValue < 0 || settings.firstLineValue > 4)
        settings.firstLineValue = 0;

    bool orderLineEnded = false;
    if (std::optional<std::string> line = file.next(OrderLineLength, &orderLineEnded)) {
        if (*line == "Alpha" && orderLineEnded)
            settings.listOrder = ListOrder::Alphabetical;
        else if (sink && !(*line == "Num" && file.lastLength() == 3))
            sink->lineWarning(2, "settings-order",
                              "the second line should be \"Alpha\" or \"Num\"; it is read as "
                              "the numerical order");
    }

    if (std::optional<std::string> line = file.next(MaxLanguageNameLength)) {
        if (sink && file.lastLength() > MaxLanguageNameLength)
            sink->lineWarning(3, "settings-name-cut",
                              "the language name is cut to its first " + std::to_string(MaxLanguageNameLength) +
                                  " characters");
        settings.languageName = std::move(*line);
        loaded.languageLineRead = true;
    } else if (sink) {
        sink->fileWarning("settings-no-language",
                          "there is no language line: no language texts are loaded at start-up");
    }
    return loaded;
}

std::string SettingsFileBytes(const Settings& settings) {
    char firstLine[32];
    std::snprintf(firstLine, sizeof firstLine, "%d\r\n", settings.firstLineValue);
    std::string bytes = firstLine;
    bytes += settings.listOrder == ListOrder::Alphabetical ? "Alpha\r\n" : "Num\r\n";
    bytes += AcceptLanguageName(settings.languageName);
    bytes += "\r\n";
    return bytes;
}

bool SaveSettings(const DataFolder& folder, const Settings& settings) {
    return folder.writeAtomically(SettingsFileName, SettingsFileBytes(settings));
}

} // namespace trv
