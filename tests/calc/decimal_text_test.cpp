#include "calc/decimal_text.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

struct TextCase {
    const char* input;
    const char* expected;
};

TEST(StripTrailingZeros, DropsFractionZerosOnly) {
    constexpr TextCase kCases[] = {
        {"12.500", "12.5"}, {"12.000", "12"},       {"120", "120"},
        {"12.", "12"},      {"-0.50", "-0.5"},      {"1.0E+5", "1.0E+5"},
        {"0.0", "0"},       {"100.001", "100.001"}, {"", ""},
    };
    for (const TextCase& c : kCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(StripTrailingZeros(c.input), c.expected);
    }
}

TEST(StripLeadingZeros, KeepsTheDigitBeforeThePoint) {
    constexpr TextCase kCases[] = {
        {"007", "7"},        {"000", "000"}, {"0.5", "0.5"}, {"00.5", "0.5"},    {"-007", "-7"},
        {"-00.25", "-0.25"}, {"0", "0"},     {".5", ".5"},   {"0010.0", "10.0"},
    };
    for (const TextCase& c : kCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(StripLeadingZeros(c.input), c.expected);
    }
}

TEST(RoundToPlaces, RoundsHalfUpWithCarry) {
    struct Case {
        const char* input;
        int places;
        const char* expected;
    };
    constexpr Case kCases[] = {
        {"0.666666", 2, "0.67"}, {"0.125", 2, "0.13"},    {"0.124", 2, "0.12"},
        {"9.996", 2, "10.00"},   {"-9.996", 2, "-10.00"}, {"99.95", 1, "100.0"},
        {"1.5", 0, "2."},        {"12", 2, "12"},         {"1.25", 2, "1.25"},
        {"0.0049", 2, "0.00"},   {"-0.004", 2, "-0.00"},  {"19.99", 1, "20.0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(RoundToPlaces(c.input, c.places), c.expected);
    }
}

TEST(ENotation, LargeAndSmallValues) {
    struct Case {
        const char* value;
        int places;
        int intDigits;
        const char* expected;
    };
    constexpr Case kCases[] = {
        {"12345678901.5", 30, 10, "1.23456789015E+10"},
        {"9999999999", 30, 10, "9999999999"},
        {"10000000000", 30, 10, "1E+10"},
        {"-12345678901", 30, 10, "-1.2345678901E+10"},
        {"12345678901234", 3, 10, "1.234E+13"},
        {"0.00000000001234", 30, 10, "1.234E-11"},
        {"0.00000000001", 30, 10, "1E-11"},
        {"0.0000000001", 30, 10, "0.0000000001"},
        {"0.000000001", 30, 10, "0.000000001"},
        {"-0.0000000000205", 30, 10, "-2.05E-11"},
        {"0.5", 30, 10, "0.5"},
        {"0", 30, 10, "0"},
        {"123456", 30, 3, "1.23456E+5"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ENotation(c.value, c.places, c.intDigits), c.expected);
    }
}

}  // namespace
}  // namespace quorvel
