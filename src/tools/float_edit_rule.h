#pragma once

// The key rules of the number-only boxes, without the widget: the box checks every text it
// would hold, typed or pasted, and refuses the change when the rule says no.

#include <string_view>

namespace quorvel {

// What a CFloatEdit may hold: digits, at most one decimal point, and a minus sign only as the
// first character. "", "-" and "." are allowed while typing; they are not numbers yet.
bool IsFloatEditText(std::string_view text);

// A text that also names a number: at least one digit ("-.5" and "5." count).
bool IsNumberText(std::string_view text);

// What the whole-number boxes may hold: digits only, at most `maxDigits` of them.
bool IsDigitsText(std::string_view text, int maxDigits);

// The leading numeric part of a box, as the C library's atof reads it; 0 when there is none.
double LeadingNumber(std::string_view text);

// The value of a whole-number box; 0 for an empty one.
int DigitsValue(std::string_view text);

}  // namespace quorvel
