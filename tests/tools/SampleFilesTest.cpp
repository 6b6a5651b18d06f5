#include "MinimalSource.h"

#include "tools/trvgen/SampleFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace trv::gen {
namespace {

using namespace std::string_literals;

uint32_t u32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(at + i))) << (8 * i);
    return v;
}

class SampleFiles : public testing::Test {
protected:
    SampleSource source = readSampleSource(test::minimalSource());
};

TEST_F(SampleFiles, CatalogueHasHeaderIndexStepsAndEndRecord) {
    const std::string tvb = catalogueFile(source);
    // 16 header bytes, 3 index entries, 7 raw steps and the end record.
    ASSERT_EQ(tvb.size(), 16u + 3 * 8 + 8 * 20);
    EXPECT_EQ(tvb.substr(0, 16), "TVB\0\x07\0\x03\0\0\0\0\0\0\0\0\0"s);
    // Program 1 runs A, A, B; program 2 A, B, C; program 3 C.
    EXPECT_EQ(u32At(tvb, 16), 0u);
    EXPECT_EQ(u32At(tvb, 20), 150u);
    EXPECT_EQ(u32At(tvb, 24), 60u);
    EXPECT_EQ(u32At(tvb, 28), 135u);
    EXPECT_EQ(u32At(tvb, 32), 120u);
    EXPECT_EQ(u32At(tvb, 36), 45u);
    // Raw step 2 is B: word 30, nine device bytes, padding 01, frequency 1000, span 500.
    EXPECT_EQ(tvb.substr(40 + 2 * 20, 20), "\x1E\0\x28\xF7\xF7\xF0\0\0\x35\xF5\xD8\x01\xE8\x03\0\0\xF4\x01\0\0"s);
    EXPECT_EQ(tvb.substr(40 + 7 * 20), "\xFF\xFF"s + std::string(18, '\0'));
}

TEST_F(SampleFiles, NamesFilesListTheLanguagesOrderWithTheirChecksum) {
    // 2 Back: 50+32+66+97+99+107 = 451; 3 Calm: 464; 1 Sleep: 586.
    EXPECT_EQ(namesFile(source, 0), "#7\r\n2 Back\r\n3 Calm\r\n1 Sleep\r\n#1501 3\r\n");
    // á is 0xE1 in 1250 and counts as -31: 1 Alvás 456, 2 Hát 239, 3 Nyugalom 927.
    EXPECT_EQ(namesFile(source, 1), "#7\r\n1 Alv\xE1s\r\n2 H\xE1t\r\n3 Nyugalom\r\n#1622 3\r\n");
}

TEST(NamesChecksum, IsTheTruncatingRemainderOfTheSignedByteSum) {
    EXPECT_EQ(NamesChecksum({}), 0);
    EXPECT_EQ(NamesChecksum({"\x80"}), -128);
    EXPECT_EQ(NamesChecksum({std::string(600, 'x')}), 600 * 120 - 65536);
    // -70000 leaves -4464, not the floored 61072.
    EXPECT_EQ(NamesChecksum({std::string(70000, '\xFF')}), -4464);
    EXPECT_EQ(NamesChecksum({"1 a", "\x7F"}), 49 + 32 + 97 + 127);
}

TEST_F(SampleFiles, ProtocolFileHoldsSessionsThenTenItemsAndElectrodesPerProtocol) {
    const std::string spb = protocolFile(source);
    ASSERT_EQ(spb.size(), 64u + 2 * 64 + 2 * 800);
    EXPECT_EQ(spb.substr(0, 8), "TVX\x01\x02\0\x02\0"s);
    EXPECT_EQ(spb.substr(8, 56), std::string(56, '\0'));
    // Session 1: 1 2 3, then zeros up to slot 16.
    EXPECT_EQ(u32At(spb, 128), 1u);
    EXPECT_EQ(u32At(spb, 136), 3u);
    EXPECT_EQ(u32At(spb, 140), 0u);
    const size_t protocol0 = 64 + 2 * 64;
    EXPECT_EQ(u32At(spb, protocol0 + 64), 2u); // item 1: 2 3 1
    EXPECT_EQ(u32At(spb, protocol0 + 72), 1u);
    EXPECT_EQ(u32At(spb, protocol0 + 128), 0u); // item 2 doesn't exist
    // Item 1's electrode record: not read, A, B, C.
    EXPECT_EQ(u32At(spb, protocol0 + 640 + 16), 0u);
    EXPECT_EQ(u32At(spb, protocol0 + 640 + 20), 3u);
    EXPECT_EQ(u32At(spb, protocol0 + 640 + 24), 1u);
    EXPECT_EQ(u32At(spb, protocol0 + 640 + 28), 2u);
    EXPECT_EQ(spb.substr(protocol0 + 640 + 32, 16 * 8), std::string(16 * 8, '\0'));
    const size_t protocol1 = protocol0 + 800;
    EXPECT_EQ(u32At(spb, protocol1), 2u);
    EXPECT_EQ(u32At(spb, protocol1 + 640 + 4), 2u);
}

TEST_F(SampleFiles, ProtocolTextsHaveTheirThreeSectionsWithIndentedItems) {
    EXPECT_EQ(protocolTextsFile(source, 0), "#E\r\nHand L\r\nHand R\r\nFoot\r\n"
                                            "#P\r\nRest\r\n  Night\r\n  Day\r\nBack\r\n  Whole\r\n"
                                            "#S\r\nShort\r\nLong\r\n");
    EXPECT_EQ(protocolTextsFile(source, 1).substr(0, 15), "#E\r\nBal k\xE9z\r\nJo");
}

TEST_F(SampleFiles, TextFilesEndWhereTheTablesMustStop) {
    const std::string msg = messageFile(source, 0);
    EXPECT_EQ(msg.substr(0, 8), "M0\r\nM1\r\n");
    EXPECT_EQ(msg.substr(msg.size() - 5), "M45\r\n");

    const std::string caphint = captionFile(source, 1);
    EXPECT_EQ(caphint.substr(0, 8), "L1\r\nL2\r\n");
    // Line 37 is caption 0; the table ends with an empty line after caption 44.
    EXPECT_NE(caphint.find("L36\r\nC0\r\n"), std::string::npos);
    EXPECT_EQ(caphint.substr(caphint.size() - 7), "C44\r\n\r\n");

    EXPECT_EQ(languageList(source), "English ENG\r\nMagyar HUN\r\n");
}

TEST_F(SampleFiles, TheFolderHoldsEveryFileAndFirstStartSettings) {
    const FileSet folder = sampleFolder(source);
    std::vector<std::string> names;
    for (const auto& entry : folder)
        names.push_back(entry.first);
    const std::vector<std::string> expected = {"ENG/caphint.txt", "ENG/flag.bmp",    "ENG/msg.txt",  "ENG/trvimpr.tvn",
                                               "ENG/vorlix.spn",  "HUN/caphint.txt", "HUN/flag.bmp", "HUN/msg.txt",
                                               "HUN/trvimpr.tvn", "HUN/vorlix.spn",  "bom.wav",      "language.fld",
                                               "trv.cff",         "trvimpr.tvb",     "vorlix.spb"};
    EXPECT_EQ(names, expected);
}

} // namespace
} // namespace trv::gen
