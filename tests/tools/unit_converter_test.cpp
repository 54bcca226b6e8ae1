#include "tools/unit_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "calc/calc_engine.h"
#include "calc/calculate.h"
#include "support/recording_prompter.h"
#include "tools/tool_messages.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

constexpr auto npos = std::string_view::npos;

CalcSettings withPlaces(int places, int digitsLimit = 10) {
    CalcSettings settings;
    settings.places = places;
    settings.digitsLimit = digitsLimit;
    return settings;
}

const UnitRow& rowOf(std::string_view category, std::string_view name) {
    UnitRows rows;
    rows.LoadUnitCategory(category);
    const auto position = rows.find(name);
    if (!position) throw std::invalid_argument(std::string(name));
    return UnitCategoryRows(category)[*position];
}

struct ConversionCase {
    const char* category;
    const char* value;
    const char* from;
    const char* to;
    int places;
    const char* result;
};

TEST(ConvertValue, KnownAnswers) {
    constexpr ConversionCase kCases[] = {
        {"speed", "36", "kilometre/hour", "metre/second [m/s]", 30, "10"},
        {"speed", "10", "mile/hour", "kilometre/hour", 30, "16.09344"},
        {"speed", "1", "foot/hour", "yard/hour", 30, "0.333333333333333333333333333333"},
        {"speed", "1000000", "foot/hour", "kilometre/hour", 30,
         "304.800609601219202438404876809754"},
        {"power", "1", "watt[W]", "joules/hour", 30, "3600"},
        {"length", "3", "foot(UK and US)", "metre", 30, "0.9144"},
        {"length", "5", "inch", "centimetre", 30, "12.7"},
        {"length", "2", "foot(UK and US)", "inch", 30, "24"},
        {"length", "-3", "foot(UK and US)", "inch", 30, "-36"},
        {"length", "+2", "yard", "foot(UK and US)", 30, "6"},
        {"length", "1.5e3", "metre", "kilometre", 30, "1.5"},
        {"length", " 7 ", "metre", "metre", 30, "7"},
        {"length", "1", "light year", "kilometre", 30, "9.454254955488E+12"},
        {"length", "1", "metre", "angstroms", 2, "1E+10"},
        {"length", "1", "angstroms", "metre", 30, "0.0000000001"},
        {"length", "1", "angstroms", "kilometre", 30, "1E-13"},
        {"area", "1", "hectare", "acre", 30, "2.471053814671653422482439291988"},
        {"area", "1", "hectare", "acre", 2, "2.47"},
        {"volume", "7", "litre[l or L]", "cubic decimetre", 30, "7"},
        {"energy", "1", "British thermal unit(IT)", "calorie-cal(IT)", 30,
         "251.995796312219356071462692270947"},
        {"energy", "3", "erg", "joule[J]", 30, "0.0000003"},
        {"time", "1", "year(366days)", "day(24Hour)", 30, "366"},
        {"prefixes", "1", "yotta", "yocto", 30, "1E+48"},
        {"currency", "5", "kilo", "milli", 30, "5000000"},
        {"temperature", "100", "Celsius (C)", "Fahrenheit (F)", 30, "212"},
        {"temperature", "212", "Fahrenheit (F)", "Celsius (C)", 30, "100"},
        {"temperature", "-40", "Celsius (C)", "Fahrenheit (F)", 30, "-40"},
        {"temperature", "-40", "Fahrenheit (F)", "Celsius (C)", 30, "-40"},
        {"temperature", "100", "Fahrenheit (F)", "Celsius (C)", 30,
         "37.777777777777777777777777777778"},
        {"temperature", "100", "Fahrenheit (F)", "Celsius (C)", 2, "37.78"},
        {"temperature", "25.50", "Celsius (C)", "Celsius (C)", 30, "25.5"},
    };
    for (const ConversionCase& c : kCases) {
        SCOPED_TRACE(std::string(c.value) + " " + c.from + " -> " + c.to);
        RecordingPrompter prompter;
        const auto result = ConvertValue(c.value, rowOf(c.category, c.from),
                                         rowOf(c.category, c.to), withPlaces(c.places), prompter);
        EXPECT_EQ(prompter.only(), "");
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, c.result);
    }
}

// Evaluated with only P + 1 digits, the cut of 1/3.6 reaches the shown places.
TEST(ConvertValue, GuardDigitsAbsorbTheCutOfAFraction) {
    RecordingPrompter prompter;
    CalcEngine bare(31, AngleUnit::Radians);
    CalcOutcome raw = bare.CalculateSteps("36*(1/3.6)/(1)", 10);
    ASSERT_TRUE(raw.ok);
    EXPECT_EQ(FormatResult(raw.result, raw.steps, 30, 10), "9.999999999999999999999999999997");

    EXPECT_EQ(ConvertValue("36", rowOf("speed", "kilometre/hour"),
                           rowOf("speed", "metre/second [m/s]"), withPlaces(30), prompter),
              "10");
    // A large value scales the cut as well: 14 integer digits need more than 10 guard digits.
    EXPECT_EQ(ConvertValue("100000000000000", rowOf("speed", "kilometre/hour"),
                           rowOf("speed", "metre/second [m/s]"), withPlaces(2, 20), prompter),
              "27777777777777.78");
    EXPECT_EQ(prompter.only(), "");
}

TEST(ConvertValue, RefusalsNameTheirMessage) {
    const UnitRow foot = rowOf("length", "foot(UK and US)");
    const UnitRow metre = rowOf("length", "metre");
    const UnitRow celsius = rowOf("temperature", "Celsius (C)");
    const UnitRow broken = {"broken", "1/0"};
    struct Case {
        const char* value;
        UnitRow from;
        UnitRow to;
        const char* shown;
    };
    const Case kCases[] = {
        {"", foot, metre, "Quorvel: Please input the input value first"},
        {"   ", foot, metre, "Quorvel: Please input the input value first"},
        {"abc", foot, metre, "Quorvel Warning Message: Sorry, the input number abc is invalid."},
        {"2+3", foot, metre, "Quorvel Warning Message: Sorry, the input number 2+3 is invalid."},
        {"1.2.3", foot, metre,
         "Quorvel Warning Message: Sorry, the input number 1.2.3 is invalid."},
        {"-", foot, metre, "Quorvel Warning Message: Sorry, the input number - is invalid."},
        {"5", celsius, metre, "Quorvel Message: Failed to convert."},
        {"5", metre, celsius, "Quorvel Message: Failed to convert."},
        {"5", foot, broken, "Quorvel Warning Message: Sorry,the denominator cannot be zero."},
        {"5", broken, foot, "Quorvel Warning Message: Sorry,the denominator cannot be zero."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        RecordingPrompter prompter;
        EXPECT_EQ(ConvertValue(c.value, c.from, c.to, withPlaces(30), prompter), std::nullopt);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(ConversionFactor, OneInputUnitInOutputUnits) {
    struct Case {
        const char* category;
        const char* from;
        const char* to;
        int places;
        const char* factor;
    };
    constexpr Case kCases[] = {
        {"length", "mile(international,UK,US)", "kilometre", 30, "1.609344"},
        {"length", "foot(UK and US)", "inch", 30, "12"},
        {"speed", "kilometre/hour", "metre/second [m/s]", 30, "0.277777777777777777777777777778"},
        {"speed", "metre/second [m/s]", "kilometre/hour", 30, "3.6"},
        {"speed", "foot/hour", "yard/hour", 4, "0.3333"},
        {"area", "square mile", "square millimeter", 30, "2589988110336"},
        {"energy", "erg", "joule[J]", 3, "0"},
        {"volume", "litre[l or L]", "cubic decimetre", 30, "1"},
        {"temperature", "Fahrenheit (F)", "Fahrenheit (F)", 30, "1"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        RecordingPrompter prompter;
        EXPECT_EQ(ConversionFactor(rowOf(c.category, c.from), rowOf(c.category, c.to),
                                   withPlaces(c.places), prompter),
                  c.factor);
        EXPECT_EQ(prompter.only(), "");
    }
}

TEST(ConversionFactor, NoFactorBetweenFormulasOrForABrokenRow) {
    RecordingPrompter formulas;
    EXPECT_EQ(ConversionFactor(rowOf("temperature", "Celsius (C)"),
                               rowOf("temperature", "Fahrenheit (F)"), withPlaces(30), formulas),
              std::nullopt);
    EXPECT_EQ(formulas.only(), "Quorvel Message: Failed to convert.");

    RecordingPrompter broken;
    EXPECT_EQ(ConversionFactor(rowOf("length", "metre"), UnitRow{"broken", "1/0"}, withPlaces(30),
                               broken),
              std::nullopt);
    ASSERT_EQ(broken.messages.size(), 2u);
    EXPECT_EQ(broken.messages[0].text, "Sorry,the denominator cannot be zero.");
    EXPECT_EQ(broken.messages[1].text, msg::kFailedToConvert);
    EXPECT_EQ(broken.messages[1].title, "Quorvel Message");
    EXPECT_EQ(broken.messages[1].icon, MessageIcon::Information);
}

TEST(DisplayText, NumbersInEFormExpressionsAsWritten) {
    struct Case {
        const char* text;
        int places;
        int digitsLimit;
        const char* shown;
    };
    constexpr Case kCases[] = {
        {"4046.8564224", 30, 10, "4046.8564224"},
        {"0.000000000000000000000001", 30, 10, "1E-24"},
        {"1000000000000000000000000", 30, 10, "1E+24"},
        {"9454254955488000", 30, 10, "9.454254955488E+15"},
        {"9454254955488000", 3, 10, "9.454E+15"},
        {"0.0000000001", 30, 10, "0.0000000001"},
        {"0.000506707479", 30, 3, "5.06707479E-4"},
        {"1.5E+20", 30, 10, "1.5E+20"},
        {"2.5e-3", 30, 10, "0.0025"},
        {"1/3600", 30, 10, "1/3600"},
        {"366*24*60*60", 30, 10, "366*24*60*60"},
        {"31*24*60*60", 30, 10, "31*24*60*60"},
        {"x*9/5+32", 30, 10, "x*9/5+32"},
        {"*0.5556-17.78", 30, 1, "*0.5556-17.78"},
        {"-12345678901", 30, 10, "-1.2345678901E+10"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DisplayText(c.text, c.places, c.digitsLimit), c.shown);
    }
}

TEST(InsertConvertedValue, RuleTable) {
    struct Case {
        const char* input;
        std::size_t caret;
        const char* value;
        const char* text;
        std::size_t newCaret;
    };
    constexpr Case kCases[] = {
        {"212", npos, "*0.5556-17.78", "212*0.5556-17.78", 16},
        {"3", npos, "0.3048", "3*0.3048", 8},
        {"3", 1, "0.3048", "3*0.3048", 8},
        {"", npos, "0.3048", "0.3048", 6},
        {"  ", 1, "2.54", "2.54", 4},
        {"3+", npos, "0.3048", "3+0.3048", 8},
        {"3-", 2, "2.54", "3-2.54", 6},
        {"2^", 2, "2.54", "2^2.54", 6},
        {"3 + ", 4, "2.54", "3 +2.54", 7},
        {" 5 ", 3, "2.54", "5*2.54", 6},
        {" 5 ", 0, "2.54", "2.545", 4},
        {"2*(", npos, "2.54", "2*(2.54", 7},
        {"7+", 1, "0.3048", "7*0.3048+", 8},
        {"2*(+1)", 3, "0.3048", "2*(0.3048+1)", 9},
        {"100", npos, "X*1.8+32", "100*1.8+32", 10},
        {"100+", npos, "x*1.8+32", "100+*1.8+32", 11},
        {"", npos, "1.5E+20", "1.5e+20", 7},
        {"4", npos, "*1.8+32", "4*1.8+32", 8},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.input) + " <- " + c.value);
        const InsertOutcome outcome = InsertConvertedValue(c.input, c.caret, c.value);
        EXPECT_EQ(outcome.message, ToolMessageId::None);
        EXPECT_EQ(outcome.text, c.text);
        EXPECT_EQ(outcome.caret, c.newCaret);
    }
}

TEST(InsertConvertedValue, EmptyInputRefusals) {
    struct Case {
        const char* input;
        const char* value;
        ToolMessageId message;
    };
    constexpr Case kCases[] = {
        {"", "*1.8+32", ToolMessageId::InputNumberFirst},
        {"   ", "*0.5556-17.78", ToolMessageId::InputNumberFirst},
        {"", "x*1.8+32", ToolMessageId::InputDegreeFirst},
        {" ", "X*9/5+32", ToolMessageId::InputDegreeFirst},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        const InsertOutcome outcome = InsertConvertedValue(c.input, npos, c.value);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(outcome.text, c.input);
    }
    EXPECT_EQ(msg::kInputNumberFirst, "Please input a number first.");
    EXPECT_EQ(msg::kInputDegreeFirst, "Please input the degree number first.");
}

TEST(UnitListing, OneTabSeparatedLinePerRow) {
    EXPECT_EQ(UnitListing(" Temperature "), "Celsius (C)\tx*9/5+32\nFahrenheit (F)\t(x-32)*5/9\n");
    EXPECT_EQ(UnitListing("weight"), "");
    const std::string length = UnitListing("length");
    EXPECT_EQ(std::count(length.begin(), length.end(), '\n'), 30);
    EXPECT_EQ(length.substr(0, 23), "angstroms\t0.0000000001\n");
}

TEST(ConvertNamedUnits, FindsRowsByName) {
    RecordingPrompter prompter;
    EXPECT_EQ(ConvertNamedUnits("SPEED", "36", "Kilometre/Hour", " metre/second [m/s] ",
                                withPlaces(30), prompter),
              "10");
    EXPECT_EQ(ConvertNamedUnits("temperature", "212", "fahrenheit (f)", "celsius (c)",
                                withPlaces(30), prompter),
              "100");
    EXPECT_EQ(prompter.only(), "");
}

TEST(ConvertNamedUnits, UnknownNamesAreRefused) {
    struct Case {
        const char* category;
        const char* from;
        const char* to;
        const char* shown;
    };
    constexpr Case kCases[] = {
        {"length", "furlongs", "metre",
         "Quorvel: Please select the input unit name from the input unit list"},
        {"length", "furlong", "metres",
         "Quorvel: Please select the output unit name from the output unit list"},
        {"lengths", "furlong", "metre",
         "Quorvel: Please select the input unit name from the input unit list"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        RecordingPrompter prompter;
        EXPECT_EQ(ConvertNamedUnits(c.category, "1", c.from, c.to, withPlaces(30), prompter),
                  std::nullopt);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

}  // namespace
}  // namespace quorvel
