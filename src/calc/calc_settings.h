#pragma once

// The settings one calculation reads, handed in by the caller (the windows copy them from the
// data file, quorvel-calc from its options); defaults are a new data file's values.

#include <array>
#include <string>

namespace quorvel {

enum class AngleUnit { Degrees = 0, Radians = 1 };

// Pi to 101 decimal places; longer than any working precision needs.
inline constexpr const char* kPiText =
    "3."
    "1415926535897932384626433832795028841971693993751058209749445923078164062862089986280348253421"
    "1706798";

// 0..3 for the parameter letters F, K, M, W in either case, -1 for any other character.
constexpr int ParameterIndex(char letter) {
    switch (letter) {
        case 'f':
        case 'F':
            return 0;
        case 'k':
        case 'K':
            return 1;
        case 'm':
        case 'M':
            return 2;
        case 'w':
        case 'W':
            return 3;
        default:
            return -1;
    }
}

// What the engine accepts for P and N, wherever a value comes from: the command line, the data
// file, the settings dialog. Beyond them places + 1 overflows, or one division takes minutes
// and gigabytes; below them results lose their digits or every value turns into E form.
struct SettingRange {
    int low;
    int high;
    constexpr bool contains(long long value) const { return value >= low && value <= high; }
};
inline constexpr SettingRange kPlacesRange{0, 10000};
inline constexpr SettingRange kDigitsLimitRange{1, 10000};

struct CalcSettings {
    int places = 30;       // P: fraction digits of a shown result
    int digitsLimit = 10;  // N: integer digits beyond which a result is shown in E form
    AngleUnit angleUnit = AngleUnit::Radians;
    std::string piText = kPiText;
    std::array<std::string, 4> parameters = {"1", "1", "1", "1"};  // F, K, M, W
    bool preciseFunctions = false;  // functions to the working digits, not double precision
};

}  // namespace quorvel
