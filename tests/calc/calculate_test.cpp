#include "calc/calculate.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/decimal_text.h"
#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "support/step_text.h"
#include "tools/present.h"

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

// The shown result as the helpers of decimal_text make it, one after the other: what
// FormatResult's single walk over a plain decimal must give, whatever the text and settings.
std::string formattedByHelpers(std::string_view raw, std::string& steps, int places, int digits) {
    const std::string value = RoundToPlaces(StripLeadingZeros(WithoutTrailingZeros(raw)), places);
    steps.resize(steps.rfind('=') + 1);
    steps += value;
    std::string result;
    if (NeedsENotation(value, digits)) {
        const std::string eForm = ENotation(value, places, digits);
        steps.append("\r\n=").append(eForm);
        result = StripTrailingZeros(eForm);
    } else {
        result = StripTrailingZeros(value);
    }
    return result == "-0" ? "0" : result;
}

TEST(FormatResult, AgreesWithTheHelpersOnEveryShape) {
    const char* const kWholes[] = {"0", "00", "7", "007", "120", "999", "12345678901"};
    const char* const kFractions[] = {
        "",     ".",     ".0",   ".5",    ".50",   ".005",
        ".999", ".9996", ".125", ".1250", ".0001", ".12345678901234567890123456789012"};
    std::vector<std::string> raws = {"", "-", ".5", "-.5", "1.2.3", "1E+5", "5=5", "0.0"};
    for (const char* sign : {"", "-"}) {
        for (const char* whole : kWholes) {
            for (const char* fraction : kFractions)
                raws.push_back(std::string(sign) + whole + fraction);
        }
    }
    for (const std::string& raw : raws) {
        for (const char* before : {"", "=", "x\r\n=", "a=b\r\n="}) {
            for (const int places : {0, 2, 3, 30}) {
                for (const int digits : {3, 10}) {
                    SCOPED_TRACE(raw + " after \"" + before + "\" places " +
                                 std::to_string(places) + " digits " + std::to_string(digits));
                    std::string expectedSteps = std::string(before) + (*before ? raw : "");
                    std::string steps = expectedSteps;
                    const std::string expected =
                        formattedByHelpers(raw, expectedSteps, places, digits);
                    EXPECT_EQ(FormatResult(raw, steps, places, digits), expected);
                    EXPECT_EQ(steps, expectedSteps);
                }
            }
        }
    }
}

struct Outcome {
    bool ok;
    std::string result;
    std::string steps;
    MessageId error;
    int position;
};

Outcome calculate(std::string_view input, RecordingPrompter& prompter, CalcSettings settings = {}) {
    Outcome o;
    const CalcOutcome outcome = CalculateExpression(input, kZeros, settings);
    present(outcome, prompter);
    o.ok = outcome.ok;
    o.result = outcome.result;
    o.steps = oneLine(outcome.steps);
    o.error = outcome.error;
    o.position = outcome.position;
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
        MessageId error;
        std::string shown;
    };
    const Case kCases[] = {
        {"(2+3", MessageId::BracketCountsDiffer,
         std::string(msg::kTitleMalformed) + ": " + std::string(msg::kBracketCountsDiffer)},
        {"5/0", MessageId::DenominatorZero,
         std::string(msg::kTitleWarning) + ": " + std::string(msg::kDenominatorZero)},
        {"arcsin(2)", MessageId::ArcsinRange,
         std::string(msg::kTitleWarning) + ": " + std::string(msg::kArcsinRange)},
        {"ln(0)", MessageId::LnDomain,
         std::string(msg::kTitleWarning) + ": " + std::string(msg::kLnDomain)},
        {std::string(5000, '1') + "+1", MessageId::ExpressionTooLong,
         std::string(msg::kTitleMalformed) + ": " + msg::expressionTooLong()},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input);
        RecordingPrompter prompter;
        const Outcome o = calculate(c.input, prompter);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, c.error);
        EXPECT_EQ(o.position, -1);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(CalculateExpression, SyntaxErrorsGoToTheInputMessage) {
    RecordingPrompter prompter;
    const Outcome o = calculate("2+*3", prompter);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.error, MessageId::Syntax);
    EXPECT_EQ(o.position, 2);
    ASSERT_EQ(prompter.inputMessages.size(), 1u);
    EXPECT_EQ(prompter.inputMessages[0].position, 2);
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

// Both are refused before any division is done: the engine never builds their step text.
TEST(CalculateExpression, RefusesWorkBeyondItsBounds) {
    auto groups = [](int count, const std::string& group) {
        std::string text = group;
        for (int i = 1; i < count; ++i) text += "+" + group;
        return text;
    };
    struct Case {
        const char* name;
        std::string input;
        int places;
        MessageId error;
        std::string shown;
    };
    const Case kCases[] = {
        {"665 groups in one stretch", groups(665, "(1/3)"), 10000, MessageId::TooManyOperators,
         std::string(msg::kTitleMalformed) + ": " + std::string(msg::kTooManyOperators)},
        // The zero denominator comes first in the text, yet the operator count is checked first.
        {"256 operators after a zero denominator", "(1/0)+" + groups(256, "1"), 30,
         MessageId::TooManyOperators,
         std::string(msg::kTitleMalformed) + ": " + std::string(msg::kTooManyOperators)},
        {"250 groups at 10000 places", groups(250, "(1/3)"), 10000, MessageId::StepTextTooLarge,
         std::string(msg::kTitleWarning) + ": " + std::string(msg::kStepTextTooLarge)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        RecordingPrompter prompter;
        CalcSettings settings;
        settings.places = c.places;
        const Outcome o = calculate(c.input, prompter, settings);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, c.error);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(CalculateExpression, StaysWithinBoundsItCanKeep) {
    std::string text = "1";
    for (int i = 0; i < 255; ++i) text += "+1";
    RecordingPrompter prompter;
    CalcSettings settings;
    settings.places = 1000;
    EXPECT_EQ(calculate(text, prompter, settings).result, "256");
    // 40 lines of up to 40 values of 1000 digits: well under the step text budget.
    std::string thirds = "(1/3)";
    for (int i = 1; i < 40; ++i) thirds += "+(1/3)";
    const Outcome o = calculate(thirds, prompter, settings);
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.result.substr(0, 6), "13.333");
    EXPECT_EQ(prompter.only(), "");
}

// Nothing the user typed reaches a message as a raw control character.
TEST(CalculateExpression, ShowsControlCharactersEscaped) {
    struct Case {
        std::string input;
        std::string message;
        std::string expression;  // of the input message, "" for a message box
        int position;
    };
    const Case kCases[] = {
        {"2+3\x1b", "Sorry, the input number 3\\x1b is invalid.", "", -1},
        {"2+3\x7f", "Sorry, the input number 3\\x7f is invalid.", "", -1},
        {"\x1b"
         "2+*3",
         "The char [position:3] just before operator * cannot be acceptted", "\\x1b2+*3", 6},
        {"\x01\x02"
         "2+*3",
         "The char [position:4] just before operator * cannot be acceptted", "\\x01\\x022+*3", 10},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        RecordingPrompter prompter;
        const Outcome o = calculate(c.input, prompter);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.position, c.position);
        if (c.expression.empty()) {
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].text, c.message);
        } else {
            ASSERT_EQ(prompter.inputMessages.size(), 1u);
            EXPECT_EQ(prompter.inputMessages[0].message, c.message);
            EXPECT_EQ(prompter.inputMessages[0].expression, c.expression);
            EXPECT_EQ(prompter.inputMessages[0].position, c.position);
            // The marked character is the one the message names, moved past the escapes.
            EXPECT_EQ(c.expression[static_cast<std::size_t>(c.position - 1)], '+');
        }
    }
}

TEST(EscapeControls, EscapesOnlyControlBytes) {
    struct Case {
        std::string text;
        std::string escaped;
        int position;  // of the last character, once escaped
    };
    const Case kCases[] = {
        {"2+3", "2+3", 3},
        {"\x1b[2J", "\\x1b[2J", 7},
        {std::string("a\0b", 3), "a\\x00b", 6},
        {"\x7f\x1f ~", "\\x7f\\x1f ~", 10},
        {"caf\xc3\xa9", "caf\xc3\xa9", 5},  // UTF-8 passes unchanged
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.escaped);
        EXPECT_EQ(msg::escapeControls(c.text), c.escaped);
        EXPECT_EQ(msg::escapedPosition(c.text, static_cast<int>(c.text.size())), c.position);
    }
    EXPECT_EQ(msg::escapedPosition("\x1b", -1), -1);
}

TEST(CatchNumberErrors, TurnsTheNumberTypesExceptionsIntoFailures) {
    struct Case {
        const char* name;
        std::function<void()> work;
        MessageId error;
    };
    const Case kCases[] = {
        {"domain", [] { throw std::domain_error("int"); }, MessageId::NumberOutOfRange},
        {"overflow", [] { throw std::overflow_error("divide"); }, MessageId::NumberOutOfRange},
        {"bad_alloc", [] { throw std::bad_alloc(); }, MessageId::OutOfMemory},
        {"length", [] { std::string().resize(std::string().max_size() + 1); },
         MessageId::OutOfMemory},
        {"no exception", [] {}, MessageId::None},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const auto caught = CatchNumberErrors(c.work);
        EXPECT_EQ(caught ? caught->id : MessageId::None, c.error);
    }
    EXPECT_THROW(CatchNumberErrors([] { throw std::out_of_range("bug"); }), std::out_of_range);
}

// The batch run applies the character rules before it calculates; what is left must end the
// same way as the whole check, message and position included.
TEST(CalculateExpression, LeavingOnlyTheArgumentRuleChangesNothing) {
    constexpr const char* kInputs[] = {"2+3*4",      "sin(3*4)", "SQRT(2+2)*2", "(2+3",
                                       "sqrt(16)*2", "10/0",     "ln(0)-1",     "abs(-3)*2"};
    for (const char* input : kInputs) {
        SCOPED_TRACE(input);
        RecordingPrompter whole;
        RecordingPrompter split;
        const CalcOutcome a = CalculateExpression(input, kZeros, {});
        const CalcOutcome b = CalculateExpression(input, kZeros, {}, CheckScope::ArgumentRule);
        present(a, whole);
        present(b, split);
        EXPECT_EQ(a.ok, b.ok);
        EXPECT_EQ(a.result, b.result);
        EXPECT_EQ(a.steps, b.steps);
        EXPECT_EQ(a.error, b.error);
        EXPECT_EQ(a.position, b.position);
        EXPECT_EQ(whole.only(), split.only());
        EXPECT_EQ(whole.messages.size() + whole.inputMessages.size(), 1u - (a.ok ? 1u : 0u));
    }
}

// A caller with many calculations hands in one outcome for all of them. Whatever the one
// before left in it, success, failure, quiet failure or E form, each calculation must end as a
// fresh outcome would, with the same reports.
TEST(CalculateExpression, AReusedOutcomeEndsAsAFreshOne) {
    constexpr const char* kInputs[] = {
        "2*(3+4)",  "10/0", "1/3",   "",    "2++3",  "99999999999*99", "7",
        "sqrt(-1)", "(1+2", "3-5*2", "2=3", "0.5^2", "last1+pi",       "2+3"};
    CalcSettings settings;
    settings.places = 4;
    CalcOutcome reused;
    for (const char* input : kInputs) {
        SCOPED_TRACE(input);
        RecordingPrompter freshReports;
        RecordingPrompter reusedReports;
        const CalcOutcome fresh = CalculateExpression(input, kZeros, settings);
        CalculateExpression(input, kZeros, settings, CheckScope::AllRules, reused);
        present(fresh, freshReports);
        present(reused, reusedReports);
        EXPECT_EQ(reused.ok, fresh.ok);
        EXPECT_EQ(reused.error, fresh.error);
        EXPECT_EQ(reused.position, fresh.position);
        EXPECT_EQ(reused.arguments, fresh.arguments);
        EXPECT_EQ(reused.result, fresh.result);
        EXPECT_EQ(reused.steps, fresh.steps);
        EXPECT_EQ(reusedReports.messages.size(), freshReports.messages.size());
        EXPECT_EQ(reusedReports.inputMessages.size(), freshReports.inputMessages.size());
    }
}

}  // namespace
}  // namespace quorvel
