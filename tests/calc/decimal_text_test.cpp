#include "calc/decimal_text.h"

#include <gtest/gtest.h>

#include <string>

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

// FormatResult asks NeedsENotation before it builds an E form; the two must never disagree.
TEST(NeedsENotation, AgreesWithENotation) {
    constexpr const char* kValues[] = {"0",
                                       "-0",
                                       "5",
                                       "9999999999",
                                       "10000000000",
                                       "-10000000000",
                                       "12345.678",
                                       "0.5",
                                       "0.0000000001",
                                       "0.00000000001",
                                       "-0.00000000001",
                                       "0.",
                                       "0.000",
                                       "",
                                       "-",
                                       "123",
                                       "1234",
                                       "0.001",
                                       "0.0001",
                                       "00012",
                                       "1.",
                                       ".5",
                                       "-123456789012.5"};
    for (const char* value : kValues) {
        for (int digits : {-1, 0, 1, 3, 4, 10}) {
            SCOPED_TRACE(std::string(value) + " N=" + std::to_string(digits));
            EXPECT_EQ(NeedsENotation(value, digits), ENotation(value, 30, digits) != value);
        }
    }
}

// The forms that write into a caller's string give what the returning ones give, whatever
// that string held before.
TEST(DecimalText, WritingIntoABufferGivesTheSameText) {
    constexpr const char* kTexts[] = {"12.500", "-0.0045", "0009.99", "-99.995", "000",
                                      "1.0E+5", "",        "-",       "7",       "0.05"};
    std::string out = "left over from before, and longer than any result";
    for (const char* text : kTexts) {
        for (int places : {-1, 0, 1, 2, 3}) {
            SCOPED_TRACE(std::string(text) + " P=" + std::to_string(places));
            RoundToPlaces(text, places, out);
            EXPECT_EQ(out, RoundToPlaces(text, places));
        }
        StripLeadingZeros(text, out);
        EXPECT_EQ(out, StripLeadingZeros(text));
        EXPECT_EQ(std::string(WithoutTrailingZeros(text)), StripTrailingZeros(text));
    }
}

}  // namespace
}  // namespace quorvel
