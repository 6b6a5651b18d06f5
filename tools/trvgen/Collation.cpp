#include "tools/trvgen/Collation.h"

#include <array>
#include <string>
#include <vector>

namespace trv::gen {

namespace {

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        int length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 4;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (int i = 1; i < length && pos + static_cast<size_t>(i) < text.size(); ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[pos + static_cast<size_t>(i)]) & 0x3F);
        out += c;
        pos += static_cast<size_t>(length);
    }
    return out;
}

struct Folded {
    char32_t base; // lower case, long vowel made short
    bool accented; // a long vowel (á, é, í, ó, ő, ú, ű) or another accented letter
};

Folded fold(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        c = c - U'A' + U'a';
    switch (c) {
    case U'Á':
    case U'á':
        return {U'a', true};
    case U'É':
    case U'é':
        return {U'e', true};
    case U'Í':
    case U'í':
        return {U'i', true};
    case U'Ó':
    case U'ó':
        return {U'o', true};
    case U'Ö':
    case U'ö':
        return {U'ö', false};
    case U'Ő':
    case U'ő':
        return {U'ö', true};
    case U'Ú':
    case U'ú':
        return {U'u', true};
    case U'Ü':
    case U'ü':
        return {U'ü', false};
    case U'Ű':
    case U'ű':
        return {U'ü', true};
    default:
        return {c, false};
    }
}

// The letters in order; a digraph is one letter.
constexpr std::array<std::u32string_view, 37> HungarianLetters = {
    U"a",  U"b", U"c",  U"cs", U"d", U"dz", U"dzs", U"e", U"f", U"g", U"gy", U"h", U"i",
    U"j",  U"k", U"l",  U"ly", U"m", U"n",  U"ny",  U"o", U"ö", U"p", U"q",  U"r", U"s",
    U"sz", U"t", U"ty", U"u",  U"ü", U"v",  U"w",   U"x", U"y", U"z", U"zs",
};

constexpr int SeparatorRank = 1;
constexpr int DigitRank = 10;   // + digit
constexpr int LetterRank = 100; // + position in the alphabet
constexpr int OtherRank = 1000; // + code point: letters outside the alphabet come last

int letterRank(std::u32string_view letter) {
    for (size_t i = 0; i < HungarianLetters.size(); ++i) {
        if (HungarianLetters[i] == letter)
            return LetterRank + static_cast<int>(i);
    }
    return -1;
}

bool isDigraph(std::u32string_view s) {
    return s.size() == 2 && letterRank(s) >= 0;
}

struct CollationKey {
    std::vector<int> primary;
    std::vector<int> secondary;
};

CollationKey keyOf(std::string_view name, Alphabet alphabet) {
    const std::u32string text = decodeUtf8(name);
    std::u32string base;
    std::vector<int> accent;
    for (char32_t c : text) {
        const Folded f = fold(c);
        base += f.base;
        accent.push_back(f.accented ? 1 : 0);
    }

    CollationKey key;
    size_t i = 0;
    auto emit = [&](int rank, size_t length) {
        int accented = 0;
        for (size_t k = i; k < i + length; ++k)
            accented |= accent[k];
        key.primary.push_back(rank);
        key.secondary.push_back(accented);
    };
    while (i < base.size()) {
        const char32_t c = base[i];
        if (c >= U'0' && c <= U'9') {
            emit(DigitRank + static_cast<int>(c - U'0'), 1);
            ++i;
            continue;
        }
        const bool letter = (c >= U'a' && c <= U'z') || c == U'ö' || c == U'ü';
        if (!letter) {
            emit(c > 0x7F ? OtherRank + static_cast<int>(c) : SeparatorRank, 1);
            ++i;
            continue;
        }
        if (alphabet == Alphabet::English) {
            // English knows ö and ü only as o and u with a mark.
            const char32_t plain = c == U'ö' ? U'o' : c == U'ü' ? U'u' : c;
            accent[i] |= plain != c ? 1 : 0;
            emit(LetterRank + static_cast<int>(plain - U'a'), 1);
            ++i;
            continue;
        }
        const std::u32string_view rest = std::u32string_view(base).substr(i);
        if (rest.substr(0, 3) == U"dzs") {
            emit(letterRank(U"dzs"), 3);
            i += 3;
        } else if (rest.size() >= 3 && rest[0] == rest[1] && isDigraph(rest.substr(1, 2))) {
            // A doubled digraph is written with its first letter doubled: ssz is sz + sz.
            const int rank = letterRank(rest.substr(1, 2));
            emit(rank, 1);
            ++i;
            emit(rank, 2);
            i += 2;
        } else if (rest.size() >= 2 && isDigraph(rest.substr(0, 2))) {
            emit(letterRank(rest.substr(0, 2)), 2);
            i += 2;
        } else {
            emit(letterRank(rest.substr(0, 1)), 1);
            ++i;
        }
    }
    return key;
}

template <typename Sequence> int compareSequences(const Sequence& a, const Sequence& b) {
    if (a < b)
        return -1;
    return b < a ? 1 : 0;
}

} // namespace

int compareNames(std::string_view a, std::string_view b, Alphabet alphabet) {
    const CollationKey ka = keyOf(a, alphabet);
    const CollationKey kb = keyOf(b, alphabet);
    if (int r = compareSequences(ka.primary, kb.primary))
        return r;
    if (int r = compareSequences(ka.secondary, kb.secondary))
        return r;
    // Left: case and the kind of separator. Reversed byte order puts lower case first.
    return compareSequences(std::string(b), std::string(a));
}

} // namespace trv::gen
