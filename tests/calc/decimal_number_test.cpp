#include "calc/decimal_number.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace quorvel {
namespace {

using Op = DecimalNumber (*)(const DecimalNumber&, const DecimalNumber&, std::int32_t);

DecimalNumber N(const char* text) { return DecimalNumber(std::string_view(text)); }

TEST(DecimalNumber, StoresDigitsLowestFirstAroundThePointMarker) {
    struct Case {
        const char* text;
        int sign;
        std::vector<std::uint8_t> digits;
    };
    const std::uint8_t P = DecimalNumber::kPointMarker;
    const Case kCases[] = {
        {"12.5", 1, {5, P, 2, 1}}, {"-0.07", -1, {7, 0, P, 0}}, {"300", 1, {0, 0, 3}},
        {"0.25", 1, {5, 2, P, 0}}, {".5", 1, {5, P}},           {"007", 1, {7}},
        {"000", 1, {0}},           {"00.5", 1, {5, P, 0}},      {"", 1, {0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        const DecimalNumber n = N(c.text);
        EXPECT_EQ(n.sign(), c.sign);
        EXPECT_EQ(n.digits(), c.digits);
        EXPECT_EQ(n.precision(), DecimalNumber::kDefaultPrecision);
    }
}

TEST(DecimalNumber, ReadsTextForgivingly) {
    struct Case {
        const char* text;
        const char* printed;
    };
    constexpr Case kCases[] = {
        {"  -12.50 ", "-12.50"},
        {"007", "7"},
        {"0.5", "0.5"},
        {".5", ".5"},
        {"12a34", "34"},
        {"", "0"},
        {"   ", "0"},
        {"+5", "5"},
        {"-0", "-0"},
        {"5.", "5."},
        {"1.2.3", "2.3"},
        {"00.50", "0.50"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(N(c.text).toString(), c.printed);
    }
}

TEST(DecimalNumber, ConstructsFromIntegers) {
    EXPECT_EQ(DecimalNumber(0).toString(), "0");
    EXPECT_EQ(DecimalNumber(-2147483647 - 1).toString(), "-2147483648");
    EXPECT_EQ(DecimalNumber(2147483647).toString(), "2147483647");
    EXPECT_EQ(DecimalNumber().toString(), "0");
    EXPECT_EQ(DecimalNumber("9", 10, 7).precision(), 7);
}

struct BinaryCase {
    const char* a;
    const char* b;
    int precision;
    const char* result;
};

void checkEvaluatorForm(Op op, const char* name, const std::vector<BinaryCase>& cases) {
    for (const BinaryCase& c : cases) {
        SCOPED_TRACE(std::string(name) + "(" + c.a + ", " + c.b + ", " +
                     std::to_string(c.precision) + ")");
        const DecimalNumber r = op(N(c.a), N(c.b), c.precision);
        EXPECT_EQ(r.toString(), c.result);
        EXPECT_EQ(r.precision(), DecimalNumber::kDefaultPrecision);
    }
}

TEST(DecimalNumber, EvaluatorAddAndSubtract) {
    checkEvaluatorForm(add, "add",
                       {{"0.1", "0.2", 31, "0.3"},
                        {"9.99", "0.01", 31, "10"},
                        {"-5", "5", 31, "0"},
                        {"0.5", "0.5", 31, "1"},
                        {"-1.5", "0.25", 31, "-1.25"},
                        {"123.456789", "0", 3, "123.456"},
                        {"0.000123456", "0", 3, "0.000123"},
                        {"99999999999999999999", "1", 31, "100000000000000000000"},
                        {".5", ".25", 31, "0.75"}});
    checkEvaluatorForm(subtract, "subtract",
                       {{"5", "5", 31, "0"},
                        {"-5", "-5", 31, "0"},
                        {"3", "5", 31, "-2"},
                        {"-3", "-5", 31, "2"},
                        {"-3", "5", 31, "-8"},
                        {"3", "-5", 31, "8"},
                        {"10", "0.001", 31, "9.999"},
                        {"1.50", "0.50", 31, "1"},
                        {"0.3", "0.1", 31, "0.2"}});
}

TEST(DecimalNumber, EvaluatorMultiplyAndDivide) {
    checkEvaluatorForm(multiply, "multiply",
                       {{"0", "-5", 31, "-0"},
                        {"-2", "-3", 31, "6"},
                        {"1.25", "0.8", 31, "1"},
                        {"0.5", "0.5", 31, "0.25"},
                        {"0.001", "0.001", 31, "0.000001"},
                        {"123.456789", "1", 3, "123.456"},
                        {"5", "1", 0, "5"},
                        {"-0.5", "4", 31, "-2"}});
    checkEvaluatorForm(divide, "divide",
                       {{"1", "3", 5, "0.33333"},
                        {"2", "3", 5, "0.66666"},
                        {"-7", "2", 18, "-3.5"},
                        {"0", "7", 18, "0"},
                        {"7", "-0.5", 18, "-14"},
                        {"1", "8", 31, "0.125"},
                        {"10", "4", 3, "2.5"},
                        {"1", "7000", 3, "0"},
                        {"100", "0.001", 2, "100000"},
                        {"0.0001", "3", 6, "0.000033"}});
}

TEST(DecimalNumber, PlainOperatorsNeitherTrimNorCut) {
    EXPECT_EQ((N("1.5") - N("0.5")).toString(), "1.0");
    EXPECT_EQ((N("0.5") + N("0.5")).toString(), "1.0");
    EXPECT_EQ((N("5") + N("-5")).toString(), "0");
    EXPECT_EQ((N("5") + N("-5")).digits(), std::vector<std::uint8_t>{0});
    EXPECT_TRUE(add(N("5"), N("-5"), 31).digits().empty());
    EXPECT_EQ((N("1") / N("4")).toString(), "0.250000000000000000");
    DecimalNumber third("1", 10, 5);
    EXPECT_EQ((third / N("3")).toString(), "0.33333");
    third /= N("3");
    EXPECT_EQ(third.toString(), "0.33333");
    EXPECT_EQ(third.precision(), 5);
    DecimalNumber x = N("2.5");
    x *= N("4");
    EXPECT_EQ(x.toString(), "10");
    x += N("0.25");
    EXPECT_EQ(x.toString(), "10.25");
}

TEST(DecimalNumber, Remainder) {
    struct Case {
        const char* a;
        const char* b;
        const char* result;
    };
    constexpr Case kCases[] = {
        {"7", "2", "1"},
        {"-7", "2", "-1"},
        {"7", "-2", "1"},
        {"30.5", "6.28", "5.38"},
        {"0", "3", "0"},
        {"1", "5", "1"},
        {"10", "2.5", "0.0"},
        {"5.5", "2", "1.5"},
        {"0.75", "0.5", "0.25"},
        {"123456789012345678901234567890", "97", "52"},
        {"100000000000000000000", "6.283185307179586476925286766559",
         "5.581833149464332901577595515016"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.a) + " % " + c.b);
        EXPECT_EQ((N(c.a) % N(c.b)).toString(), c.result);
    }
}

TEST(DecimalNumber, ComparesMagnitudeAndSign) {
    EXPECT_TRUE(N("-0") < N("0"));
    EXPECT_FALSE(N("0") < N("-0"));
    EXPECT_TRUE(N("0.50") >= N("0.5"));
    EXPECT_EQ(DecimalNumber::compareMagnitude(N("0.5"), N("0.50")), 0);
    EXPECT_EQ(DecimalNumber::compareMagnitude(N("-7"), N("3")), 1);
    EXPECT_EQ(DecimalNumber::compareMagnitude(N("0.09"), N("0.1")), -1);
    EXPECT_EQ(DecimalNumber::compareMagnitude(N("100"), N("99.999")), 1);
    EXPECT_TRUE(N("-3") < N("-2"));
    EXPECT_TRUE(N("-2") > N("-3"));
    EXPECT_TRUE(N("2") > N("-3"));
    EXPECT_FALSE(N("-3") > N("2"));
    EXPECT_TRUE(N("1.01") > N("1.009"));
    EXPECT_FALSE(N("5") < N("5"));
}

TEST(DecimalNumber, ConvertsToInt32WithinRange) {
    EXPECT_EQ(static_cast<std::int32_t>(N("2147483647")), 2147483647);
    EXPECT_EQ(static_cast<std::int32_t>(N("-2147483648")), -2147483647 - 1);
    EXPECT_EQ(static_cast<std::int32_t>(N("-42")), -42);
    EXPECT_EQ(static_cast<std::int32_t>(N("0")), 0);
    for (const char* text : {"2147483648", "-2147483649", "99999999999", "2147483647.5"}) {
        SCOPED_TRACE(text);
        try {
            (void)static_cast<std::int32_t>(N(text));
            ADD_FAILURE() << "no domain error";
        } catch (const std::domain_error& e) {
            EXPECT_STREQ(e.what(), "ERROR: Domain in operator int()!");
        }
    }
}

TEST(DecimalNumber, ZeroDivisorThrowsBeforeChangingAnything) {
    const auto expectOverflow = [](auto&& f, const char* message) {
        try {
            f();
            ADD_FAILURE() << "no overflow error for " << message;
        } catch (const std::overflow_error& e) {
            EXPECT_STREQ(e.what(), message);
        }
    };
    expectOverflow([] { (void)(N("8") / N("0")); }, "ERROR: Overflow in operator/!");
    expectOverflow([] { (void)(N("8") % N("0.00")); }, "ERROR: Overflow in operator%!");
    DecimalNumber x = N("8");
    expectOverflow([&x] { x /= N("-0"); }, "ERROR: Overflow in operator /=!");
    EXPECT_EQ(x.toString(), "8");
}

TEST(DecimalNumber, WritesOtherRadices) {
    struct Case {
        const char* decimal;
        int radix;
        int precision;
        const char* text;
    };
    constexpr Case kCases[] = {
        {"10.625", 2, 18, "1010.101"}, {"255", 16, 18, "FF"},      {"0.1", 16, 1, "0.199"},
        {"0.5", 2, 18, "0.1"},         {"6", 2, 18, "110"},        {"0", 2, 18, "0"},
        {"-6", 2, 18, "-110"},         {"3.75", 16, 18, "3.C"},    {"12.50", 2, 18, "1100.1"},
        {"64", 8, 18, "100"},          {"-12.5", 10, 18, "-12.5"}, {"0.1", 2, 2, "0.00011"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.decimal) + " in base " + std::to_string(c.radix));
        DecimalNumber n = N(c.decimal);
        EXPECT_EQ(n.toString(c.radix, c.precision), c.text);
        EXPECT_EQ(n.precision(), c.precision);
    }
}

TEST(DecimalNumber, ReadsOtherRadices) {
    struct Case {
        const char* text;
        int radix;
        const char* decimal;
    };
    constexpr Case kCases[] = {
        {"101.1", 2, "5.5"},
        {"FF", 16, "255"},
        {"17", 8, "15"},
        {"0.01", 2, "0.25"},
        {"1A", 16, "26"},
        {"1a", 16, "16"},
        {"-110", 2, "-6"},
        {" 12.5 ", 10, "12.5"},
        {"0.8", 16, "0.5"},
        {"  ", 2, "0"},
        {"102", 2, "4"},
        // Weights past the 18th fraction place are truncated: 2^-19 loses its last digits.
        {"0.0000000000000000001", 2, "0.000001907348632812"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text) + " in base " + std::to_string(c.radix));
        const DecimalNumber n(c.text, c.radix, 31);
        EXPECT_EQ(n.toString(), c.decimal);
        EXPECT_EQ(n.precision(), 31);
    }
}

TEST(DecimalNumber, LongOperandsStayExact) {
    // (10^n - 1)^2 = 10^2n - 2*10^n + 1 exercises every carry of the limb multiplication.
    for (int n : {9, 10, 18, 100, 1000}) {
        SCOPED_TRACE(n);
        const std::string nines(static_cast<std::size_t>(n), '9');
        const std::string expected = std::string(static_cast<std::size_t>(n - 1), '9') + "8" +
                                     std::string(static_cast<std::size_t>(n - 1), '0') + "1";
        const DecimalNumber square = N(nines.c_str()) * N(nines.c_str());
        EXPECT_EQ(square.toString(), expected);
        EXPECT_EQ(divide(square, N(nines.c_str()), 5).toString(), nines);
        EXPECT_EQ((square % N(nines.c_str())).toString(), "0");
    }
}

}  // namespace
}  // namespace quorvel
