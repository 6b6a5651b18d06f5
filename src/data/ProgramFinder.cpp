#include "data/ProgramFinder.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace trv {

namespace {

// The plain letters of U+00C0..U+017F; empty where a character has none (the signs of multiplication and division).
constexpr std::array<const char*, 192> LatinFold = {
    "a", "a", "a",  "a",  "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",  // U+00C0
    "d", "n", "o",  "o",  "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "ss", // U+00D0
    "a", "a", "a",  "a",  "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i",  "i",  // U+00E0
    "d", "n", "o",  "o",  "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y",  // U+00F0
    "a", "a", "a",  "a",  "a", "a", "c",  "c", "c", "c", "c", "c", "c", "c", "d",  "d",  // U+0100
    "d", "d", "e",  "e",  "e", "e", "e",  "e", "e", "e", "e", "e", "g", "g", "g",  "g",  // U+0110
    "g", "g", "g",  "g",  "h", "h", "h",  "h", "i", "i", "i", "i", "i", "i", "i",  "i",  // U+0120
    "i", "i", "ij", "ij", "j", "j", "k",  "k", "k", "l", "l", "l", "l", "l", "l",  "l",  // U+0130
    "l", "l", "l",  "n",  "n", "n", "n",  "n", "n", "n", "n", "n", "o", "o", "o",  "o",  // U+0140
    "o", "o", "oe", "oe", "r", "r", "r",  "r", "r", "r", "s", "s", "s", "s", "s",  "s",  // U+0150
    "s", "s", "t",  "t",  "t", "t", "t",  "t", "u", "u", "u", "u", "u", "u", "u",  "u",  // U+0160
    "u", "u", "u",  "u",  "w", "w", "y",  "y", "y", "z", "z", "z", "z", "z", "z",  "s",  // U+0170
};

void AppendFolded(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    } else if (c >= 0xC0 && c < 0xC0 + LatinFold.size() && *LatinFold[c - 0xC0] != '\0') {
        out += LatinFold[c - 0xC0];
    } else {
        AppendUtf8(out, c);
    }
}

// One character of UTF-8 from at; a malformed byte reads as U+FFFD and moves on by one.
char32_t NextCodepoint(std::string_view text, size_t& at) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + static_cast<size_t>(length) > text.size()) {
        ++at;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(at + static_cast<size_t>(k)) & 0xC0) != 0x80) {
            ++at;
            return 0xFFFD;
        }
        c = (c << 6) | (byte(at + static_cast<size_t>(k)) & 0x3F);
    }
    at += static_cast<size_t>(length);
    return c;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsWordByte(char c) {
    // Bytes of UTF-8 sequences count as letters: an accented letter left unfolded is part of its word.
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || (static_cast<unsigned char>(c) & 0x80) != 0;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < text.size()) {
        const size_t start = text.find_first_not_of(" \t", at);
        if (start == std::string_view::npos)
            break;
        const size_t end = std::min(text.find_first_of(" \t", start), text.size());
        words.push_back(text.substr(start, end - start));
        at = end;
    }
    return words;
}

enum Rank { SameNumber = 0, NumberStart = 1, NameWordStart = 2, NameAnywhere = 3, NoMatch = 4 };

} // namespace

std::string FoldForSearch(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();)
        AppendFolded(out, NextCodepoint(utf8, at));
    return out;
}

std::string FoldForSearch(std::string_view bytes, Codepage page) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes)
        AppendFolded(out, CodepointOf(static_cast<unsigned char>(byte), page));
    return out;
}

std::string CatalogueProgramName(const ProgramCatalogue& catalogue, int number) {
    const CatalogueProgram* program = catalogue.program(number);
    if (program == nullptr)
        return {};
    if (!program->longLabel.empty()) {
        // The long label ends with the running time, " [mm:ss]".
        std::string_view label = program->longLabel;
        if (const size_t time = label.rfind(" ["); time != std::string_view::npos && label.back() == ']')
            label = label.substr(0, time);
        return std::string(label);
    }
    // Without names the short label is all there is: "%3d name".
    std::string_view label = program->shortLabel;
    size_t at = label.find_first_not_of(' ');
    while (at < label.size() && label[at] >= '0' && label[at] <= '9')
        ++at;
    if (at < label.size() && label[at] == ' ')
        ++at;
    return std::string(label.substr(std::min(at, label.size())));
}

ProgramFinder::ProgramFinder(const ProgramCatalogue& catalogue, Codepage page) {
    entries_.reserve(static_cast<size_t>(catalogue.programCount()));
    for (int number = 1; number <= catalogue.programCount(); ++number) {
        Entry& entry = entries_.emplace_back();
        entry.number = number;
        entry.digits = std::to_string(number);
        entry.name = CatalogueProgramName(catalogue, number);
        entry.folded = FoldForSearch(entry.name, page);
    }
}

const std::string& ProgramFinder::name(int number) const {
    static const std::string none;
    return number >= 1 && number <= size() ? entries_[static_cast<size_t>(number - 1)].name : none;
}

std::vector<int> ProgramFinder::find(std::string_view typed) const {
    const std::string query = FoldForSearch(typed);
    const std::vector<std::string_view> words = Words(query);
    std::vector<std::pair<int, int>> found; // rank, number
    for (const Entry& entry : entries_) {
        int rank = SameNumber;
        for (const std::string_view word : words) {
            int best = NoMatch;
            if (AllDigits(word) && entry.digits.starts_with(word))
                best = entry.digits.size() == word.size() ? SameNumber : NumberStart;
            for (size_t at = entry.folded.find(word); best > NameWordStart && at != std::string::npos;
                 at = entry.folded.find(word, at + 1))
                best = at == 0 || !IsWordByte(entry.folded[at - 1]) ? NameWordStart : NameAnywhere;
            rank = std::max(rank, best);
            if (rank == NoMatch)
                break;
        }
        if (rank != NoMatch)
            found.emplace_back(rank, entry.number);
    }
    std::sort(found.begin(), found.end());
    std::vector<int> numbers;
    numbers.reserve(found.size());
    for (const auto& [rank, number] : found)
        numbers.push_back(number);
    return numbers;
}

} // namespace trv
