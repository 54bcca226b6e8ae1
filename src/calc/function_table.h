#pragma once

// The seventeen named functions of an expression. The evaluator, the syntax checker, the
// keyword scanner, the equation solver, the input box, the speech wording and the function
// palette all read their names from here.

#include <span>
#include <string_view>

namespace quorvel {

// How a function meets the angle-unit setting.
enum class AngleUse {
    None,
    Argument,  // takes an angle: a degree argument is converted to radians first
    Result,    // gives an angle: a radian result is converted to degrees
};

struct FunctionEntry {
    std::string_view name;       // as typed and compared, lower case: "arcsin"
    std::string_view shownName;  // as messages spell it: "ArcSin"
    std::string_view wordFile;   // the recording that speaks it: "arcsin.wav"
    AngleUse angle;
    bool keyword;  // known to the keyword scanner (and checked by the equation solver)
    // The evaluator keeps "name(" while it reduces an argument such as 2*pi, so the function
    // gets the value. The hyperbolic functions' brackets go like plain ones, which leaves
    // "sinh6.28" and fails; that is how the evaluator has always behaved.
    bool bracketKept;
};

// In the keyword scanner's order; "int", which the scanner does not know, comes last.
std::span<const FunctionEntry> FunctionTable();

// The entry named exactly `name` (lower case), or nullptr.
const FunctionEntry* FindFunction(std::string_view name);

// Every entry, a longer name before a shorter one, so that taking the first name a text
// begins or ends with finds "sinh" and "arcsin" rather than their "sin".
std::span<const FunctionEntry* const> FunctionsLongestFirst();

}  // namespace quorvel
