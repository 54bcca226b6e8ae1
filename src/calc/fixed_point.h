#pragma once

// Signed fixed-point numbers on base-10^9 limbs, for the functions computed to many places.
// The calculator's DecimalNumber keeps one digit per element, which is right for showing
// steps but a hundred times too slow for series with hundreds of products at 10,000 places;
// values cross over as decimal text, so no digit is lost on the way.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::fixed {

inline constexpr std::uint32_t kBase = 1000000000;
inline constexpr int kLimbDigits = 9;

using Limbs = std::vector<std::uint32_t>;  // least significant first, no high zero limbs

// value = (negative ? -1 : 1) * magnitude / kBase^frac
struct Fixed {
    bool negative = false;
    Limbs magnitude;
    int frac = 0;

    bool isZero() const { return magnitude.empty(); }
};

int CompareMagnitude(const Limbs& a, const Limbs& b);
Limbs MultiplyLimbs(const Limbs& a, const Limbs& b);
// Quotient of a / b, truncated; b must not be zero.
Limbs DivideLimbs(const Limbs& a, const Limbs& b);
// floor(sqrt(n)).
Limbs SquareRootLimbs(const Limbs& n);

Fixed FromInt(std::int64_t value, int frac);
// Reads "[-+]digits[.digits]"; digits beyond `frac` limbs are cut.
Fixed FromText(std::string_view text, int frac);
// Every digit the value holds: "-12.345000000".
std::string ToText(const Fixed& x);
double ToDouble(const Fixed& x);
// Decimal digits before the point (0 for values below 1).
int IntegerDigits(const Fixed& x);

Fixed WithFrac(Fixed x, int frac);  // cuts or pads the fraction
Fixed Negate(Fixed x);
Fixed Abs(Fixed x);
Fixed Add(const Fixed& a, const Fixed& b);
Fixed Subtract(const Fixed& a, const Fixed& b);
Fixed Multiply(const Fixed& a, const Fixed& b, int frac);
// b must not be zero.
Fixed Divide(const Fixed& a, const Fixed& b, int frac);
Fixed MultiplySmall(Fixed a, std::uint32_t m);
Fixed DivideSmall(Fixed a, std::uint32_t d);
Fixed SquareRoot(const Fixed& a, int frac);  // a >= 0
bool Less(const Fixed& a, const Fixed& b);

}  // namespace quorvel::fixed
