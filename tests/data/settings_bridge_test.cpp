#include "data/settings_bridge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "data/sys_data.h"

namespace quorvel {
namespace {

constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();

struct RangeCase {
    std::int32_t places;
    std::int32_t digits;
    int usedPlaces;
    int usedDigits;
    std::vector<SettingsCorrection> corrections;
};

TEST(ToCalcSettings, BringsPlacesAndDigitsIntoRange) {
    const RangeCase kCases[] = {
        {30, 10, 30, 10, {}},
        {0, 1, 0, 1, {}},
        {10000, 10000, 10000, 10000, {}},
        {10001, 10, 10000, 10, {{"decimal places", 10001, 10000}}},
        {kMaxInt, 10, 10000, 10, {{"decimal places", kMaxInt, 10000}}},
        {553648158, 10, 10000, 10, {{"decimal places", 553648158, 10000}}},
        {-1, 10, 0, 10, {{"decimal places", -1, 0}}},
        {kMinInt, 10, 0, 10, {{"decimal places", kMinInt, 0}}},
        {30, 0, 30, 1, {{"integer-digits limit", 0, 1}}},
        {30, -5, 30, 1, {{"integer-digits limit", -5, 1}}},
        {30, 10001, 30, 10000, {{"integer-digits limit", 10001, 10000}}},
        {-1, 0, 0, 1, {{"decimal places", -1, 0}, {"integer-digits limit", 0, 1}}},
    };
    for (const RangeCase& c : kCases) {
        SCOPED_TRACE(std::to_string(c.places) + " places, " + std::to_string(c.digits) + " digits");
        CSysData data;
        data.decimalPlaces = c.places;
        data.intDigitsLimit = c.digits;
        const BridgedSettings bridged = ToCalcSettings(data);
        EXPECT_EQ(bridged.settings.places, c.usedPlaces);
        EXPECT_EQ(bridged.settings.digitsLimit, c.usedDigits);
        EXPECT_EQ(bridged.corrections, c.corrections);
        EXPECT_EQ(bridged.corrections.empty(), CorrectionMessage(bridged.corrections).empty());
    }
}

TEST(ToCalcSettings, CopiesUnitPiAndParametersInLetterOrder) {
    struct Case {
        std::int32_t angleUnit;
        AngleUnit used;
    };
    constexpr Case kCases[] = {{1, AngleUnit::Radians},
                               {0, AngleUnit::Degrees},
                               {2, AngleUnit::Degrees},
                               {-1, AngleUnit::Degrees}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.angleUnit);
        CSysData data;
        data.angleUnit = c.angleUnit;
        data.paramF = "2";
        data.paramK = "-3.5";
        data.paramM = "7";
        data.paramW = "0.25";
        data.piText = "3.14";
        const CalcSettings s = ToCalcSettings(data).settings;
        EXPECT_EQ(s.angleUnit, c.used);
        EXPECT_EQ(s.piText, "3.14");
        EXPECT_EQ(s.parameters, (std::array<std::string, 4>{"2", "-3.5", "7", "0.25"}));
    }
}

TEST(ToCalcSettings, ANewDataFileGivesTheEngineDefaults) {
    const BridgedSettings bridged = ToCalcSettings(CSysData{});
    const CalcSettings defaults;
    EXPECT_EQ(bridged.settings.places, defaults.places);
    EXPECT_EQ(bridged.settings.digitsLimit, defaults.digitsLimit);
    EXPECT_EQ(bridged.settings.angleUnit, defaults.angleUnit);
    EXPECT_EQ(bridged.settings.piText, defaults.piText);
    EXPECT_EQ(bridged.settings.parameters, defaults.parameters);
    EXPECT_TRUE(bridged.corrections.empty());
}

TEST(WriteBackSettings, StoresParametersAndPiAndRepairsTheRanges) {
    CSysData data;
    data.decimalPlaces = -1;
    data.intDigitsLimit = kMaxInt;
    data.angleUnit = 0;
    CalcSettings settings;
    settings.parameters = {"4", "5", "-6", "7"};
    settings.piText = "3.1416";
    settings.places = 2;  // an override of the caller's, never the file's
    settings.angleUnit = AngleUnit::Radians;
    WriteBackSettings(settings, data);
    EXPECT_EQ(data.paramF, "4");
    EXPECT_EQ(data.paramK, "5");
    EXPECT_EQ(data.paramM, "-6");
    EXPECT_EQ(data.paramW, "7");
    EXPECT_EQ(data.piText, "3.1416");
    EXPECT_EQ(data.decimalPlaces, 0);
    EXPECT_EQ(data.intDigitsLimit, 10000);
    EXPECT_EQ(data.angleUnit, 0);
    EXPECT_TRUE(ToCalcSettings(data).corrections.empty());

    data.decimalPlaces = 12;
    data.intDigitsLimit = 7;
    WriteBackSettings(settings, data);
    EXPECT_EQ(data.decimalPlaces, 12);
    EXPECT_EQ(data.intDigitsLimit, 7);
}

TEST(CorrectionMessage, NamesEveryCorrectedField) {
    struct Case {
        std::vector<SettingsCorrection> corrections;
        const char* message;
    };
    const Case kCases[] = {
        {{}, ""},
        {{{"decimal places", kMaxInt, 10000}},
         "Settings out of range in the data file were corrected: decimal places 2147483647 to "
         "10000."},
        {{{"decimal places", -1, 0}, {"integer-digits limit", 0, 1}},
         "Settings out of range in the data file were corrected: decimal places -1 to 0, "
         "integer-digits limit 0 to 1."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(CorrectionMessage(c.corrections), c.message);
    }
}

}  // namespace
}  // namespace quorvel
