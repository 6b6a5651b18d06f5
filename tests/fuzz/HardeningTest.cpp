// Faults the fuzz targets found, each pinned down by the smallest case that shows it.
#include "data/DataFolder.h"
#include "data/LanguagePaths.h"
#include "data/LanguageSelection.h"
#include "data/MessageNumbers.h"
#include "program/ControlProgram.h"
#include "program/DeviceImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

namespace trv {
namespace {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "trv-hard-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path path() const { return path_; }
    void write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        ASSERT_TRUE(out.good());
    }

private:
    std::filesystem::path path_;
};

class AcceptingFlag : public FlagPicture {
public:
    bool loadFlag(const std::string&, const std::optional<std::string>&) override { return true; }
};

TEST(LanguageFolderCode, ACodeWithASeparatorOrNulIsRefused) {
    const std::string codes[] = {"../", "..\\", "a/b", "\\ab", "ab/", std::string("A\0B", 3)};
    for (const std::string& code : codes) {
        LanguagePaths paths;
        EXPECT_FALSE(paths.setFolderCode(code)) << code;
        EXPECT_EQ(paths.folderCode(), "ENG") << code;
        EXPECT_EQ(paths.path(LanguageFile::Captions), "ENG\\caphint.txt") << code;
    }
    LanguagePaths paths;
    EXPECT_TRUE(paths.setFolderCode("..x")); // a folder name of its own, not the parent
    EXPECT_EQ(paths.folderCode(), "..x");
}

TEST(LanguageFolderCode, ALanguageListLineCannotLeadTheTextsOutOfTheDataFolder) {
    ScratchFolder scratch;
    scratch.write("data/language.fld", "Evil ../\r\nEnglish ENG\r\n");
    scratch.write("data/ENG/caphint.txt", "inside\r\n");
    scratch.write("caphint.txt", "outside\r\n"); // what "..\caphint.txt" would reach
    const DataFolder folder((scratch.path() / "data").string());

    LanguagePaths paths;
    AcceptingFlag flag;
    LanguageTexts texts;
    const LanguageSelection selection = SelectLanguage("Evil\n", folder, paths, flag, texts);
    // Taken as an unlisted name: the folder in force stays.
    EXPECT_FALSE(selection.listed);
    EXPECT_EQ(paths.folderCode(), "ENG");
    EXPECT_EQ(MainTextOf(texts.mainTexts, MainText::ListGroupCaption), "inside");
}

// vorlix.spb holds 32-bit program numbers; the control program keeps program indexes and the image
// program numbers (index + 1) in signed 32 bits.
TEST(ControlProgramNumbers, NumbersBeyondSignedRangeStayBeyondTheCatalogue) {
    ProgramCatalogue catalogue;
    catalogue.assemble(1, {CatalogueProgram{1, 60, 0, 0, "  1 One", "One [01:00]"}}, {}, {});
    ControlProgram control(catalogue, [](int) { return std::string(); });
    const uint32_t list[] = {0x80000000u, 0xFFFFFFFFu, 1, 0};
    control.LoadProgramList(std::span<const uint32_t>(list));

    // Three programs with the 1:00 pauses between them, as for any list.
    ASSERT_EQ(control.itemCount(), 5);
    DeviceImage image;
    SetImageItems(image, control);
    for (int item : {0, 2}) {
        EXPECT_EQ(image.items[static_cast<size_t>(item)].code, ItemProgram);
        EXPECT_EQ(image.items[static_cast<size_t>(item)].programNumber, std::numeric_limits<int32_t>::max());
    }
    EXPECT_EQ(image.items[4].programNumber, 1);
    EXPECT_EQ(control.totalSeconds(), 60 + 2 * 60);
    const ImageBuildResult built = BuildDeviceImage(image, catalogue, 0);
    EXPECT_FALSE(built.ok);
    EXPECT_EQ(built.message, msg::UnknownProgram);

    // An index whose number would not fit is not an item at all.
    EXPECT_FALSE(control.InsertControlItem(KindProgram, std::numeric_limits<int32_t>::max()));
    EXPECT_EQ(control.itemCount(), 5);
}

} // namespace
} // namespace trv
