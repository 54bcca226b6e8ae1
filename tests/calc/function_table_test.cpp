#include "calc/function_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "calc/calc_engine.h"
#include "calc/calculator_session.h"
#include "calc/equation_solver.h"
#include "calc/keyword_scanner.h"
#include "calc/solver_messages.h"
#include "calc/syntax_checker.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

std::string upperFirst(std::string_view name) {
    std::string out(name);
    out[0] = static_cast<char>(out[0] - 'a' + 'A');
    return out;
}

struct Evaluated {
    bool ok = false;
    std::string result;
    std::string shown;  // what the user was shown, "" when nothing
};

Evaluated evaluate(std::string_view expression, AngleUnit unit) {
    RecordingPrompter prompter;
    CalcEngine engine(31, unit);
    const CalcOutcome outcome = engine.CalculateSteps(expression, 10);
    present(outcome, prompter);
    Evaluated e;
    e.ok = outcome.ok;
    e.result = outcome.result;
    e.shown = prompter.only();
    return e;
}

double valueOf(std::string_view expression, AngleUnit unit) {
    const Evaluated e = evaluate(expression, unit);
    EXPECT_TRUE(e.ok) << expression << ": " << e.shown;
    return std::strtod(e.result.c_str(), nullptr);
}

TEST(FunctionTable, NamesSeventeenDistinctFunctions) {
    const std::set<std::string_view> expected = {
        "sin", "cos", "tan", "sinh", "cosh", "tanh", "arcsin", "arccos", "arctan",
        "ln",  "log", "exp", "abs",  "sqrt", "rad",  "deg",    "int"};
    std::set<std::string_view> names;
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        EXPECT_TRUE(names.insert(f.name).second) << "listed twice";
        EXPECT_EQ(FindFunction(f.name), &f);
        EXPECT_FALSE(f.wordFile.empty());
        // The shown name differs from the typed one only in its capitals.
        ASSERT_EQ(f.shownName.size(), f.name.size());
        for (std::size_t i = 0; i < f.name.size(); ++i) {
            EXPECT_EQ(f.shownName[i] | 0x20, f.name[i]);
        }
    }
    EXPECT_EQ(names, expected);
    for (std::string_view unknown : {"Sin", "sec", "arcsinh", "", "pi", "last1"}) {
        EXPECT_EQ(FindFunction(unknown), nullptr) << unknown;
    }
}

TEST(FunctionTable, MarksTheTrigonometricFunctionsAsAngleFunctions) {
    const std::set<std::string_view> takesAngle = {"sin", "cos", "tan", "sinh", "cosh", "tanh"};
    const std::set<std::string_view> givesAngle = {"arcsin", "arccos", "arctan"};
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const AngleUse expected = takesAngle.contains(f.name)   ? AngleUse::Argument
                                  : givesAngle.contains(f.name) ? AngleUse::Result
                                                                : AngleUse::None;
        EXPECT_EQ(f.angle, expected);
    }
}

TEST(FunctionTable, PutsLongerNamesBeforeTheNamesTheyContain) {
    const auto order = FunctionsLongestFirst();
    ASSERT_EQ(order.size(), FunctionTable().size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            const std::string_view earlier = order[i]->name;
            const std::string_view later = order[j]->name;
            EXPECT_FALSE(later.starts_with(earlier) || later.ends_with(earlier))
                << later << " comes after " << earlier;
        }
    }
}

TEST(FunctionTable, EveryNameIsRecognisedAtEitherEnd) {
    const FunctionNameRecogniser recogniser;
    using Mode = FunctionNameRecogniser::Mode;
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string shown = upperFirst(f.name);
        EXPECT_EQ(recogniser.find(shown + "(1)", Mode::BeginsWith), f.name);
        EXPECT_EQ(recogniser.find("2*" + shown, Mode::EndsWith), f.name);
    }
}

TEST(FunctionTable, EveryNameIsCheckedAsAFunction) {
    const SyntaxChecker checker;
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string name(f.name);
        EXPECT_TRUE(checker.Check("2*" + name + "(0.5)+1").accepted);
        EXPECT_TRUE(checker.Check(name + "(-1)" + name + "(pi)").accepted);

        const SyntaxVerdict noBracket = checker.Check(name + " 1");
        EXPECT_FALSE(noBracket.accepted);
        EXPECT_EQ(noBracket.message, "The function name " + name + " must be followed by (");

        const SyntaxVerdict expression = checker.Check(name + "(1+2)");
        EXPECT_FALSE(expression.accepted);
        EXPECT_EQ(expression.message,
                  "The expression - 1+2 cannot be used as the parameter of "
                  "the function -- " +
                      name +
                      ". The parameter of the function must be float number "
                      "or integer.");
    }
}

TEST(FunctionTable, KeywordScannerKnowsTheMarkedNames) {
    const KeywordScanner scanner;
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string text = upperFirst(f.name) + "(";
        const auto found = scanner.findStartingAt(text, 0);
        const auto ending = scanner.findEndingAt(text, f.name.size());
        if (f.keyword) {
            ASSERT_TRUE(found && ending);
            EXPECT_EQ(found->keyword.text, f.name);
            EXPECT_TRUE(found->keyword.isFunction);
            EXPECT_EQ(ending->keyword.text, f.name);
        } else {
            EXPECT_FALSE(found || ending);
        }
    }
}

TEST(FunctionTable, EveryFunctionIsEvaluated) {
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string name(f.name);
        const Evaluated direct = evaluate(name + "(0.5)", AngleUnit::Radians);
        EXPECT_TRUE(direct.ok);
        EXPECT_EQ(direct.shown, "");
        EXPECT_TRUE(IsPlainNumber(direct.result)) << direct.result;
        // Capitals, as the input box shows them, reach the same function.
        EXPECT_EQ(evaluate(upperFirst(name) + "(0.5)", AngleUnit::Radians).result, direct.result);

        // An argument that needs reducing first, as 2*pi does after substitution. The
        // hyperbolic functions lose their bracket on the way and fail.
        const bool hyperbolic = name == "sinh" || name == "cosh" || name == "tanh";
        EXPECT_EQ(f.bracketKept, !hyperbolic);
        const Evaluated reduced = evaluate(name + "(2*0.25)", AngleUnit::Radians);
        if (!hyperbolic) {
            EXPECT_TRUE(reduced.ok) << reduced.shown;
            EXPECT_EQ(reduced.result, direct.result);
        } else {
            EXPECT_FALSE(reduced.ok);
            EXPECT_EQ(reduced.shown,
                      "Warning Message: The expression is invalid. It should include at least "
                      "one operator such as +,-,*,/,^.Thank you.");
        }
    }
}

TEST(FunctionTable, AngleFunctionsHonourTheAngleUnit) {
    const double radiansOf30 = valueOf("rad(30)", AngleUnit::Radians);
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string name(f.name);
        switch (f.angle) {
            case AngleUse::Argument: {
                const double inDegrees = valueOf(name + "(30)", AngleUnit::Degrees);
                const double inRadians =
                    valueOf(name + "(" + std::to_string(radiansOf30) + ")", AngleUnit::Radians);
                EXPECT_NEAR(inDegrees, inRadians, 1e-6);
                EXPECT_GT(std::abs(inDegrees - valueOf(name + "(30)", AngleUnit::Radians)), 0.01);
                break;
            }
            case AngleUse::Result: {
                const double inRadians = valueOf(name + "(0.5)", AngleUnit::Radians);
                const double inDegrees = valueOf(name + "(0.5)", AngleUnit::Degrees);
                EXPECT_NEAR(inDegrees, inRadians * 180 / 3.14159265358979, 1e-8);
                EXPECT_GT(inDegrees, inRadians + 1);
                break;
            }
            case AngleUse::None:
                EXPECT_EQ(evaluate(name + "(30)", AngleUnit::Degrees).result,
                          evaluate(name + "(30)", AngleUnit::Radians).result);
                break;
        }
    }
}

TEST(FunctionTable, SolverRejectsTheUnknownInEveryFunction) {
    const RecentResults zeros = {"0", "0", "0", "0", "0"};
    std::string allOfThem;  // in reverse, so the solver's own order must pick the first
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string name(f.name);
        RecordingPrompter prompter;
        SolveResult result;
        EXPECT_FALSE(SolveEquation("1+" + name + "(x)=2", zeros, {}, result));
        present(result.failure, prompter);
        ASSERT_EQ(prompter.inputMessages.size(), 1u);
        EXPECT_EQ(prompter.inputMessages[0].message, msg::unknownAsFunctionParameter(name));
        if (f.keyword) allOfThem = name + "(x)+" + allOfThem;
    }
    RecordingPrompter prompter;
    SolveResult result;
    EXPECT_FALSE(SolveEquation(allOfThem + "1=0", zeros, {}, result));
    present(result.failure, prompter);
    ASSERT_EQ(prompter.inputMessages.size(), 1u);
    EXPECT_EQ(prompter.inputMessages[0].message,
              msg::unknownAsFunctionParameter(FunctionTable().front().name));
}

}  // namespace
}  // namespace quorvel
