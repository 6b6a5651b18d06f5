#pragma once

#include "data/ProgramCatalogue.h"
#include "data/ProtocolFile.h"
#include "data/ProtocolTexts.h"

#include <array>
#include <string>
#include <vector>

namespace trv {

// What a click on a protocol tree node shows: the program lines for the programs list and one
// line each for the "Input A", "Input B" and "Output C" lists. For a protocol node both are
// emptied (no electrode lines at all).
struct ProtocolNodeView {
    bool isItem = false;
    std::vector<std::string> programLines;
    std::vector<std::string> electrodeLines; // empty, or exactly three lines
};

// "%3d " + long label for each number of the list, skipping numbers without a names line.
std::vector<std::string> SessionProgramLines(const SessionProgramList& list, const ProgramCatalogue& catalogue);

// The protocol tree's and session list's lookups, and the protocol item clicked last.
class ProtocolBrowser {
public:
    // Click on the node at treePosition (tree order over all nodes). Sets the current-item flag
    // and, for an item, currentItemList. A node beyond nodeKinds counts as a protocol node.
    ProtocolNodeView selectTreeNode(int treePosition, const ProtocolFile& file, const ProtocolTexts& texts,
                                    const ProgramCatalogue& catalogue);

    bool currentIsItem() const { return currentIsItem_; }
    const SessionProgramList& currentItemList() const { return currentItemList_; }
    // The list a double-click or "<< Add to Control" on the protocols page loads; nullptr when the
    // node clicked last is not an item.
    const SessionProgramList* itemListToLoad() const { return currentIsItem_ ? &currentItemList_ : nullptr; }

    // The session at a line of the session list; nullptr for a line beyond the sessions of the file.
    static const SessionProgramList* sessionList(int line, const ProtocolFile& file);
    // Lines of the session's program list; empty for a line beyond the sessions.
    static std::vector<std::string> sessionLines(int line, const ProtocolFile& file, const ProgramCatalogue& catalogue);

private:
    bool currentIsItem_ = false;
    SessionProgramList currentItemList_{};
};

} // namespace trv
