#pragma once

// The calculator's own signed decimal number: one decimal digit per element, exact for
// addition, subtraction and multiplication, truncating (never rounding) for division and
// for the cut to a precision. Texts in and out follow the calculator's reading rules, which
// are deliberately forgiving: malformed text reads as the digits to the right of the first
// character that is neither a digit nor a point.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class DecimalNumber {
public:
    static constexpr std::int32_t kDefaultPrecision = 18;
    // Stands in the digit array between the fraction digits (below) and the integer digits.
    static constexpr std::uint8_t kPointMarker = '.';

    DecimalNumber() : m_digits{0} {}
    explicit DecimalNumber(std::int32_t value);
    explicit DecimalNumber(std::string_view decimalText);
    // Reads text in radix 2, 8, 10 or 16 (digits '0'-'9', 'A'-'F'); the value is not cut.
    DecimalNumber(std::string_view text, int radix, std::int32_t precision);

    std::string toString() const;
    // Stores `precision` first; bases 2, 8 and 16 write at most 2 * precision + 1 fraction digits.
    std::string toString(int radix, std::int32_t precision);

    int sign() const { return m_sign; }
    // Element 0 is the least significant; an empty array reads as zero.
    const std::vector<std::uint8_t>& digits() const { return m_digits; }
    std::int32_t precision() const { return m_precision; }
    bool isZero() const;

    // -1, 0 or +1 comparing |a| with |b|.
    static int compareMagnitude(const DecimalNumber& a, const DecimalNumber& b);

    // Signs are compared as stored, so -0 < 0.
    friend bool operator<(const DecimalNumber& a, const DecimalNumber& b);
    friend bool operator>(const DecimalNumber& a, const DecimalNumber& b);
    friend bool operator>=(const DecimalNumber& a, const DecimalNumber& b);

    // Plain operators: no trim, no cut. Division uses the dividend's precision; a zero divisor
    // throws std::overflow_error before anything is changed.
    friend DecimalNumber operator+(const DecimalNumber& a, const DecimalNumber& b);
    friend DecimalNumber operator-(const DecimalNumber& a, const DecimalNumber& b);
    friend DecimalNumber operator*(const DecimalNumber& a, const DecimalNumber& b);
    friend DecimalNumber operator/(const DecimalNumber& a, const DecimalNumber& b);
    // |a| less the largest whole multiple of |b| not above it, with the dividend's sign.
    friend DecimalNumber operator%(const DecimalNumber& a, const DecimalNumber& b);
    DecimalNumber& operator+=(const DecimalNumber& b);
    DecimalNumber& operator*=(const DecimalNumber& b);
    DecimalNumber& operator/=(const DecimalNumber& b);

    // Whole part; throws std::domain_error outside the signed 32-bit range.
    explicit operator std::int32_t() const;

    // The evaluator's forms: exact (or truncated) result, then trimmed of fraction zeros and
    // cut to `precision` fraction digits, or significant digits for values below 1.
    friend DecimalNumber add(const DecimalNumber& a, const DecimalNumber& b,
                             std::int32_t precision);
    friend DecimalNumber subtract(const DecimalNumber& a, const DecimalNumber& b,
                                  std::int32_t precision);
    friend DecimalNumber multiply(const DecimalNumber& a, const DecimalNumber& b,
                                  std::int32_t precision);
    // A zero divisor throws std::overflow_error, as the plain operator does.
    friend DecimalNumber divide(const DecimalNumber& a, const DecimalNumber& b,
                                std::int32_t precision);

private:
    DecimalNumber(std::int8_t sign, std::vector<std::uint8_t> digits);

    void stripHighZeros();
    void trim();
    void cut(std::int32_t precision);

    std::int8_t m_sign = 1;
    std::vector<std::uint8_t> m_digits;
    std::int32_t m_precision = kDefaultPrecision;
};

DecimalNumber add(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision);
DecimalNumber subtract(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision);
DecimalNumber multiply(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision);
DecimalNumber divide(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision);

}  // namespace quorvel
