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

namespace quorvel {
namespace {

// A flag field of the file, and the setting that reads it.
struct FlagField {
    const char* name;
    std::int32_t CSysData::*field;
    bool UserSettings::*setting;
};
constexpr FlagField kFlags[] = {
    {"talk result", &CSysData::talkResult, &UserSettings::talkResult},
    {"talk input", &CSysData::talkInput, &UserSettings::talkInput},
    {"talk keys", &CSysData::talkKeys, &UserSettings::talkKeys},
    {"angle unit", &CSysData::angleUnit, &UserSettings::radians},
    {"minimize to tray", &CSysData::minimizeToTray, &UserSettings::minimizeToTray},
    {"welcome", &CSysData::welcome, &UserSettings::welcome},
    {"history factor", &CSysData::historyFactor, &UserSettings::historyFactor},
    {"precise functions", &CSysData::preciseFunctions, &UserSettings::preciseFunctions},
};

TEST(ReadUserSettings, AFlagIsOnOnlyWhenTheFileHoldsOne) {
    struct Case {
        std::int32_t stored;
        bool on;
    };
    constexpr Case kCases[] = {{1, true}, {0, false}, {2, false}, {-1, false}, {kMaxInt, false}};
    for (const FlagField& f : kFlags) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(f.name) + " " + std::to_string(c.stored));
            CSysData data;
            data.*f.field = c.stored;
            EXPECT_EQ(ReadUserSettings(data).*f.setting, c.on);
            // Written back as the dialog writes it: 0 or 1.
            CSysData written;
            WriteUserSettings(ReadUserSettings(data), written);
            EXPECT_EQ(written.*f.field, c.on ? 1 : 0);
        }
    }
}

TEST(ReadUserSettings, ANewDataFileGivesTheNewSettings) {
    EXPECT_EQ(ReadUserSettings(CSysData{}), UserSettings{});
    CSysData written;
    WriteUserSettings(UserSettings{}, written);
    EXPECT_EQ(written, CSysData{});
}

// Numbers pass as the file has them, out of range too: the engine and the window range-check
// their own copies, and the dialog shows what was stored.
TEST(ReadUserSettings, NumbersRoundTripAsStored) {
    CSysData data;
    data.exerciseLimit1 = 255;
    data.exerciseLimit2 = 0;
    data.exerciseLimit3 = kMinInt;
    data.decimalPlaces = 20000;
    data.intDigitsLimit = -3;
    data.zoomPercent = 900;
    const UserSettings s = ReadUserSettings(data);
    EXPECT_EQ(s.exerciseLimit1, 255);
    EXPECT_EQ(s.exerciseLimit2, 0);
    EXPECT_EQ(s.exerciseLimit3, kMinInt);
    EXPECT_EQ(s.places, 20000);
    EXPECT_EQ(s.digitsLimit, -3);
    EXPECT_EQ(s.zoom, 900);
    CSysData written;
    WriteUserSettings(s, written);
    EXPECT_EQ(written, data);
}

// OK writes the settings and nothing else: the parameters, the log, the style and the saved
// window state are other owners' fields.
TEST(WriteUserSettings, LeavesEveryOtherFieldAlone) {
    CSysData data;
    data.paramF = "7";
    data.piText = "3.14";
    data.extraNumber = 2.5;
    data.log = {"1+1=2"};
    data.formulas.push_back({});
    data.conversions.push_back({});
    data.windowStyle = 6;
    data.firstRun = 1;
    data.tipsAtStart = 0;
    data.savedInput = "1+";
    data.tipPosition = 4;
    data.tipWindowOpen = 1;
    data.greetingMark = 3;
    data.otherAddedSettings = {{9, 9}};
    UserSettings s;
    s.talkResult = false;
    s.places = 5;
    s.zoom = 200;
    CSysData expected = data;
    expected.talkResult = 0;
    expected.decimalPlaces = 5;
    expected.zoomPercent = 200;
    WriteUserSettings(s, data);
    EXPECT_EQ(data, expected);
}

}  // namespace
}  // namespace quorvel
