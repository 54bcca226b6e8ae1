#include <gtest/gtest.h>

#include "tools/number_keys.h"

namespace quorvel {
namespace {

TEST(FloatEditRule, AcceptsDigitsOnePointAndALeadingMinus) {
    struct Case {
        const char* text;
        bool editable;  // may stand in the box
        bool number;    // names a number
    };
    constexpr Case kCases[] = {
        {"", true, false},      {"-", true, false},    {".", true, false},
        {"-.", true, false},    {"2.5", true, true},   {"-2.5", true, true},
        {".5", true, true},     {"5.", true, true},    {"-0", true, true},
        {"2.5.", false, false}, {"5-", false, false},  {"--5", false, false},
        {"1e5", false, false},  {"abc", false, false}, {"2,5", false, false},
        {"+5", false, false},   {" 5", false, false},  {"3.14159", true, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsFloatEntry(c.text), c.editable);
        EXPECT_EQ(IsFloatNumber(c.text), c.number);
    }
}

TEST(FloatEditRule, ReadsTheLeadingNumberLikeAtof) {
    struct Case {
        const char* text;
        double value;
    };
    constexpr Case kCases[] = {
        {"", 0.0},       {"-", 0.0},           {".", 0.0},  {"0.5", 0.5},  {"-1", -1.0},
        {"1.5", 1.5},    {"-1.0001", -1.0001}, {".5", 0.5}, {"-.5", -0.5}, {"2.", 2.0},
        {"12abc", 12.0}, {"1.2.3", 1.2},       {" 7", 7.0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value);
    }
}

TEST(FloatEditRule, WholeNumberBoxesTakeDigitsUpToTheirLength) {
    EXPECT_TRUE(IsDigitsText("", 4));
    EXPECT_TRUE(IsDigitsText("300", 4));
    EXPECT_TRUE(IsDigitsText("9999", 4));
    EXPECT_FALSE(IsDigitsText("10000", 4));
    EXPECT_FALSE(IsDigitsText("-1", 4));
    EXPECT_FALSE(IsDigitsText("1.5", 4));
    EXPECT_EQ(DigitsValue(""), 0);
    EXPECT_EQ(DigitsValue("300"), 300);
    EXPECT_EQ(DigitsValue("007"), 7);
}

}  // namespace
}  // namespace quorvel
