#include "data/ProgramNames.h"
#include "CatalogueTestFiles.h"
#include "data/CatalogueTexts.h"
#include "data/MessageNumbers.h"
#include "data/NumberText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

namespace trv {
namespace {

using test::catalogueWithTimes;
using test::namesFile;

TEST(Labels, ShortLabelCutsNamesLongerThan24) {
    const std::string name24(24, 'a');
    EXPECT_EQ(ShortLabel(7, "Example"), "  7 Example");
    EXPECT_EQ(ShortLabel(7, name24), "  7 " + name24);
    const std::string cut = ShortLabel(123, name24 + "b");
    EXPECT_EQ(cut, "123 " + name24 + "...");
    EXPECT_EQ(cut.size(), 31u);
}

TEST(Labels, LongLabelCutsLinesLongerThan60AndDropsTheNumber) {
    EXPECT_EQ(LongLabel("7 Example", 300), "Example [05:00]");
    const std::string line60 = "12   " + std::string(55, 'x');
    EXPECT_EQ(LongLabel(line60, 61), std::string(55, 'x') + " [01:01]");
    EXPECT_EQ(LongLabel(line60 + "y", 0), std::string(55, 'x') + "... [00:00]");
    EXPECT_EQ(LongLabel("3 Long run", 6000), "Long run [100:00]");
}

class NamesFile : public ::testing::Test {
protected:
    ProgramCatalogue catalogue = catalogueWithTimes(42, {300, 60, 6000});
    std::vector<std::string> lines{"2 Beta", "3   Gamma", "1 Alpha"};

    int messageFor(const std::string& bytes) { return ParseProgramNames(bytes, catalogue).outcome.message; }
};

TEST_F(NamesFile, BuildsLabelsOrderAndBothListOrders) {
    ProgramNamesResult result = ParseProgramNames(namesFile(42, lines, "\n"), catalogue);
    ASSERT_TRUE(result.outcome.ok());
    catalogue.applyNames(std::move(result.names));
    EXPECT_EQ(catalogue.nameOrder(), (std::vector<int>{2, 3, 1}));
    EXPECT_EQ(catalogue.program(3)->shortLabel, "  3 Gamma");
    EXPECT_EQ(*catalogue.longLabel(3), "Gamma [100:00]");
    EXPECT_EQ(catalogue.programListLines(ListOrder::Numerical),
              (std::vector<std::string>{"  1 Alpha [05:00]", "  2 Beta [01:00]", "  3 Gamma [100:00]"}));
    EXPECT_EQ(catalogue.programListLines(ListOrder::Alphabetical),
              (std::vector<std::string>{"Beta [01:00] (2)", "Gamma [100:00] (3)", "Alpha [05:00] (1)"}));
    EXPECT_EQ(catalogue.programIndexOfLine(ListOrder::Numerical, 1), 1);
    EXPECT_EQ(catalogue.programIndexOfLine(ListOrder::Alphabetical, 0), 1);
    EXPECT_EQ(catalogue.programIndexOfLine(ListOrder::Alphabetical, 2), 0);
    EXPECT_EQ(catalogue.programIndexOfLine(ListOrder::Alphabetical, 3), -1);
    EXPECT_EQ(catalogue.longLabel(0), nullptr);
    EXPECT_EQ(catalogue.longLabel(4), nullptr);
}

TEST_F(NamesFile, ChecksumCountsBytesAbove0x7FAsNegative) {
    lines[0] = "2 B\xE9ta\xFF";
    EXPECT_TRUE(ParseProgramNames(namesFile(42, lines), catalogue).outcome.ok());
    // The same file with the checksum an unsigned sum would give is refused.
    long long unsignedSum = 0;
    for (const std::string& line : lines)
        for (char c : line)
            unsignedSum += static_cast<unsigned char>(c);
    std::string file = namesFile(42, lines);
    file.replace(file.rfind('#'), std::string::npos, "#" + std::to_string(unsignedSum % 65536) + " 3\r\n");
    EXPECT_EQ(messageFor(file), msg::NamesDamaged);
}

TEST(ProgramNamesChecksum, NegativeSumGivesNegativeRemainder) {
    EXPECT_EQ(NamesChecksum(-70000), -4464);
    EXPECT_EQ(NamesChecksum(70000), 4464);
}

TEST_F(NamesFile, RefusesDamagedAndMismatchedFiles) {
    const std::string good = namesFile(42, lines);
    std::string badChecksum = good;
    badChecksum.replace(badChecksum.rfind('#'), std::string::npos, "#1 3\r\n");
    const struct {
        const char* what;
        std::string bytes;
        int message;
    } cases[] = {
        {"empty file", "", msg::NamesDamaged},
        {"first line without #", "42\r\n" + good.substr(good.find('\n') + 1), msg::NamesDamaged},
        {"other version", namesFile(41, lines), msg::NamesMismatch},
        {"closing count not the catalogue's", namesFile(42, {"2 Beta", "1 Alpha"}), msg::NamesMismatch},
        {"fewer lines than the closing count",
         "#42\r\n2 Beta\r\n1 Alpha\r\n#" + std::to_string(test::checksumOf({"2 Beta", "1 Alpha"})) + " 3\r\n",
         msg::NamesDamaged},
        {"checksum differs", badChecksum, msg::NamesDamaged},
        {"no closing line", good.substr(0, good.rfind('#')), msg::NamesDamaged},
        {"closing line without numbers", good.substr(0, good.rfind('#')) + "#\r\n", msg::NamesDamaged},
        {"number above N", namesFile(42, {"2 Beta", "4 Gamma", "1 Alpha"}), msg::NamesDamaged},
        {"number 0", namesFile(42, {"2 Beta", "0 Gamma", "1 Alpha"}), msg::NamesDamaged},
        {"repeated number", namesFile(42, {"2 Beta", "2 Gamma", "1 Alpha"}), msg::NamesDamaged},
        {"no space after the number", namesFile(42, {"2 Beta", "3Gamma", "1 Alpha"}), msg::NamesDamaged},
        {"line without a number", namesFile(42, {"2 Beta", "Gamma", "1 Alpha"}), msg::NamesDamaged},
        {"other version and no closing line", "#41\r\n2 Beta\r\n", msg::NamesMismatch},
        {"damaged line and closing count not the catalogue's", namesFile(42, {"2Beta", "1 Alpha"}), msg::NamesMismatch},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(messageFor(c.bytes), c.message) << c.what;
        // The checker's parse, which goes on past the first fault, refuses with the same message.
        Diagnostics sink;
        EXPECT_EQ(ParseProgramNames(c.bytes, catalogue, &sink).outcome.message, c.message) << c.what;
        EXPECT_GT(sink.errorCount(), 0) << c.what;
    }
}

TEST(CatalogueTexts, ReadsFromTheLanguageFolderAndReportsMissingFiles) {
    test::TempFolder temp;
    const DataFolder folder = temp.folder();
    LanguagePaths paths;
    ProgramCatalogue catalogue = catalogueWithTimes(3, {60});
    ProtocolTexts texts;
    EXPECT_EQ(LoadCatalogueTexts(folder, paths, catalogue, texts).message, msg::NamesMissing);

    temp.write("ENG/trvimpr.tvn", namesFile(3, {"1 One"}));
    EXPECT_EQ(LoadCatalogueTexts(folder, paths, catalogue, texts).message, msg::ProtocolTextsMissing);
    EXPECT_FALSE(catalogue.hasNames());

    temp.write("ENG/vorlix.spn", "#S\r\nFirst session\r\n");
    ASSERT_TRUE(LoadCatalogueTexts(folder, paths, catalogue, texts).ok());
    EXPECT_EQ(*catalogue.longLabel(1), "One [01:00]");
    EXPECT_EQ(texts.sessionLines, std::vector<std::string>{"First session"});

    // Another language's folder is read after a change; its names replace the earlier ones.
    temp.write("DEU/trvimpr.tvn", namesFile(3, {"1 Eins"}));
    temp.write("DEU/vorlix.spn", "");
    paths.setFolderCode("DEU");
    ASSERT_TRUE(LoadCatalogueTexts(folder, paths, catalogue, texts).ok());
    EXPECT_EQ(catalogue.program(1)->shortLabel, "  1 Eins");
    EXPECT_TRUE(texts.sessionLines.empty());
}

TEST(ListOrder, ChangesOnlyWhenDifferent) {
    ProgramCatalogue catalogue;
    EXPECT_FALSE(catalogue.setListOrder(ListOrder::Numerical));
    EXPECT_TRUE(catalogue.setListOrder(ListOrder::Alphabetical));
    EXPECT_EQ(catalogue.listOrder(), ListOrder::Alphabetical);
}

// The list lines' numbers are formatted by hand; printf is the yardstick they must match.
TEST(NumberText, WritesWhatPrintfWritesForEveryWidthFillAndSign) {
    constexpr long long Smallest = std::numeric_limits<long long>::min();
    constexpr long long Largest = std::numeric_limits<long long>::max();
    const long long values[] = {0, 7, -7, 42, 999, 1000, -1000, 65535, INT32_MIN, Smallest, Largest};
    for (const long long value : values) {
        for (const int width : {0, 2, 3, 6}) {
            for (const char fill : {' ', '0'}) {
                char expected[64];
                std::snprintf(expected, sizeof expected, fill == '0' ? "%0*lld" : "%*lld", width, value);
                std::string written = "x";
                AppendNumber(written, value, width, fill);
                EXPECT_EQ(written, std::string("x") + expected)
                    << value << " width " << width << " fill '" << fill << "'";
            }
        }
    }
}

} // namespace
} // namespace trv
