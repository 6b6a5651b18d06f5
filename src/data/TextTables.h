#pragma once

#include "data/CaptionNumbers.h"
#include "data/Diagnostics.h"
#include "data/TextLines.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace trv {

inline constexpr size_t MaxTextLength = 116; // characters of a text line, line end excluded
inline constexpr int MessageCount = 50;
inline constexpr int CaptionCount = 70;
inline constexpr int MainTextCount = 36;
inline constexpr char TextLineBreak = '\n'; // what a "+" of a text line becomes

// A fixed table of 8-bit texts looked up by number from 0; empty until filled.
template <int Size> class TextTable {
public:
    static constexpr int size() { return Size; }

    // Empty for a number outside the table.
    const std::string& text(int k) const {
        static const std::string none;
        return k >= 0 && k < Size ? texts_[static_cast<size_t>(k)] : none;
    }
    void set(int k, std::string text) {
        if (k >= 0 && k < Size)
            texts_[static_cast<size_t>(k)] = std::move(text);
    }

private:
    std::array<std::string, Size> texts_;
};

using MessageTable = TextTable<MessageCount>;
using CaptionTable = TextTable<CaptionCount>;

// The next text of caphint.txt or msg.txt: empty at the end of the file; otherwise the line cut at
// 116 characters (the rest of that line dropped) with every "+" turned into a line break. A sink
// hears of each cut line.
std::string ReadTextLine(TextLineReader& file, Diagnostics* sink = nullptr);

// Fills the table from entry 0: each text is stored, the first empty one included, then the fill stops;
// it also stops when the table is full. Entries after the stop keep their texts.
template <int Size> void FillTextTable(TextTable<Size>& table, TextLineReader& file, Diagnostics* sink = nullptr) {
    for (int k = 0; k < Size; ++k) {
        std::string text = ReadTextLine(file, sink);
        const bool last = text.empty();
        table.set(k, std::move(text));
        if (last)
            return;
    }
}

using MainWindowTexts = std::array<std::string, MainTextCount>;

inline const std::string& MainTextOf(const MainWindowTexts& texts, MainText which) {
    return texts[static_cast<size_t>(which)];
}

enum class TextRole { Caption, Hint };

// Where a main window text goes: the control's object name, caption or hint, and the line it comes from.
struct MainTextBinding {
    const char* control;
    TextRole role;
    MainText source;
};

// Every main window text in the order it is applied: lines 1 to 36 (except the unused 31 and 32),
// then the page captions copied to the group boxes, so ListGroup ends with the programs page caption.
std::span<const MainTextBinding> MainTextBindings();

} // namespace trv
