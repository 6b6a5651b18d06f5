#include "data/ProtocolBrowser.h"

#include <cstdio>

namespace trv {

namespace {

// An electrode number outside the names read shows an empty line.
std::string ElectrodeName(uint32_t number, const ProtocolTexts& texts) {
    if (number == 0 || number > texts.electrodeNames.size())
        return {};
    return texts.electrodeNames[number - 1];
}

} // namespace

std::vector<std::string> SessionProgramLines(const SessionProgramList& list, const ProgramCatalogue& catalogue) {
    std::vector<std::string> lines;
    char numberText[32];
    for (uint32_t number : list) {
        if (const std::string* label = catalogue.longLabel(number)) {
            std::snprintf(numberText, sizeof numberText, "%3u ", number);
            lines.push_back(numberText + *label);
        }
    }
    return lines;
}

ProtocolNodeView ProtocolBrowser::selectTreeNode(int treePosition, const ProtocolFile& file, const ProtocolTexts& texts,
                                                 const ProgramCatalogue& catalogue) {
    ProtocolNodeView view;
    const bool known = treePosition >= 0 && static_cast<size_t>(treePosition) < file.nodeKinds.size();
    currentIsItem_ = known && file.nodeKinds[static_cast<size_t>(treePosition)] == NodeKind::Item;
    if (!currentIsItem_)
        return view;

    int protocol = -1;
    int item = 0;
    for (int k = 0; k < treePosition; ++k) {
        if (file.nodeKinds[static_cast<size_t>(k)] == NodeKind::Protocol) {
            ++protocol;
            item = 0;
        } else {
            ++item;
        }
    }
    // The items met since the last protocol node are the ones before this item.
    const int itemIndex = item;
    const ProtocolRecord& record = file.protocols[static_cast<size_t>(protocol)];
    currentItemList_ = record.itemLists[static_cast<size_t>(itemIndex)];

    view.isItem = true;
    view.programLines = SessionProgramLines(currentItemList_, catalogue);
    const ElectrodeRecord& electrodes = record.electrodes[static_cast<size_t>(itemIndex)];
    view.electrodeLines = {ElectrodeName(electrodes.inputA, texts), ElectrodeName(electrodes.inputB, texts),
                           ElectrodeName(electrodes.outputC, texts)};
    return view;
}

const SessionProgramList* ProtocolBrowser::sessionList(int line, const ProtocolFile& file) {
    if (line < 0 || static_cast<size_t>(line) >= file.sessions.size())
        return nullptr;
    return &file.sessions[static_cast<size_t>(line)];
}

std::vector<std::string> ProtocolBrowser::sessionLines(int line, const ProtocolFile& file,
                                                       const ProgramCatalogue& catalogue) {
    const SessionProgramList* list = sessionList(line, file);
    return list ? SessionProgramLines(*list, catalogue) : std::vector<std::string>{};
}

} // namespace trv
