#include "CatalogueTestFiles.h"
#include "data/LanguagePaths.h"
#include "data/TextLines.h"

#include <gtest/gtest.h>

namespace trv {
namespace {

TEST(LanguagePaths, BuiltInPathsAndFolderChange) {
    LanguagePaths paths;
    EXPECT_EQ(paths.path(LanguageFile::Messages), "ENG\\msg.txt");
    EXPECT_EQ(paths.path(LanguageFile::ProtocolTexts), "ENG\\vorlix.spn");
    EXPECT_EQ(paths.path(LanguageFile::ProgramNames), "ENG\\trvimpr.tvn");
    EXPECT_EQ(paths.path(LanguageFile::Captions), "ENG\\caphint.txt");
    EXPECT_EQ(paths.path(LanguageFile::Flag), "ENG\\flag.bmp");
    EXPECT_TRUE(paths.setFolderCode("DEUTSCH"));
    EXPECT_EQ(paths.path(LanguageFile::Flag), "DEU\\flag.bmp");
    EXPECT_FALSE(paths.setFolderCode("X"));
    EXPECT_EQ(paths.folderCode(), "DEU");
}

TEST(DataFolder, ReadsRelativeToTheRootWithStoredBackslash) {
    test::TempFolder temp;
    temp.write("ENG/msg.txt", std::string("a\0b", 3));
    const DataFolder folder = temp.folder();
    EXPECT_EQ(folder.read("ENG\\msg.txt"), std::string("a\0b", 3));
    EXPECT_EQ(folder.read("DEU\\msg.txt"), std::nullopt);
    EXPECT_EQ(folder.read("ENG"), std::nullopt); // a folder is not a file
}

TEST(DataFolder, AtomicWriteReplacesTheFileAndLeavesNoTemporary) {
    test::TempFolder temp;
    temp.write("trv.cff", "old contents that are longer\r\n");
    const DataFolder folder = temp.folder();
    ASSERT_TRUE(folder.writeAtomically("trv.cff", "new\r\n"));
    EXPECT_EQ(folder.read("trv.cff"), "new\r\n");
    EXPECT_EQ(temp.entries(), std::vector<std::string>{"trv.cff"});
}

TEST(DataFolder, FailedWriteKeepsTheOldFile) {
    test::TempFolder temp;
    EXPECT_FALSE(DataFolder(temp.path() + "/missing").writeAtomically("trv.cff", "x"));
    // A target that can't be replaced: the temporary is removed again.
    std::filesystem::create_directory(temp.path() + "/trv.cff");
    temp.write("trv.cff/keep", "1");
    EXPECT_FALSE(temp.folder().writeAtomically("trv.cff", "x"));
    EXPECT_EQ(temp.entries(), std::vector<std::string>{"trv.cff"});
    EXPECT_EQ(temp.folder().read("trv.cff/keep"), "1");
}

TEST(TextLines, SplitsOnCrLfOrLf) {
    EXPECT_EQ(SplitTextLines("a\r\nb\n\r\nc\rd"), (std::vector<std::string>{"a", "b", "", "c\rd"}));
    EXPECT_EQ(SplitTextLines("last\n"), std::vector<std::string>{"last"});
    EXPECT_TRUE(SplitTextLines("").empty());
}

TEST(TextLines, BoundedReadDropsTheRestOfTheLine) {
    TextLineReader reader("12345\r\nab\r\nxyz");
    bool ended = true;
    EXPECT_EQ(reader.next(3, &ended), "123");
    EXPECT_FALSE(ended);
    EXPECT_EQ(reader.next(3, &ended), "ab");
    EXPECT_TRUE(ended);
    EXPECT_EQ(reader.next(3, &ended), "xyz");
    EXPECT_FALSE(ended); // no line end at the end of the file
    EXPECT_EQ(reader.next(3), std::nullopt);
}

} // namespace
} // namespace trv
