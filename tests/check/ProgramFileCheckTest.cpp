// trv-check on program files: checked against the sample data as the application opens them,
// and listed as the device image the same program written as items gives.
#include "CatalogueTestFiles.h"
#include "check/CheckCommand.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace trv {
namespace {

using test::TempFolder;

TEST(ProgramFileCheck, ChecksAndListsProgramFilesAsTheApplicationReadsThem) {
    TempFolder files;
    // Program 6 is "Anxiety ease" in the sample's English names.
    files.write("good.trvp", R"({"format": "trv-program", "version": 1, "items": [
        {"type": "program", "number": 6, "name": "Anxiety ease"}, {"type": "pause", "minutes": 2, "seconds": 30},
        {"type": "wait"}, {"type": "program", "number": 75}]})");
    files.write("renamed.trvp", R"({"format": "trv-program", "version": 1, "items": [
        {"type": "program", "number": 6, "name": "Anxiety"}]})");
    files.write("unknown.trvp", R"({"format": "trv-program", "version": 1, "items": [
        {"type": "program", "number": 999}]})");
    const std::string good = files.path() + "/good.trvp";
    const std::string renamed = files.path() + "/renamed.trvp";
    const std::string unknown = files.path() + "/unknown.trvp";

    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"--program", good, TRV_SAMPLE_DATA}, CheckClean, "0 errors, 0 warnings\n", ""},
        {{"--program", renamed, TRV_SAMPLE_DATA},
         CheckClean,
         "warning: " + renamed +
             ": item 1, program 6, was saved as \"Anxiety\"; the catalogue calls it \"Anxiety ease\". The program "
             "was taken by its number.\n0 errors, 1 warning\n",
         ""},
        {{"--program", unknown, TRV_SAMPLE_DATA},
         CheckErrors,
         "error: " + unknown + ": item 1 is program 999, which the catalogue doesn't have.\n1 error, 0 warnings\n",
         ""},
        {{"--image", unknown, TRV_SAMPLE_DATA},
         CheckErrors,
         "",
         "trv-check: " + unknown + ": item 1 is program 999, which the catalogue doesn't have.\n"},
        {{"--program", good, "--language", "Nowhere", TRV_SAMPLE_DATA},
         CheckErrors,
         "",
         "trv-check: language.fld lists no language Nowhere\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + c.args[1]);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunCheckCommand(c.args, out, err), c.status);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str(), c.err);
    }

    // The file's image is the one of the same items written out.
    std::ostringstream fromFile;
    std::ostringstream fromItems;
    std::ostringstream err;
    ASSERT_EQ(RunCheckCommand({"--image", good, "--percent", "12", TRV_SAMPLE_DATA}, fromFile, err), CheckClean)
        << err.str();
    ASSERT_EQ(RunCheckCommand({"--image", "P6,T2:30,W,P75", "--percent", "12", TRV_SAMPLE_DATA}, fromItems, err),
              CheckClean);
    EXPECT_EQ(fromFile.str(), fromItems.str());
    EXPECT_FALSE(fromFile.str().empty());
}

} // namespace
} // namespace trv
