#include "calc/text_util.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

// Capitals become small letters wherever they stand in the words read eight at a time, the
// characters next to 'A' and 'Z' stay, and bytes past ASCII are left to the C library.
TEST(ToLower, LowersCapitalsOnlyAtEveryPosition) {
    const struct {
        std::string text, expected;
    } cases[] = {
        {"", ""},
        {"SIN(PI)", "sin(pi)"},
        {"@AZ[`az{", "@az[`az{"},
        {"LAST1+last2*LaSt3-PI/SQRT(2)", "last1+last2*last3-pi/sqrt(2)"},
        {"12345678ABCDEFGHijklmnopQRSTUVWXYZ", "12345678abcdefghijklmnopqrstuvwxyz"},
        {"ABCDEFG\xC3\x84"
         "BCDEFGH",
         "abcdefg\xC3\x84"
         "bcdefgh"},  // "A" with two dots stays
    };
    for (const auto& c : cases) EXPECT_EQ(ToLower(c.text), c.expected) << c.text;
    // One capital at each position of texts up to three words long.
    for (std::size_t length = 1; length <= 24; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string text(length, 'x');
            text[at] = 'Q';
            std::string expected(length, 'x');
            expected[at] = 'q';
            EXPECT_EQ(ToLower(text), expected) << length << ' ' << at;
        }
    }
}

TEST(EraseCarriageReturns, KeepsEverythingElseInOrder) {
    const struct {
        std::string text, expected;
    } cases[] = {
        {"", ""},
        {"2+3", "2+3"},
        {"\r", ""},
        {"\r\r\r", ""},
        {"2+3\r\n=5", "2+3\n=5"},
        {"\r2+3\r\n=5\r", "2+3\n=5"},
        {"a\rb\r\rc", "abc"},
        {"\n\r\n\r", "\n\n"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EraseCarriageReturns(text);
        EXPECT_EQ(text, c.expected) << '"' << c.text << '"';
    }
}

// The long line's working: hundreds of lines, each moved over the gaps left before it.
TEST(EraseCarriageReturns, MovesALongWorkingLineByLine) {
    std::string working, expected;
    for (int i = 0; i < 500; ++i) {
        const std::string line = "=" + std::string(static_cast<std::size_t>(i % 37 + 1), '7');
        working += line + "\r\n";
        expected += line + "\n";
    }
    EraseCarriageReturns(working);
    EXPECT_EQ(working, expected);
}

}  // namespace
}  // namespace quorvel
