#pragma once

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

// Sections "#E", "#P" and "#S"; lines before the first section and of other sections are ignored,
// as is a "#P" item line before any protocol line.
ProtocolTexts parseProtocolTexts(std::string_view fileBytes);

} // namespace trv
