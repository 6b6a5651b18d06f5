#include "data/Settings.h"
#include "CatalogueTestFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

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
    EXPECT_EQ(SettingsFileBytes(settings), "0\r\nNum\r\nEnglish\r\n");
    settings = {4, ListOrder::Alphabetical, "Magyar"};
    EXPECT_EQ(SettingsFileBytes(settings), "4\r\nAlpha\r\nMagyar\r\n");

    test::TempFolder temp;
    temp.write("trv.cff", "7\r\nNum\r\nOld\r\n");
    ASSERT_TRUE(SaveSettings(temp.folder(), settings));
    const LoadedSettings again = LoadSettings(temp.folder().read(SettingsFileName));
    EXPECT_EQ(again.settings, settings);
}

// What the user did to trv.cff outlives the save: its mode, a link in its place, a read-only file.
class SettingsFile : public ::testing::Test {
protected:
    static constexpr const char* OldBytes = "1\r\nNum\r\nOld\r\n";
    const Settings settings{2, ListOrder::Alphabetical, "Magyar"};
    test::TempFolder temp;

    std::filesystem::path file(const std::string& name) const { return std::filesystem::path(temp.path()) / name; }
    static mode_t modeOf(const std::filesystem::path& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 0777;
    }
};

TEST_F(SettingsFile, KeepsTheFileMode) {
    temp.write("trv.cff", OldBytes);
    ASSERT_EQ(::chmod(file("trv.cff").c_str(), 0640), 0);
    ASSERT_TRUE(SaveSettings(temp.folder(), settings));
    EXPECT_EQ(temp.folder().read(SettingsFileName), SettingsFileBytes(settings));
    EXPECT_EQ(modeOf(file("trv.cff")), 0640u);
}

TEST_F(SettingsFile, ALinkStaysALinkAndItsTargetGetsTheSettings) {
    temp.write("shared/real.cff", OldBytes);
    std::filesystem::create_symlink("shared/real.cff", file("trv.cff"));
    ASSERT_TRUE(SaveSettings(temp.folder(), settings));
    EXPECT_TRUE(std::filesystem::is_symlink(file("trv.cff")));
    EXPECT_EQ(temp.folder().read("shared/real.cff"), SettingsFileBytes(settings));
    // The temporary was made next to the target and renamed onto it.
    std::vector<std::string> shared;
    for (const auto& entry : std::filesystem::directory_iterator(file("shared")))
        shared.push_back(entry.path().filename().string());
    EXPECT_EQ(shared, std::vector<std::string>{"real.cff"});
}

TEST_F(SettingsFile, AReadOnlyFileIsLeftAlone) {
    temp.write("trv.cff", OldBytes);
    // No write bit at all: refused for root as well, who may write anything.
    ASSERT_EQ(::chmod(file("trv.cff").c_str(), 0444), 0);
    EXPECT_FALSE(SaveSettings(temp.folder(), settings));
    EXPECT_EQ(temp.folder().read(SettingsFileName), OldBytes);
    EXPECT_EQ(modeOf(file("trv.cff")), 0444u);
    EXPECT_EQ(temp.entries(), std::vector<std::string>{"trv.cff"});
}

TEST(Settings, FirstLineSevenIsWrittenBackAsZero) {
    EXPECT_EQ(SettingsFileBytes(LoadSettings(std::string("7\r\nNum\r\nEnglish\r\n")).settings),
              "0\r\nNum\r\nEnglish\r\n");
}

} // namespace
} // namespace trv
