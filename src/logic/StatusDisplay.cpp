#include "logic/StatusDisplay.h"

#include "data/BuiltinMessages.h"
#include "data/CaptionNumbers.h"
#include "data/MessageNumbers.h"

#include <algorithm>
#include <cstdio>

namespace trv {

namespace {

constexpr int PowerFloor = 109; // levels at or below it show an empty bar
constexpr int PowerSteps = 26;  // levels from the floor to a full bar

std::string MinutesSeconds(const char* format, int seconds) {
    char text[32];
    std::snprintf(text, sizeof text, format, seconds / 60, seconds % 60);
    return text;
}

} // namespace

std::string StatusDisplay::FormatTimeLine(uint16_t seconds) {
    return MinutesSeconds("  %2d:%02d", seconds);
}

int StatusDisplay::PowerBarPosition(int level) {
    return std::min(std::max(level - PowerFloor, 0), PowerSteps) * 100 / PowerSteps;
}

int StatusDisplay::ProgressPosition(uint32_t remaining, uint32_t total) {
    // A device that reports no total has nothing to show yet; a remaining time above the total
    // would otherwise put the bar below its range.
    if (total == 0)
        return 0;
    const int64_t elapsed = 100 - static_cast<int64_t>(remaining) * 100 / total;
    return static_cast<int>(std::clamp<int64_t>(elapsed, 0, 100));
}

std::string StatusDisplay::IdleValueLine(const std::string& text, int32_t value) {
    const std::string number = std::to_string(value);
    const size_t star = text.find('*');
    if (star == std::string::npos)
        return text.empty() ? number : text + " " + number;
    return text.substr(0, star) + number;
}

std::string StatusDisplay::ProgramListLine(const ImageItem& item, const ProgramCatalogue& catalogue,
                                           const MessageTable& messages) {
    switch (item.code) {
    case ItemProgram: {
        if (const CatalogueProgram* program = catalogue.program(item.programNumber))
            return program->shortLabel;
        // Not a catalogue program (the self-test, or a device holding a foreign program): its number.
        char text[16];
        std::snprintf(text, sizeof text, "%3d", static_cast<int>(item.programNumber));
        return text;
    }
    case ItemPause:
        return MessageText(messages, msg::PauseWord) + MinutesSeconds("%2d:%02d", std::max(item.value, 0));
    case ItemWait:
        return MessageText(messages, msg::WaitLine);
    default:
        return {};
    }
}

void StatusDisplay::clearList(List list) {
    lists_[list].clear();
    ++revisions_[list];
    if (list == ProgramList)
        highlighted_ = -1;
}

void StatusDisplay::addLine(List list, std::string line) {
    lists_[list].push_back(std::move(line));
    ++revisions_[list];
}

void StatusDisplay::Clear() {
    for (int list = 0; list < ListCount; ++list)
        clearList(static_cast<List>(list));
    powerBar_ = 0;
    progressBar_ = 0;
    lastStatusCode_ = NoStatusCode;
}

void StatusDisplay::StatusLine(int code, const MessageTable& messages) {
    if (code == lastStatusCode_)
        return;
    clearList(StatusLineList);
    int message = msg::ErrorTitle;
    switch (code) {
    case devstate::Idle:
    case devstate::IdleBusy:
        message = msg::StateIdle;
        break;
    case devstate::LowPower:
        message = msg::StateLowPower;
        break;
    case devstate::Held:
        message = msg::StateHeld;
        break;
    case devstate::Waiting:
        message = msg::StateWaiting;
        break;
    default:
        break;
    }
    addLine(StatusLineList, MessageText(messages, message));
    lastStatusCode_ = code;
}

void StatusDisplay::TimeLine(List list, uint16_t seconds) {
    clearList(list);
    addLine(list, FormatTimeLine(seconds));
}

void StatusDisplay::Power(int level) {
    lastPowerLevel_ = level;
    powerBar_ = PowerBarPosition(level);
}

void StatusDisplay::Progress(uint32_t remaining, uint32_t total) {
    progressBar_ = ProgressPosition(remaining, total);
}

void StatusDisplay::IdleSummary(const BaseState& state, const MessageTable& messages) {
    Clear();
    StatusLine(state.stateCode, messages);
    addLine(ProgramList, "");
    addLine(ProgramList, "");
    addLine(ProgramList, MessageText(messages, msg::IdleHeading));
    addLine(ProgramList, "");
    addLine(ProgramList, IdleValueLine(MessageText(messages, msg::IdleValue), static_cast<int32_t>(state.value)));
    Power(state.powerLevel);
    progressBar_ = 100;
}

void StatusDisplay::ShowProgramList(const DeviceImage& image, const ProgramCatalogue& catalogue,
                                    const MessageTable& messages, int currentItem) {
    clearList(ProgramList);
    const int count = std::clamp(image.itemCount, 0, MaxImageItems);
    for (int k = 0; k < count; ++k)
        addLine(ProgramList, ProgramListLine(image.items[static_cast<size_t>(k)], catalogue, messages));
    Highlight(currentItem - 1);
}

void StatusDisplay::Highlight(int line) {
    highlighted_ = line >= 0 && line < static_cast<int>(lists_[ProgramList].size()) ? line : -1;
}

void StatusDisplay::SavedProgramMarker() {
    addLine(ProgramList, "");
    addLine(ProgramList, SavedProgramLine);
}

void StatusDisplay::WaitingFigures(const RunState& state, const MessageTable& messages) {
    StatusLine(devstate::Waiting, messages);
    clearList(ItemTotal);
    clearList(ItemRemaining);
    TimeLine(WholeRemaining, state.programRemaining);
    TimeLine(WholeTotal, state.programTotal);
    Power(state.powerLevel);
    Progress(state.programRemaining, state.programTotal);
}

void StatusDisplay::RunningFigures(int runCode, const RunState& state, const MessageTable& messages) {
    StatusLine(runCode, messages);
    TimeLine(WholeRemaining, state.programRemaining);
    TimeLine(WholeTotal, state.programTotal);
    TimeLine(ItemRemaining, state.itemRemaining);
    TimeLine(ItemTotal, state.itemTotal);
    Power(state.powerLevel);
    Progress(state.programRemaining, state.programTotal);
}

void StatusDisplay::NoDeviceNotice(const MessageTable& messages, const std::string& openFailure) {
    Clear();
    addLine(ProgramList, MessageText(messages, msg::NoDevice));
    if (!openFailure.empty())
        addLine(ProgramList, MessageText(messages, msg::DevicePermission));
}

void StatusDisplay::EmptyReplyNotice(const MessageTable& messages) {
    Clear();
    if (lastPowerLevel_ <= LowPowerNoticeLevel)
        addLine(ProgramList, MessageText(messages, msg::LowPower));
    addLine(ProgramList, MessageText(messages, msg::EmptyReply));
}

void StatusDisplay::BadReplyNotice(const MessageTable& messages) {
    Clear();
    addLine(ProgramList, MessageText(messages, msg::BadReply));
}

void StatusDisplay::SetWrcMode(WrcMode mode, const CaptionTable& captions) {
    wrcMode_ = mode;
    int caption = caption::StatusWait;
    int hint = caption::StatusWaitHint;
    switch (mode) {
    case WrcMode::None:
    case WrcMode::Wait:
        break;
    case WrcMode::Continue:
        caption = caption::StatusContinue;
        hint = caption::StatusContinueHint;
        break;
    case WrcMode::Resume:
        caption = caption::StatusResume;
        hint = caption::StatusResumeHint;
        break;
    }
    wrcCaption_ = captions.text(caption);
    wrcHint_ = captions.text(hint);
}

} // namespace trv
