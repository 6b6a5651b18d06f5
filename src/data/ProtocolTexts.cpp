#include "data/ProtocolTexts.h"

#include "data/TextLines.h"

#include <algorithm>
#include <string>

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

ProtocolTexts ParseProtocolTexts(std::string_view fileBytes, Diagnostics* sink, ProtocolTextLines* lines) {
    ProtocolTexts texts;
    ProtocolTextLines ignoredLines;
    ProtocolTextLines& at = lines ? *lines : ignoredLines;
    at = {};
    const auto warn = [sink](int line, const char* kind, std::string text) {
        if (sink)
            sink->lineWarning(line, kind, std::move(text));
    };
    char section = 0;
    size_t entry = 0;
    std::string sectionsSeen;
    TextLineReader reader(fileBytes);
    while (std::optional<std::string> line = reader.next()) {
        const int number = reader.lineNumber();
        if (line->size() > MaxProtocolTextLineLength)
            warn(number, "texts-line-long",
                 "the line has " + std::to_string(line->size()) + " characters, more than " +
                     std::to_string(MaxProtocolTextLineLength));
        if (!line->empty() && (*line)[0] == '#') {
            section = line->size() > 1 ? (*line)[1] : 0;
            entry = 0;
            if (sink) {
                if (section != 'E' && section != 'P' && section != 'S')
                    warn(number, "texts-unknown-section", "the lines of this section are ignored");
                else if (sectionsSeen.find(section) != std::string::npos)
                    warn(number, "texts-section-again",
                         std::string("section #") + section + " comes again; its lines add to the earlier ones");
                sectionsSeen += section;
            }
            continue;
        }
        switch (section) {
        case 'E':
            // Names past the 40 slots are dropped; each keeps its first 19 characters.
            if (entry < MaxElectrodeNames) {
                if (texts.electrodeNames.size() <= entry)
                    texts.electrodeNames.resize(entry + 1);
                texts.electrodeNames[entry] = line->substr(0, ElectrodeNameLength);
                at.electrodes.resize(texts.electrodeNames.size());
                at.electrodes[entry] = number;
                if (line->size() > ElectrodeNameLength)
                    warn(number, "electrode-name-cut",
                         "the electrode name is cut to its first " + std::to_string(ElectrodeNameLength) +
                             " characters");
            } else {
                warn(number, "electrode-dropped",
                     "only " + std::to_string(MaxElectrodeNames) + " electrode names are kept; this one is dropped");
            }
            ++entry;
            break;
        case 'P':
            if (!line->empty() && (*line)[0] == ' ') {
                // An item line with no protocol before it has nowhere to go.
                if (!texts.protocols.empty()) {
                    const size_t textStart = std::min(line->find_first_not_of(' '), line->size());
                    texts.protocols.back().items.push_back(line->substr(textStart));
                    at.items.back().push_back(number);
                } else {
                    warn(number, "texts-item-before-protocol", "an item line before the first protocol is ignored");
                }
            } else {
                texts.protocols.push_back({std::move(*line), {}});
                at.protocols.push_back(number);
                at.items.emplace_back();
            }
            break;
        case 'S':
            texts.sessionLines.push_back(std::move(*line));
            at.sessions.push_back(number);
            break;
        default:
            if (section == 0)
                warn(number, "texts-before-section", "a line before the first section is ignored");
            break;
        }
    }
    return texts;
}

} // namespace trv
