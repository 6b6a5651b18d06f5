#include "MinimalSource.h"

#include "tools/trvgen/GeneratorError.h"

#include <gtest/gtest.h>

namespace trv::gen {
namespace {

using test::minimalSource;
using test::withReplaced;

TEST(SampleSource, ReadsStepsRepeatsRangesAndRunningTimes) {
    const SampleSource source = readSampleSource(minimalSource());
    EXPECT_EQ(source.catalogueVersion, 7);
    ASSERT_EQ(source.programs.size(), 3u);
    EXPECT_EQ(source.programs[0].steps, (std::vector<size_t>{0, 0, 1}));
    EXPECT_EQ(source.programs[0].runningSeconds, 150u);
    EXPECT_EQ(source.programs[1].steps, (std::vector<size_t>{0, 1, 2}));
    EXPECT_EQ(source.programs[1].runningSeconds, 135u);
    EXPECT_EQ(source.programs[1].names[1], "Hát");
    EXPECT_EQ(source.steps[1].padding, 0x01);
    EXPECT_EQ(source.steps[2].frequency, 1'000'000u);
    ASSERT_EQ(source.protocols.size(), 2u);
    EXPECT_EQ(source.protocols[0].items[1].programs, (std::vector<uint32_t>{2, 3, 1}));
    EXPECT_EQ(source.protocols[0].items[1].inputA, 3u);
    EXPECT_EQ(source.texts[1].messages[45], "M45");
    EXPECT_EQ(source.texts[0].captions.size(), 45u);
}

TEST(SampleSource, QuotedTextsKeepTheirOuterSpaces) {
    const SampleSource source =
        readSampleSource(withReplaced(minimalSource(), "ENG/captions.txt", "C15: C15", "C15: \" Program \""));
    EXPECT_EQ(source.texts[0].captions[15], " Program ");
}

struct Refusal {
    std::string what;
    std::string path;
    std::string from;
    std::string to;
    std::string message; // part of the error message
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.what;
}

class SampleSourceRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(SampleSourceRefuses, WithALocatedMessage) {
    const Refusal& r = GetParam();
    const FileSet files = withReplaced(minimalSource(), r.path, r.from, r.to);
    try {
        readSampleSource(files);
        FAIL() << r.what << ": accepted";
    } catch (const GeneratorError& e) {
        EXPECT_NE(std::string(e.what()).find(r.message), std::string::npos) << r.what << ": " << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SampleSourceRefuses,
    testing::Values(Refusal{"129 steps", "programs.csv", "A*2 B", "A*129", "at most 128 steps"},
                    Refusal{"code bits set", "steps.csv", "70 00 00 28", "70 01 00 28", "code bits"},
                    Refusal{"code bits of byte 3", "steps.csv", "29 B4 B4 70", "29 B4 B4 71", "code bits"},
                    Refusal{"end marker as a step word", "steps.csv", "A;60;", "A;65535;", "outside 1 to 65534"},
                    Refusal{"unknown step", "programs.csv", "A*2 B", "A*2 D", "no step D"},
                    Refusal{"backward range", "programs.csv", "A..C", "C..A", "runs backwards"},
                    Refusal{"program gap", "programs.csv", "3;Calm", "4;Calm", "numbered 1, 2, 3"},
                    Refusal{"unknown program", "sessions.csv", "1 2 3", "1 2 4", "no program 4"},
                    Refusal{"sixteen programs", "sessions.csv", "Short;Rövid;3",
                            "Short;Rövid;1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", "1 to 15 programs"},
                    Refusal{"electrode 0", "protocols.csv", "2;3;1", "2;3;0", "outside 1 to 3"},
                    Refusal{"electrode beyond the names", "protocols.csv", "2;3;1", "2;3;4", "outside 1 to 3"},
                    Refusal{"item before a protocol", "protocols.csv", "P;Rest;Pihenés;;;;\n", "",
                            "before the first protocol"},
                    Refusal{"eleven items", "protocols.csv", "P;Back;Hát;;;;\n",
                            "I;1;1;1;1;1;1\nI;2;2;1;1;1;1\nI;3;3;1;1;1;1\nI;4;4;1;1;1;1\nI;5;5;1;1;1;1\nI;6;6;1;1;1;1\n"
                            "I;7;7;1;1;1;1\nI;8;8;1;1;1;1\nI;9;9;1;1;1;1\nP;Back;Hát;;;;\n",
                            "at most 10 items"},
                    Refusal{"section-like name", "electrodes.csv", "1;Hand L", "1;#Hand L", "must not begin"},
                    Refusal{"name with a leading space", "programs.csv", "1;Sleep", "1; Sleep", "must not begin"},
                    Refusal{"electrode name of 20 characters", "electrodes.csv", "Hand L", "Hand electrode left!",
                            "longer than 19"},
                    Refusal{"names line of 99 characters", "programs.csv", "1;Sleep", "1;" + std::string(97, 'x'),
                            "longer than 98"},
                    Refusal{"text of 117 characters", "ENG/messages.txt", "7: M7", "7: " + std::string(117, 'x'),
                            "longer than 116"},
                    Refusal{"character outside the page", "HUN/messages.txt", "3: M3", "3: õ", "code page of HUN"},
                    Refusal{"message gap", "ENG/messages.txt", "12: M12\n", "", "expected message 12"},
                    Refusal{"message 45 missing", "ENG/messages.txt", "45: M45\n", "", "messages 0 to 45"},
                    Refusal{"empty message", "ENG/messages.txt", "5: M5", "5: ", "empty text"},
                    Refusal{"caption out of order", "HUN/captions.txt", "L36: L36\n", "", "expected L36"},
                    Refusal{"caption 44 missing", "ENG/captions.txt", "C44: C44\n", "", "C0 to C44"},
                    Refusal{"folder code of four", "languages.csv", "Magyar;HUN", "Magyar;HUNX", "three characters"},
                    Refusal{"short row", "steps.csv", "C;45;", "C;", "expected 6 cells"}));

TEST(SampleSource, RefusesAMissingFile) {
    FileSet files = minimalSource();
    files.erase("HUN/captions.txt");
    EXPECT_THROW(readSampleSource(files), GeneratorError);
}

} // namespace
} // namespace trv::gen
