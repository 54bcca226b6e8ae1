#include "calc/calculate.h"

#include <gtest/gtest.h>

#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "support/step_text.h"

namespace quorvel {
namespace {

using testing::oneLine;
using testing::RecordingPrompter;

const RecentResults kZeros = {"0", "0", "0", "0", "0"};

TEST(FormatResult, RoundsAndAddsTheEForm) {
    struct Case {
        const char* raw;
        int places;
        const char* result;
        const char* lastLines;
    };
    constexpr Case kCases[] = {
        {"0.666", 2, "0.67", "=0.67"},
        {"0.125", 2, "0.13", "=0.13"},
        {"9.996", 2, "10", "=10.00"},
        {"-0.001", 2, "0", "=-0.00"},
        {"-0", 30, "0", "=-0"},
        {"007.50", 30, "7.5", "=7.5"},
        {"12345678901.5", 30, "1.23456789015E+10", "=12345678901.5 | =1.23456789015E+10"},
        {"9999999999800000000001", 30, "9.999999999800000000001E+21",
         "=9999999999800000000001 | =9.999999999800000000001E+21"},
        {"0.000000000012345", 30, "1.2345E-11", "=0.000000000012345 | =1.2345E-11"},
        {"-12345678901", 3, "-1.234E+10", "=-12345678901 | =-1.234E+10"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.raw);
        std::string steps = std::string("x\r\n=") + c.raw;
        EXPECT_EQ(FormatResult(c.raw, steps, c.places, 10), c.result);
        EXPECT_EQ(oneLine(steps), std::string("x | ") + c.lastLines);
    }
}

struct Outcome {
    bool ok;
    std::string result;
    std::string steps;
};

Outcome calculate(std::string_view input, RecordingPrompter& prompter, CalcSettings settings = {}) {
    Outcome o;
    o.ok = CalculateExpression(input, kZeros, settings, prompter, o.result, o.steps);
    o.steps = oneLine(o.steps);
    return o;
}

TEST(CalculateExpression, CalculatesAndFormats) {
    struct Case {
        const char* input;
        int places;
        const char* result;
        const char* steps;
    };
    constexpr Case kCases[] = {
        {"2+3", 30, "5", "2+3 | =5"},
        {"  2*(3+4) ", 30, "14", "2*(3+4) | =2*7 | =14"},
        {"2/3", 2, "0.67", "2/3 | =0.67"},
        {"1/8", 2, "0.13", "1/8 | =0.13"},
        {"0*(-5)", 30, "0", "0*(-5) | =-0"},
        {"2(3)", 30, "6", "2*(3) | =6"},
        {"SQRT(16)", 30, "4", "sqrt(16) | =4"},
        {"99999999999*99999999999", 30, "9.999999999800000000001E+21",
         "99999999999*99999999999 | =9999999999800000000001 | =9.999999999800000000001E+21"},
        {"1/3", 5, "0.33333", "1/3 | =0.33333"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        RecordingPrompter prompter;
        CalcSettings settings;
        settings.places = c.places;
        const Outcome o = calculate(c.input, prompter, settings);
        EXPECT_TRUE(o.ok);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.steps, c.steps);
        EXPECT_EQ(prompter.only(), "");
    }
}

TEST(CalculateExpression, FailsQuietlyOnEmptyTextAndEquals) {
    for (const char* input : {"", "   ", "2=3", "x=5"}) {
        SCOPED_TRACE(input);
        RecordingPrompter prompter;
        EXPECT_FALSE(calculate(input, prompter).ok);
        EXPECT_EQ(prompter.messages.size() + prompter.inputMessages.size(), 0u);
    }
}

TEST(CalculateExpression, ReportsWhyItFails) {
    struct Case {
        std::string input;
        std::string shown;
    };
    const Case kCases[] = {
        {"(2+3", std::string(msg::kTitleMalformed) + ": " + std::string(msg::kBracketCountsDiffer)},
        {"5/0", std::string(msg::kTitleWarning) + ": " + std::string(msg::kDenominatorZero)},
        {"arcsin(2)", std::string(msg::kTitleWarning) + ": " + std::string(msg::kArcsinRange)},
        {std::string(5000, '1') + "+1",
         std::string(msg::kTitleMalformed) + ": " + msg::expressionTooLong()},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        RecordingPrompter prompter;
        EXPECT_FALSE(calculate(c.input, prompter).ok);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(CalculateExpression, SyntaxErrorsGoToTheInputMessage) {
    RecordingPrompter prompter;
    EXPECT_FALSE(calculate("2+*3", prompter).ok);
    ASSERT_EQ(prompter.inputMessages.size(), 1u);
    EXPECT_EQ(prompter.messages.size(), 0u);
    EXPECT_EQ(prompter.inputMessages[0].expression, "2+*3");
    EXPECT_EQ(prompter.inputMessages[0].message,
              "The char [position:2] just before operator * cannot be acceptted");
    EXPECT_EQ(prompter.inputMessages[0].advice.substr(0, 37),
              "The char [position:2] should be one o");
}

TEST(CalculateExpression, DegreesComeFromTheSettings) {
    CalcSettings degrees;
    degrees.angleUnit = AngleUnit::Degrees;
    RecordingPrompter prompter;
    const Outcome o = calculate("2*sin(30)", prompter, degrees);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.steps, "2*sin(30) | =1");
    EXPECT_EQ(calculate("2*sin(30)", prompter).result, "-1.976063248186");
}

}  // namespace
}  // namespace quorvel
