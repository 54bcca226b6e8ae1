// The token reduction against the line-by-line reduction it replaces on most expressions:
// same result, same step text, same failure, on listed shapes and on seeded random ones.
// QUORVEL_SEED=n reruns a reported failure.

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "calc/calc_engine.h"
#include "calc/calculate.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

struct Seen {
    CalcOutcome outcome;
    std::string shown;  // every message, in order
};

std::string shownBy(const RecordingPrompter& prompter) {
    std::string s;
    for (const auto& m : prompter.messages) s += m.title + ": " + m.text + "\n";
    return s;
}

Seen onText(std::string_view e, int digits, StepText mode = StepText::Written) {
    RecordingPrompter prompter;
    CalcEngine engine(digits, AngleUnit::Radians);
    Seen seen;
    engine.CalculateStepsOnText(e, 10, seen.outcome, mode);
    present(seen.outcome, prompter);
    seen.shown = shownBy(prompter);
    return seen;
}

Seen calculated(std::string_view e, int digits, StepText mode = StepText::Written) {
    RecordingPrompter prompter;
    CalcEngine engine(digits, AngleUnit::Radians);
    Seen seen;
    engine.CalculateSteps(e, 10, seen.outcome, mode);
    present(seen.outcome, prompter);
    seen.shown = shownBy(prompter);
    return seen;
}

// Both ways of reducing, with and without step text, agree on `e`. Returns whether the token
// reduction took `e` itself, so that a test can insist on which way ran.
bool expectSameAsText(std::string_view e, int digits) {
    const Seen text = onText(e, digits);
    const Seen both = calculated(e, digits);
    EXPECT_EQ(both.outcome.ok, text.outcome.ok) << e;
    EXPECT_EQ(both.outcome.result, text.outcome.result) << e;
    EXPECT_EQ(both.outcome.steps, text.outcome.steps) << e;
    EXPECT_EQ(both.outcome.error, text.outcome.error) << e;
    EXPECT_EQ(both.outcome.arguments, text.outcome.arguments) << e;
    EXPECT_EQ(both.shown, text.shown) << e;

    const Seen skipped = calculated(e, digits, StepText::Skipped);
    EXPECT_EQ(skipped.outcome.ok, text.outcome.ok) << e;
    EXPECT_EQ(skipped.outcome.result, text.outcome.result) << e;
    EXPECT_EQ(skipped.shown, text.shown) << e;
    if (text.outcome.ok) {
        EXPECT_EQ(skipped.outcome.steps, std::string(e) + "\r\n=" + text.outcome.result) << e;
    }

    CalcEngine engine(digits, AngleUnit::Radians);
    CalcOutcome tokens;
    const bool taken = engine.CalculateStepsOnTokens(e, StepText::Written, tokens);
    // What the token reduction leaves to the text leaves no failure behind.
    EXPECT_EQ(tokens.error, MessageId::None) << e;
    EXPECT_EQ(engine.failure().error, MessageId::None) << e;
    if (taken) {
        EXPECT_TRUE(text.outcome.ok) << e;
        EXPECT_EQ(tokens.steps, text.outcome.steps) << e;
    }
    return taken;
}

TEST(TokenReduction, TakesNumbersOperatorsAndBracketsAsTheTextReductionDoes) {
    const char* kTaken[] = {
        "2+3*4",
        "2*3+4",
        "8/4/2",
        "2^3^2",
        "-2^2",
        "3-5",
        "3-5*2",
        "(2+3)*4",
        "2*(3+4*5)",
        "3-(-5)",
        "(5)",
        "((5))",
        "((2+3))",
        "((2-3))",
        "1+((5))",
        "(3)*(1+2)",
        "(1+2)*(3+(4+5))",
        "((1+2)*3+(4+5))",
        "(2*(3-5))",
        "(-2+3)*(-4)",
        "007.50+.5",
        "5.*2",
        "1/3",
        "2/3*3",
        "0.1^2",
        "(2+3)^(1+1)",
        "1-2-3-4-5",
        "((1-2)-(3-4))-((5))",
        "(((2+3)*4-5)/6)",
        "123456789012345678901234567890123456789*98765432109876543210",
        "10^20",
        "(-1)^3",
        "2-(3-5)",
        "0*(-1)",
    };
    for (const char* e : kTaken) {
        SCOPED_TRACE(e);
        EXPECT_TRUE(expectSameAsText(e, 31));
    }
}

TEST(TokenReduction, LeavesNamesSignsAndFailuresToTheTextReduction) {
    const char* kLeft[] = {
        "sqrt(4)+1",  // a function
        "2+sin(1)",
        "+2*3",  // a sign the text reduction reads as an operator
        "(+5)*2",
        "-(-3)+1",  // a sign before a bracket
        "(-(2+3))",
        "(((5)))",  // a number looked into deeper than one bracket
        "2+((((3))))",
        "5/0",  // failures: the text reduction says what the user sees
        "5/(2-2)",     "(-8)^0.5", "1.2.3+1", "2+", "2)+(3", "(2+3", "2a+1",
    };
    for (const char* e : kLeft) {
        SCOPED_TRACE(e);
        EXPECT_FALSE(expectSameAsText(e, 31));
    }
}

TEST(TokenReduction, StepTextShowsEveryOperationOnce) {
    const Seen seen = calculated("2*(3+4*5)-(6-8)", 11);
    ASSERT_TRUE(seen.outcome.ok);
    EXPECT_EQ(seen.outcome.steps,
              "2*(3+4*5)-(6-8)\r\n=2*(3+20)-(6-8)\r\n=2*23-(6-8)\r\n=2*23-(-2)\r\n"
              "=46-(-2)\r\n=48");
    EXPECT_EQ(seen.outcome.result, "48");
}

// More operators in one stretch than the operator table holds: refused the same way.
TEST(TokenReduction, OperatorLimitIsKept) {
    auto sum = [](int operators) {
        std::string s = "1";
        for (int i = 0; i < operators; ++i) s += "+1";
        return s;
    };
    EXPECT_TRUE(expectSameAsText(sum(253), 11));
    // Near the table's end the text reduction decides, as the table also holds brackets.
    expectSameAsText(sum(255), 11);
    EXPECT_TRUE(onText(sum(255), 11).outcome.ok);
    expectSameAsText(sum(256), 11);
    EXPECT_EQ(onText(sum(256), 11).outcome.error, MessageId::TooManyOperators);
    // Brackets make each stretch short again.
    EXPECT_TRUE(expectSameAsText("(" + sum(253) + ")*(" + sum(253) + ")", 11));
}

unsigned seed() {
    if (const char* s = std::getenv("QUORVEL_SEED")) return static_cast<unsigned>(std::stoul(s));
    return std::random_device{}();
}

class RandomExpressions {
public:
    explicit RandomExpressions(unsigned seed) : m_dice(seed) {}

    std::string expression(int depth) {
        std::string s;
        const int n = 1 + below(4);
        for (int i = 0; i < n; ++i) {
            if (i > 0) s += "+-*/^"[below(chance(10) ? 5 : 4)];
            s += depth > 0 && chance(30) ? group(depth - 1) : operand();
        }
        return s;
    }

private:
    int below(int n) { return static_cast<int>(m_dice() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }
    std::string group(int depth) {
        std::string inner = expression(depth);
        if (chance(15)) inner = "-" + inner;
        if (chance(5)) inner = "(" + inner + ")";
        return "(" + inner + ")";
    }
    std::string number() {
        std::string s;
        switch (below(6)) {
            case 0:
                s = "0";
                break;
            case 1:
                s = std::to_string(below(10)) + "." + std::to_string(below(1000));
                break;
            case 2:
                s = "." + std::to_string(below(100));
                break;
            case 3:
                s = std::to_string(below(1000000)) + std::to_string(below(1000000)) +
                    std::to_string(below(1000000)) + std::to_string(below(1000000));
                break;
            default:
                s = std::to_string(1 + below(999));
        }
        return s;
    }
    std::string operand() {
        const std::string n = number();
        switch (below(10)) {
            case 0:
                return "(-" + n + ")";
            case 1:
                return "(" + n + ")";
            case 2:
                return "((-" + n + "))";
            default:
                return n;
        }
    }

    std::mt19937 m_dice;
};

TEST(TokenReduction, RandomExpressionsMatchTheTextReduction) {
    const unsigned s = seed();
    RandomExpressions random(s);
    int taken = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string e = random.expression(3);
        const int digits = i % 3 == 0 ? 5 : i % 3 == 1 ? 31 : 60;
        if (expectSameAsText(e, digits)) ++taken;
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "rerun with QUORVEL_SEED=" << s;
            return;
        }
    }
    // Most of these lie inside what the tokens take; the rest check the hand-over.
    EXPECT_GT(taken, 1500);
}

// Whole calculations, rounding and E form included, with the step text skipped.
TEST(TokenReduction, SkippedStepsGiveTheSameShownResult) {
    const RecentResults recent = {"0", "0", "0", "0", "0"};
    CalcSettings settings;
    settings.places = 4;
    settings.digitsLimit = 5;
    const char* kExpressions[] = {"1/3", "123456*1000", "2*(3-5)", "sqrt(2)", "5/0", "2+*3"};
    for (const char* e : kExpressions) {
        SCOPED_TRACE(e);
        RecordingPrompter a, b;
        CalcOutcome written, skipped;
        CalculateExpression(e, recent, settings, CheckScope::AllRules, written);
        CalculateExpression(e, recent, settings, CheckScope::AllRules, skipped, StepText::Skipped);
        present(written, a);
        present(skipped, b);
        EXPECT_EQ(skipped.ok, written.ok);
        EXPECT_EQ(skipped.result, written.result);
        EXPECT_EQ(skipped.error, written.error);
        EXPECT_EQ(skipped.position, written.position);
        EXPECT_EQ(shownBy(a), shownBy(b));
        EXPECT_EQ(a.inputMessages.size(), b.inputMessages.size());
        if (written.ok) {
            // The first line and the shown lines at the end stay.
            EXPECT_EQ(skipped.steps.substr(0, skipped.steps.find("\r\n")),
                      written.steps.substr(0, written.steps.find("\r\n")));
            EXPECT_TRUE(written.steps.ends_with(skipped.steps.substr(skipped.steps.find("\r\n"))));
        }
    }
}

}  // namespace
}  // namespace quorvel
