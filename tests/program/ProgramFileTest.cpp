#include "program/ProgramFile.h"

#include "CatalogueTestFiles.h"
#include "data/Codepage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace trv {
namespace {

using test::TempFolder;

// Programs 1..5 named "Name k", program 3 "Ellenőrzés" (8-bit, as the names file holds it).
ProgramCatalogue NamedCatalogue() {
    std::vector<CatalogueProgram> programs;
    ProgramNames names;
    for (int k = 1; k <= 5; ++k) {
        CatalogueProgram program;
        program.number = k;
        program.runningSeconds = 60;
        programs.push_back(program);
        const std::string name =
            k == 3 ? EncodeFromUtf8("Ellenőrzés", Codepage::CentralEuropean) : "Name " + std::to_string(k);
        names.nameOrder.push_back(k);
        names.longLabels.push_back(name + " [01:00]");
        names.shortLabels.push_back("  " + std::to_string(k) + " " + name);
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), {}, {});
    catalogue.applyNames(std::move(names));
    return catalogue;
}

std::string Items(const std::string& items) {
    return R"({"format": "trv-program", "version": 1, "items": [)" + items + "]}";
}

std::string ManyWaits(int count) {
    std::string items;
    for (int k = 0; k < count; ++k)
        items += std::string(k ? "," : "") + R"({"type": "wait"})";
    return Items(items);
}

struct BadCase {
    const char* what;
    std::optional<std::string> content; // nullopt: no file at all
    ProgramFileIssueKind kind;
    int item;
    int64_t value;
    std::string detail; // expected detail for the kinds that name a field
};

// Every way a file is refused, each leaving the control program as it was, with a message that
// names the file.
TEST(ProgramFile, RefusedFilesLeaveTheControlProgramUntouched) {
    using K = ProgramFileIssueKind;
    const std::vector<BadCase> cases = {
        {"no file", std::nullopt, K::Unreadable, 0, 0, ""},
        {"not JSON", "P12,T2:30,W", K::NotJson, 0, 0, ""},
        {"cut short", R"({"format": "trv-program", "version": 1, "items": [{"type": "wa)", K::NotJson, 0, 0, ""},
        {"not UTF-8", Items(R"({"type": "program", "number": 1, "name": "Ellen)" + std::string("\xF5") + R"("})"),
         K::NotJson, 0, 0, ""},
        {"JSON of another kind", R"([1, 2, 3])", K::NotProgramFile, 0, 0, "format"},
        {"another format", R"({"format": "trv-protocol", "version": 1, "items": []})", K::NotProgramFile, 0, 0,
         "format"},
        {"no version", R"({"format": "trv-program", "items": []})", K::NotProgramFile, 0, 0, "version"},
        {"newer version", R"({"format": "trv-program", "version": 2, "items": []})", K::NewerVersion, 0, 2, ""},
        {"title not a text", R"({"format": "trv-program", "version": 1, "title": 7, "items": []})", K::NotProgramFile,
         0, 0, "title"},
        {"no items", R"({"format": "trv-program", "version": 1})", K::NotProgramFile, 0, 0, "items"},
        {"21 items", ManyWaits(21), K::TooManyItems, 0, 21, ""},
        {"unknown item type", Items(R"({"type": "wait"}, {"type": "jump"})"), K::BadItem, 2, 0, "type"},
        {"item not an object", Items(R"("wait")"), K::BadItem, 1, 0, "type"},
        {"number as text", Items(R"({"type": "program", "number": "2"})"), K::BadItem, 1, 0, "number"},
        {"fractional number", Items(R"({"type": "program", "number": 2.5})"), K::BadItem, 1, 0, "number"},
        {"program the catalogue lacks", Items(R"({"type": "wait"}, {"type": "program", "number": 6})"),
         K::UnknownProgram, 2, 6, ""},
        {"program 0", Items(R"({"type": "program", "number": 0})"), K::UnknownProgram, 1, 0, ""},
        {"huge program number", Items(R"({"type": "program", "number": 18446744073709551615})"), K::UnknownProgram, 1,
         INT64_MAX, ""},
        {"100 minutes", Items(R"({"type": "pause", "minutes": 100, "seconds": 0})"), K::PauseOutOfRange, 1, 100, ""},
        {"60 seconds", Items(R"({"type": "pause", "minutes": 1, "seconds": 60})"), K::PauseOutOfRange, 1, 1, ""},
        {"negative minutes", Items(R"({"type": "pause", "minutes": -1, "seconds": 5})"), K::PauseOutOfRange, 1, -1, ""},
        {"no time at all", Items(R"({"type": "pause", "minutes": 0, "seconds": 0})"), K::PauseOutOfRange, 1, 0, ""},
        {"too large", std::string(MaxProgramFileBytes + 1, ' '), K::TooLarge, 0,
         static_cast<int64_t>(MaxProgramFileBytes + 1), ""},
    };
    const ProgramCatalogue catalogue = NamedCatalogue();
    TempFolder folder;
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.path() + "/case.trvp";
        std::filesystem::remove(path);
        if (c.content)
            folder.write("case.trvp", *c.content);
        ControlProgram control(catalogue, {});
        control.AddSelectedProgram(4);
        control.AddWait();
        const auto before = control.Save();

        const ProgramFileOpened opened = OpenProgramFile(path, catalogue, control);
        ASSERT_TRUE(opened.problem.has_value());
        EXPECT_EQ(opened.problem->kind, c.kind);
        EXPECT_EQ(opened.problem->item, c.item);
        EXPECT_EQ(opened.problem->value, c.value);
        if (!c.detail.empty()) {
            EXPECT_EQ(opened.problem->detail, c.detail);
        }
        EXPECT_EQ(control.Save().entries, before.entries);
        EXPECT_EQ(control.Save().count, before.count);
        const std::string message = DescribeProgramFileIssue(*opened.problem, path);
        EXPECT_EQ(message.rfind(path, 0), 0u) << message;
    }
    // A folder in the file's place is unreadable too.
    ControlProgram control(catalogue, {});
    const ProgramFileOpened opened = OpenProgramFile(folder.path(), catalogue, control);
    ASSERT_TRUE(opened.problem.has_value());
    EXPECT_EQ(opened.problem->kind, ProgramFileIssueKind::Unreadable);
}

// Every item kind, a title and a note survive a save and an open; the file reads as written.
TEST(ProgramFile, RoundTripOfEveryItemKind) {
    const ProgramCatalogue catalogue = NamedCatalogue();
    ControlProgram control(catalogue, {});
    control.AddSelectedProgram(2); // program 3, "Ellenőrzés"
    control.AddPause("2", "30");
    control.AddWait();
    control.AddPause("0", "5");
    control.AddSelectedProgram(0);
    const auto composed = control.Save();

    ProgramDocument document = DocumentOfControlProgram(control, catalogue);
    document.title = "Monday \"A\"";
    document.note = "two lines\nand ünïcode";
    TempFolder folder;
    const std::string path = folder.path() + "/monday.trvp";
    ASSERT_FALSE(WriteProgramFile(path, document).has_value());
    // Written whole: nothing but the file is left in the folder.
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"monday.trvp"});

    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), R"({
  "format": "trv-program",
  "version": 1,
  "title": "Monday \"A\"",
  "note": "two lines\nand ünïcode",
  "items": [
    {"type": "program", "number": 3, "name": "Ellenőrzés"},
    {"type": "pause", "minutes": 2, "seconds": 30},
    {"type": "wait"},
    {"type": "pause", "minutes": 0, "seconds": 5},
    {"type": "program", "number": 1, "name": "Name 1"}
  ]
}
)");

    control.Clear();
    const ProgramFileOpened opened = OpenProgramFile(path, catalogue, control);
    ASSERT_FALSE(opened.problem.has_value()) << DescribeProgramFileIssue(*opened.problem, path);
    EXPECT_TRUE(opened.notices.empty());
    EXPECT_EQ(opened.title, document.title);
    EXPECT_EQ(opened.note, document.note);
    EXPECT_EQ(control.Save().entries, composed.entries);
    EXPECT_EQ(control.count(), composed.count);
    EXPECT_EQ(control.selected(), control.count() - 1); // the end line, as after a protocol item

    // Saved again over itself, the file keeps its content; an empty program is a file too.
    ASSERT_FALSE(WriteProgramFile(path, ProgramDocument{}).has_value());
    ASSERT_FALSE(OpenProgramFile(path, catalogue, control).problem.has_value());
    EXPECT_EQ(control.itemCount(), 0);
}

// A name that is no longer the catalogue's is a notice; the program is taken by its number.
TEST(ProgramFile, RenamedProgramLoadsByNumberWithNotice) {
    const ProgramCatalogue catalogue = NamedCatalogue();
    TempFolder folder;
    folder.write("old.trvp", Items(R"({"type": "program", "number": 3, "name": "Check"},
                                      {"type": "program", "number": 2, "name": " Name 2 "},
                                      {"type": "program", "number": 4})"));
    ControlProgram control(catalogue, {});
    const ProgramFileOpened opened = OpenProgramFile(folder.path() + "/old.trvp", catalogue, control);
    ASSERT_FALSE(opened.problem.has_value());
    ASSERT_EQ(opened.notices.size(), 1u);
    EXPECT_EQ(opened.notices[0],
              (ProgramFileIssue{ProgramFileIssueKind::RenamedProgram, 1, 3, 0, "Check", "Ellenőrzés"}));
    ASSERT_EQ(control.itemCount(), 3);
    EXPECT_EQ(control.items()[0], (ControlEntry{KindProgram, 2}));
}

// A save that can't be made says so and leaves what was there.
TEST(ProgramFile, FailedSaveLeavesNoFile) {
    TempFolder folder;
    EXPECT_EQ(WriteProgramFile(folder.path() + "/missing/p.trvp", ProgramDocument{})->kind,
              ProgramFileIssueKind::NotWritten);
    std::filesystem::create_directory(folder.path() + "/taken.trvp");
    const std::optional<ProgramFileIssue> issue = WriteProgramFile(folder.path() + "/taken.trvp", ProgramDocument{});
    ASSERT_TRUE(issue.has_value());
    EXPECT_EQ(issue->kind, ProgramFileIssueKind::NotWritten);
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() + "/taken.trvp"));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"taken.trvp"});
}

} // namespace
} // namespace trv
