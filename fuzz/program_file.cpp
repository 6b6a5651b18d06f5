// A control program file (.trvp): whatever the file holds, a document read from it keeps the
// limits the control program has, survives being written and read again, and loads into the
// control program exactly when the catalogue has its programs.
//
// Input: the file's bytes.
#include "FuzzSupport.h"

#include "program/ProgramFile.h"

#include <string>
#include <string_view>

using namespace trv;

namespace {

// Programs 1..30; the names are empty, so a saved name only ever gives a notice.
const ProgramCatalogue& Catalogue() {
    static const ProgramCatalogue catalogue = [] {
        std::vector<CatalogueProgram> programs(30);
        for (size_t k = 0; k < programs.size(); ++k)
            programs[k].number = static_cast<int>(k + 1);
        ProgramCatalogue made;
        made.assemble(1, std::move(programs), {}, {});
        return made;
    }();
    return catalogue;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ProgramFileRead read = ParseProgramFile(bytes);
    FUZZ_CHECK(read.document.has_value() != read.problem.has_value());
    if (read.problem) {
        FUZZ_CHECK(!DescribeProgramFileIssue(*read.problem, "f").empty());
        return 0;
    }
    const ProgramDocument& document = *read.document;
    FUZZ_CHECK(document.items.size() <= static_cast<size_t>(MaxControlItems));
    for (const ProgramFileItem& item : document.items) {
        if (item.kind == ProgramFileItem::Kind::Pause) {
            FUZZ_CHECK(item.minutes >= 0 && item.minutes <= MaxPauseMinutes);
            FUZZ_CHECK(item.seconds >= 0 && item.seconds <= MaxPauseSeconds);
            FUZZ_CHECK(item.minutes + item.seconds > 0);
        }
    }

    // Written and read again: the same document, and the same text a second time.
    const std::string text = ProgramFileText(document);
    const ProgramFileRead again = ParseProgramFile(text);
    FUZZ_CHECK(again.document.has_value());
    FUZZ_CHECK(*again.document == document);
    FUZZ_CHECK(ProgramFileText(*again.document) == text);

    ControlProgram control(Catalogue(), {});
    const ProgramDocumentCheck check = CheckProgramDocument(document, Catalogue());
    if (check.problem) {
        FUZZ_CHECK(check.problem->kind == ProgramFileIssueKind::UnknownProgram);
        return 0;
    }
    FUZZ_CHECK(LoadProgramDocument(document, control));
    FUZZ_CHECK(control.itemCount() == static_cast<int>(document.items.size()));
    FUZZ_CHECK(control.selected() == control.itemCount());
    // What the control program holds is saved as the same items.
    const ProgramDocument saved = DocumentOfControlProgram(control, Catalogue());
    FUZZ_CHECK(saved.items.size() == document.items.size());
    for (size_t k = 0; k < saved.items.size(); ++k) {
        FUZZ_CHECK(saved.items[k].kind == document.items[k].kind);
        FUZZ_CHECK(saved.items[k].number == document.items[k].number);
        FUZZ_CHECK(saved.items[k].minutes == document.items[k].minutes);
        FUZZ_CHECK(saved.items[k].seconds == document.items[k].seconds);
    }
    return 0;
}
