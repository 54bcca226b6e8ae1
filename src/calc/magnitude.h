#pragma once

// Unsigned whole numbers as decimal digits (element 0 least significant): the exact arithmetic
// underneath DecimalNumber. Operands are read in place through a view that skips the point
// marker, so no operand is copied; multiplication and division run on base 10^9 limbs so that
// long operands cost O(n*m) word operations, not digit steps.

#include <cstdint>
#include <vector>

namespace quorvel::detail {

using Digits = std::vector<std::uint8_t>;  // results: no marker, no high zeros, empty for zero

inline constexpr std::uint8_t kMarker = '.';

// A marked digit array read as the whole number of all its digits, scaled by 10^fraction.
class DigitView {
public:
    explicit DigitView(const std::vector<std::uint8_t>& elements);

    std::size_t fraction() const { return m_fraction; }
    // Digits up to the most significant non-zero one; 0 for zero.
    std::size_t length() const { return m_length; }
    std::uint8_t operator[](std::size_t i) const { return m_data[i < m_marker ? i : i + m_skip]; }

private:
    const std::uint8_t* m_data;
    std::size_t m_marker;  // index of the marker; without one, past every digit
    std::size_t m_skip;    // 1 when there is a marker
    std::size_t m_fraction;
    std::size_t m_length;
};

// -1, 0, +1 for a*10^sa against b*10^sb.
int compareShifted(const DigitView& a, std::size_t sa, const DigitView& b, std::size_t sb);

Digits addShifted(const DigitView& a, std::size_t sa, const DigitView& b, std::size_t sb);
// a*10^sa - b*10^sb; the caller guarantees the first is not smaller.
Digits subtractShifted(const DigitView& a, std::size_t sa, const DigitView& b, std::size_t sb);

Digits multiplyDigits(const DigitView& a, const DigitView& b);

struct QuotientRemainder {
    Digits quotient;
    Digits remainder;
};
// Long division of a*10^sa by b*10^sb, which must not be zero. The remainder is only
// written when asked for.
QuotientRemainder divideDigits(const DigitView& a, std::size_t sa, const DigitView& b,
                               std::size_t sb, bool withRemainder);

}  // namespace quorvel::detail
