#pragma once

// The one crossing between the data file and the engine: CSysData's fields become the
// CalcSettings a calculation reads, and what a calculation changes goes back. Values read from
// a file are range-checked here, so a damaged or hand-edited file never reaches the engine.

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

}  // namespace quorvel
