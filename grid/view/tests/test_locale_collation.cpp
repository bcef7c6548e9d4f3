// The rules the shipped grid sorts and finds by: the locale's sort keys
// order texts exactly as lstrcmpA does, and case follows the ANSI code page.
#include <gtest/gtest.h>

#include <windows.h>

#include "LocaleCollation.h"

namespace quor {

TEST(LocaleCollation, SortKeysOrderTextsAsLstrcmpAAndCaseFollowsTheCodePage)
{
    const Collation& rules = localeCollation();
    const char* texts[] = {"",     "a",   "A",    "ab",  "aB",   "a-b", "ab-", "-5", "5",  "10",
                           "co-op", "coop", "Zeta", "zeta", "a b", "ab ", "_x",  "x_", "\xe9t\xe9", "ete"};
    auto sign = [](int value) { return (value > 0) - (value < 0); };
    for (const char* a : texts) {
        for (const char* b : texts) {
            const int byKey = sign(rules.sortKey(a).compare(rules.sortKey(b)));
            EXPECT_EQ(sign(lstrcmpA(a, b)), byKey) << "'" << a << "' vs '" << b << "'";
            EXPECT_EQ(lstrcmpA(a, b) == 0, rules.same(a, b)) << "'" << a << "' vs '" << b << "'";
        }
    }
    char upper[] = "\xe9t\xe9 x";
    CharUpperBuffA(upper, 6);
    EXPECT_EQ(upper, rules.upperCase("\xe9t\xe9 x"));
    EXPECT_TRUE(rules.sameIgnoringCase("Zeta", "zETA"));
    EXPECT_FALSE(rules.sameIgnoringCase("Zeta", "Zeta "));
}

}  // namespace quor
