#include "calc/short_decimal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "calc/decimal_number.h"

namespace quorvel {
namespace {

// What the evaluator wrote before the short path existed.
std::string viaDecimalNumber(char op, const std::string& x, const std::string& y, int p) {
    const DecimalNumber a(x, 10, p);
    const DecimalNumber b(y, 10, p);
    DecimalNumber r;
    switch (op) {
        case '+':
            r = add(a, b, p);
            break;
        case '-':
            r = subtract(a, b, p);
            break;
        case '*':
            r = multiply(a, b, p);
            break;
        default:
            r = divide(a, b, p);
            break;
    }
    return r.toString(10, p);
}

TEST(ShortDecimalApply, WorkedExamples) {
    struct Case {
        char op;
        const char* x;
        const char* y;
        int precision;
        const char* result;
    };
    constexpr Case kCases[] = {
        {'/', "1", "3", 5, "0.33333"},
        {'/', "2", "3", 5, "0.66666"},
        {'/', "-7", "2", 18, "-3.5"},
        {'/', "0", "7", 18, "0"},
        {'/', "-1", "3", 0, "-0"},  // a truncated quotient keeps its sign
        {'-', "5", "5", 18, "0"},
        {'+', "-5", "5", 18, "0"},
        {'+', "-0", "-0", 18, "-0"},
        {'-', "-0", "0", 18, "-0"},
        {'*', "0", "-5", 18, "-0"},
        {'*', "-2", "-3", 18, "6"},
        {'*', "1.25", "0.8", 18, "1"},
        {'*', "0.5", "0.5", 18, "0.25"},
        {'+', "0.1", "0.2", 18, "0.3"},
        {'+', "9.99", "0.01", 18, "10"},
        {'*', "123.456789", "1", 3, "123.456"},
        {'*', "0.000123456", "1", 3, "0.000123"},
        {'*', "0.05", "1", 0, "0.0"},  // below 1 the cut counts significant digits
        {'*', "-0.5", "1", 0, "-0"},
        {'+', "1.2301", "0", 3, "1.230"},  // the cut does not trim again
        {'+', ".5", "5.", 18, "5.5"},
        {'-', "007.50", "0.5", 18, "7"},
        // Scaled dividends past 128 bits, divided step by step by a divisor of 64 bits.
        {'/', "123456789012", "7", 30, "17636684144.571428571428571428571428571428"},
        {'/', "0.3333333333333333333333333333333", "7", 31, "0.047619047619047619047619047619"},
        {'/', "-98765432109876543210.5", "0.25", 31, "-395061728439506172842"},
        {'/', "1", "18446744073709551615", 40, "0.0000000000000000000542101086242752217033"},
        // Runs of digits read eight at a time, across the 19 digits gathered in 64 bits.
        {'/', "954.30213521033220842", "2", 31, "477.15106760516610421"},
        {'+', "1234567812345678.1234", "0.0000000000000000001", 31,
         "1234567812345678.1234000000000000001"},
        {'*', "99999999", "100000001", 31, "9999999999999999"},
        {'-', "10000000000000000000", "1", 31, "9999999999999999999"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.x) + c.op + c.y + " p=" + std::to_string(c.precision));
        const auto fast = ShortDecimalApply(c.op, c.x, c.y, c.precision);
        ASSERT_TRUE(fast.has_value());
        EXPECT_EQ(*fast, c.result);
        EXPECT_EQ(viaDecimalNumber(c.op, c.x, c.y, c.precision), c.result);
    }
}

TEST(ShortDecimalApply, LeavesWhatItCannotDoToDecimalNumber) {
    struct Case {
        char op;
        const char* x;
        const char* y;
        int precision;
    };
    constexpr Case kCases[] = {
        {'/', "5", "0", 30},
        {'/', "5", "-0.000", 30},
        {'^', "2", "3", 30},
        {'+', "12345678901234567890123456789012345678", "1", 30},
        {'*', "12345678901234567890", "12345678901234567890", 30},
        // The scaled dividend passes 128 bits and the divisor 64.
        {'/', "123456789012", "18446744073709551616", 30},
        {'+', "1.2.3", "1", 30},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.x) + c.op + c.y);
        EXPECT_FALSE(ShortDecimalApply(c.op, c.x, c.y, c.precision).has_value());
    }
}

std::string randomOperand(std::mt19937& rng) {
    auto below = [&rng](unsigned n) { return rng() % n; };
    std::string s;
    if (below(3) == 0) s += '-';
    const unsigned whole = below(8);
    if (whole == 0 && below(4) != 0) s += '0';
    for (unsigned i = 0; i < whole; ++i) s += static_cast<char>('0' + below(10));
    if (below(2) == 0 || s.empty() || s == "-") {
        s += '.';
        const unsigned fraction = 1 + below(14);
        const unsigned zeros = below(3) == 0 ? below(6) : 0;
        for (unsigned i = 0; i < fraction; ++i) {
            s += static_cast<char>(i < zeros ? '0' : '0' + below(10));
        }
    }
    return s;
}

// Every short operation agrees with DecimalNumber digit for digit, signs of zero included.
TEST(ShortDecimalApply, AgreesWithDecimalNumber) {
    std::mt19937 rng(7);
    const char kOps[] = {'+', '-', '*', '/'};
    const int kPrecisions[] = {0, 1, 3, 11, 13, 31};
    int taken = 0;
    int compared = 0;
    for (int i = 0; i < 40000; ++i) {
        const std::string x = randomOperand(rng);
        const std::string y = randomOperand(rng);
        const char op = kOps[rng() % 4];
        const int p = kPrecisions[rng() % 6];
        if (op == '/' && DecimalNumber(y).isZero()) continue;
        ++compared;
        const auto fast = ShortDecimalApply(op, x, y, p);
        if (!fast) continue;
        ++taken;
        const std::string slow = viaDecimalNumber(op, x, y, p);
        if (*fast != slow) {
            ADD_FAILURE() << x << ' ' << op << ' ' << y << " p=" << p << ": " << *fast
                          << " instead of " << slow;
        }
    }
    // The operands are short: nearly all of them must take the short path.
    EXPECT_GT(taken, compared * 9 / 10);
}

// Operands of 15 to 40 digits: the reading gathers 19 digits at a time, and 37 significant
// digits or 37 fraction digits are the most it takes. Leading zeros do not count.
TEST(ShortDecimalApply, LongOperandsAgreeWithDecimalNumber) {
    std::mt19937 rng(11);
    auto below = [&rng](unsigned n) { return rng() % n; };
    auto longOperand = [&] {
        std::string s = below(3) == 0 ? "-" : "";
        const unsigned whole = below(24);
        const unsigned fraction = below(3) == 0 ? 0 : below(40 - std::min(whole, 20u));
        s += whole == 0 ? "0" : std::string(1, static_cast<char>('1' + below(9)));
        for (unsigned i = 1; i < whole; ++i) s += static_cast<char>('0' + below(10));
        if (fraction > 0) {
            s += '.';
            const unsigned zeros = below(2) == 0 ? below(fraction) : 0;
            for (unsigned i = 0; i < fraction; ++i) {
                s += static_cast<char>(i < zeros ? '0' : '0' + below(10));
            }
        }
        return s;
    };
    const char kOps[] = {'+', '-', '*', '/'};
    int taken = 0;
    for (int i = 0; i < 20000; ++i) {
        const std::string x = longOperand();
        const std::string y = below(2) == 0 ? longOperand() : std::to_string(1 + below(999));
        const char op = kOps[below(4)];
        if (op == '/' && DecimalNumber(y).isZero()) continue;
        const auto fast = ShortDecimalApply(op, x, y, 31);
        if (!fast) continue;
        ++taken;
        const std::string slow = viaDecimalNumber(op, x, y, 31);
        if (*fast != slow) {
            ADD_FAILURE() << x << ' ' << op << ' ' << y << ": " << *fast << " instead of " << slow;
        }
    }
    EXPECT_GT(taken, 5000);  // the comparison means something only if many took the short path
}

TEST(ShortDecimalApply, DigitLimitsOfTheShortPath) {
    struct Case {
        char op;
        std::string x;
        std::string y;
        std::string expected;  // "" where DecimalNumber must take it
    };
    const std::string nines37(37, '9');
    const std::string nines38(38, '9');
    const std::string fraction37 = "0." + std::string(36, '0') + "1";
    const std::string fraction38 = "0." + std::string(37, '0') + "1";
    const std::string nineteen = "1234567890123456789";
    const Case kCases[] = {
        {'+', nines37, "0", nines37},
        {'+', nines38, "0", ""},
        {'+', "000" + nines37, "0", nines37},  // leading zeros are free
        {'*', fraction37, "1", "0.0000000000000000000000000000000000001"},
        {'*', fraction38, "1", ""},
        {'+', nineteen + "0", "1", "12345678901234567891"},
        {'+', nineteen + "." + nineteen.substr(0, 18), "0",
         "1234567890123456789.123456789012345678"},  // 37 digits, two gatherings of 19
        {'+', nineteen + "." + nineteen, "0", ""},   // 38
        {'-', "100000000000000000000", "1", "99999999999999999999"},
        {'+', "10000000000000000000", "0", "10000000000000000000"},
        {'+', "9999999999999999999", "1", "10000000000000000000"},
        {'+', "1.2.3", "1", ""},
        {'+', "12a", "1", ""},
        {'+', ".", "1", "1"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.x + c.op + c.y);
        const auto fast = ShortDecimalApply(c.op, c.x, c.y, 18);
        EXPECT_EQ(fast.value_or(""), c.expected);
        if (fast) {
            EXPECT_EQ(*fast, viaDecimalNumber(c.op, c.x, c.y, 18));
        }
    }
}

}  // namespace
}  // namespace quorvel
