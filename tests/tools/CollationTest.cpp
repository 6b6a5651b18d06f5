#include "tools/trvgen/Collation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace trv::gen {
namespace {

struct OrderCase {
    const char* before;
    const char* after;
    Alphabet alphabet;
    const char* why;
};

void PrintTo(const OrderCase& c, std::ostream* os) {
    *os << c.before << " < " << c.after;
}

class NameOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(NameOrder, SortsTheFirstBeforeTheSecond) {
    const OrderCase& c = GetParam();
    EXPECT_LT(compareNames(c.before, c.after, c.alphabet), 0) << c.why;
    EXPECT_GT(compareNames(c.after, c.before, c.alphabet), 0) << c.why;
    EXPECT_EQ(compareNames(c.before, c.before, c.alphabet), 0);
}

constexpr Alphabet HU = Alphabet::Hungarian;
constexpr Alphabet EN = Alphabet::English;

INSTANTIATE_TEST_SUITE_P(
    Cases, NameOrder,
    testing::Values(
        OrderCase{"cukor", "csak", HU, "cs is a letter after c"},
        OrderCase{"csak", "cukor", EN, "English has no digraphs"},
        OrderCase{"zebra", "zsák", HU, "zs is a letter after z"},
        OrderCase{"lusta", "lyuk", HU, "ly is a letter after l"}, OrderCase{"Mély", "Memória", HU, "ly comes before m"},
        OrderCase{"egy", "eggyel", HU, "ggy is gy doubled, not g + gy"},
        OrderCase{"alma", "Álom", HU, "á counts as a until the rest is equal"},
        OrderCase{"kor", "kór", HU, "the long vowel decides only between equal names"},
        OrderCase{"kór", "korsó", HU, "a shorter equal start comes first"}, OrderCase{"ozon", "öt", HU, "ö follows o"},
        OrderCase{"ölt", "őr", HU, "ő counts as ö"}, OrderCase{"uszoda", "üveg", HU, "ü follows u"},
        OrderCase{"Nyak- és váll", "Nyakfeszülés", HU, "punctuation before letters"},
        OrderCase{"a b", "ab", EN, "a space before letters"}, OrderCase{"Zorn", "Zöllner", HU, "ö is a letter after o"},
        OrderCase{"Zöllner", "Zorn", EN, "in English ö is an o"},
        OrderCase{"2 perc", "alma", HU, "digits before letters"}, OrderCase{"apple", "Banana", EN, "case ignored"},
        OrderCase{"Lower back", "Lower back comfort", EN, "a shorter equal start comes first"},
        OrderCase{"alma", "Alma", HU, "lower case first when only case differs"}));

TEST(NameOrder, SortsAHungarianListAsADictionaryDoes) {
    std::vector<std::string> names = {"Vérkeringés", "Ülőideg",  "Csípő",      "Cellulit", "Bőr",  "Boka",
                                      "Általános",   "Allergia", "Anyagcsere", "Ujjak",    "Vénák"};
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return compareNames(a, b, HU) < 0; });
    const std::vector<std::string> expected = {"Allergia", "Általános", "Anyagcsere", "Boka",  "Bőr",        "Cellulit",
                                               "Csípő",    "Ujjak",     "Ülőideg",    "Vénák", "Vérkeringés"};
    EXPECT_EQ(names, expected);
}

} // namespace
} // namespace trv::gen
