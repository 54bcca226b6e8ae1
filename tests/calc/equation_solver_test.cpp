#include "calc/equation_solver.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "calc/calculator_session.h"
#include "calc/log_line.h"
#include "calc/solver_messages.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

const RecentResults kZeros = {"0", "0", "0", "0", "0"};

struct Solved {
    bool ok = false;
    SolveResult result;
    RecordingPrompter prompter;
};

Solved solve(std::string_view equation, const CalcSettings& settings = {},
             const RecentResults& recent = kZeros) {
    Solved s;
    s.ok = SolveEquation(equation, recent, settings, s.result);
    present(s.result.failure, s.prompter);
    return s;
}

// Every X below was worked out by hand; P = 30 unless a row says otherwise.
struct ValueCase {
    const char* equation;
    const char* value;
};

constexpr ValueCase kPlainCases[] = {
    {"2*X+3=7-X", "1.333333333333333333333333333333"},  // 3X = 4
    {"X=5", "5"},
    {"2x=4", "2"},
    {"3*(X+1)=9", "2"},          // constant sum is a lone -(9)
    {"(X+1)*2=X", "-2"},         // no constant term at all
    {"2*(3*(X-1))=6", "2"},      // 6X-6 = 6
    {"-(X+1)=3", "-4"},          // leading sign of the first term
    {"x/3=1", "3"},              // 1/3 rounded to P would give 3.000...003
    {"4-2*X-X*3=-6", "2"},       // 4-5X = -6
    {"(3-x)*(2*(1+2))=6", "2"},  // (3-X)*6 = 6
    {"exp(0)*x=2", "2"},         // the x of exp is no unknown
    {"x-exp(0)=0", "1"},
    {"((x))=7", "7"},
};

TEST(SolveEquation, SolvesWorkedEquations) {
    for (const ValueCase& c : kPlainCases) {
        SCOPED_TRACE(c.equation);
        const Solved s = solve(c.equation);
        EXPECT_TRUE(s.ok);
        EXPECT_EQ(s.result.value, c.value);
        EXPECT_EQ(s.prompter.only(), "");
    }
}

TEST(SolveEquation, SubstitutesParametersAndRecentResultsInsideBrackets) {
    struct Case {
        const char* equation;
        std::array<std::string, 4> parameters;  // F K M W
        RecentResults recent;
        const char* value;
    };
    const Case cases[] = {
        // 2*(4*(X+5)) = X+3 -> 7X = -37
        {"2*(M*(X-last1))=X+3",
         {"1", "1", "4", "1"},
         {"-5", "0", "0", "0", "0"},
         "-5.285714285714285714285714285714"},
        // 3*(2(X-1)-2.5) = X -> 5X = 13.5
        {"3*(2*(X+k)-last2)=X", {"1", "-1", "1", "1"}, {"0", "2.5", "0", "0", "0"}, "2.7"},
        // (3X-4)/2 = 3 -> X = 10/3
        {"(X-(4-(2*X)))/2=last1",
         {"1", "1", "1", "1"},
         {"3", "0", "0", "0", "0"},
         "3.333333333333333333333333333333"},
        {"5-2*(X-(1+w))=0", {"1", "1", "1", "2"}, kZeros, "5.5"},                 // 11-2X = 0
        {"x*last1/4=m", {"1", "1", "1", "1"}, {"-2", "0", "0", "0", "0"}, "-2"},  // -X/2 = 1
        {"(3-x)*(2*(0.5+f))=6", {"1", "1", "1", "1"}, kZeros, "1"},               // (3-X)*3 = 6
        // a Last value in E form is used with all its digits; X is shown in E form again
        {"x-last1=0", {"1", "1", "1", "1"}, {"1.5E+12", "0", "0", "0", "0"}, "1.5E+12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.equation);
        CalcSettings settings;
        settings.parameters = c.parameters;
        const Solved s = solve(c.equation, settings, c.recent);
        EXPECT_TRUE(s.ok);
        EXPECT_EQ(s.result.value, c.value);
        EXPECT_EQ(s.prompter.only(), "");
    }
}

TEST(SolveEquation, RoundsOnlyTheShownValue) {
    CalcSettings two;
    two.places = 2;
    EXPECT_EQ(solve("x/3=1", two).result.value, "3");
    EXPECT_EQ(solve("2*X+3=7-X", two).result.value, "1.33");
    EXPECT_EQ(solve("x+pi=0", two).result.value, "-3.14");
}

TEST(SolveEquation, WritesSteps) {
    struct StepsCase {
        const char* equation;
        RecentResults recent;
        const char* steps;
    };
    const StepsCase cases[] = {
        {"2*X+3=7-X", kZeros,
         "2*X+3=7-X\r\n2*X+3-(7-X)=0\r\n3*X-4=0\r\nX=-(-4)/(3)\r\n"
         "X=1.333333333333333333333333333333\r\n"},
        {"x=5", kZeros, "X=5\r\nX-(5)=0\r\nX-(5)=0\r\nX=-(-5)/(1)\r\nX=5\r\n"},
        {"3*(x+1)=9", kZeros, "3*(X+1)=9\r\n3*(X+1)-(9)=0\r\n3*X-6=0\r\nX=-(-6)/(3)\r\nX=2\r\n"},
        {"2*(3*(X-Last1))=6",
         {"-1", "0", "0", "0", "0"},
         "2*(3*(X-LAST1))=6\r\n2*(3*(X-(-1)))-(6)=0\r\n6*X+0=0\r\nX=-(+0)/(6)\r\nX=0\r\n"},
    };
    for (const StepsCase& c : cases) {
        SCOPED_TRACE(c.equation);
        EXPECT_EQ(solve(c.equation, {}, c.recent).result.steps, c.steps);
    }
}

TEST(SolveEquation, FormsTheLogLineFromTheEquationAsTyped) {
    const Solved s = solve("  2x+3=7-x ");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.result.logExpression, "2x+3=7-x =>  X");
    EXPECT_EQ(FormatLogLine(LogTime{2026, 3, 7, 9, 5}, s.result.logExpression, s.result.value),
              "2026-03-07 09:05   2x+3=7-x =>  X=1.333333333333333333333333333333");
}

TEST(SolveEquation, RejectsWithTheFirstFailingCheck) {
    struct Case {
        const char* equation;
        std::string_view message;
        std::string_view advice;
    };
    using namespace msg;
    const Case cases[] = {
        {"5/X+3=2", kUnknownInDenominator, kUnknownInDenominatorAdvice},
        {"5/(x+1)=2", kUnknownInDenominator, kUnknownInDenominatorAdvice},
        {"5/x^2", kUnknownInDenominator, kUnknownInDenominatorAdvice},  // before the "=" check
        {"6/(2*X)=1", kUnknownInDenominator, kUnknownInDenominatorAdvice},
        {"6/((x))=1", kUnknownInDenominator, kUnknownInDenominatorAdvice},
        {"1+2/(3*(x+1))=0", kUnknownInDenominator, kUnknownInDenominatorAdvice},
        {"2*X+3", kNoEqualsSign, kNoEqualsSignAdvice},
        {"X^2", kNoEqualsSign, kNoEqualsSignAdvice},
        {"X=2=3", kSecondEqualsSign, kSecondEqualsSignAdvice},
        {"X^2=4", kPowerInEquation, kPowerInEquationAdvice},
        {"sin(x)=1", "The parameter of function -sin cannot be unknown variable.",
         "Please delete the string sin(x)"},
        {"2+COS(X)=1", "The parameter of function -cos cannot be unknown variable.",
         "Please delete the string cos(x)"},
        {"arcsin(x)=1", "The parameter of function -arcsin cannot be unknown variable.",
         "Please delete the string arcsin(x)"},
        {"sqrt(x+1)=2", "The parameter of function -sqrt cannot be unknown variable.",
         "Please delete the string sqrt(x)"},
        {"X+1)=2", "The close bracket at the position 4 cannot find the open bracket",
         kUnmatchedCloseBracketAdvice},
        {"((X=2", kOpenBracketsLeftOver, "Please delete 2 open bracket"},
        {"2+3*X*X=0", kTwoUnknownFactors, kTwoUnknownFactorsAdvice},
        {"X*X=4", kTwoUnknownFactors, kTwoUnknownFactorsAdvice},
        {"(x+1)(x-1)=0", kTwoUnknownFactors, kTwoUnknownFactorsAdvice},
        {"2*((X*X))=1", kTwoUnknownFactors, kTwoUnknownFactorsAdvice},
        {"X.5=1", kNotLinear,
         "Please check whether your input is correct.Or please record your input and contact "
         "with quorvel-support@example.org"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.equation);
        const Solved s = solve(c.equation);
        EXPECT_FALSE(s.ok);
        EXPECT_TRUE(s.prompter.messages.empty());
        ASSERT_EQ(s.prompter.inputMessages.size(), 1u);
        EXPECT_EQ(s.prompter.inputMessages[0].message, c.message);
        EXPECT_EQ(s.prompter.inputMessages[0].advice, c.advice);
        EXPECT_EQ(s.prompter.inputMessages[0].expression, c.equation);
        EXPECT_EQ(s.result.logExpression, "");
    }
}

// The dialog marks the stray bracket, counted in the equation as shown (escapes included).
TEST(SolveEquation, MarksTheUnmatchedCloseBracket) {
    struct Case {
        std::string equation;
        std::string shown;
        int position;
    };
    const Case kCases[] = {
        {"X+1)=2", "X+1)=2", 4},
        {"X\x1b+1)=2", "X\\x1b+1)=2", 8},
        {"2*X=4", "", 0},  // solved: nothing shown
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.shown);
        const Solved s = solve(c.equation);
        if (c.shown.empty()) {
            EXPECT_TRUE(s.ok);
            EXPECT_TRUE(s.prompter.inputMessages.empty());
            continue;
        }
        ASSERT_EQ(s.prompter.inputMessages.size(), 1u);
        EXPECT_EQ(s.prompter.inputMessages[0].expression, c.shown);
        EXPECT_EQ(s.prompter.inputMessages[0].position, c.position);
        EXPECT_EQ(c.shown[static_cast<std::size_t>(c.position - 1)], ')');
    }
}

TEST(SolveEquation, LeavesFailedEvaluationsToTheEvaluatorsMessage) {
    struct Case {
        const char* equation;
        const char* shown;
    };
    const Case cases[] = {
        {"X=X+1", "Quorvel Warning Message: Sorry,the denominator cannot be zero."},
        {"X+1/0=2", "Quorvel Warning Message: Sorry,the denominator cannot be zero."},
        {"X=5+", "input: The char [position:3] just before ) cannot be acceptted"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.equation);
        const Solved s = solve(c.equation);
        EXPECT_FALSE(s.ok);
        EXPECT_EQ(s.prompter.only(), c.shown);
    }
}

TEST(IsLinearForm, AcceptsTheLinearShapesOnly) {
    for (const char* text :
         {"X", "-X", "+X", "3X", "3*X", "X*3", "3*X+4", "3*X-4", "4+3*X", "4-X", "X+0.5",
          "-2.5*X-(7)", "(3*X-4)", "((X))", "(-3)*X+(5)", "X-(5)", "(4)-X*(-2)"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(IsLinearForm(text));
    }
    for (const char* text :
         {"", "4", "X*X", "X+X", "3*X+4+5", "2*(X+1)", "X/3", "X+", "*X", "X*", "3+", "SIN(X)",
          "3*X+A", "X*-3", "3*X*2", "(X)+1", "()X", "X+.", "3X4"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(IsLinearForm(text));
    }
}

TEST(SplitLinearForm, ReadsCoefficientAndConstant) {
    struct Case {
        const char* text;
        const char* coefficient;
        const char* constant;
    };
    constexpr Case kCases[] = {
        {"X", "1", "0"},           {"-X", "-1", "0"},           {"+X", "1", "0"},
        {"3*X-4", "3", "-4"},      {"3*X+4", "3", "+4"},        {"4-X", "-1", "4"},
        {"-4+X*2.5", "2.5", "-4"}, {"(-2)*X-(-3)", "-2", "+3"}, {"(5-(-2)*X)", "2", "5"},
        {"X-(5)", "1", "-5"},      {"((7X))", "7", "0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        std::string a = "?";
        std::string b = "?";
        EXPECT_TRUE(SplitLinearForm(c.text, a, b));
        EXPECT_EQ(a, c.coefficient);
        EXPECT_EQ(b, c.constant);
    }
    std::string a;
    std::string b;
    EXPECT_FALSE(SplitLinearForm("X*X", a, b));
}

TEST(ReduceToLinearForm, CollectsTermsLayerByLayer) {
    struct Case {
        const char* expression;
        const char* linear;
    };
    constexpr Case kCases[] = {
        {"2*X+3-(7-X)", "3*X-4"},   {"X-(5)", "X-(5)"},  // already linear: kept as written
        {"(2*(X-1))", "(2*X-2)"},   {"4-2*X-X*3", "4-5*X"},  {"(X+1)*2-(X)", "1*X+2"},
        {"3*(X+1)/2", "1.5*X+1.5"}, {"-(X)+2*(X)", "1*X+0"},
    };
    const CalcSettings settings;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expression);
        CalcOutcome failure;
        const SolverContext context{settings, failure, c.expression};
        std::string linear;
        EXPECT_TRUE(ReduceToLinearForm(context, c.expression, linear));
        EXPECT_EQ(linear, c.linear);
        EXPECT_EQ(failure.error, MessageId::None);
    }
}

}  // namespace
}  // namespace quorvel
