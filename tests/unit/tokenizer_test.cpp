// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "uci/commands.h"

namespace {
TEST(SplitCommand, CutsAtEverySingleSeparator) {
    EXPECT_EQ(split_command(""), Tokens({""}));
    EXPECT_EQ(split_command("uci"), Tokens({"uci"}));
    EXPECT_EQ(split_command("go  depth 3"), Tokens({"go", "", "depth", "3"}));
    EXPECT_EQ(split_command(" go"), Tokens({"", "go"}));
    EXPECT_EQ(split_command("go "), Tokens({"go", ""}));
    EXPECT_EQ(split_command("\t"), Tokens({"", ""}));
    EXPECT_EQ(split_command("a\tb\nc\rd e"), Tokens({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(split_command(std::string("a\0b", 3)), Tokens({std::string("a\0b", 3)}));
}

TEST(ReadNumber, AcceptsAnOptionalSignAndWrapsNegatives) {
    EXPECT_EQ(read_number("0"), 0u);
    EXPECT_EQ(read_number("+2"), 2u);
    EXPECT_EQ(read_number("-1"), 4294967295u);
    EXPECT_EQ(read_number("4294967295"), 4294967295u);
    for (const char* bad : {"", "4294967296", "x", "1 ", " 1", "+", "-", "1.5", "0x10"}) {
        EXPECT_ANY_THROW(read_number(bad)) << bad;
    }
}
}  // namespace
