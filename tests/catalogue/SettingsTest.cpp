#include "catalogue/Settings.h"
#include "CatalogueTestFiles.h"

#include <gtest/gtest.h>

namespace trv {
namespace {

TEST(Settings, MissingFileGivesDefaults) {
    const LoadedSettings loaded = LoadSettings(std::nullopt);
    EXPECT_EQ(loaded.settings, Settings{});
    EXPECT_EQ(loaded.settings.languageName, "English");
    EXPECT_FALSE(loaded.languageLineRead);
}

TEST(Settings, ReadsAllThreeLinesWithEitherLineEnd) {
    for (const char* bytes : {"3\r\nAlpha\r\nMagyar\r\n", "3\nAlpha\nMagyar"}) {
        const LoadedSettings loaded = LoadSettings(std::string(bytes));
        EXPECT_EQ(loaded.settings.firstLineValue, 3);
        EXPECT_EQ(loaded.settings.listOrder, ListOrder::Alphabetical);
        EXPECT_EQ(loaded.settings.languageName, "Magyar");
        EXPECT_TRUE(loaded.languageLineRead);
    }
}

TEST(Settings, FirstLineOutsideZeroToFourBecomesZero) {
    const struct {
        const char* bytes;
        int value;
    } cases[] = {{"7\r\n", 0}, {"-1\r\n", 0}, {"4\r\n", 4}, {" 2\r\n", 2}, {"x\r\n", 0}, {"1234\r\n", 0}, {"", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LoadSettings(std::string(c.bytes)).settings.firstLineValue, c.value) << c.bytes;
}

TEST(Settings, OnlyAlphaWithLineEndIsAlphabetical) {
    const struct {
        const char* line2;
        ListOrder order;
    } cases[] = {{"Alpha\r\n", ListOrder::Alphabetical}, {"Num\r\n", ListOrder::Numerical},
                 {"alpha\r\n", ListOrder::Numerical},    {"Alphabet\r\n", ListOrder::Numerical},
                 {"Alpha \r\n", ListOrder::Numerical},   {"Alpha", ListOrder::Numerical}};
    for (const auto& c : cases)
        EXPECT_EQ(LoadSettings("0\r\n" + std::string(c.line2)).settings.listOrder, c.order) << c.line2;
}

TEST(Settings, OneLineFileReadsNoLanguageAndLongNameIsCut) {
    const LoadedSettings oneLine = LoadSettings(std::string("2\r\n"));
    EXPECT_EQ(oneLine.settings.listOrder, ListOrder::Numerical);
    EXPECT_FALSE(oneLine.languageLineRead);
    const LoadedSettings longName = LoadSettings("0\r\nNum\r\n" + std::string(50, 'n') + "\r\n");
    EXPECT_EQ(longName.settings.languageName, std::string(48, 'n'));
}

TEST(Settings, WritesExactBytesAtomically) {
    Settings settings;
    EXPECT_EQ(settingsFileBytes(settings), "0\r\nNum\r\nEnglish\r\n");
    settings = {4, ListOrder::Alphabetical, "Magyar"};
    EXPECT_EQ(settingsFileBytes(settings), "4\r\nAlpha\r\nMagyar\r\n");

    test::TempFolder temp;
    temp.write("trv.cff", "7\r\nNum\r\nOld\r\n");
    ASSERT_TRUE(SaveSettings(temp.folder(), settings));
    const LoadedSettings again = LoadSettings(temp.folder().read(SettingsFileName));
    EXPECT_EQ(again.settings, settings);
}

TEST(Settings, FirstLineSevenIsWrittenBackAsZero) {
    EXPECT_EQ(settingsFileBytes(LoadSettings(std::string("7\r\nNum\r\nEnglish\r\n")).settings),
              "0\r\nNum\r\nEnglish\r\n");
}

} // namespace
} // namespace trv
