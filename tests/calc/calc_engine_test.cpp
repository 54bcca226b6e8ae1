#include "calc/calc_engine.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "support/step_text.h"
#include "tools/present.h"

namespace quorvel {
namespace {

using testing::oneLine;
using testing::RecordingPrompter;

struct Steps {
    std::string steps;
    std::string result;
    int status;
    MessageId error;
};

Steps run(std::string_view expression, RecordingPrompter& prompter, int workingDigits = 31,
          AngleUnit unit = AngleUnit::Radians) {
    CalcEngine engine(workingDigits, unit);
    const CalcOutcome outcome = engine.CalculateSteps(expression, 10);
    present(outcome, prompter);
    Steps s;
    s.status = outcome.ok ? 0 : -1;
    s.result = outcome.result;
    s.steps = oneLine(outcome.steps);
    s.error = outcome.error;
    return s;
}

struct StepCase {
    const char* expression;
    const char* steps;
};

TEST(CalculateSteps, ReducesOneOperationPerLine) {
    constexpr StepCase kCases[] = {
        {"2+3*4", "2+3*4 | =2+12 | =14"},
        {"2*3+4", "2*3+4 | =6+4 | =10"},
        {"8/4/2", "8/4/2 | =2/2 | =1"},
        {"2^3^2", "2^3^2 | =8^2 | =64"},
        {"-2^2", "-2^2 | =4"},
        {"3-5", "3-5 | =-2"},
        {"3-5*2", "3-5*2 | =3-10 | =-7"},
        {"(2+3)*4", "(2+3)*4 | =5*4 | =20"},
        {"2*(3+4*5)", "2*(3+4*5) | =2*(3+20) | =2*23 | =46"},
        {"3-(-5)", "3-(-5) | =8"},
        {"2-5+1", "2-5+1 | =(-3)+1 | =-2"},
        {"(1+2)*(3+4)", "(1+2)*(3+4) | =3*(3+4) | =3*7 | =21"},
        {"((2+3))*2", "((2+3))*2 | =(5)*2 | =10"},
        {"1/3", "1/3 | =0.3333333333333333333333333333333"},
        {"(5)", "(5) | =5"},
        {"((-5))", "((-5)) | =-5"},
        {"0.1+0.2", "0.1+0.2 | =0.3"},
        {"2^0.5", "2^0.5 | =1.414213562373"},
        {"2^10", "2^10 | =1024"},
        {"(-2)^3", "(-2)^3 | =-8"},
        {"2*(3+(4-1))", "2*(3+(4-1)) | =2*(3+3) | =2*6 | =12"},
        {"1-2-3", "1-2-3 | =(-1)-3 | =-4"},
        {"3-(((-4)))", "3-(((-4))) | =3-(-4) | =7"},
        {"3+(((2-6)))", "3+(((2-6))) | =3+(((-4))) | =3+(-4) | =-1"},
    };
    for (const StepCase& c : kCases) {
        SCOPED_TRACE(c.expression);
        RecordingPrompter prompter;
        const Steps s = run(c.expression, prompter);
        EXPECT_EQ(s.status, 0);
        EXPECT_EQ(s.steps, c.steps);
        EXPECT_EQ(prompter.only(), "");
    }
}

TEST(CalculateSteps, FunctionValuesReplaceTheCallInPlace) {
    constexpr StepCase kCases[] = {
        {"2*sin(30)", "2*sin(30) | =1"},
        {"sin(-30)*2", "sin(-30)*2 | =-1"},
        {"1+sin(-30)*2", "1+sin(-30)*2 | =1+(-1) | =0"},
        {"sin(30)+2*3", "sin(30)+2*3 | =0.5+6 | =6.5"},
        {"abs(-3)", "abs(-3) | =3"},
        {"int(-2.7)*2", "int(-2.7)*2 | =-4"},
    };
    for (const StepCase& c : kCases) {
        SCOPED_TRACE(c.expression);
        RecordingPrompter prompter;
        const Steps s = run(c.expression, prompter, 31, AngleUnit::Degrees);
        EXPECT_EQ(s.status, 0);
        EXPECT_EQ(s.steps, c.steps);
    }
}

TEST(CalculateSteps, FunctionOfAnExpressionGetsTheRoundItNeeds) {
    RecordingPrompter prompter;
    // The argument takes a round of its own; the negative value still ends as a plain number.
    const Steps s = run("sin(2*3)", prompter);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.steps, "sin(2*3) | =sin(6) | =-0.279415498199");
    EXPECT_EQ(s.result, "-0.279415498199");

    const Steps t = run("sqrt(2+2)+1", prompter);
    EXPECT_EQ(t.steps, "sqrt(2+2)+1 | =sqrt(4)+1 | =3");
}

struct FailureCase {
    const char* expression;
    std::string shown;  // "Title: text"
};

TEST(CalculateSteps, RefusesWhatIsNoNumber) {
    const std::string warning = std::string(msg::kTitleWarning) + ": ";
    const std::string malformed = std::string(msg::kTitleMalformed) + ": ";
    const FailureCase kCases[] = {
        {"5/0", warning + std::string(msg::kDenominatorZero)},
        {"5/(1-1)", warning + std::string(msg::kDenominatorZero)},
        {"(-8)^(1/3)", warning + std::string(msg::kNegativeBase)},
        {"1.2.3+1", warning + msg::invalidNumber("1.2.3")},
        {"2*x", warning + msg::invalidNumber("x")},
        {"2*ab", warning + msg::invalidNumber("ab")},
        {"2+", warning + msg::invalidNumber("")},
        {"*3+1", warning + msg::invalidNumber("")},
        {"abc", malformed + std::string(msg::kNoOperator)},
        {"10^400", warning + std::string(msg::kPowerNotFinite)},
        {"0^(-1)", warning + std::string(msg::kPowerNotFinite)},
        {"(2+3", malformed + msg::bracketCounts(1, 0)},
        {"2+3)", malformed + msg::bracketCounts(0, 1)},
    };
    for (const FailureCase& c : kCases) {
        SCOPED_TRACE(c.expression);
        RecordingPrompter prompter;
        const Steps s = run(c.expression, prompter);
        EXPECT_EQ(s.status, -1);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(CalculateSteps, BoundsOperatorsPerStretchAndExpressionLength) {
    std::string stretch = "1";
    for (int i = 0; i < 300; ++i) stretch += "+1";
    RecordingPrompter prompter;
    EXPECT_EQ(run(stretch, prompter).status, -1);
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMalformed) + ": " + std::string(msg::kTooManyOperators));

    // The same number of operators in brackets is fine: each stretch is short.
    std::string grouped = "(1+1+1)";
    for (int i = 0; i < 60; ++i) grouped += "+(1+1+1)";
    RecordingPrompter ok;
    const Steps s = run(grouped, ok);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.result, "183");

    // 255 operators and the stretch's closing "=" fill the table exactly; one more is refused
    // before anything is evaluated, here before the zero denominator in the first bracket.
    struct Case {
        int operators;
        MessageId error;
    };
    constexpr Case kCounts[] = {{255, MessageId::DenominatorZero},
                                {256, MessageId::TooManyOperators}};
    for (const Case& c : kCounts) {
        SCOPED_TRACE(c.operators);
        std::string text = "(1/(5-5))*0";
        for (int i = 1; i < c.operators; ++i) text += "+1";
        RecordingPrompter counted;
        EXPECT_EQ(run(text, counted).error, c.error);
    }

    RecordingPrompter tooLong;
    EXPECT_EQ(run(std::string(1'000'000, '1') + "+1", tooLong).status, -1);
    EXPECT_EQ(tooLong.only(), std::string(msg::kTitleMalformed) + ": " + msg::expressionTooLong());
}

TEST(CalculateSteps, PowerPrintsWithoutAFixedBuffer) {
    RecordingPrompter prompter;
    const Steps s = run("10^300", prompter);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.result.size(), 301u);
    EXPECT_EQ(s.result.substr(0, 2), "10");
}

TEST(OperatorTable, NeverGrowsPastItsCapacity) {
    OperatorTable table;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(OperatorTable::kCapacity); ++i) {
        ASSERT_TRUE(table.push(i));
    }
    EXPECT_FALSE(table.push(999));
    EXPECT_EQ(table.size(), OperatorTable::kCapacity);
    EXPECT_EQ(table.back(), 255);
}

TEST(IsPlainNumber, AdmitsTheMarksOfOtherRadices) {
    struct Case {
        const char* text;
        bool plain;
    };
    constexpr Case kCases[] = {
        {"12.5", true},   {"-3", true},   {"+3", true},    {"(5)", true},
        {"(-5)", true},   {"", true},     {"1.2.3", true}, {"ff", true},
        {"1h", true},     {"x", true},    {"3-4", false},  {"(5", false},
        {"((5))", false}, {"2*3", false}, {"g", false},    {"5-", false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsPlainNumber(c.text), c.plain);
    }
}

TEST(ReadOperand, ResolvesBracketsAndSigns) {
    struct Case {
        const char* text;
        const char* value;  // nullptr: not a number
    };
    constexpr Case kCases[] = {
        {"5", "5"},       {"(5)", "5"},     {"((5))", "5"},  {"(-5)", "-5"},     {"-(-5)", "5"},
        {"-(+5)", "-5"},  {"-(5)", "-5"},   {"+(-5)", "-5"}, {"+(+5)", "5"},     {"+(5)", "5"},
        {"((-5))", "-5"}, {"+5", "5"},      {".5", ".5"},    {"1.2.3", nullptr}, {"", nullptr},
        {"x", nullptr},   {"--5", nullptr}, {"(", nullptr},  {"-", nullptr},     {"1e5", nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        const auto v = ReadOperand(c.text);
        if (c.value) {
            ASSERT_TRUE(v.has_value());
            EXPECT_EQ(*v, c.value);
        } else {
            EXPECT_FALSE(v.has_value());
        }
    }
}

TEST(InsertImplicitMultiplication, MakesAdjacentOperandsProducts) {
    struct Case {
        const char* input;
        const char* output;
    };
    constexpr Case kCases[] = {
        {"2(3+4)", "2*(3+4)"},
        {"(1)(2)", "(1)*(2)"},
        {"2pi", "2*pi"},
        {"pi2", "pi*2"},
        {"3x", "3*x"},
        {"x(2)", "x*(2)"},
        {"2m", "2*m"},
        {"mk", "m*k"},
        {"2sin(30)", "2*sin(30)"},
        {")sqrt(4)", ")*sqrt(4)"},
        {"2last1", "2*last1"},
        {"last1last2", "last1*last2"},
        {"last1(2)", "last1*(2)"},
        {"12.5", "12.5"},
        {"sin(30)", "sin(30)"},
        {"exp(1)", "exp(1)"},
        {"2+3", "2+3"},
        {"(2)3", "(2)*3"},
        {"2exp(1)", "2*exp(1)"},
        {"arcsin(1)", "arcsin(1)"},
        {"piw", "pi*w"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(InsertImplicitMultiplication(c.input), c.output);
    }
}

TEST(InsertImplicitMultiplication, NumbersAndBracketsAlone) {
    struct Case {
        const char* input;
        const char* output;
    };
    constexpr Case kCases[] = {
        {")(", ")*("},
        {"2(3)4", "2*(3)*4"},
        {"2.(3)", "2.(3)"},
        {".5(2)", ".5*(2)"},
        {"(1)2.5", "(1)*2.5"},
        {"1 (2)", "1 (2)"},
        {"(2)(3)(4)", "(2)*(3)*(4)"},
        {"((1))2", "((1))*2"},
        {"2^(3)", "2^(3)"},
        {"", ""},
        {"12", "12"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(InsertImplicitMultiplication(c.input), c.output);
    }
}

// A text without letters takes a shorter walk. A letter after a "+" changes nothing before
// it, so the same text with "+x" after it, which takes the general walk, must come out the
// same up to that "+x".
TEST(InsertImplicitMultiplication, ShortWalkAgreesWithTheGeneralOne) {
    std::mt19937 rng(5);
    constexpr std::string_view kChars = "0123456789.()+-*/^ ";
    for (int i = 0; i < 20000; ++i) {
        std::string text(1 + rng() % 12, ' ');
        for (char& c : text) c = kChars[rng() % kChars.size()];
        SCOPED_TRACE(text);
        ASSERT_EQ(InsertImplicitMultiplication(text) + "+x",
                  InsertImplicitMultiplication(text + "+x"));
    }
}

TEST(FunctionNameRecogniser, PrefersLongerNames) {
    const FunctionNameRecogniser r;
    using Mode = FunctionNameRecogniser::Mode;
    EXPECT_EQ(r.find("2*arcsin", Mode::EndsWith), "arcsin");
    EXPECT_EQ(r.find("2*SINH", Mode::EndsWith), "sinh");
    EXPECT_EQ(r.find("sinh(1)", Mode::BeginsWith), "sinh");
    EXPECT_EQ(r.find("sqrt(2)", Mode::BeginsWith), "sqrt");
    EXPECT_FALSE(r.find("2*pi", Mode::EndsWith).has_value());
    EXPECT_EQ(r.find("sin(1)", Mode::BeginsWith), "sin");
    EXPECT_EQ(r.find("2*ln", Mode::EndsWith), "ln");
}

}  // namespace
}  // namespace quorvel
