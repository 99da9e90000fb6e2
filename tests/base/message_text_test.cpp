// The base's message helpers at their edges: digit widths, group boundaries,
// and a newline taken off only once and only at the end.

#include <gtest/gtest.h>

#include "base/grouped_number.h"
#include "base/hex_text.h"
#include "base/message_line.h"

namespace zmr {
namespace {

TEST(HexText, FixedWidthUpperCaseDigits) {
    EXPECT_EQ(hexNumber(0x0A), "0x0A");
    EXPECT_EQ(hexNumber(0xFF), "0xFF");
    EXPECT_EQ(hexNumber(0x00A, 3), "0x00A");
    EXPECT_EQ(hexNumber(0xFFF, 3), "0xFFF");
    EXPECT_EQ(hexNumber(0x1234, 2), "0x34");  // digits above the width are dropped
    EXPECT_EQ(byteEscape(0x00), "\\x00");
    EXPECT_EQ(byteEscape(0x7F), "\\x7F");
    EXPECT_EQ(byteEscape(0xC2), "\\xC2");
}

TEST(GroupedNumber, CommasBetweenEveryThreeDigitsFromTheRight) {
    EXPECT_EQ(groupThousands(0), "0");
    EXPECT_EQ(groupThousands(999), "999");
    EXPECT_EQ(groupThousands(1000), "1,000");
    EXPECT_EQ(groupThousands(98304), "98,304");
    EXPECT_EQ(groupThousands(360000), "360,000");
    EXPECT_EQ(groupThousands(4171712), "4,171,712");
    EXPECT_EQ(groupThousands(18446744073709551615u), "18,446,744,073,709,551,615");
}

TEST(MessageLine, OneTrailingNewlineTakenOff) {
    EXPECT_EQ(withoutTrailingNewline("Unknown command 0x80\n"), "Unknown command 0x80");
    EXPECT_EQ(withoutTrailingNewline("two\n\n"), "two\n");
    EXPECT_EQ(withoutTrailingNewline("inner\nline"), "inner\nline");
    EXPECT_EQ(withoutTrailingNewline(""), "");
}

}  // namespace
}  // namespace zmr
