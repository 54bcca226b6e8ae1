#pragma once

// Numbers written with an exponent ("1.5E+20", the E form of shown results) turned back into
// plain decimal digits, because the engine reads only plain digits.

#include <string>
#include <string_view>

namespace quorvel {

// Exponents beyond this are left as written: the digits could not fit in an expression.
inline constexpr int kMaxExpandedExponent = 4000;

// "1.5E+20" -> "150000000000000000000", "-2.5e-3" -> "-0.0025", "1.50e1" -> "15". A text that is
// not one number with an exponent comes back trimmed and otherwise unchanged.
std::string ExpandNumberExponent(std::string_view text);

// Expands every number with an exponent inside an expression: "1/1.5e3" -> "1/1500". Names
// such as "exp(" and numbers glued to letters stay as they are.
std::string ExpandExpressionExponents(std::string_view expression);

}  // namespace quorvel
