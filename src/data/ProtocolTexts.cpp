#include "data/ProtocolTexts.h"

#include "data/TextLines.h"

#include <algorithm>

namespace trv {

int ProtocolTexts::treePosition(int protocolRow, int itemRow) const {
    if (protocolRow < 0 || protocolRow >= static_cast<int>(protocols.size()))
        return -1;
    const ProtocolNodeText& protocol = protocols[static_cast<size_t>(protocolRow)];
    if (itemRow < -1 || itemRow >= static_cast<int>(protocol.items.size()))
        return -1;
    int position = 0;
    for (int p = 0; p < protocolRow; ++p)
        position += 1 + static_cast<int>(protocols[static_cast<size_t>(p)].items.size());
    return position + 1 + itemRow;
}

int ProtocolTexts::nodeCount() const {
    int count = 0;
    for (const ProtocolNodeText& protocol : protocols)
        count += 1 + static_cast<int>(protocol.items.size());
    return count;
}

ProtocolTexts parseProtocolTexts(std::string_view fileBytes) {
    ProtocolTexts texts;
    char section = 0;
    size_t entry = 0;
    TextLineReader reader(fileBytes);
    while (std::optional<std::string> line = reader.next()) {
        if (!line->empty() && (*line)[0] == '#') {
            section = line->size() > 1 ? (*line)[1] : 0;
            entry = 0;
            continue;
        }
        switch (section) {
        case 'E':
            // Names past the 40 slots are dropped; each keeps its first 19 characters.
            if (entry < MaxElectrodeNames) {
                if (texts.electrodeNames.size() <= entry)
                    texts.electrodeNames.resize(entry + 1);
                texts.electrodeNames[entry] = line->substr(0, ElectrodeNameLength);
            }
            ++entry;
            break;
        case 'P':
            if (!line->empty() && (*line)[0] == ' ') {
                // An item line with no protocol before it has nowhere to go.
                if (!texts.protocols.empty()) {
                    const size_t textStart = std::min(line->find_first_not_of(' '), line->size());
                    texts.protocols.back().items.push_back(line->substr(textStart));
                }
            } else {
                texts.protocols.push_back({std::move(*line), {}});
            }
            break;
        case 'S':
            texts.sessionLines.push_back(std::move(*line));
            break;
        default:
            break;
        }
    }
    return texts;
}

} // namespace trv
