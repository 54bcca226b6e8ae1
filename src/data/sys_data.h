#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"
#include "data/converter.h"
#include "data/formula.h"

namespace quorvel {

class Archive;

// A setting added after the first 32 fields: a number and its value. The file keeps such
// settings in one counted list after field 32, so a reader that does not know a number keeps
// it as it is and writes it back, and a file without the list reads as all defaults.
struct CAddedSetting {
    std::int32_t number = 0;
    std::int32_t value = 0;

    void Serialize(Archive& ar);
    bool operator==(const CAddedSetting&) const = default;
};

// The numbers of the added settings this program knows.
inline constexpr std::int32_t kZoomSettingNumber = 1;
inline constexpr std::int32_t kPreciseFunctionsSettingNumber = 2;

// Everything the program remembers between runs. Any value read from a file is kept as it is;
// the users decide what an unexpected one means (an angle unit other than 1 is degrees).
// Members hold their new values; the numbers in comments are the fields' places in the file.
struct CSysData {
    std::string paramF = "1";             // 1
    std::string paramK = "1";             // 2
    std::string paramM = "1";             // 3
    std::string paramW = "1";             // 4
    std::string piText = kPiText;         // 5
    double extraNumber = 0.0123;          // 6, the parameter dialog's number field
    std::int32_t talkResult = 1;          // 7
    std::int32_t talkInput = 0;           // 8
    std::int32_t talkKeys = 1;            // 9
    std::vector<std::string> log;         // 10, oldest first
    std::int32_t angleUnit = 1;           // 11, 1 radians, 0 degrees
    std::int32_t minimizeToTray = 1;      // 12
    std::uint8_t exerciseLimit1 = 10;     // 13
    std::uint8_t exerciseLimit2 = 1;      // 14
    std::int32_t exerciseLimit3 = 10;     // 15
    std::int32_t welcome = 1;             // 16
    std::vector<CFormula> formulas;       // 17
    std::int32_t windowStyle = 1;         // 18, 1 standard, 2 cartoon, 3 mini, 4 detail
    std::int32_t firstRun = 0;            // 19
    std::vector<CConverter> conversions;  // 20
    std::int32_t decimalPlaces = 30;      // 21
    std::int32_t intDigitsLimit = 10;     // 22, beyond it results are shown in E notation
    std::int32_t historyFactor = 0;       // 23
    std::int32_t tipsAtStart = 1;         // 24
    std::string savedInput;               // 25
    std::int32_t savedStepFlag = 0;       // 26
    std::string savedDisplay;             // 27
    std::int32_t tipPosition = 0;         // 28
    std::int32_t savedPosition = 0;       // 29
    std::int32_t savedShownResult = 0;    // 30
    std::int32_t tipWindowOpen = 0;       // 31, a record only: the window keeps its busy state
    std::int32_t greetingMark = 0;        // 32
    // Added settings, in the list after field 32:
    std::int32_t zoomPercent = 100;     // 1, the calculator window's zoom, 100 to 300
    std::int32_t preciseFunctions = 0;  // 2, 1: functions to all decimal places
    // Added settings of a newer program, kept to be stored again.
    std::vector<CAddedSetting> otherAddedSettings;

    // Writes or reads all fields, in file order. A failed read throws ArchiveError with the
    // fields before it already replaced. A file that ends after field 32 was written before
    // settings were added: they keep their values.
    void Serialize(Archive& ar);
    bool operator==(const CSysData&) const = default;

private:
    void exchangeAddedSettings(Archive& ar);
};

}  // namespace quorvel
