#include "calc/precise_functions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/decimal_text.h"
#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

struct Case {
    const char* expression;
    const char* result;  // nullptr: the call fails with `shown`
    std::string shown = {};
};

std::string warning(std::string_view text) {
    return std::string(msg::kTitleWarning) + ": " + std::string(text);
}

void check(AngleUnit unit, int digits, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        RecordingPrompter prompter;
        CalcEngine engine(digits, unit);
        engine.setPreciseFunctions(true);
        const CalcOutcome outcome = engine.CalculateSteps(c.expression, 10);
        present(outcome, prompter);
        if (c.result) {
            EXPECT_TRUE(outcome.ok);
            EXPECT_EQ(outcome.result, c.result);
            EXPECT_EQ(prompter.only(), "");
        } else {
            EXPECT_FALSE(outcome.ok);
            EXPECT_EQ(prompter.only(), c.shown);
        }
    }
}

// Values whose digits are known exactly, through the engine with 31 working digits.
TEST(PreciseFunctions, RadiansToTheWorkingDigits) {
    check(AngleUnit::Radians, 31,
          {
              {"sqrt(2)", "1.4142135623730950488016887242097"},
              {"exp(1)", "2.7182818284590452353602874713527"},
              {"ln(10)", "2.3025850929940456840179914546844"},
              {"log(1000)", "3"},
              {"arctan(1)", "0.7853981633974483096156608458199"},
              {"2^0.5", "1.4142135623730950488016887242097"},
              {"sin(0)", "0"},
              {"tanh(100)", "1"},
              {"exp(-1000)", "0"},
              {"sqrt(0.25)", "0.5"},
          });
}

TEST(PreciseFunctions, DegreesStayExact) {
    check(AngleUnit::Degrees, 31,
          {
              {"sin(30)", "0.5"},
              {"cos(60)", "0.5"},
              {"tan(45)", "1"},
              {"sin(180)", "0"},
              {"sin(-30)", "-0.5"},
              {"arcsin(1)", "90"},
              {"arccos(-1)", "180"},
              {"sin(1000)", "-0.9848077530122080593667430245895"},
          });
}

// The checks and messages are those of the double-precision functions.
TEST(PreciseFunctions, DomainMessagesAreUnchanged) {
    check(AngleUnit::Degrees, 31,
          {
              {"tan(90)", nullptr, std::string(msg::kTitleQuorvel) + ": " + msg::tanOfDegree("90")},
              {"ln(0)", nullptr, warning(msg::kLnDomain)},
              {"log(-1)", nullptr, warning(msg::kLogDomain)},
              {"sqrt(-2)", nullptr, warning(msg::kSqrtDomain)},
              {"arcsin(1.0000000000000000000001)", nullptr, warning(msg::kArcsinDomain)},
              {"(-8)^0.5", nullptr, warning(msg::kNegativeBase)},
              {"0^(-0.5)", nullptr, warning(msg::kPowerNotFinite)},
              {"10^20000.5", nullptr, warning(msg::kPowerNotFinite)},
              {"exp(30000)", nullptr, warning(msg::functionTooLarge("Exp"))},
          });
}

TEST(PreciseFunctions, PiIsComputedToAnyPlaces) {
    const std::string pi = PiDigits(1000);
    EXPECT_EQ(pi.size(), 1002u);
    EXPECT_EQ(pi.substr(0, 103), kPiText);
    // The run of six 9s starts at place 762 (index 763), and place 1000 is a 9.
    EXPECT_EQ(pi.substr(763, 6), "999999");
    EXPECT_EQ(pi.back(), '9');
}

// The digits past the working places decide the rounding: 0.5 - tiny never rounds to 0.
TEST(PreciseFunctions, RoundingIsDecidedByTheGuardDigits) {
    for (int places : {1, 5, 30, 200}) {
        SCOPED_TRACE(places);
        const auto text = PreciseFunction("sin", "30", places, true);
        ASSERT_TRUE(text);
        EXPECT_EQ(StripTrailingZeros(RoundToPlaces(*text, places)), "0.5");
    }
}

}  // namespace
}  // namespace quorvel
