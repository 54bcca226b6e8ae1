#include "data/settings_bridge.h"

#include <algorithm>

#include "data/sys_data.h"

namespace quorvel {

namespace {

constexpr std::string_view kPlacesField = "decimal places";
constexpr std::string_view kDigitsLimitField = "integer-digits limit";

int clamped(std::int32_t value, SettingRange range) {
    return std::clamp<std::int32_t>(value, range.low, range.high);
}

void check(std::string_view field, std::int32_t value, SettingRange range,
           std::vector<SettingsCorrection>& corrections) {
    if (!range.contains(value)) corrections.push_back({field, value, clamped(value, range)});
}

}  // namespace

BridgedSettings ToCalcSettings(const CSysData& data) {
    BridgedSettings out;
    CalcSettings& s = out.settings;
    s.places = clamped(data.decimalPlaces, kPlacesRange);
    s.digitsLimit = clamped(data.intDigitsLimit, kDigitsLimitRange);
    // Any unit other than 1 reads as degrees, as the settings dialog's radio pair shows it.
    s.angleUnit = data.angleUnit == 1 ? AngleUnit::Radians : AngleUnit::Degrees;
    s.piText = data.piText;
    s.parameters = {data.paramF, data.paramK, data.paramM, data.paramW};
    s.preciseFunctions = data.preciseFunctions == 1;
    check(kPlacesField, data.decimalPlaces, kPlacesRange, out.corrections);
    check(kDigitsLimitField, data.intDigitsLimit, kDigitsLimitRange, out.corrections);
    return out;
}

void WriteBackSettings(const CalcSettings& settings, CSysData& data) {
    data.paramF = settings.parameters[0];
    data.paramK = settings.parameters[1];
    data.paramM = settings.parameters[2];
    data.paramW = settings.parameters[3];
    data.piText = settings.piText;
    data.decimalPlaces = clamped(data.decimalPlaces, kPlacesRange);
    data.intDigitsLimit = clamped(data.intDigitsLimit, kDigitsLimitRange);
}

UserSettings ReadUserSettings(const CSysData& data) {
    UserSettings s;
    s.talkResult = data.talkResult == 1;
    s.talkInput = data.talkInput == 1;
    s.talkKeys = data.talkKeys == 1;
    s.radians = data.angleUnit == 1;
    s.minimizeToTray = data.minimizeToTray == 1;
    s.exerciseLimit1 = data.exerciseLimit1;
    s.exerciseLimit2 = data.exerciseLimit2;
    s.exerciseLimit3 = data.exerciseLimit3;
    s.welcome = data.welcome == 1;
    s.places = data.decimalPlaces;
    s.digitsLimit = data.intDigitsLimit;
    s.historyFactor = data.historyFactor == 1;
    s.preciseFunctions = data.preciseFunctions == 1;
    s.zoom = data.zoomPercent;
    return s;
}

void WriteUserSettings(const UserSettings& settings, CSysData& data) {
    const auto flag = [](bool on) -> std::int32_t { return on ? 1 : 0; };
    data.talkResult = flag(settings.talkResult);
    data.talkInput = flag(settings.talkInput);
    data.talkKeys = flag(settings.talkKeys);
    data.angleUnit = flag(settings.radians);
    data.minimizeToTray = flag(settings.minimizeToTray);
    data.exerciseLimit1 = settings.exerciseLimit1;
    data.exerciseLimit2 = settings.exerciseLimit2;
    data.exerciseLimit3 = settings.exerciseLimit3;
    data.welcome = flag(settings.welcome);
    data.decimalPlaces = settings.places;
    data.intDigitsLimit = settings.digitsLimit;
    data.historyFactor = flag(settings.historyFactor);
    data.preciseFunctions = flag(settings.preciseFunctions);
    data.zoomPercent = settings.zoom;
}

std::string CorrectionMessage(const std::vector<SettingsCorrection>& corrections) {
    if (corrections.empty()) return {};
    std::string text = "Settings out of range in the data file were corrected:";
    for (std::size_t i = 0; i < corrections.size(); ++i) {
        const SettingsCorrection& c = corrections[i];
        text += i == 0 ? " " : ", ";
        text.append(c.field)
            .append(" ")
            .append(std::to_string(c.read))
            .append(" to ")
            .append(std::to_string(c.used));
    }
    text += ".";
    return text;
}

}  // namespace quorvel
