// vorlix.spn: electrode names, the protocol tree texts and the session lines, and the clicks
// that show the electrode names of a protocol item.
#include "FuzzSupport.h"

#include "data/ProtocolBrowser.h"
#include "data/ProtocolTexts.h"
#include "data/TextLines.h"

#include <string>

using namespace trv;

namespace {

// One protocol whose items name electrodes 0 to 41: every name slot, and both sides of the table.
ProtocolFile electrodeFile() {
    ProtocolFile file;
    ProtocolRecord record;
    for (int item = 0; item < ProtocolItemSlots; ++item) {
        record.itemLists[static_cast<size_t>(item)].slots[0] = 1;
        const uint32_t first = static_cast<uint32_t>(item) * 4;
        record.electrodes[static_cast<size_t>(item)] = {0, first, first + 1, first + 2 + (item == 9 ? 1u << 31 : 0)};
    }
    file.protocols.push_back(record);
    file.nodeKinds.push_back(NodeKind::Protocol);
    for (int item = 0; item < ProtocolItemSlots; ++item)
        file.nodeKinds.push_back(NodeKind::Item);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ProtocolFile file = electrodeFile();
    static const ProgramCatalogue catalogue;

    const std::string_view bytes = fuzz::asText(data, size);
    const ProtocolTexts texts = ParseProtocolTexts(bytes);
    const size_t lineCount = SplitTextLines(bytes).size();

    FUZZ_CHECK(texts.electrodeNames.size() <= static_cast<size_t>(MaxElectrodeNames));
    for (const std::string& name : texts.electrodeNames)
        FUZZ_CHECK(name.size() <= ElectrodeNameLength && !fuzz::containsByte(name, '\n'));
    size_t textLines = texts.sessionLines.size();
    for (const ProtocolNodeText& protocol : texts.protocols) {
        FUZZ_CHECK(!fuzz::containsByte(protocol.text, '\n'));
        FUZZ_CHECK(protocol.text.empty() || (protocol.text[0] != ' ' && protocol.text[0] != '#'));
        for (const std::string& item : protocol.items)
            FUZZ_CHECK(!fuzz::containsByte(item, '\n') && (item.empty() || item[0] != ' '));
        textLines += 1 + protocol.items.size();
    }
    for (const std::string& line : texts.sessionLines)
        FUZZ_CHECK(!fuzz::containsByte(line, '\n') && (line.empty() || line[0] != '#'));
    FUZZ_CHECK(textLines <= lineCount);

    // Tree positions as the window counts them, and back.
    int position = 0;
    for (int p = 0; p < static_cast<int>(texts.protocols.size()); ++p) {
        FUZZ_CHECK(texts.treePosition(p) == position++);
        const int items = static_cast<int>(texts.protocols[static_cast<size_t>(p)].items.size());
        for (int i = 0; i < items; ++i)
            FUZZ_CHECK(texts.treePosition(p, i) == position++);
        FUZZ_CHECK(texts.treePosition(p, items) == -1);
        if (position > 5000)
            break;
    }
    if (position <= 5000)
        FUZZ_CHECK(position == texts.nodeCount());
    FUZZ_CHECK(texts.treePosition(static_cast<int>(texts.protocols.size())) == -1);
    FUZZ_CHECK(texts.treePosition(-1) == -1);

    // Electrode lines: the name of each number, empty outside the names read.
    ProtocolBrowser browser;
    for (int item = 0; item < ProtocolItemSlots; ++item) {
        const ProtocolNodeView view = browser.selectTreeNode(1 + item, file, texts, catalogue);
        FUZZ_CHECK(view.isItem && view.electrodeLines.size() == 3);
        const ElectrodeRecord& record = file.protocols[0].electrodes[static_cast<size_t>(item)];
        const uint32_t numbers[3] = {record.inputA, record.inputB, record.outputC};
        for (size_t k = 0; k < 3; ++k) {
            const uint32_t n = numbers[k];
            const bool named = n >= 1 && n <= texts.electrodeNames.size();
            FUZZ_CHECK(view.electrodeLines[k] == (named ? texts.electrodeNames[n - 1] : std::string()));
        }
    }
    return 0;
}
