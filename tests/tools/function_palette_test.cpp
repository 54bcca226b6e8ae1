#include "tools/function_palette.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calc/calculate.h"
#include "calc/function_table.h"
#include "calc/messages.h"
#include "data/settings_bridge.h"
#include "data/sys_data.h"
#include "support/recording_prompter.h"
#include "tools/tool_messages.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

TEST(FunctionPalette, HasNineteenButtonsCoveringTheFunctionTableOnce) {
    const auto palette = FunctionPalette();
    ASSERT_EQ(palette.size(), 19u);
    std::multiset<std::string> names;
    std::set<int> ids;
    for (const PaletteButton& button : palette) {
        names.insert(std::string(button.name));
        ids.insert(button.id);
        EXPECT_NE(button.id, 109);
        EXPECT_NE(button.id, 113);
        EXPECT_NE(button.id, 117);
        EXPECT_EQ(button.insertedDirectly, FindFunction(button.name) == nullptr) << button.name;
    }
    EXPECT_EQ(ids.size(), 19u);
    for (const FunctionEntry& function : FunctionTable()) {
        EXPECT_EQ(names.count(std::string(function.name)), 1u) << function.name;
    }
    EXPECT_EQ(names.count("10^"), 1u);
    EXPECT_EQ(names.count("^2"), 1u);
}

TEST(FunctionPalette, ButtonsCarryTheirTooltipAndMessage) {
    struct Case {
        const char* name;
        int id;
        const char* tooltip;
        int message;
        bool direct;
    };
    constexpr Case kCases[] = {
        {"sin", 106, "sine", 2126, false},
        {"sinh", 108, "hyperbolic sine", 1128, false},
        {"cosh", 112, "hyperbolic cosine ", 1132, false},
        {"int", 120, "convert the float number into integer", 2140, false},
        {"10^", 122, "10 power", 2142, true},
        {"^2", 126, "square", 2146, true},
        {"sqrt", 127, "the square root of a number", 2147, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const PaletteButton* button = FindPaletteButton(c.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->id, c.id);
        EXPECT_EQ(button->tooltip, c.tooltip);
        EXPECT_EQ(button->message, c.message);
        EXPECT_EQ(button->insertedDirectly, c.direct);
    }
    EXPECT_EQ(FindPaletteButton("tanh2"), nullptr);
}

TEST(FunctionArgument, OffersTheAngleUnitForTheNineAngleFunctionsOnly) {
    struct Case {
        const char* name;
        bool radios;
    };
    constexpr Case kCases[] = {
        {"sin", true},    {"cos", true},    {"tan", true},    {"sinh", true},   {"cosh", true},
        {"tanh", true},   {"arcsin", true}, {"arccos", true}, {"arctan", true}, {"log", false},
        {"ln", false},    {"exp", false},   {"sqrt", false},  {"rad", false},   {"deg", false},
        {" TanH ", true}, {"ABS", false},
    };
    CSysData data;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FunctionArgument(c.name, data).showsAngleUnit(), c.radios);
    }
}

TEST(FunctionArgument, RadiosChangeTheSharedAngleUnit) {
    CSysData data;
    data.angleUnit = 0;
    FunctionArgument argument(" SIN ", data);
    EXPECT_EQ(argument.name(), "sin");
    EXPECT_EQ(argument.label(), "sin(");
    EXPECT_FALSE(argument.radians());
    argument.setRadians(true);
    EXPECT_EQ(data.angleUnit, 1);
    EXPECT_TRUE(argument.radians());
    argument.setRadians(false);
    EXPECT_EQ(data.angleUnit, 0);
    // Any unit other than 1 reads as degrees.
    data.angleUnit = 7;
    EXPECT_FALSE(argument.radians());
}

TEST(FunctionArgument, RefusesArcsinAndArccosOutsideMinusOneToOne) {
    struct Case {
        const char* name;
        const char* argument;
        bool accepted;
    };
    constexpr Case kCases[] = {
        {"arcsin", "0.5", true}, {"arcsin", "1.5", false},     {"arcsin", "1", true},
        {"arcsin", "-1", true},  {"arccos", "-1.0001", false}, {"arccos", "2", false},
        {"arccos", "", true},    {"arccos", "-", true},        {"arctan", "5", true},
        {"sin", "1.5", true},    {"arcsin", "1.00000", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.name) + "(" + c.argument + ")");
        CSysData data;
        RecordingPrompter prompter;
        EXPECT_EQ(FunctionArgument(c.name, data).accept(c.argument, prompter), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(prompter.messages.empty());
        } else {
            EXPECT_EQ(prompter.only(),
                      std::string(msg::kTitleQuorvel) + ": " + std::string(msg::kArcRange));
        }
    }
}

TEST(FunctionArgument, BuildsTheCallTheMainWindowInserts) {
    CSysData data;
    EXPECT_EQ(FunctionArgument("arcsin", data).call("0.5"), "arcsin(0.5)");
    EXPECT_EQ(FunctionArgument("sin", data).call("30"), "sin(30)");
    EXPECT_EQ(FunctionArgument("ln", data).call(""), "ln()");
}

// What the palette inserts is something the engine calculates.
TEST(FunctionArgument, InsertedCallsCalculate) {
    struct Case {
        const char* name;
        const char* argument;
        int angleUnit;
        const char* result;
    };
    constexpr Case kCases[] = {
        {"sin", "30", 0, "0.5"},
        {"sqrt", "16", 1, "4"},
        {"abs", "-2.5", 1, "2.5"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CSysData data;
        data.decimalPlaces = 10;
        FunctionArgument argument(c.name, data);
        argument.setRadians(c.angleUnit == 1);
        const CalcOutcome outcome = CalculateExpression(
            argument.call(c.argument), {"0", "0", "0", "0", "0"}, ToCalcSettings(data).settings);
        EXPECT_TRUE(outcome.ok) << outcome.message();
        EXPECT_EQ(outcome.result, c.result);
    }
}

}  // namespace
}  // namespace quorvel
