#pragma once

// Unsigned whole numbers as decimal digit arrays (element 0 least significant, no high zeros,
// empty for zero): the exact arithmetic underneath DecimalNumber. Multiplication and division
// run on base 10^9 limbs so that long operands cost O(n*m) word operations, not digit steps.

#include <cstdint>
#include <vector>

namespace quorvel::detail {

using Digits = std::vector<std::uint8_t>;

void stripZeros(Digits& d);

// Digits shifted up by `shift` places, that is multiplied by 10^shift.
Digits shifted(const Digits& d, std::size_t shift);

// -1, 0, +1 for a*10^sa against b*10^sb.
int compareShifted(const Digits& a, std::size_t sa, const Digits& b, std::size_t sb);

Digits addShifted(const Digits& a, std::size_t sa, const Digits& b, std::size_t sb);
// a*10^sa - b*10^sb; the caller guarantees the first is not smaller.
Digits subtractShifted(const Digits& a, std::size_t sa, const Digits& b, std::size_t sb);

Digits multiplyDigits(const Digits& a, const Digits& b);

struct QuotientRemainder {
    Digits quotient;
    Digits remainder;
};
// Long division; `divisor` must not be zero.
QuotientRemainder divideDigits(const Digits& dividend, const Digits& divisor);

}  // namespace quorvel::detail
