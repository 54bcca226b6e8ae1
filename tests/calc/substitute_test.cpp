#include "calc/substitute.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(SubstituteValues, ReplacesRecentResultsPiAndParameters) {
    struct Case {
        const char* expression;
        int places;
        const char* substituted;
    };
    constexpr Case kCases[] = {
        {"last1*2", 30, "4*2"},
        {"3-last2", 30, "3-(-5)"},
        {"last3+last4+last5", 30, "0.5+0+0"},
        {"2*pi", 2, "2*3.14"},
        {"2*pi", 5, "2*3.14159"},
        {"3*m", 30, "3*(-4)"},
        {"f+k+w", 30, "1+2.5+1"},
        {"sqrt(m)", 30, "sqrt((-4))"},
        {"last1*99999999999", 30, "4*99999999999"},
        {"last6", 30, "last6"},
        {"2+3", 30, "2+3"},
    };
    const RecentResults recent = {"4", "-5", "0.5", "0", "0"};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expression);
        CalcSettings settings;
        settings.places = c.places;
        settings.parameters = {"1", "2.5", "-4", "1"};
        EXPECT_EQ(SubstituteValues(c.expression, recent, settings), c.substituted);
    }
}

TEST(SubstituteValues, WritesValuesInEFormAsPlainDigits) {
    const RecentResults recent = {"9.999999999800000000001E+21", "-1.5E-11", "0", "0", "0"};
    CalcSettings settings;
    settings.parameters = {"2E+3", "1", "1", "1"};
    EXPECT_EQ(SubstituteValues("last1/99999999999", recent, settings),
              "9999999999800000000001/99999999999");
    EXPECT_EQ(SubstituteValues("last2+f", recent, settings), "(-0.000000000015)+2000");
}

}  // namespace
}  // namespace quorvel
