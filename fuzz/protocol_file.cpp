// vorlix.spb: the protocol and session file, the tree clicks and list loads it drives.
#include "FuzzSupport.h"

#include "data/ByteReader.h"
#include "data/MessageNumbers.h"
#include "data/ProtocolBrowser.h"
#include "data/ProtocolFile.h"
#include "data/ProtocolTexts.h"
#include "program/ControlProgram.h"

#include <optional>
#include <string>

using namespace trv;

namespace {

constexpr int NamedPrograms = 40;

// A catalogue of 40 named programs (a few numbers without a names line), as the lists look them up.
ProgramCatalogue namedCatalogue() {
    std::vector<CatalogueProgram> programs(NamedPrograms);
    ProgramNames names;
    names.shortLabels.resize(NamedPrograms);
    for (int k = 0; k < NamedPrograms; ++k) {
        programs[static_cast<size_t>(k)].number = k + 1;
        programs[static_cast<size_t>(k)].runningSeconds = 60u * static_cast<uint32_t>(k);
        if (k % 7 == 3)
            continue;
        names.nameOrder.push_back(k + 1);
        names.longLabels.push_back("Program %s%n " + std::to_string(k + 1) + " [01:00]");
        names.shortLabels[static_cast<size_t>(k)] = "  " + std::to_string(k + 1) + " Program";
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), {}, {});
    catalogue.applyNames(std::move(names));
    return catalogue;
}

ProtocolTexts electrodeTexts() {
    ProtocolTexts texts;
    for (int k = 1; k <= 12; ++k)
        texts.electrodeNames.push_back("Electrode " + std::to_string(k));
    return texts;
}

void checkLoadedList(ControlProgram& control, const SessionProgramList& list) {
    control.LoadProgramList(std::span<const uint32_t>(list.slots));
    FUZZ_CHECK(control.count() >= 1 && control.count() <= MaxControlEntries);
    FUZZ_CHECK(control.lines().size() == static_cast<size_t>(control.count()));
    // Programs alternate with the 1:00 pauses, as far as the 20 items go.
    const int expected = list.empty() ? 0 : std::min(2 * list.size() - 1, MaxControlItems);
    FUZZ_CHECK(control.itemCount() <= expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ProgramCatalogue catalogue = namedCatalogue();
    static const ProtocolTexts texts = electrodeTexts();

    const std::string bytes(fuzz::asText(data, size));
    const ProtocolFileResult result = LoadProtocolFile(std::optional<std::string>(bytes));
    const ProtocolFile& file = result.file;
    if (!result.outcome.ok()) {
        FUZZ_CHECK(result.outcome.message == msg::ProtocolFileDamaged);
        FUZZ_CHECK(file.sessions.empty() && file.protocols.empty() && file.nodeKinds.empty());
        return 0;
    }

    const size_t sessionCount = ReadU16(bytes, 4);
    const size_t protocolCount = ReadU16(bytes, 6);
    FUZZ_CHECK(bytes.substr(0, 4) == std::string_view("TVX\x01", 4));
    FUZZ_CHECK(file.sessions.size() == sessionCount && file.protocols.size() == protocolCount);
    FUZZ_CHECK(bytes.size() >=
               ProtocolFileHeaderSize + sessionCount * SessionProgramListSize + protocolCount * ProtocolRecordSize);

    // The node kinds: each protocol, then one entry per item.
    size_t at = 0;
    for (const ProtocolRecord& protocol : file.protocols) {
        const int items = protocol.itemCount();
        FUZZ_CHECK(items >= 0 && items <= ProtocolItemSlots);
        FUZZ_CHECK(at < file.nodeKinds.size() && file.nodeKinds[at++] == NodeKind::Protocol);
        for (int item = 0; item < items; ++item)
            FUZZ_CHECK(at < file.nodeKinds.size() && file.nodeKinds[at++] == NodeKind::Item);
    }
    FUZZ_CHECK(at == file.nodeKinds.size());

    // Clicks on every node (and one past them) and on every session line; loads of the lists.
    ProgramCatalogue emptyCatalogue;
    ControlProgram control(catalogue, [](int) { return std::string("%n"); });
    ProtocolBrowser browser;
    const int nodes = static_cast<int>(std::min<size_t>(file.nodeKinds.size(), 2000));
    for (int position = -1; position <= nodes; ++position) {
        const ProtocolNodeView view = browser.selectTreeNode(position, file, texts, catalogue);
        const bool isItem = position >= 0 && position < static_cast<int>(file.nodeKinds.size()) &&
                            file.nodeKinds[static_cast<size_t>(position)] == NodeKind::Item;
        FUZZ_CHECK(view.isItem == isItem && browser.currentIsItem() == isItem);
        FUZZ_CHECK((browser.itemListToLoad() != nullptr) == isItem);
        if (!isItem) {
            FUZZ_CHECK(view.programLines.empty() && view.electrodeLines.empty());
            continue;
        }
        FUZZ_CHECK(view.electrodeLines.size() == 3);
        const SessionProgramList& list = browser.currentItemList();
        FUZZ_CHECK(!list.empty());
        FUZZ_CHECK(view.programLines.size() <= static_cast<size_t>(list.size()));
        for (const std::string& line : view.programLines)
            FUZZ_CHECK(line.size() >= 4 && line[3] == ' ');
        checkLoadedList(control, list);
        browser.selectTreeNode(position, file, texts, emptyCatalogue);
    }
    const int sessions = static_cast<int>(std::min<size_t>(file.sessions.size(), 2000));
    for (int line = -1; line <= sessions; ++line) {
        const SessionProgramList* list = ProtocolBrowser::sessionList(line, file);
        FUZZ_CHECK((list != nullptr) == (line >= 0 && line < static_cast<int>(file.sessions.size())));
        const std::vector<std::string> lines = ProtocolBrowser::sessionLines(line, file, catalogue);
        if (list == nullptr) {
            FUZZ_CHECK(lines.empty());
            continue;
        }
        FUZZ_CHECK(lines.size() <= static_cast<size_t>(list->size()));
        checkLoadedList(control, *list);
    }
    return 0;
}
