#include "calc/exponent_expansion.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

struct Case {
    const char* text;
    const char* expanded;
};

TEST(ExpandNumberExponent, WritesPlainDigits) {
    constexpr Case kCases[] = {
        {"1.5E+20", "150000000000000000000"},
        {"1.5e20", "150000000000000000000"},
        {"-1.5E+20", "-150000000000000000000"},
        {"+3e2", "+300"},
        {"2.05E-11", "0.0000000000205"},
        {"-2.05E-11", "-0.0000000000205"},
        {"1E-1", "0.1"},
        {"1e0", "1"},
        {"123.456e1", "1234.56"},
        {"123.456E-2", "1.23456"},
        {"123456e-3", "123.456"},
        {"0.05E+3", "50"},
        {"00.5e1", "5"},
        {".5e1", "5"},
        {"5.e2", "500"},
        {"1.50e1", "15"},
        {"0e5", "0"},
        {"9.454254955488E+15", "9454254955488000"},
        {"1e007", "10000000"},
        {"9.999999999800000000001E+21", "9999999999800000000001"},
        {"1.23456789015E+10", "12345678901.5"},
        {"  2.5e-3 ", "0.0025"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ExpandNumberExponent(c.text), c.expanded);
    }
}

TEST(ExpandNumberExponent, OtherTextComesBackTrimmed) {
    constexpr Case kCases[] = {
        {" 12.5 ", "12.5"}, {"0.3048", "0.3048"}, {"*1.8+32", "*1.8+32"}, {"1/3.6", "1/3.6"},
        {"e5", "e5"},       {"1e", "1e"},         {"1e+", "1e+"},         {"1.2.3e4", "1.2.3e4"},
        {"1e2.5", "1e2.5"}, {"--1e2", "--1e2"},   {"1e2x", "1e2x"},       {"abc", "abc"},
        {"", ""},           {"exp(1)", "exp(1)"}, {"1e4001", "1e4001"},  // too many digits to write
                                                                         // out
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ExpandNumberExponent(c.text), c.expanded);
    }
}

TEST(ExpandNumberExponent, LargestExponentIsWrittenOut) {
    const std::string plain = ExpandNumberExponent("1e4000");
    EXPECT_EQ(plain.size(), 4001u);
    EXPECT_EQ(plain, "1" + std::string(4000, '0'));
}

TEST(ExpandExpressionExponents, ExpandsEveryNumberInside) {
    constexpr Case kCases[] = {
        {"1/1.5e3", "1/1500"},
        {"2.5E-3*(4e2)", "0.0025*(400)"},
        {"1e+3-1e-3", "1000-0.001"},
        {"2*-1.5e3", "2*-1500"},
        {" 3*1e2 ", "3*100"},
        {"exp(1e1)", "exp(10)"},
        {"(x-32)*5/9", "(x-32)*5/9"},
        {"366*24*60*60", "366*24*60*60"},
        {"last1e2", "last1e2"},
        {"1e2x", "1e2x"},
        {"2e", "2e"},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ExpandExpressionExponents(c.text), c.expanded);
    }
}

}  // namespace
}  // namespace quorvel
