#include "data/TextTables.h"

#include <algorithm>
#include <string>

namespace trv {

std::string ReadTextLine(TextLineReader& file, Diagnostics* sink) {
    std::optional<std::string> line = file.next(MaxTextLength);
    if (!line)
        return {};
    if (sink && file.lastLength() > MaxTextLength)
        sink->lineWarning(file.lineNumber(), "text-cut",
                          "the text has " + std::to_string(file.lastLength()) + " characters; only the first " +
                              std::to_string(MaxTextLength) + " are shown");
    std::replace(line->begin(), line->end(), '+', TextLineBreak);
    return std::move(*line);
}

namespace {

using enum MainText;

constexpr MainTextBinding Bindings[] = {
    {"ListGroup", TextRole::Caption, ListGroupCaption},
    {"ProgListBox", TextRole::Hint, ProgListBoxHint},
    {"ControlGroup", TextRole::Caption, ControlGroupCaption},
    {"ControlListBox", TextRole::Hint, ControlListBoxHint},
    {"TimeLabel", TextRole::Caption, TimeLabelCaption},
    {"ACButton", TextRole::Caption, ACButtonCaption},
    {"ACButton", TextRole::Hint, ACButtonHint},
    {"DelButton", TextRole::Caption, DelButtonCaption},
    {"DelButton", TextRole::Hint, DelButtonHint},
    {"APButton", TextRole::Caption, APButtonCaption},
    {"APButton", TextRole::Hint, APButtonHint},
    {"Label1", TextRole::Caption, Label1Caption},
    {"EditMin", TextRole::Hint, EditMinHint},
    {"Label2", TextRole::Caption, Label2Caption},
    {"EditSec", TextRole::Hint, EditSecHint},
    {"AWButton", TextRole::Caption, AWButtonCaption},
    {"AWButton", TextRole::Hint, AWButtonHint},
    {"NewButton", TextRole::Caption, NewButtonCaption},
    {"NewButton", TextRole::Hint, NewButtonHint},
    {"FlagImage", TextRole::Hint, FlagImageHint},
    {"DlButton", TextRole::Caption, DlButtonCaption},
    {"DlButton", TextRole::Hint, DlButtonHint},
    {"StatButton", TextRole::Caption, StatButtonCaption},
    {"StatButton", TextRole::Hint, StatButtonHint},
    {"ExitButton", TextRole::Caption, ExitButtonCaption},
    {"ExitButton", TextRole::Hint, ExitButtonHint},
    {"LOGroupBox", TextRole::Caption, LOGroupBoxCaption},
    {"NumRB", TextRole::Caption, NumRBCaption},
    {"AlphaRB", TextRole::Caption, AlphaRBCaption},
    {"TimeList", TextRole::Hint, TimeListHint},
    {"ProtocolTS", TextRole::Caption, ProtocolTSCaption},
    {"SessionTS", TextRole::Caption, SessionTSCaption},
    {"ProgTS", TextRole::Caption, ProgTSCaption},
    {"ElectrodeGB", TextRole::Caption, ElectrodeGBCaption},
    // The page captions again, on the group boxes of their pages.
    {"ProtocolGB", TextRole::Caption, ProtocolTSCaption},
    {"ProtocolTRVGB", TextRole::Caption, ProgTSCaption},
    {"SessionTRVGB", TextRole::Caption, ProgTSCaption},
    {"ListGroup", TextRole::Caption, ProgTSCaption},
    {"SessionGB", TextRole::Caption, SessionTSCaption},
};

} // namespace

std::span<const MainTextBinding> MainTextBindings() {
    return Bindings;
}

} // namespace trv
