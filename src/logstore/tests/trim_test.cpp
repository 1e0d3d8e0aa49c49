#include "logstore/trim.h"

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(Trim, CutsSpacesAndControlCharactersAtTheEndsOnly)
{
    EXPECT_EQ(Trim("  DL1ABC \t\r\n"), "DL1ABC");
    EXPECT_EQ(Trim("\x01 EU-005 \x1F"), "EU-005");
    EXPECT_EQ(Trim("op  Hans"), "op  Hans") << "blanks inside stay";
    EXPECT_EQ(Trim(" \t\r\n "), "");
    EXPECT_EQ(Trim(""), "");
    // cp1252 letters (bytes above 127, negative as char) are text, not blanks.
    EXPECT_EQ(Trim(" \xE9t\xE9 "), "\xE9t\xE9");
    EXPECT_EQ(Trim("\xA0"), "\xA0") << "cp1252's no-break space is kept";

    EXPECT_EQ(TrimLeft("  a b  "), "a b  ");
    EXPECT_EQ(TrimRight("  a b  "), "  a b");
}

} // namespace
} // namespace vellum
