#pragma once

// The one crossing between the data file and its users: CSysData's fields become the
// CalcSettings a calculation reads and the UserSettings the windows work with, and what either
// changes goes back. Values read from a file are range-checked for the engine here, so a damaged
// or hand-edited file never reaches it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"

namespace quorvel {

struct CSysData;

struct SettingsCorrection {
    std::string_view field;  // as the user knows it: "decimal places"
    std::int32_t read;       // the value in the file
    int used;                // the nearest limit, used instead
    bool operator==(const SettingsCorrection&) const = default;
};

struct BridgedSettings {
    CalcSettings settings;
    std::vector<SettingsCorrection> corrections;  // empty for a sound file
};

BridgedSettings ToCalcSettings(const CSysData& data);

// Parameters and Pi, the settings a calculation may change. An out-of-range decimal places or
// digits limit is brought into range too, so the next store repairs the file and the user is
// told only once; the other settings stay as the file has them.
void WriteBackSettings(const CalcSettings& settings, CSysData& data);

// One line naming every corrected field with its old and new value; empty when none.
std::string CorrectionMessage(const std::vector<SettingsCorrection>& corrections);

// The settings the user edits in the settings dialog, typed as the program uses them. The
// calculator keeps one as its working copy and the settings form shows and reads one; the two
// functions below are the only place their CSysData fields are named.
struct UserSettings {
    bool talkResult = true;
    bool talkInput = false;
    bool talkKeys = true;
    bool radians = true;
    bool minimizeToTray = true;
    std::uint8_t exerciseLimit1 = 10;  // number of exercises
    std::uint8_t exerciseLimit2 = 1;   // operators
    std::int32_t exerciseLimit3 = 10;  // largest value
    bool welcome = true;
    // As the file has them: the engine's copy is range-checked by ToCalcSettings, and the
    // window opens at the nearest zoom in range.
    std::int32_t places = 30;
    std::int32_t digitsLimit = 10;
    bool historyFactor = false;
    bool preciseFunctions = false;
    std::int32_t zoom = 100;
    bool operator==(const UserSettings&) const = default;
};

// A flag is on only when the file holds 1 (an angle unit other than 1 is degrees), and is
// written as 0 or 1.
UserSettings ReadUserSettings(const CSysData& data);
void WriteUserSettings(const UserSettings& settings, CSysData& data);

}  // namespace quorvel
