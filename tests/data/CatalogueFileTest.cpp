#include "data/CatalogueFile.h"
#include "CatalogueTestFiles.h"
#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace trv {
namespace {

using test::catalogueBytes;
using test::endWord;
using test::makeStep;

TEST(CatalogueHeader, TakesVersionCountAndRunningTimes) {
    const std::string bytes =
        catalogueBytes(0x1234, {{0, 300}, {40, 6000}}, {makeStep(1, 10), makeStep(2, 20), makeStep(3, 30)});
    const CatalogueHeaderResult result = ReadCatalogueHeader(bytes);
    ASSERT_TRUE(result.outcome.ok());
    EXPECT_EQ(result.header.catalogueVersion, 0x1234);
    EXPECT_EQ(result.header.programCount, 2);
    EXPECT_EQ(result.header.runningSeconds, (std::vector<uint32_t>{300, 6000}));
}

TEST(CatalogueHeader, MissingFileIsMessage1) {
    EXPECT_EQ(ReadCatalogueHeader(std::nullopt).outcome.message, msg::CatalogueMissing);
}

TEST(CatalogueHeader, RefusesUnsoundFilesWithMessage2) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20), makeStep(3, 30)};
    std::string badMagic = catalogueBytes(1, {{0, 1}}, steps);
    badMagic[2] = 'X';
    std::string tooMany = catalogueBytes(1, {}, {}, 551);
    tooMany.append(551 * 8, '\0');
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"short header", catalogueBytes(1, {}, {}).substr(0, 12)},
        {"bad magic", badMagic},
        {"551 programs", tooMany},
        {"offset not a multiple of 20", catalogueBytes(1, {{0, 1}, {30, 1}}, steps)},
        {"descending offsets", catalogueBytes(1, {{40, 1}, {20, 1}}, steps)},
        {"offset past the step area", catalogueBytes(1, {{0, 1}, {80, 1}}, steps)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadCatalogueHeader(c.bytes).outcome.message, msg::CatalogueDamaged) << c.what;
}

TEST(CatalogueHeader, AcceptsBoundaryLayouts) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20)};
    // Equal offsets give an empty program; an offset right at the end gives an empty last program.
    EXPECT_TRUE(ReadCatalogueHeader(catalogueBytes(1, {{0, 1}, {0, 1}, {40, 1}}, steps)).outcome.ok());
    std::string full = catalogueBytes(1, {}, {}, 550);
    full.append(550 * 8, '\0');
    EXPECT_TRUE(ReadCatalogueHeader(full).outcome.ok());
}

// A file that ends inside a step record has lost the steps of the programs at the end of the area;
// the application can't tell and takes it, the checker names those programs at the cut.
TEST(CatalogueHeader, ACutInsideAStepRecordIsAcceptedAndNamesTheProgramsWhoseStepsRunPastIt) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20), makeStep(3, 30)};
    const std::string whole = catalogueBytes(1, {{0, 1}, {20, 1}, {40, 1}}, steps);
    const std::string cutRecord = test::stepRecord(makeStep(4, 40)).substr(0, 11);
    const struct {
        const char* what;
        std::string bytes;
        std::string named; // empty: no warning
        long long offset;  // of the cut record: header, index, three whole records
    } cases[] = {
        {"cut inside the last program's steps", whole + cutRecord, "steps of program 3 run", 16 + 3 * 8 + 3 * 20},
        {"cut with empty programs at the end",
         catalogueBytes(1, {{0, 1}, {40, 1}, {60, 1}, {60, 1}}, steps) + cutRecord, "steps of programs 2, 3 and 4 run",
         16 + 4 * 8 + 3 * 20},
        {"ends at a record boundary", whole, "", 0},
        {"ends with its end word", whole + endWord(), "", 0},
        {"ends with the end word alone", whole + endWord().substr(0, 2), "", 0},
    };
    for (const auto& c : cases) {
        Diagnostics sink;
        EXPECT_TRUE(ReadCatalogueHeader(c.bytes, &sink).outcome.ok()) << c.what;
        EXPECT_TRUE(ReadCatalogueHeader(c.bytes).outcome.ok()) << c.what;
        const auto& problems = sink.problems();
        const auto cut = std::find_if(problems.begin(), problems.end(),
                                      [](const Problem& p) { return p.kind == "catalogue-cut-short"; });
        if (c.named.empty()) {
            EXPECT_TRUE(cut == problems.end()) << c.what;
            continue;
        }
        ASSERT_NE(cut, problems.end()) << c.what;
        EXPECT_EQ(cut->severity, Severity::Warning) << c.what;
        EXPECT_EQ(cut->record, 4) << c.what;
        EXPECT_EQ(cut->offset, c.offset) << c.what;
        EXPECT_NE(cut->text.find(c.named), std::string::npos) << c.what << ": " << cut->text;
    }
}

TEST(StepTable, BuildsStepRangesUpToTheEndWord) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20), makeStep(3, 30), makeStep(4, 40)};
    const std::string bytes =
        catalogueBytes(1, {{0, 60}, {20, 120}, {60, 180}}, steps) + endWord() + test::stepRecord(makeStep(9, 90));
    const StepTable table = LoadStepTable(bytes);
    ASSERT_EQ(table.programs.size(), 3u);
    const int expected[][3] = {{1, 0, 1}, {2, 1, 2}, {3, 3, 1}};
    for (size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(table.programs[k].number, expected[k][0]);
        EXPECT_EQ(table.programs[k].firstStep, expected[k][1]);
        EXPECT_EQ(table.programs[k].stepCount, expected[k][2]);
    }
    EXPECT_EQ(table.programs[2].runningSeconds, 180u);
    EXPECT_EQ(table.stepMap.size(), 4u); // the step after the end word is not read
}

// Two records written byte by byte with every byte different, the second above 0x7F: a field
// read from the wrong place, two fields swapped or a sign-extended byte shows.
TEST(StepTable, ReadsEveryFieldOfAStepRecordFromItsPlace) {
    std::string records;
    for (int b = 0; b < 20; ++b)
        records += static_cast<char>(0x01 + b);
    for (int b = 0; b < 20; ++b)
        records += static_cast<char>(0xC1 + b);
    const StepTable table = LoadStepTable(catalogueBytes(1, {{0, 60}}, {}) + records + endWord());
    ASSERT_EQ(table.distinctSteps.size(), 2u);
    EXPECT_EQ(table.stepMap, (std::vector<int>{0, 1}));
    const struct {
        uint16_t word;
        std::array<uint8_t, 9> deviceBytes;
        uint8_t padding;
        uint32_t frequency;
        uint32_t span;
    } expected[] = {
        {0x0201, {0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B}, 0x0C, 0x100F0E0D, 0x14131211},
        {0xC2C1, {0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB}, 0xCC, 0xD0CFCECD, 0xD4D3D2D1},
    };
    for (size_t k = 0; k < 2; ++k) {
        const ProgramStep& step = table.distinctSteps[k];
        EXPECT_EQ(step.stepWord, expected[k].word) << k;
        EXPECT_EQ(step.deviceBytes, expected[k].deviceBytes) << k;
        EXPECT_EQ(step.padding, expected[k].padding) << k;
        EXPECT_EQ(step.frequency, expected[k].frequency) << k;
        EXPECT_EQ(step.frequencySpan, expected[k].span) << k;
    }
}

TEST(StepTable, AreaEndsAtFileEndOrAtAPartialRecord) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20)};
    const std::string noEndWord = catalogueBytes(1, {{0, 1}}, steps);
    EXPECT_EQ(LoadStepTable(noEndWord).programs[0].stepCount, 2);
    const std::string partial = noEndWord + test::stepRecord(makeStep(3, 30)).substr(0, 19);
    EXPECT_EQ(LoadStepTable(partial).programs[0].stepCount, 2);
}

TEST(StepTable, StopsAfter28000Records) {
    std::vector<ProgramStep> steps;
    for (uint32_t k = 0; k < MaxRawSteps + 5; ++k)
        steps.push_back(makeStep(static_cast<uint16_t>(k % 1000), k));
    const StepTable table = LoadStepTable(catalogueBytes(1, {{0, 1}}, steps));
    EXPECT_EQ(table.programs[0].stepCount, MaxRawSteps);
    EXPECT_EQ(table.stepMap.size(), static_cast<size_t>(MaxRawSteps));
}

TEST(StepTable, UnsoundOffsetsNeverGiveNegativeOrOutOfRangeSteps) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20), makeStep(3, 30)};
    const std::string layouts[] = {
        catalogueBytes(1, {{40, 1}, {0, 1}, {20, 1}}, steps),
        catalogueBytes(1, {{0, 1}, {2000000000, 1}, {20, 1}}, steps), catalogueBytes(1, {{0, 1}, {7, 1}}, steps),
        catalogueBytes(1, {{0, 1}, {20, 1}}, {}, 600), // index runs past the end of the file
    };
    for (const std::string& bytes : layouts) {
        const StepTable table = LoadStepTable(bytes);
        for (const CatalogueProgram& program : table.programs) {
            EXPECT_GE(program.stepCount, 0);
            EXPECT_LE(program.firstStep + program.stepCount, static_cast<int>(table.stepMap.size()));
        }
    }
}

TEST(StepTable, StepsEqualButForPaddingShareOneEntryWithTheFirstPadding) {
    const std::vector<ProgramStep> steps{makeStep(5, 100, 0xAA), makeStep(6, 200), makeStep(5, 100, 0x55),
                                         makeStep(5, 100, 0xAA, 1)};
    const StepTable table = LoadStepTable(catalogueBytes(1, {{0, 1}, {40, 1}}, steps) + endWord());
    EXPECT_EQ(table.stepMap, (std::vector<int>{0, 1, 0, 2}));
    ASSERT_EQ(table.distinctSteps.size(), 3u);
    EXPECT_EQ(table.distinctSteps[0].padding, 0xAA);
    EXPECT_EQ(table.distinctSteps[2].deviceBytes[0], 1);
}

TEST(StepTable, AssembledCatalogueAnswersByNumber) {
    const std::vector<ProgramStep> steps{makeStep(1, 10), makeStep(2, 20), makeStep(1, 10)};
    const std::string bytes = catalogueBytes(7, {{0, 90}, {20, 30}}, steps);
    const CatalogueHeaderResult header = ReadCatalogueHeader(bytes);
    ASSERT_TRUE(header.outcome.ok());
    ProgramCatalogue catalogue;
    AssembleCatalogue(catalogue, header.header, LoadStepTable(bytes));
    EXPECT_EQ(catalogue.catalogueVersion(), 7);
    ASSERT_EQ(catalogue.programCount(), 2);
    EXPECT_EQ(catalogue.program(2)->firstStep, 1);
    EXPECT_EQ(catalogue.program(2)->stepCount, 2);
    EXPECT_EQ(catalogue.program(1)->runningSeconds, 90u);
    EXPECT_EQ(catalogue.stepMap(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(catalogue.program(3), nullptr);
}

} // namespace
} // namespace trv
