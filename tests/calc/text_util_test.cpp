#include "calc/text_util.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

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
