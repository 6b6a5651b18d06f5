#include "data/Settings.h"

#include <cstdio>

namespace trv {

namespace {

// Characters of each line before its line end: the reads take 4, 9 and 49 characters with the line end.
constexpr size_t FirstLineLength = 3;
constexpr size_t OrderLineLength = 8;

// "%d": leading white space, an optional sign, digits; nullopt when no digit follows.
std::optional<int> scanInt(std::string_view text) {
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

LoadedSettings LoadSettings(const std::optional<std::string>& fileBytes) {
    LoadedSettings loaded;
    if (!fileBytes)
        return loaded;
    Settings& settings = loaded.settings;
    TextLineReader file(*fileBytes);

    if (std::optional<std::string> line = file.next(FirstLineLength)) {
        if (std::optional<int> value = scanInt(*line))
            settings.firstLineValue = *value;
    }
    if (settings.firstLineValue < 0 || settings.firstLineValue > 4)
        settings.firstLineValue = 0;

    bool orderLineEnded = false;
    if (std::optional<std::string> line = file.next(OrderLineLength, &orderLineEnded)) {
        if (*line == "Alpha" && orderLineEnded)
            settings.listOrder = ListOrder::Alphabetical;
    }

    if (std::optional<std::string> line = file.next(MaxLanguageNameLength)) {
        settings.languageName = std::move(*line);
        loaded.languageLineRead = true;
    }
    return loaded;
}

std::string settingsFileBytes(const Settings& settings) {
    char firstLine[32];
    std::snprintf(firstLine, sizeof firstLine, "%d\r\n", settings.firstLineValue);
    std::string bytes = firstLine;
    bytes += settings.listOrder == ListOrder::Alphabetical ? "Alpha\r\n" : "Num\r\n";
    bytes += acceptLanguageName(settings.languageName);
    bytes += "\r\n";
    return bytes;
}

bool SaveSettings(const DataFolder& folder, const Settings& settings) {
    return folder.writeAtomically(SettingsFileName, settingsFileBytes(settings));
}

} // namespace trv
