#pragma once

#include "data/Diagnostics.h"

#include <string>
#include <string_view>
#include <vector>

namespace trv {

inline constexpr int MaxElectrodeNames = 40;
inline constexpr size_t ElectrodeNameLength = 19;

struct ProtocolNodeText {
    std::string text;
    std::vector<std::string> items;
};

// The texts of vorlix.spn: the protocol tree as data, the session list lines and the electrode names.
struct ProtocolTexts {
    std::vector<std::string> electrodeNames; // electrode k is entry k - 1; at most 40, each at most 19 characters
    std::vector<ProtocolNodeText> protocols; // top-level nodes with their item children
    std::vector<std::string> sessionLines;

    // Position of a node in tree order over all nodes (protocols and items alike), as the
    // protocol tree click counts it; itemRow -1 for the protocol node itself. -1 if there is no such node.
    int treePosition(int protocolRow, int itemRow = -1) const;
    int nodeCount() const;
};

// Where each text of vorlix.spn stands (1-based lines), in the order of ProtocolTexts.
struct ProtocolTextLines {
    std::vector<int> electrodes;
    std::vector<int> protocols;
    std::vector<std::vector<int>> items;
    std::vector<int> sessions;
};

inline constexpr size_t MaxProtocolTextLineLength = 98;

// Sections "#E", "#P" and "#S"; lines before the first section and of other sections are ignored,
// as is a "#P" item line before any protocol line. A sink hears of what is ignored or cut; lines
// (when given) receives where each text stood.
ProtocolTexts ParseProtocolTexts(std::string_view fileBytes, Diagnostics* sink = nullptr,
                                 ProtocolTextLines* lines = nullptr);

} // namespace trv
