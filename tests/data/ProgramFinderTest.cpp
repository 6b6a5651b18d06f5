#include "data/ProgramFinder.h"

#include "data/Codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace trv {
namespace {

// Programs 1..count with the given names (UTF-8, stored as the names file's 8-bit text).
ProgramCatalogue Named(const std::vector<std::string>& utf8Names) {
    std::vector<CatalogueProgram> programs;
    ProgramNames names;
    for (size_t k = 0; k < utf8Names.size(); ++k) {
        const int number = static_cast<int>(k + 1);
        CatalogueProgram program;
        program.number = number;
        programs.push_back(program);
        names.nameOrder.push_back(number);
        names.longLabels.push_back(EncodeFromUtf8(utf8Names[k], Codepage::CentralEuropean) + " [01:00]");
        names.shortLabels.push_back(std::to_string(number));
    }
    ProgramCatalogue catalogue;
    catalogue.assemble(1, std::move(programs), {}, {});
    catalogue.applyNames(std::move(names));
    return catalogue;
}

TEST(ProgramFinder, MatchesNumbersAndNamesIgnoringCaseAndAccents) {
    std::vector<std::string> names(120, "Filler");
    names[0] = "Ellenőrzés";             // 1
    names[1] = "Általános harmonizálás"; // 2
    names[11] = "Allergia szezon";       // 12
    names[20] = "Kézfej ÉS csukló";      // 21
    names[111] = "Nyak 12";              // 112
    names[119] = "Fejfájás enyhítés";    // 120
    const ProgramFinder finder(Named(names));
    struct Case {
        const char* typed;
        std::vector<int> found;
    };
    const std::vector<Case> cases = {
        {"ellenorzes", {1}},     {"ELLENŐRZÉS", {1}},         {"  Ellen  ", {1}},
        {"altalanos harm", {2}}, {"harmonizalas altal", {2}}, // words in any order
        {"monizal", {2}},                                     // inside a word
        {"es", {21, 1, 120}},                                 // a word start ("ÉS") before the ends of words
        {"12", {12, 120, 112}},                               // the number itself, numbers starting with it, then names
        {"120", {120}},          {"fej", {120, 21}},          {"fejfajas", {120}},
        {"nothing like it", {}}, {"13 filler", {13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(finder.find(c.typed), c.found);
    }
    EXPECT_EQ(finder.find("").size(), 120u);
    EXPECT_EQ(finder.name(1), EncodeFromUtf8("Ellenőrzés", Codepage::CentralEuropean));
}

} // namespace
} // namespace trv
