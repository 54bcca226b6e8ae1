#pragma once

// The key rules of the number-only boxes, without their widgets: the plain number box of the
// small dialogs (CFloatEdit) and the converter's value box (CConvFloatEdit).

#include <string_view>

namespace quorvel {

// Whether `text` may stand in a plain number box while it is typed: digits, at most one
// point, and a minus only as the first character. "", "-" and "." pass, being on the way to
// a number.
bool IsFloatEntry(std::string_view text);
// A finished number: a float entry with at least one digit.
bool IsFloatNumber(std::string_view text);

// What the whole-number boxes may hold: digits only, at most `maxDigits` of them.
bool IsDigitsText(std::string_view text, int maxDigits);
// The value of a whole-number box; 0 for an empty one.
int DigitsValue(std::string_view text);
// The leading numeric part of a box, as the C library's atof reads it; 0 when there is none.
double LeadingNumber(std::string_view text);

enum class ValueKey {
    Discard,
    Accept,              // goes into the box; the result waits for the next digit or click
    AcceptAndRecompute,  // goes into the box, then the result is brought up to date
};

inline constexpr char kBackspace = '\b';

// The converter's value box: a digit converts at once; a point or Backspace (kBackspace) is
// taken without converting, so a half-typed "2." is not shown as a result; anything else is
// dropped.
ValueKey ConvValueKey(char ch);

}  // namespace quorvel
