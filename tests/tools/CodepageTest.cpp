#include "data/Codepage.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace trv {
namespace {

struct ByteCase {
    Codepage page;
    unsigned char byte;
    const char* utf8;
};

void PrintTo(const ByteCase& c, std::ostream* os) {
    *os << (c.page == Codepage::CentralEuropean ? "1250 " : "1252 ") << std::hex << int{c.byte};
}

class CodepageDecode : public testing::TestWithParam<ByteCase> {};

TEST_P(CodepageDecode, GivesTheCharacterOfThePage) {
    const ByteCase& c = GetParam();
    EXPECT_EQ(DecodeToUtf8(std::string(1, static_cast<char>(c.byte)), c.page), c.utf8);
}

constexpr Codepage CE = Codepage::CentralEuropean;
constexpr Codepage W = Codepage::Western;

INSTANTIATE_TEST_SUITE_P(HighBytes, CodepageDecode,
                         testing::Values(ByteCase{CE, 0xF5, "ő"}, ByteCase{CE, 0xFB, "ű"}, ByteCase{CE, 0xD5, "Ő"},
                                         ByteCase{CE, 0xDB, "Ű"}, ByteCase{CE, 0xE9, "é"}, ByteCase{W, 0xE9, "é"},
                                         ByteCase{CE, 0x80, "€"}, ByteCase{W, 0x80, "€"}, ByteCase{CE, 0x8A, "Š"},
                                         ByteCase{W, 0x8A, "Š"}, ByteCase{W, 0xF5, "õ"}, ByteCase{W, 0xFB, "û"},
                                         ByteCase{CE, 0x8C, "Ś"}, ByteCase{W, 0x8C, "Œ"}, ByteCase{CE, 0xA3, "Ł"},
                                         ByteCase{W, 0xA3, "£"}, ByteCase{CE, 0xFF, "˙"}, ByteCase{W, 0xFF, "ÿ"},
                                         ByteCase{W, 0x9F, "Ÿ"}, ByteCase{CE, 0xA0, "\u00A0"}, ByteCase{CE, 0x41, "A"},
                                         ByteCase{W, 0x7F, "\x7F"}));

constexpr std::array<unsigned char, 5> UndefinedCE = {0x81, 0x83, 0x88, 0x90, 0x98};
constexpr std::array<unsigned char, 5> UndefinedW = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

bool isUndefined(unsigned char byte, Codepage page) {
    const auto& list = page == CE ? UndefinedCE : UndefinedW;
    for (unsigned char b : list) {
        if (b == byte)
            return true;
    }
    return false;
}

TEST(Codepage, UndefinedBytesBecomeTheReplacementCharacterAndDoNotComeBack) {
    for (Codepage page : {CE, W}) {
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const auto b = static_cast<unsigned char>(byte);
            EXPECT_EQ(CodepointOf(b, page) == 0xFFFD, isUndefined(b, page)) << std::hex << byte;
        }
    }
    int unmapped = 0;
    EXPECT_EQ(EncodeFromUtf8("\xEF\xBF\xBD", CE, &unmapped), "?");
    EXPECT_EQ(unmapped, 1);
}

TEST(Codepage, EveryDefinedByteSurvivesARoundTrip) {
    for (Codepage page : {CE, W}) {
        for (int byte = 0; byte <= 0xFF; ++byte) {
            const auto b = static_cast<unsigned char>(byte);
            if (isUndefined(b, page))
                continue;
            const std::string original(1, static_cast<char>(b));
            int unmapped = -1;
            EXPECT_EQ(EncodeFromUtf8(DecodeToUtf8(original, page), page, &unmapped), original) << std::hex << byte;
            EXPECT_EQ(unmapped, 0);
        }
    }
}

TEST(Codepage, TextRoundTripsThroughItsPageAndLosesWhatTheOtherPageLacks) {
    const std::string hungarian = "Árvíztűrő tükörfúrógép";
    const std::string bytes = EncodeFromUtf8(hungarian, CE);
    EXPECT_EQ(bytes, "\xC1rv\xEDzt\xFBr\xF5 t\xFCk\xF6rf\xFAr\xF3g\xE9p");
    EXPECT_EQ(DecodeToUtf8(bytes, CE), hungarian);
    // Runs of letters above ASCII, at either end.
    EXPECT_EQ(DecodeToUtf8("\xE9\xE1x\xF5\xFB", CE), "éáxőű");

    int unmapped = 0;
    EXPECT_EQ(EncodeFromUtf8(hungarian, W, &unmapped), "\xC1rv\xEDzt?r? t\xFCk\xF6rf\xFAr\xF3g\xE9p");
    EXPECT_EQ(unmapped, 2);
}

TEST(Codepage, LineEndsAndControlBytesPassUnchanged) {
    const std::string text = "a\r\nb\tc\0d";
    EXPECT_EQ(DecodeToUtf8(text, W), text);
    EXPECT_EQ(EncodeFromUtf8(text, CE), text);
}

struct MalformedCase {
    const char* utf8;
    const char* expected;
    int unmapped;
};

TEST(Codepage, MalformedUtf8BecomesOneQuestionMarkPerBadByte) {
    const MalformedCase cases[] = {
        {"a\x80"
         "b",
         "a?b", 1},         // stray continuation byte
        {"x\xC5", "x?", 1}, // truncated at the end
        {"\xC5"
         "a",
         "?a", 1},                       // lead byte without its continuation
        {"\xC0\xAF", "??", 2},           // overlong '/'
        {"\xED\xA0\x80", "???", 3},      // a surrogate
        {"\xF4\x90\x80\x80", "????", 4}, // beyond U+10FFFF
        {"\xF0\x9F\x98\x80", "?", 1},    // well-formed, but no code page has it
    };
    for (const MalformedCase& c : cases) {
        int unmapped = 0;
        EXPECT_EQ(EncodeFromUtf8(c.utf8, CE, &unmapped), c.expected) << c.expected;
        EXPECT_EQ(unmapped, c.unmapped) << c.expected;
    }
}

TEST(Codepage, ByteOfFindsTheSameCharacterAtDifferentPlaces) {
    EXPECT_EQ(ByteOf(U'Š', CE), 0x8A);
    EXPECT_EQ(ByteOf(U'Š', W), 0x8A);
    EXPECT_EQ(ByteOf(U'Ł', CE), 0xA3);
    EXPECT_EQ(ByteOf(U'Ł', W), std::nullopt);
    EXPECT_EQ(ByteOf(U'ÿ', W), 0xFF);
    EXPECT_EQ(ByteOf(U'ÿ', CE), std::nullopt);
}

} // namespace
TEST(Codepage, AppendUtf8WritesEachLengthAndReplacesWhatUtf8CannotCarry) {
    const struct {
        char32_t c;
        std::string utf8;
    } cases[] = {
        {U'A', "A"},
        {0xE9, "\xC3\xA9"},
        {0x20AC, "\xE2\x82\xAC"},
        {0x1F600, "\xF0\x9F\x98\x80"},
        {0xD800, "\xEF\xBF\xBD"},   // a lone surrogate
        {0x110000, "\xEF\xBF\xBD"}, // beyond Unicode
    };
    for (const auto& c : cases) {
        std::string out;
        AppendUtf8(out, c.c);
        EXPECT_EQ(out, c.utf8) << static_cast<uint32_t>(c.c);
    }
}

} // namespace trv
