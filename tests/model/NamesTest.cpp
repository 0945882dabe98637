#include <gtest/gtest.h>

#include "model/Names.h"

namespace kavo {
namespace {

TEST(NamesTest, CompareNamesFoldsOnlyAsciiLetters) {
    struct Case {
        const char* A;
        const char* B;
        int Sign;
    };
    const Case cases[] = {
        {"abc", "ABC", 0},
        {"Zebra", "_under", -1},  // the underscore follows the upper-case letters
        {"Price", "Prices", -1},  // a prefix sorts first
        {"b", "A", 1},
        {"", "a", -1},
        {"\xC3\xA9", "\xC3\x89", 1},  // no folding outside a-z
    };
    for (const Case& c : cases) {
        const int order = CompareNames(c.A, c.B);
        EXPECT_EQ((order > 0) - (order < 0), c.Sign) << c.A << " vs " << c.B;
        EXPECT_EQ(-((order > 0) - (order < 0)),
                  (CompareNames(c.B, c.A) > 0) - (CompareNames(c.B, c.A) < 0));
    }
}

TEST(NamesTest, TrimAndBareName) {
    EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(BareName("Price [F]"), "Price");
    EXPECT_EQ(BareName("Price"), "Price");
    EXPECT_EQ(BareName("A [x] [y]"), "A");
}

}  // namespace
}  // namespace kavo
