#pragma once

#include "data/ProgramCatalogue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trv {

// 20 items and the end marker.
inline constexpr int MaxControlEntries = 21;
inline constexpr int MaxControlItems = MaxControlEntries - 1;

// Entry kinds. A kind of 0 or more is a pause and holds its minutes, so a pause can never
// have negative minutes.
inline constexpr int32_t KindWait = -3;
inline constexpr int32_t KindProgram = -2;
inline constexpr int32_t KindEndMarker = -1;

inline constexpr int MaxPauseMinutes = 99;
inline constexpr int MaxPauseSeconds = 59;

// The program loaded from a protocol item or session puts this pause between programs.
inline constexpr int32_t ListPauseMinutes = 1;

struct ControlEntry {
    int32_t kind = KindEndMarker;
    int32_t value = 0; // program: program index (number - 1); pause: seconds 0..59; otherwise 0

    friend bool operator==(const ControlEntry&, const ControlEntry&) = default;
};

// Message k of the language's message table.
using MessageLookup = std::function<std::string(int)>;

// Enabled state of the six editing buttons of the main window.
struct EditButtonStates {
    bool add = true;       // ACButton, APButton, AWButton: fewer than 20 items
    bool remove = false;   // DelButton: the selected line is an item
    bool download = false; // DlButton, NewButton: at least one item

    friend bool operator==(const EditButtonStates&, const EditButtonStates&) = default;
};

// Outcome of "Add Pause". error non-empty: the text to show in an error box; nothing was added.
// added false with an empty error: nothing to do (0:00, or the program is full).
struct AddPauseResult {
    bool added = false;
    std::string error;
};

// Parses a typed integer: optional leading blanks, an optional sign and decimal digits, nothing
// after them, within 32 bits. false when the text is not such an integer.
bool ParseIntegerText(std::string_view text, int32_t& result);

// The one control program the user composes: a fixed table of 21 slots, the last slot in use
// always holding the end marker. Every operation keeps the list lines, the total and the button
// states up to date, so the window only copies them into its controls.
class ControlProgram {
public:
    struct Snapshot {
        std::array<ControlEntry, MaxControlEntries> entries{};
        int32_t count = 1;
        int32_t selected = 0;
    };

    // Labels and running times come from the catalogue at every refresh, so a language change
    // shows up with the next RefreshControlList. Both must outlive the control program.
    ControlProgram(const ProgramCatalogue& catalogue, MessageLookup messages);

    // Slots in use, end marker last.
    std::span<const ControlEntry> entries() const { return {entries_.data(), static_cast<size_t>(count_)}; }
    // The items without the end marker: what the device image is built from.
    std::span<const ControlEntry> items() const { return {entries_.data(), static_cast<size_t>(count_ - 1)}; }
    int count() const { return count_; }
    int itemCount() const { return count_ - 1; }
    int selected() const { return selected_; }
    int64_t totalSeconds() const { return totalSeconds_; }

    // The lines of ControlListBox (one per slot, end line last) and the one line of TimeList.
    const std::vector<std::string>& lines() const { return lines_; }
    const std::string& totalText() const { return totalText_; }
    const EditButtonStates& buttons() const { return buttons_; }

    // Rebuilds the lines and the total; the selected line stays `selected`.
    void RefreshControlList();

    // Inserts above the selected line. false, silently, when the program is full or the kind is
    // not an item kind (a pause must have 0..99 minutes and 0..59 seconds).
    bool InsertControlItem(int32_t kind, int32_t value);
    // programIndex: the program of the selected ProgListBox line; negative when none is selected.
    // An index outside the catalogue is refused.
    bool AddSelectedProgram(int programIndex);
    // The texts of EditMin and EditSec.
    AddPauseResult AddPause(std::string_view minutesText, std::string_view secondsText);
    bool AddWait();
    // Removes the selected item; the selection falls on the line that followed it.
    bool DeleteSelected();
    // "New Program": only the end marker left.
    void Clear();
    // ControlLB1Click; false for a line outside the list.
    bool SelectLine(int line);
    // Replaces the program by up to 15 program numbers ended by 0, with a 1:00 pause between
    // consecutive programs; capacity cuts longer lists.
    void LoadProgramList(std::span<const uint32_t> programNumbers);
    void LoadProgramList(std::span<const int32_t> programNumbers);
    // The self-test: a single program item of the given index followed by the end marker.
    void LoadSelfTest(int programIndex);

    // The self-test replaces the composed program; it is put back afterwards.
    Snapshot Save() const;
    void Restore(const Snapshot& snapshot);

    // DelButton: disabled when the selected slot holds the end marker.
    void UpdateDeleteButton();

private:
    void Reset();
    template <typename Number> void LoadNumbers(std::span<const Number> numbers);

    const ProgramCatalogue& catalogue_;
    MessageLookup messages_;
    std::array<ControlEntry, MaxControlEntries> entries_{};
    int32_t count_ = 1;
    int32_t selected_ = 0;
    int64_t totalSeconds_ = 0;
    std::vector<std::string> lines_;
    std::string totalText_;
    EditButtonStates buttons_;
};

} // namespace trv
