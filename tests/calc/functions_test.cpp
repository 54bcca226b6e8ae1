#include <gtest/gtest.h>

#include <string>

#include "calc/calc_engine.h"
#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

struct FunctionCase {
    const char* expression;
    const char* result;  // nullptr when the call must fail
    std::string shown;   // "Title: text" of the message, for failures
};

void checkFunctions(AngleUnit unit, const std::vector<FunctionCase>& cases) {
    for (const FunctionCase& c : cases) {
        SCOPED_TRACE(c.expression);
        RecordingPrompter prompter;
        CalcEngine engine(31, unit);
        const CalcOutcome outcome = engine.CalculateSteps(c.expression, 10);
        present(outcome, prompter);
        if (c.result) {
            EXPECT_TRUE(outcome.ok);
            EXPECT_EQ(outcome.result, c.result);
            EXPECT_EQ(prompter.only(), "");
        } else {
            EXPECT_FALSE(outcome.ok);
            EXPECT_NE(outcome.error, MessageId::None);
            EXPECT_EQ(prompter.only(), c.shown);
        }
    }
}

std::string warning(std::string_view text) {
    return std::string(msg::kTitleWarning) + ": " + std::string(text);
}

TEST(Functions, InDegrees) {
    checkFunctions(AngleUnit::Degrees,
                   {
                       {"sin(30)", "0.5", {}},
                       {"cos(60)", "0.5", {}},
                       {"tan(45)", "1", {}},
                       {"sin(-30)", "-0.5", {}},
                       {"sin(390)", "0.5", {}},
                       {"arcsin(1)", "90", {}},
                       {"arccos(0)", "90", {}},
                       {"arctan(1)", "45", {}},
                       {"arcsin(-0.5)", "-30", {}},
                       {"deg(1)", "57.295779513082", {}},
                       {"rad(180)", "3.14159265359", {}},
                       {"tan(90)", nullptr, "Quorvel: " + msg::tanOfDegree("90")},
                       {"tan(270)", nullptr, "Quorvel: " + msg::tanOfDegree("270")},
                       {"tan(-90)", nullptr, "Quorvel: " + msg::tanOfDegree("-90")},
                       {"tan(90.000)", nullptr, "Quorvel: " + msg::tanOfDegree("90.000")},
                       {"tan(450)", nullptr, "Quorvel: " + msg::tanOfDegree("450")},
                       {"tan(180)", "0", {}},
                   });
}

TEST(Functions, TangentTestOnlyInDegrees) {
    RecordingPrompter prompter;
    CalcEngine degrees(31, AngleUnit::Degrees);
    const CalcOutcome outcome = degrees.CalculateSteps("tan(90.5)", 10);
    present(outcome, prompter);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.result.substr(0, 15), "-114.5886501293");
    EXPECT_EQ(prompter.messages.size(), 0u);
    EXPECT_EQ(prompter.messages.size(), 0u);
    checkFunctions(AngleUnit::Radians, {{"tan(90)", "-1.995200412208", {}}});
    RecordingPrompter info;
    const CalcOutcome tan90 = CalcEngine(31, AngleUnit::Degrees).CalculateSteps("tan(90)", 10);
    EXPECT_EQ(tan90.error, MessageId::TanOfDegree);
    present(tan90, info);
    ASSERT_EQ(info.messages.size(), 1u);
    EXPECT_EQ(info.messages[0].icon, MessageIcon::Information);
}

TEST(Functions, InRadians) {
    checkFunctions(AngleUnit::Radians, {
                                           {"sin(0)", "0", {}},
                                           {"cos(0)", "1", {}},
                                           {"ln(1)", "0", {}},
                                           {"log(100)", "2", {}},
                                           {"exp(1)", "2.718281828459", {}},
                                           {"sqrt(16)", "4", {}},
                                           {"sqrt(2)", "1.414213562373", {}},
                                           {"sinh(1)", "1.175201193644", {}},
                                           {"cosh(0)", "1", {}},
                                           {"tanh(1)", "0.761594155956", {}},
                                           {"int(-2.7)", "-2", {}},
                                           {"int(7)", "7", {}},
                                           {"int(-0.5)", "0", {}},
                                           {"abs(-3)", "3", {}},
                                           {"abs(2.5)", "2.5", {}},
                                           {"sin(100000000000000000000)", "-0.645251285266", {}},
                                           {"exp(-800)", "0", {}},
                                       });
}

TEST(Functions, DomainErrors) {
    checkFunctions(AngleUnit::Radians,
                   {
                       {"ln(0)", nullptr, warning(msg::kLnDomain)},
                       {"ln(-1)", nullptr, warning(msg::kLnDomain)},
                       {"log(0)", nullptr, warning(msg::kLogDomain)},
                       {"sqrt(-4)", nullptr, warning(msg::kSqrtDomain)},
                       {"arcsin(2)", nullptr, warning(msg::kArcsinDomain)},
                       {"arccos(-1.5)", nullptr, warning(msg::kArccosDomain)},
                       {"exp(40000)", nullptr, warning(msg::functionTooLarge("Exp"))},
                       {"exp(710)", nullptr, warning(msg::functionTooLarge("Exp"))},
                       {"cosh(1000)", nullptr, warning(msg::functionTooLarge("Cosh"))},
                       {"sinh(-1000)", nullptr, warning(msg::functionTooLarge("Sinh"))},
                       {"sin(x)", nullptr, warning(msg::invalidNumber("x"))},
                       {"sqrt(1.2.3)", nullptr, warning(msg::invalidNumber("1.2.3"))},
                   });
}

TEST(CheckInverseArguments, RejectsExpressionsAndValuesBeyondOne) {
    struct Case {
        const char* expression;
        std::string_view message;  // empty: accepted
    };
    const Case kCases[] = {
        {"arcsin(0.5)+arccos(1)", {}},
        {"arcsin((-0.5))", {}},
        {"arcsin(2)", msg::kArcsinRange},
        {"arccos(-1.01)", msg::kArccosRange},
        {"arcsin(0.5*2)", msg::kArcsinNotNumber},
        {"arccos(1+0)", msg::kArccosNotNumber},
        {"arcsin(0.1)*arccos(3)", msg::kArccosRange},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expression);
        RecordingPrompter prompter;
        CalcEngine engine(31, AngleUnit::Radians);
        EXPECT_EQ(engine.CheckInverseArguments(c.expression), c.message.empty());
        present(engine.failure(), prompter);
        EXPECT_EQ(prompter.only(), c.message.empty() ? "" : warning(c.message));
    }
}

}  // namespace
}  // namespace quorvel
