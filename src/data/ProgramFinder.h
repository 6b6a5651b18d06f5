#pragma once

#include "data/Codepage.h"
#include "data/ProgramCatalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace trv {

// Text folded for searching: lower case, accents dropped ("Ellenőrzés" gives "ellenorzes", "ß"
// gives "ss"); characters without a plain letter stay as they are. UTF-8 in, UTF-8 out.
std::string FoldForSearch(std::string_view utf8);
// The same for 8-bit text of a code page.
std::string FoldForSearch(std::string_view bytes, Codepage page);

// A program's name as the lists show it, without its number and running time; 8-bit text of the
// names file. Empty for a number outside the catalogue.
std::string CatalogueProgramName(const ProgramCatalogue& catalogue, int number);

// Finds programs of the catalogue by number and by name in the language of the names loaded.
// The index is built once per catalogue (or language); each query is one scan of it.
class ProgramFinder {
public:
    ProgramFinder() = default;
    explicit ProgramFinder(const ProgramCatalogue& catalogue, Codepage page = Codepage::CentralEuropean);

    // The program numbers matching the typed text (UTF-8), best first: the program of that very
    // number, numbers that start with it, names where every typed word starts a word, then names
    // that hold every typed word anywhere; the same rank by number. Empty text finds every program.
    std::vector<int> find(std::string_view typed) const;

    // The name a program is found by, as the catalogue holds it (8-bit text); empty for a number
    // outside the catalogue.
    const std::string& name(int number) const;
    int size() const { return static_cast<int>(entries_.size()); }

private:
    struct Entry {
        int number = 0;
        std::string digits; // the number as text
        std::string name;   // 8-bit, as in the catalogue
        std::string folded; // FoldForSearch(name)
    };
    std::vector<Entry> entries_;
};

} // namespace trv
