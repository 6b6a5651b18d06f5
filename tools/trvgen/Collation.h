#pragma once

#include <string_view>

namespace trv::gen {

// The alphabetical order of a language's names file.
enum class Alphabet {
    English,   // letters a to z, case ignored
    Hungarian, // the Hungarian alphabet: digraphs (cs, dz, dzs, gy, ly, ny, sz, ty, zs) are letters of
               // their own, ö/ő and ü/ű follow o and u, and a long vowel only decides between names
               // that are otherwise equal
};

// Negative, zero or positive as the UTF-8 name a sorts before, together with or after b. Spaces and
// punctuation sort before digits, digits before letters; case decides only between names that are
// otherwise equal.
int compareNames(std::string_view a, std::string_view b, Alphabet alphabet);

} // namespace trv::gen
