// trv-check on a copy of the sample data with one planted problem at a time, on the sample data
// itself, through its command line, and its image listing against bytes written out by hand.
#include "CatalogueTestFiles.h"
#include "check/CheckCommand.h"
#include "check/CheckReport.h"
#include "check/FolderCheck.h"
#include "check/ImageListing.h"
#include "data/MessageNumbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace trv {
namespace {

using test::TempFolder;

// A copy of the sample data to plant problems in.
class SampleCopy {
public:
    SampleCopy() { std::filesystem::copy(TRV_SAMPLE_DATA, temp_.path(), std::filesystem::copy_options::recursive); }
    std::string path() const { return temp_.path(); }
    DataFolder folder() const { return temp_.folder(); }

    std::string read(const std::string& file) const { return folder().read(file).value(); }
    void write(const std::string& file, const std::string& bytes) const { temp_.write(file, bytes); }
    void remove(const std::string& file) const { std::filesystem::remove(std::filesystem::path(path()) / file); }
    void replace(const std::string& file, const std::string& from, const std::string& to) const {
        std::string bytes = read(file);
        const size_t at = bytes.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        write(file, bytes.replace(at, from.size(), to));
    }
    // The 1-based line that starts with the text.
    int lineStarting(const std::string& file, const std::string& start) const {
        std::istringstream lines(read(file));
        std::string line;
        for (int number = 1; std::getline(lines, line); ++number) {
            if (line.rfind(start, 0) == 0)
                return number;
        }
        ADD_FAILURE() << start << " not in " << file;
        return 0;
    }
    int lineCount(const std::string& file) const {
        const std::string bytes = read(file);
        return static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    }

private:
    TempFolder temp_;
};

Diagnostics checkAll(const DataFolder& folder) {
    std::string error;
    const auto languages = LanguagesToCheck(folder, {}, error);
    EXPECT_TRUE(languages) << error;
    return CheckDataFolder(folder, languages.value_or(std::vector<CheckedLanguage>{}));
}

std::string describe(const Diagnostics& found) {
    std::ostringstream out;
    WriteTextReport(out, DataFolder("."), found);
    return out.str();
}

TEST(FolderCheck, TheSampleDataHasNoErrorsAndOnlyItsKnownWarnings) {
    const Diagnostics found = checkAll(DataFolder(TRV_SAMPLE_DATA));
    EXPECT_EQ(found.errorCount(), 0) << describe(found);
    // Its long program name and its fifteen-program session are there on purpose.
    for (const Problem& problem : found.problems())
        EXPECT_TRUE(problem.kind == "names-cut-in-list" || problem.kind == "list-too-long") << describe(found);
}

struct Planted {
    const char* name;
    std::function<void(const SampleCopy&)> plant;
    std::string file;
    std::function<int(const SampleCopy&)> line; // 0: placed by record and offset, or the file as a whole
    int record;
    long long offset;
    Severity severity;
    int message;
    const char* kind;
};

TEST(FolderCheck, EachPlantedProblemIsReportedWithItsFileAndPlace) {
    const auto noLine = [](const SampleCopy&) { return 0; };
    const auto lineOf = [](const char* file, const char* start) {
        return [=](const SampleCopy& copy) { return copy.lineStarting(file, start); };
    };
    const Planted cases[] = {
        {"names line without a space after the number",
         [](const SampleCopy& c) { c.replace("ENG/trvimpr.tvn", "\n41 Allergy", "\n41Allergy"); }, "ENG/trvimpr.tvn",
         lineOf("ENG/trvimpr.tvn", "41Allergy"), 0, -1, Severity::Error, msg::NamesDamaged, "names-program-line"},
        {"names line whose number runs into letters, named as another language names another program",
         [](const SampleCopy& c) {
             // Were the line read as program 12, the Hungarian line of that name would be blamed.
             const std::string hungarian = c.read("HUN/trvimpr.tvn");
             const size_t at = hungarian.find("\n41 ") + 4;
             c.replace("ENG/trvimpr.tvn", "\n12 Jet lag",
                       "\n12abc " + hungarian.substr(at, hungarian.find('\r', at) - at));
         },
         "ENG/trvimpr.tvn", lineOf("ENG/trvimpr.tvn", "12abc"), 0, -1, Severity::Error, msg::NamesDamaged,
         "names-program-line"},
        {"names checksum",
         [](const SampleCopy& c) { c.replace("ENG/trvimpr.tvn", "Allergy season", "Allergy seasoN"); },
         "ENG/trvimpr.tvn", [](const SampleCopy& c) { return c.lineCount("ENG/trvimpr.tvn"); }, 0, -1, Severity::Error,
         msg::NamesDamaged, "names-checksum"},
        {"names of another catalogue version",
         [](const SampleCopy& c) { c.replace("HUN/trvimpr.tvn", "#1207", "#1206"); }, "HUN/trvimpr.tvn",
         [](const SampleCopy&) { return 1; }, 0, -1, Severity::Error, msg::NamesMismatch, "names-version"},
        {"names file missing", [](const SampleCopy& c) { c.remove("HUN/trvimpr.tvn"); }, "HUN/trvimpr.tvn", noLine, 0,
         -1, Severity::Error, msg::NamesMissing, "names-missing"},
        {"catalogue step offset off the record size",
         [](const SampleCopy& c) {
             std::string bytes = c.read("trvimpr.tvb");
             bytes[16 + 2 * 8] = static_cast<char>(bytes[16 + 2 * 8] + 1); // program 3's step offset
             c.write("trvimpr.tvb", bytes);
         },
         "trvimpr.tvb", noLine, 3, 0x20, Severity::Error, msg::CatalogueDamaged, "catalogue-step-offset"},
        {"protocol file cut short",
         [](const SampleCopy& c) {
             const std::string bytes = c.read("vorlix.spb");
             c.write("vorlix.spb", bytes.substr(0, bytes.size() - 10));
         },
         "vorlix.spb", noLine, 11, 64 + 6 * 64 + 10 * 800, Severity::Error, msg::ProtocolFileDamaged,
         "protocols-short"},
        {"protocol item naming a program the catalogue lacks",
         [](const SampleCopy& c) {
             std::string bytes = c.read("vorlix.spb");
             bytes[64 + 6 * 64 + 1] = 3; // protocol 1, item 1, first program: 3 x 256 + its low byte
             c.write("vorlix.spb", bytes);
         },
         "vorlix.spb", noLine, 1, 64 + 6 * 64, Severity::Warning, -1, "list-unknown-program"},
        {"protocol texts missing an item line",
         [](const SampleCopy& c) { c.replace("ENG/vorlix.spn", "  Evening routine\r\n", ""); }, "ENG/vorlix.spn",
         lineOf("ENG/vorlix.spn", "Relaxation and sleep"), 0, -1, Severity::Warning, -1, "texts-item-count"},
        {"flag that is no bitmap", [](const SampleCopy& c) { c.write("HUN/flag.bmp", "GIF89a"); }, "HUN/flag.bmp",
         noLine, 0, -1, Severity::Error, -1, "flag"},
        {"empty message line",
         [](const SampleCopy& c) { c.replace("ENG/msg.txt", "The battery of the device is low.", ""); }, "ENG/msg.txt",
         [](const SampleCopy&) { return 9; }, 0, -1, Severity::Warning, -1, "message-empty"},
        {"caption line over the text limit",
         [](const SampleCopy& c) {
             const std::string first = c.read("ENG/caphint.txt").substr(0, c.read("ENG/caphint.txt").find('\r'));
             c.replace("ENG/caphint.txt", first, first + std::string(120, 'x'));
         },
         "ENG/caphint.txt", [](const SampleCopy&) { return 1; }, 0, -1, Severity::Warning, -1, "text-cut"},
        {"byte without a character", [](const SampleCopy& c) { c.replace("HUN/vorlix.spn", "#P", "#P\x81"); },
         "HUN/vorlix.spn", lineOf("HUN/vorlix.spn", "#P"), 0, -1, Severity::Warning, -1, "codepage-byte"},
        {"language without a folder code",
         [](const SampleCopy& c) { c.write("language.fld", c.read("language.fld") + "Deutsch\r\n"); }, "language.fld",
         [](const SampleCopy&) { return 3; }, 0, -1, Severity::Warning, -1, "language-no-folder"},
        {"list order line misspelt", [](const SampleCopy& c) { c.replace("trv.cff", "Num", "Alfa"); }, "trv.cff",
         [](const SampleCopy&) { return 2; }, 0, -1, Severity::Warning, -1, "settings-order"},
    };
    for (const Planted& c : cases) {
        SCOPED_TRACE(c.name);
        SampleCopy copy;
        c.plant(copy);
        const int line = c.line(copy);
        const Diagnostics found = checkAll(copy.folder());
        const auto& problems = found.problems();
        const bool reported = std::any_of(problems.begin(), problems.end(), [&](const Problem& p) {
            return p.kind == c.kind && p.file == c.file && p.line == line && p.record == c.record &&
                   p.offset == c.offset && p.severity == c.severity && p.message == c.message;
        });
        EXPECT_TRUE(reported) << "line " << line << "\n" << describe(found);
        // Nothing is blamed on a file that was left alone.
        for (const Problem& p : problems)
            EXPECT_TRUE(p.file == c.file || p.kind == "names-cut-in-list" || p.kind == "list-too-long")
                << describe(found);
    }
}

TEST(CheckCommand, ExitStatusAndReportLines) {
    SampleCopy broken;
    broken.replace("ENG/trvimpr.tvn", "\n41 Allergy", "\n41Allergy");
    const int line = broken.lineStarting("ENG/trvimpr.tvn", "41Allergy");
    const std::string brokenLine = broken.path() + "/ENG/trvimpr.tvn:" + std::to_string(line) +
                                   ": error: no space follows the program number [message 4]\n";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out; // expected in the report
        std::string err; // expected among the usage messages
    } cases[] = {
        {{TRV_SAMPLE_DATA}, CheckClean, "0 errors, 3 warnings\n", ""},
        {{broken.path()}, CheckErrors, brokenLine, ""},
        {{"--json", broken.path()}, CheckErrors, "\"line\": " + std::to_string(line) + ", \"message\": 4", ""},
        {{"--language", "Magyar", broken.path()}, CheckClean, "0 errors", ""},
        {{"--language", "Klingon", TRV_SAMPLE_DATA}, CheckUsage, "", "not listed"},
        {{"--colour", TRV_SAMPLE_DATA}, CheckUsage, "", "unknown option --colour"},
        {{broken.path() + "/no-such-folder"}, CheckUsage, "", "not a folder that can be read"},
        {{"--percent", "256", "--image", "P1", TRV_SAMPLE_DATA}, CheckUsage, "", "0 to 255"},
        {{"--version"}, CheckClean, "trv-check ", ""},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCheckCommand(c.args, out, err), c.status) << c.args.front() << "\n" << out.str() << err.str();
        EXPECT_NE(out.str().find(c.out), std::string::npos) << out.str();
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    }
}

TEST(CheckReport, JsonStringsAreAsciiWithEveryOtherCharacterEscaped) {
    EXPECT_EQ(JsonString("a\"b\\c\nd\x01"), R"("a\"b\\c\nd\u0001")");
    EXPECT_EQ(JsonString("\xC3\xA9\xF0\x9F\x98\x80"), R"("\u00E9\uD83D\uDE00")"); // é and an emoji
    EXPECT_EQ(JsonString("\xE9x\xC0\xAF"), R"("\uFFFDx\uFFFD\uFFFD")");           // a 1250 byte, an overlong '/'
}

// Two one-step programs: 60 s and 90 s.
void writeSmallCatalogue(const TempFolder& folder) {
    using test::makeStep;
    folder.write("trvimpr.tvb",
                 test::catalogueBytes(1, {{0, 60}, {20, 90}}, {makeStep(30, 10), makeStep(60, 4)}) + test::endWord());
}

TEST(ImageListing, TheRequestsOfASmallProgramAreTheBytesWrittenOutByHand) {
    TempFolder folder;
    writeSmallCatalogue(folder);
    std::ostringstream out, err;
    ASSERT_EQ(RunCheckCommand({"--image", "P1,T0:30,W,P2", folder.path()}, out, err), CheckClean) << err.str();
    std::vector<std::string> hexLines;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line[0] != ' ' && line.rfind("Summary", 0) != 0)
            hexLines.push_back(line);
    }
    ASSERT_EQ(hexLines.size(), 6u) << out.str();
    EXPECT_EQ(hexLines[0], "C0 0E D0 04 02 00 02 00 50 72 6F 74 6F 63 6F 6C");
    EXPECT_EQ(hexLines[1], "C0 18 D1 00 50 01 00 00 00 01 00 3C 00 54 1E 00 57 50 02 00 01 00 01 00 5A 00 00");
    std::string indexs = "C0 3E D2 00 00 01";
    for (int k = 0; k < 58; ++k)
        indexs += " 00";
    EXPECT_EQ(hexLines[2], indexs);
    // Slots of 12 bytes: step word, nine device bytes (frequency codes of their own tests), padding.
    EXPECT_EQ(hexLines[3].substr(0, 17), "C0 1A D3 00 1E 00");
    EXPECT_EQ(hexLines[3].substr(12 * 3 + 12, 5), "3C 00");
    EXPECT_EQ(hexLines[3].size(), (4u + 24u) * 3 - 1);
    EXPECT_EQ(hexLines[4], "C0 01 D4");
    // Items 4, index 2, slots 2; item sum 142 + 114 + 87 + 174 = 0x0205; index sum 0 + 1.
    EXPECT_EQ(hexLines[5].substr(0, 26), "04 02 00 02 00 05 02 01 00");
}

TEST(ImageListing, ItemsTheMainWindowCouldNotComposeAreRefused) {
    TempFolder folder;
    writeSmallCatalogue(folder);
    const struct {
        std::string items;
        int status;
    } cases[] = {
        {"P0", CheckUsage},
        {"T0:00", CheckUsage},
        {"T1:5", CheckUsage},
        {"T100:00", CheckUsage},
        {"X", CheckUsage},
        {"P1,", CheckUsage},
        {"", CheckUsage},
        {"P3", CheckClean},  // one past the last program: the self-test
        {"P4", CheckErrors}, // composed from a list, refused by the build
        {"P1,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W", CheckClean},
        {"P1,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W,W", CheckUsage},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCheckCommand({"--image", c.items, folder.path()}, out, err), c.status) << c.items;
    }
}

} // namespace
} // namespace trv
