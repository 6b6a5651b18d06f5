#include "program/ControlProgram.h"

#include "data/MessageNumbers.h"

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <limits>
#include <utility>

namespace trv {

namespace {

constexpr size_t MaxLabelLength = 31;

// The short label up to its first "[", as the control list shows it.
std::string ControlLabel(const std::string& shortLabel) {
    const size_t bracket = shortLabel.find('[');
    const size_t end = std::min({bracket, shortLabel.size(), MaxLabelLength});
    return shortLabel.substr(0, end);
}

std::string QuotedError(std::string_view text, const char* rest) {
    std::string error = "'";
    error.append(text);
    error += "' ";
    error += rest;
    return error;
}

bool IsItemKind(int32_t kind, int32_t value) {
    if (kind == KindWait)
        return value == 0;
    if (kind == KindProgram) // the program number, value + 1, must fit the same 32 bits
        return value >= 0 && value < std::numeric_limits<int32_t>::max();
    return kind >= 0 && kind <= MaxPauseMinutes && value >= 0 && value <= MaxPauseSeconds;
}

} // namespace

bool ParseIntegerText(std::string_view text, int32_t& result) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at == text.size())
        return false;
    int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        return false;
    result = static_cast<int32_t>(value);
    return true;
}

ControlProgram::ControlProgram(const ProgramCatalogue& catalogue, MessageLookup messages)
    : catalogue_(catalogue), messages_(std::move(messages)) {
    Reset();
    RefreshControlList();
}

void ControlProgram::Reset() {
    entries_.fill(ControlEntry{});
    count_ = 1;
    selected_ = 0;
    totalSeconds_ = 0;
    buttons_ = EditButtonStates{};
}

void ControlProgram::RefreshControlList() {
    const auto message = [this](int k) { return messages_ ? messages_(k) : std::string(); };
    lines_.clear();
    totalSeconds_ = 0;
    char digits[48];
    for (int i = 0; i < count_; ++i) {
        const ControlEntry& entry = entries_[static_cast<size_t>(i)];
        if (entry.kind == KindProgram) {
            // An index without a catalogue entry (the self-test program) shows an empty line.
            const CatalogueProgram* program = catalogue_.program(entry.value + 1);
            lines_.push_back(program != nullptr ? ControlLabel(program->shortLabel) : std::string());
            if (program != nullptr)
                totalSeconds_ += program->runningSeconds;
        } else if (entry.kind >= 0) {
            std::snprintf(digits, sizeof digits, " %02d:%02d", static_cast<int>(entry.kind),
                          static_cast<int>(entry.value));
            lines_.push_back(message(msg::PauseWord) + digits);
            totalSeconds_ += static_cast<int64_t>(entry.kind) * 60 + entry.value;
        } else if (entry.kind == KindWait) {
            lines_.push_back(message(msg::WaitLine));
        } else {
            lines_.push_back(message(msg::EndLine));
        }
    }
    std::snprintf(digits, sizeof digits, "%02" PRId64 ":%02" PRId64, totalSeconds_ / 60, totalSeconds_ % 60);
    totalText_ = digits;
}

bool ControlProgram::InsertControlItem(int32_t kind, int32_t value) {
    if (!IsItemKind(kind, value))
        return false;
    bool inserted = false;
    if (count_ < MaxControlEntries) {
        for (int i = count_; i > selected_; --i)
            entries_[static_cast<size_t>(i)] = entries_[static_cast<size_t>(i - 1)];
        entries_[static_cast<size_t>(selected_)] = ControlEntry{kind, value};
        ++selected_;
        ++count_;
        if (count_ == MaxControlEntries)
            buttons_.add = false;
        RefreshControlList();
        inserted = true;
    }
    buttons_.download = true;
    UpdateDeleteButton();
    return inserted;
}

bool ControlProgram::AddSelectedProgram(int programIndex) {
    if (programIndex < 0 || catalogue_.program(programIndex + 1) == nullptr)
        return false;
    return InsertControlItem(KindProgram, programIndex);
}

AddPauseResult ControlProgram::AddPause(std::string_view minutesText, std::string_view secondsText) {
    int32_t minutes = 0;
    int32_t seconds = 0;
    if (!ParseIntegerText(minutesText, minutes))
        return {false, QuotedError(minutesText, "is not a valid integer value")};
    if (!ParseIntegerText(secondsText, seconds))
        return {false, QuotedError(secondsText, "is not a valid integer value")};
    if (minutes == 0 && seconds == 0)
        return {};
    // A negative minute count would read as an entry kind, so out-of-range values are refused.
    if (minutes < 0 || minutes > MaxPauseMinutes)
        return {false, QuotedError(minutesText, "is not a valid number of minutes (0 to 99)")};
    if (seconds < 0 || seconds > MaxPauseSeconds)
        return {false, QuotedError(secondsText, "is not a valid number of seconds (0 to 59)")};
    return {InsertControlItem(minutes, seconds), {}};
}

bool ControlProgram::AddWait() {
    return InsertControlItem(KindWait, 0);
}

bool ControlProgram::DeleteSelected() {
    if (selected_ < 0 || selected_ >= count_ - 1)
        return false;
    for (int i = selected_; i < count_ - 1; ++i)
        entries_[static_cast<size_t>(i)] = entries_[static_cast<size_t>(i + 1)];
    entries_[static_cast<size_t>(count_ - 1)] = ControlEntry{};
    --count_;
    RefreshControlList();
    buttons_.add = true;
    UpdateDeleteButton();
    if (count_ == 1)
        buttons_.download = false;
    return true;
}

void ControlProgram::Clear() {
    Reset();
    RefreshControlList();
}

bool ControlProgram::SelectLine(int line) {
    if (line < 0 || line >= count_)
        return false;
    selected_ = line;
    UpdateDeleteButton();
    return true;
}

template <typename Number> void ControlProgram::LoadNumbers(std::span<const Number> numbers) {
    Reset();
    for (size_t i = 0; i < numbers.size() && numbers[i] != 0; ++i) {
        const int64_t index = static_cast<int64_t>(numbers[i]) - 1;
        // A number beyond any catalogue stays beyond it (the download refuses it), within 32 bits.
        InsertControlItem(
            KindProgram, static_cast<int32_t>(std::clamp<int64_t>(index, -1, std::numeric_limits<int32_t>::max() - 1)));
        if (i + 1 < numbers.size() && numbers[i + 1] != 0)
            InsertControlItem(ListPauseMinutes, 0);
    }
    RefreshControlList();
    buttons_.add = count_ < MaxControlEntries;
    buttons_.download = count_ > 1;
    UpdateDeleteButton();
}

void ControlProgram::LoadProgramList(std::span<const uint32_t> programNumbers) {
    LoadNumbers(programNumbers);
}

void ControlProgram::LoadProgramList(std::span<const int32_t> programNumbers) {
    LoadNumbers(programNumbers);
}

void ControlProgram::LoadSelfTest(int programIndex) {
    Snapshot snapshot;
    snapshot.entries[0] = ControlEntry{KindProgram, std::max(programIndex, 0)};
    snapshot.count = 2;
    snapshot.selected = 1;
    Restore(snapshot);
}

ControlProgram::Snapshot ControlProgram::Save() const {
    return Snapshot{entries_, count_, selected_};
}

void ControlProgram::Restore(const Snapshot& snapshot) {
    Reset();
    const bool countFits = snapshot.count >= 1 && snapshot.count <= MaxControlEntries;
    bool sound = countFits && snapshot.selected >= 0 && snapshot.selected < snapshot.count &&
                 snapshot.entries[static_cast<size_t>(snapshot.count - 1)].kind == KindEndMarker;
    for (int i = 0; sound && i < snapshot.count - 1; ++i) {
        const ControlEntry& entry = snapshot.entries[static_cast<size_t>(i)];
        sound = IsItemKind(entry.kind, entry.value);
    }
    if (sound) {
        std::copy_n(snapshot.entries.begin(), snapshot.count, entries_.begin());
        count_ = snapshot.count;
        selected_ = snapshot.selected;
    }
    RefreshControlList();
    buttons_.add = count_ < MaxControlEntries;
    buttons_.download = count_ > 1;
    UpdateDeleteButton();
}

void ControlProgram::UpdateDeleteButton() {
    buttons_.remove = entries_[static_cast<size_t>(selected_)].kind != KindEndMarker;
}

} // namespace trv
