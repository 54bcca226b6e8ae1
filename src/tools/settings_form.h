#pragma once

// The settings dialog without widgets: what its controls show, the rule of each number box,
// and what OK makes of the values. The dialog builds its controls from here and hands the
// values back; the calculator applies what this accepts.

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calc_settings.h"
#include "data/settings_bridge.h"
#include "tools/tool_messages.h"
#include "tools/zoom.h"

namespace quorvel {

// The dialog's fields, as it edits them. The number boxes stay texts so that what the user
// typed is checked here, with a message naming the allowed range.
struct SettingsValues {
    bool talkResult = true;
    bool talkInput = false;
    bool talkKeys = true;
    bool radians = true;
    bool minimizeToTray = true;
    std::string exerciseLimit1 = "10";  // combo texts
    std::string exerciseLimit2 = "1";
    std::string exerciseLimit3 = "10";
    bool welcome = true;
    std::string places = "30";
    std::string digitsLimit = "10";
    bool historyFactor = false;
    // Kept for this run only: the key echo while a screen reader runs, which speaks typed keys
    // itself. The dialog offers it while `screenReaderRunning` holds.
    bool talkKeysWithScreenReader = false;
    bool screenReaderRunning = false;  // shown, not applied
    bool preciseFunctions = false;
    // Added to the window group: the recorded style is the high-contrast one, and the zoom.
    bool contrastStyle = false;
    std::string zoom = "100";
    bool operator==(const SettingsValues&) const = default;
};

// What the dialog shows beside the stored settings: the window's own state.
struct SettingsWindowState {
    bool contrastStyle = false;
    bool screenReaderRunning = false;
    bool talkKeysWithScreenReader = false;
    bool operator==(const SettingsWindowState&) const = default;
};

// A number box: its name in a refusal and the whole numbers it takes.
struct NumberBoxRule {
    std::string_view field;
    SettingRange range;
};
inline constexpr NumberBoxRule kPlacesBox{"decimal places", kPlacesRange};
inline constexpr NumberBoxRule kDigitsLimitBox{"integer-digits limit", kDigitsLimitRange};
// Exercise operands are 1 .. this, and the file keeps it in 32 bits.
inline constexpr NumberBoxRule kLargestNumberBox{"largest exercise value",
                                                 {1, std::numeric_limits<std::int32_t>::max()}};
inline constexpr NumberBoxRule kZoomBox{"zoom", {kZoomMin, kZoomMax}};

// The exercise combo boxes' lists; any other number may be typed.
inline constexpr std::array<std::string_view, 6> kExerciseCountChoices = {"5",  "10", "20",
                                                                          "30", "50", "100"};
inline constexpr std::array<std::string_view, 5> kOperatorCountChoices = {"1", "2", "3", "4", "5"};

// The values the dialog opens with. A stored zoom out of range shows as the nearest bound, as
// the window opens at it; the other numbers show as stored.
SettingsValues ShowSettings(const UserSettings& settings, const SettingsWindowState& window);

// What OK makes of the values: the settings and window state to apply, or, with `settings`
// empty, the refusal naming the first number box out of range.
struct SettingsChoice {
    std::optional<UserSettings> settings;
    SettingsWindowState window;
    ToolMessage refusal{ToolMessageId::None};
};
SettingsChoice ReadSettings(const SettingsValues& values);

}  // namespace quorvel
