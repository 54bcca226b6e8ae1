#include "tools/settings_form.h"

#include <charconv>
#include <cstdlib>

#include "calc/text_util.h"

namespace quorvel {

namespace {

// A whole number as a number box holds it: optional sign, digits, blanks around.
std::optional<long long> readWhole(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || at != end) return std::nullopt;
    return value;
}

// The combo boxes' conversion: the C library's, kept in one byte as the file holds it.
std::uint8_t comboByte(const std::string& text) {
    return static_cast<std::uint8_t>(std::atoi(text.c_str()));
}

ToolMessage rangeMessage(const NumberBoxRule& box) {
    return {
        ToolMessageId::SettingOutOfRange,
        {std::string(box.field), std::to_string(box.range.low), std::to_string(box.range.high)}};
}

}  // namespace

SettingsValues ShowSettings(const UserSettings& settings, const SettingsWindowState& window) {
    SettingsValues v;
    v.talkResult = settings.talkResult;
    v.talkInput = settings.talkInput;
    v.talkKeys = settings.talkKeys;
    v.radians = settings.radians;
    v.minimizeToTray = settings.minimizeToTray;
    v.exerciseLimit1 = std::to_string(settings.exerciseLimit1);
    v.exerciseLimit2 = std::to_string(settings.exerciseLimit2);
    v.exerciseLimit3 = std::to_string(settings.exerciseLimit3);
    v.welcome = settings.welcome;
    v.places = std::to_string(settings.places);
    v.digitsLimit = std::to_string(settings.digitsLimit);
    v.historyFactor = settings.historyFactor;
    v.talkKeysWithScreenReader = window.talkKeysWithScreenReader;
    v.screenReaderRunning = window.screenReaderRunning;
    v.preciseFunctions = settings.preciseFunctions;
    v.contrastStyle = window.contrastStyle;
    v.zoom = std::to_string(clampZoom(settings.zoom));
    return v;
}

SettingsChoice ReadSettings(const SettingsValues& values) {
    struct NumberBox {
        const std::string& text;
        const NumberBoxRule& rule;
        std::int32_t UserSettings::*field;
    };
    // In the order a refusal looks at them.
    const NumberBox boxes[] = {
        {values.places, kPlacesBox, &UserSettings::places},
        {values.digitsLimit, kDigitsLimitBox, &UserSettings::digitsLimit},
        {values.exerciseLimit3, kLargestNumberBox, &UserSettings::exerciseLimit3},
        {values.zoom, kZoomBox, &UserSettings::zoom},
    };
    SettingsChoice choice;
    choice.window = {values.contrastStyle, values.screenReaderRunning,
                     values.talkKeysWithScreenReader};
    UserSettings s;
    for (const NumberBox& box : boxes) {
        const std::optional<long long> value = readWhole(box.text);
        if (!value || !box.rule.range.contains(*value)) {
            choice.refusal = rangeMessage(box.rule);
            return choice;
        }
        s.*box.field = static_cast<std::int32_t>(*value);
    }
    s.talkResult = values.talkResult;
    s.talkInput = values.talkInput;
    s.talkKeys = values.talkKeys;
    s.radians = values.radians;
    s.minimizeToTray = values.minimizeToTray;
    s.exerciseLimit1 = comboByte(values.exerciseLimit1);
    s.exerciseLimit2 = comboByte(values.exerciseLimit2);
    s.welcome = values.welcome;
    s.historyFactor = values.historyFactor;
    s.preciseFunctions = values.preciseFunctions;
    choice.settings = s;
    return choice;
}

}  // namespace quorvel
