#include "tools/settings_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace quorvel {
namespace {

// One value typed or clicked in the form, and the setting OK makes of it.
struct AppliedCase {
    const char* what;
    std::function<void(SettingsValues&)> enter;
    std::function<void(UserSettings&)> expect;
};

TEST(ReadSettings, EachValueBecomesItsSetting) {
    const AppliedCase kCases[] = {
        {"talk result off", [](auto& v) { v.talkResult = false; },
         [](auto& s) { s.talkResult = false; }},
        {"talk input on", [](auto& v) { v.talkInput = true; }, [](auto& s) { s.talkInput = true; }},
        {"talk keys off", [](auto& v) { v.talkKeys = false; }, [](auto& s) { s.talkKeys = false; }},
        {"degrees", [](auto& v) { v.radians = false; }, [](auto& s) { s.radians = false; }},
        {"no tray", [](auto& v) { v.minimizeToTray = false; },
         [](auto& s) { s.minimizeToTray = false; }},
        {"no welcome", [](auto& v) { v.welcome = false; }, [](auto& s) { s.welcome = false; }},
        {"history", [](auto& v) { v.historyFactor = true; },
         [](auto& s) { s.historyFactor = true; }},
        {"precise", [](auto& v) { v.preciseFunctions = true; },
         [](auto& s) { s.preciseFunctions = true; }},
        {"places", [](auto& v) { v.places = "7"; }, [](auto& s) { s.places = 7; }},
        {"places 0", [](auto& v) { v.places = "0"; }, [](auto& s) { s.places = 0; }},
        {"places with blanks", [](auto& v) { v.places = " 12 "; }, [](auto& s) { s.places = 12; }},
        {"places with plus", [](auto& v) { v.places = "+10000"; },
         [](auto& s) { s.places = 10000; }},
        {"digits limit", [](auto& v) { v.digitsLimit = "1"; }, [](auto& s) { s.digitsLimit = 1; }},
        {"largest number", [](auto& v) { v.exerciseLimit3 = "2147483647"; },
         [](auto& s) { s.exerciseLimit3 = 2147483647; }},
        {"zoom", [](auto& v) { v.zoom = "175"; }, [](auto& s) { s.zoom = 175; }},
        {"zoom at the top", [](auto& v) { v.zoom = "300"; }, [](auto& s) { s.zoom = 300; }},
        // The combo boxes keep one byte of the C library's conversion, as the file holds them.
        {"exercises", [](auto& v) { v.exerciseLimit1 = "50"; },
         [](auto& s) { s.exerciseLimit1 = 50; }},
        {"exercises beyond a byte", [](auto& v) { v.exerciseLimit1 = "300"; },
         [](auto& s) { s.exerciseLimit1 = 44; }},
        {"exercises with a tail", [](auto& v) { v.exerciseLimit1 = "12abc"; },
         [](auto& s) { s.exerciseLimit1 = 12; }},
        {"operators not a number", [](auto& v) { v.exerciseLimit2 = "x"; },
         [](auto& s) { s.exerciseLimit2 = 0; }},
        {"operators empty", [](auto& v) { v.exerciseLimit2 = ""; },
         [](auto& s) { s.exerciseLimit2 = 0; }},
        // Window state, not stored settings: the settings stay the defaults.
        {"contrast style", [](auto& v) { v.contrastStyle = true; }, [](auto&) {}},
        {"keys with a reader", [](auto& v) { v.talkKeysWithScreenReader = true; }, [](auto&) {}},
    };
    for (const AppliedCase& c : kCases) {
        SCOPED_TRACE(c.what);
        SettingsValues values;
        c.enter(values);
        UserSettings expected;
        c.expect(expected);
        const SettingsChoice choice = ReadSettings(values);
        ASSERT_TRUE(choice.settings.has_value()) << choice.refusal.text();
        EXPECT_EQ(*choice.settings, expected);
        EXPECT_EQ(choice.refusal.text(), "");
        EXPECT_EQ(choice.window.contrastStyle, values.contrastStyle);
        EXPECT_EQ(choice.window.talkKeysWithScreenReader, values.talkKeysWithScreenReader);
    }
}

TEST(ReadSettings, RefusesTheFirstNumberBoxOutOfRange) {
    struct Case {
        const char* places;
        const char* digits;
        const char* largest;
        const char* zoom;
        const char* refusal;
    };
    const char* kPlaces = "The decimal places must be a whole number from 0 to 10000.";
    const char* kDigits = "The integer-digits limit must be a whole number from 1 to 10000.";
    const char* kLargest =
        "The largest exercise value must be a whole number from 1 to 2147483647.";
    const char* kZoom = "The zoom must be a whole number from 100 to 300.";
    const Case kCases[] = {
        {"10001", "10", "10", "100", kPlaces},
        {"-1", "10", "10", "100", kPlaces},
        {"", "10", "10", "100", kPlaces},
        {"  ", "10", "10", "100", kPlaces},
        {"+", "10", "10", "100", kPlaces},
        {"2.5", "10", "10", "100", kPlaces},
        {"1e3", "10", "10", "100", kPlaces},
        {"99999999999999999999", "10", "10", "100", kPlaces},
        {"30", "0", "10", "100", kDigits},
        {"30", "10001", "10", "100", kDigits},
        {"30", "10", "0", "100", kLargest},
        {"30", "10", "2147483648", "100", kLargest},
        {"30", "10", "10", "99", kZoom},
        {"30", "10", "10", "301", kZoom},
        {"30", "10", "10", "2x", kZoom},
        // Several wrong: the message names the first, down the form.
        {"x", "0", "0", "0", kPlaces},
        {"30", "0", "0", "0", kDigits},
        {"30", "10", "0", "0", kLargest},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.places) + "/" + c.digits + "/" + c.largest + "/" + c.zoom);
        SettingsValues values;
        values.places = c.places;
        values.digitsLimit = c.digits;
        values.exerciseLimit3 = c.largest;
        values.zoom = c.zoom;
        const SettingsChoice choice = ReadSettings(values);
        EXPECT_FALSE(choice.settings.has_value());
        EXPECT_EQ(choice.refusal.text(), c.refusal);
    }
}

TEST(ShowSettings, ShowsTheStoredSettingsAndTheWindowState) {
    UserSettings s;
    s.talkResult = false;
    s.talkInput = true;
    s.talkKeys = false;
    s.radians = false;
    s.minimizeToTray = false;
    s.exerciseLimit1 = 255;
    s.exerciseLimit2 = 0;
    s.exerciseLimit3 = 99;
    s.welcome = false;
    s.places = 20000;  // out of range in the file: the number box shows its nearest bound
    s.digitsLimit = 12;
    s.historyFactor = true;
    s.preciseFunctions = true;
    s.zoom = 175;
    const SettingsValues v = ShowSettings(s, {true, true, true});
    SettingsValues expected;
    expected.talkResult = false;
    expected.talkInput = true;
    expected.talkKeys = false;
    expected.radians = false;
    expected.minimizeToTray = false;
    expected.exerciseLimit1 = "255";
    expected.exerciseLimit2 = "0";
    expected.exerciseLimit3 = "99";
    expected.welcome = false;
    expected.places = "20000";
    expected.digitsLimit = "12";
    expected.historyFactor = true;
    expected.talkKeysWithScreenReader = true;
    expected.screenReaderRunning = true;
    expected.preciseFunctions = true;
    expected.contrastStyle = true;
    expected.zoom = "175";
    EXPECT_EQ(v, expected);
    EXPECT_EQ(ShowSettings(UserSettings{}, {}), SettingsValues{});
}

TEST(ShowSettings, AStoredZoomOutOfRangeShowsTheZoomTheWindowOpensAt) {
    struct Case {
        int stored;
        const char* shown;
    };
    for (const Case& c : {Case{0, "100"}, Case{99, "100"}, Case{100, "100"}, Case{250, "250"},
                          Case{301, "300"}, Case{-5, "100"}}) {
        SCOPED_TRACE(c.stored);
        UserSettings s;
        s.zoom = c.stored;
        EXPECT_EQ(ShowSettings(s, {}).zoom, c.shown);
    }
}

// What the form shows, handed back unchanged, gives the same settings: OK without an edit
// changes nothing.
TEST(ReadSettings, OkWithoutAnEditKeepsEverySetting) {
    UserSettings s;
    s.talkInput = true;
    s.radians = false;
    s.exerciseLimit1 = 30;
    s.exerciseLimit2 = 4;
    s.exerciseLimit3 = 1000;
    s.places = 0;
    s.digitsLimit = 10000;
    s.preciseFunctions = true;
    s.zoom = 300;
    for (const UserSettings& settings : {UserSettings{}, s}) {
        const SettingsWindowState window{true, false, true};
        const SettingsChoice choice = ReadSettings(ShowSettings(settings, window));
        ASSERT_TRUE(choice.settings.has_value()) << choice.refusal.text();
        EXPECT_EQ(*choice.settings, settings);
        EXPECT_EQ(choice.window, window);
    }
}

// The dialog's bounds are the ones the form checks: a value at a bound passes, one past it is
// refused.
TEST(NumberBoxRule, BoundsAreWhatReadSettingsAccepts) {
    struct Box {
        const NumberBoxRule& rule;
        std::string SettingsValues::*text;
    };
    const Box kBoxes[] = {{kPlacesBox, &SettingsValues::places},
                          {kDigitsLimitBox, &SettingsValues::digitsLimit},
                          {kLargestNumberBox, &SettingsValues::exerciseLimit3},
                          {kZoomBox, &SettingsValues::zoom}};
    for (const Box& box : kBoxes) {
        SCOPED_TRACE(std::string(box.rule.field));
        for (long long value : {static_cast<long long>(box.rule.range.low) - 1,
                                static_cast<long long>(box.rule.range.low),
                                static_cast<long long>(box.rule.range.high),
                                static_cast<long long>(box.rule.range.high) + 1}) {
            SettingsValues values;
            values.*box.text = std::to_string(value);
            EXPECT_EQ(ReadSettings(values).settings.has_value(), box.rule.range.contains(value))
                << value;
        }
    }
}

}  // namespace
}  // namespace quorvel
