#pragma once

// The evaluator's + - * / for operands short enough to fit a 128-bit integer, read straight
// from the operand text and written straight back, without DecimalNumber's digit arrays. The
// text it gives is exactly what DecimalNumber's add, subtract, multiply and divide followed by
// toString would give, signs of zero included; anything it cannot do that way is left to them.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// `x` and `y` are operand values as the evaluator reads them: an optional "-", then digits with
// at most one point. The result text, or nothing when an operand or an intermediate value is
// too long, the divisor is zero, or `op` is not one of + - * /.
std::optional<std::string> ShortDecimalApply(char op, std::string_view x, std::string_view y,
                                             int precision);

// The same, writing into `out` (its capacity is reused); false where the above gives nothing.
bool ShortDecimalApply(char op, bool xNegative, std::string_view xDigits, bool yNegative,
                       std::string_view yDigits, int precision, std::string& out);

}  // namespace quorvel
