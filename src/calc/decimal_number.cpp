#include "calc/decimal_number.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "calc/magnitude.h"

namespace quorvel {

using detail::Digits;

namespace {

constexpr char kOverflowDivide[] = "ERROR: Overflow in operator/!";
constexpr char kOverflowRemainder[] = "ERROR: Overflow in operator%!";
constexpr char kOverflowDivideAssign[] = "ERROR: Overflow in operator /=!";
constexpr char kDomainInt[] = "ERROR: Domain in operator int()!";

using detail::DigitView;

// Lays the digits out with the marker above `fraction` of them and one 0 above the marker
// when there is no integer digit.
std::vector<std::uint8_t> fromScaled(Digits digits, std::size_t fraction) {
    if (fraction > 0) {
        if (digits.size() < fraction + 1) digits.resize(fraction + 1, 0);
        digits.insert(digits.begin() + static_cast<std::ptrdiff_t>(fraction),
                      DecimalNumber::kPointMarker);
    }
    if (digits.empty()) digits.push_back(0);
    return digits;
}

// Shifts that bring two magnitudes to the same count of fraction digits.
struct Alignment {
    std::size_t fraction;
    std::size_t shiftA;
    std::size_t shiftB;
};

Alignment align(const DigitView& a, const DigitView& b) {
    const std::size_t f = std::max(a.fraction(), b.fraction());
    return {f, f - a.fraction(), f - b.fraction()};
}

std::uint8_t digitValue(char c, int radix) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v >= 0 && v < radix ? static_cast<std::uint8_t>(v) : 0;
}

// Weights are built by exact multiplication and, after the point, by successive divisions at
// the default precision, so fraction weights are truncated after 18 places.
std::string decimalFromRadix(std::string_view text, int radix) {
    if (radix == 10) return std::string(text);
    const DecimalNumber base(radix);
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    DecimalNumber total;
    DecimalNumber weight(1);
    for (std::size_t i = whole.size(); i-- > 0;) {
        total += weight * DecimalNumber(digitValue(whole[i], radix));
        weight *= base;
    }
    if (point != std::string_view::npos) {
        weight = DecimalNumber(1);
        for (char c : text.substr(point + 1)) {
            weight /= base;
            total += weight * DecimalNumber(digitValue(c, radix));
        }
    }
    return total.toString();
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::vector<std::uint8_t> readDigits(std::string_view text) {
    std::vector<std::uint8_t> elements;
    elements.reserve(text.size());
    bool point = false;
    for (std::size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            elements.push_back(static_cast<std::uint8_t>(c - '0'));
        } else if (c == '.' && !point) {
            // A second point ends the scan like any other stray character, so the array
            // never holds two markers.
            elements.push_back(DecimalNumber::kPointMarker);
            point = true;
        } else {
            break;
        }
    }
    return elements;
}

char radixDigit(unsigned value) {
    return static_cast<char>(value < 10 ? '0' + value : 'A' + (value - 10));
}

// Writes a whole number (most significant digit first) in another radix.
std::string wholeToRadix(std::string_view decimal, unsigned radix) {
    Digits n;
    for (char c : decimal) n.push_back(static_cast<std::uint8_t>(c - '0'));
    std::string out;
    auto begin = std::find_if(n.begin(), n.end(), [](std::uint8_t d) { return d != 0; });
    while (begin != n.end()) {
        unsigned rem = 0;
        for (auto it = begin; it != n.end(); ++it) {
            const unsigned cur = rem * 10 + *it;
            *it = static_cast<std::uint8_t>(cur / radix);
            rem = cur % radix;
        }
        out.push_back(radixDigit(rem));
        begin = std::find_if(begin, n.end(), [](std::uint8_t d) { return d != 0; });
    }
    std::reverse(out.begin(), out.end());
    return out;
}

// The first fraction digit is always written; further ones while the rest is not zero.
std::string fractionToRadix(std::string_view decimal, unsigned radix, std::size_t extraDigits) {
    Digits f;  // most significant first
    for (char c : decimal) f.push_back(static_cast<std::uint8_t>(c - '0'));
    auto isZero = [&f] { return std::all_of(f.begin(), f.end(), [](auto d) { return d == 0; }); };
    std::string out;
    for (std::size_t written = 0; written == 0 || (written <= extraDigits && !isZero());
         ++written) {
        unsigned carry = 0;
        for (std::size_t i = f.size(); i-- > 0;) {
            const unsigned cur = f[i] * radix + carry;
            f[i] = static_cast<std::uint8_t>(cur % 10);
            carry = cur / 10;
        }
        out.push_back(radixDigit(carry));
    }
    return out;
}

}  // namespace

DecimalNumber::DecimalNumber(std::int8_t sign, std::vector<std::uint8_t> digits)
    : m_sign(sign), m_digits(std::move(digits)) {}

DecimalNumber::DecimalNumber(std::int32_t value) : m_sign(value < 0 ? -1 : 1), m_digits() {
    std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    do {
        m_digits.push_back(static_cast<std::uint8_t>(magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
}

DecimalNumber::DecimalNumber(std::string_view decimalText) {
    std::string_view text = trimBlanks(decimalText);
    if (text.empty()) {
        m_digits = {0};
        return;
    }
    if (text.front() == '-') {
        m_sign = -1;
        text.remove_prefix(1);
    }
    m_digits = readDigits(text);
    stripHighZeros();
}

DecimalNumber::DecimalNumber(std::string_view text, int radix, std::int32_t precision)
    : m_precision(precision) {
    std::string_view body = trimBlanks(text);
    if (body.empty()) {
        m_digits = {0};
        return;
    }
    bool negative = false;
    if (body.front() == '-') {
        negative = true;
        body.remove_prefix(1);
    }
    m_digits = radix == 10 ? readDigits(body) : readDigits(decimalFromRadix(body, radix));
    stripHighZeros();
    m_sign = negative ? -1 : 1;
}

bool DecimalNumber::isZero() const {
    return std::all_of(m_digits.begin(), m_digits.end(),
                       [](std::uint8_t d) { return d == 0 || d == kPointMarker; });
}

std::string DecimalNumber::toString() const {
    if (m_digits.empty()) return "0";
    const std::size_t sign = m_sign < 0 ? 1 : 0;
    std::string out(m_digits.size() + sign, '-');
    for (std::size_t i = 0; i < m_digits.size(); ++i) {
        const std::uint8_t d = m_digits[m_digits.size() - 1 - i];
        out[sign + i] = d == kPointMarker ? '.' : static_cast<char>('0' + d);
    }
    return out;
}

std::string DecimalNumber::toString(int radix, std::int32_t precision) {
    m_precision = precision;
    if (radix == 10) return toString();
    if (isZero()) return "0";
    std::string decimal = toString();
    std::string out;
    if (m_sign < 0) {
        out.push_back('-');
        decimal.erase(0, 1);
    }
    const auto point = decimal.find('.');
    std::string whole =
        wholeToRadix(std::string_view(decimal).substr(0, point), static_cast<unsigned>(radix));
    if (point == std::string::npos) return out + whole;
    out += whole.empty() ? "0" : whole;
    out.push_back('.');
    out +=
        fractionToRadix(std::string_view(decimal).substr(point + 1), static_cast<unsigned>(radix),
                        2 * static_cast<std::size_t>(std::max(precision, 0)));
    return out;
}

void DecimalNumber::stripHighZeros() {
    while (m_digits.size() > 1 && m_digits.back() == 0 &&
           m_digits[m_digits.size() - 2] != kPointMarker) {
        m_digits.pop_back();
    }
}

void DecimalNumber::trim() {
    const auto marker = std::find(m_digits.begin(), m_digits.end(), kPointMarker);
    if (marker == m_digits.end()) return;
    const auto firstNonZero =
        std::find_if(m_digits.begin(), marker, [](std::uint8_t d) { return d != 0; });
    m_digits.erase(m_digits.begin(), firstNonZero);
    if (!m_digits.empty() && m_digits.front() == kPointMarker) m_digits.erase(m_digits.begin());
    if (m_digits.empty()) m_digits.push_back(0);
}

void DecimalNumber::cut(std::int32_t precision) {
    const auto marker = std::find(m_digits.begin(), m_digits.end(), kPointMarker);
    if (marker == m_digits.end()) return;
    const std::size_t fraction = static_cast<std::size_t>(marker - m_digits.begin());
    const bool integerNonZero = std::any_of(marker + 1, m_digits.end(), [](auto d) { return d; });
    std::size_t kept = fraction;  // the digits that count against the precision
    if (!integerNonZero) {
        const auto top = std::find_if(std::make_reverse_iterator(marker), m_digits.rend(),
                                      [](auto d) { return d != 0; });
        kept = static_cast<std::size_t>(m_digits.rend() - top);
    }
    const std::size_t limit = static_cast<std::size_t>(std::max(precision, 0));
    if (kept <= limit) return;
    m_digits.erase(m_digits.begin(), m_digits.begin() + static_cast<std::ptrdiff_t>(kept - limit));
    if (m_digits.front() == kPointMarker) m_digits.erase(m_digits.begin());
}

int DecimalNumber::compareMagnitude(const DecimalNumber& a, const DecimalNumber& b) {
    const DigitView x(a.m_digits);
    const DigitView y(b.m_digits);
    const Alignment al = align(x, y);
    return detail::compareShifted(x, al.shiftA, y, al.shiftB);
}

bool operator<(const DecimalNumber& a, const DecimalNumber& b) {
    if (a.m_sign != b.m_sign) return a.m_sign < b.m_sign;
    const int c = DecimalNumber::compareMagnitude(a, b);
    return a.m_sign < 0 ? c > 0 : c < 0;
}

bool operator>(const DecimalNumber& a, const DecimalNumber& b) { return b < a; }

bool operator>=(const DecimalNumber& a, const DecimalNumber& b) { return !(a < b); }

namespace {

enum class Cancel { Empty, Zero };

// Signed sum of a and (bSign * b); `cancel` chooses what equal magnitudes of opposite effect
// leave: the evaluator's empty array or the plain operators' [0].
std::pair<std::int8_t, std::vector<std::uint8_t>> signedSum(const DecimalNumber& a,
                                                            const DecimalNumber& b, int bSign,
                                                            Cancel cancel) {
    const DigitView x(a.digits());
    const DigitView y(b.digits());
    const auto [f, sx, sy] = align(x, y);
    const int effective = b.sign() * bSign;
    if (a.sign() == effective) {
        return {a.sign(), fromScaled(detail::addShifted(x, sx, y, sy), f)};
    }
    const int c = detail::compareShifted(x, sx, y, sy);
    if (c == 0) {
        if (cancel == Cancel::Empty) return {1, {}};
        return {1, {0}};
    }
    if (c > 0) return {a.sign(), fromScaled(detail::subtractShifted(x, sx, y, sy), f)};
    return {static_cast<std::int8_t>(effective),
            fromScaled(detail::subtractShifted(y, sy, x, sx), f)};
}

}  // namespace

DecimalNumber operator+(const DecimalNumber& a, const DecimalNumber& b) {
    auto [sign, digits] = signedSum(a, b, 1, Cancel::Zero);
    return DecimalNumber(sign, std::move(digits));
}

DecimalNumber operator-(const DecimalNumber& a, const DecimalNumber& b) {
    auto [sign, digits] = signedSum(a, b, -1, Cancel::Zero);
    return DecimalNumber(sign, std::move(digits));
}

DecimalNumber operator*(const DecimalNumber& a, const DecimalNumber& b) {
    const std::int8_t sign = static_cast<std::int8_t>(a.m_sign * b.m_sign);
    const DigitView x(a.m_digits);
    const DigitView y(b.m_digits);
    if (x.length() == 0 || y.length() == 0) return DecimalNumber(sign, {0});
    DecimalNumber product(sign,
                          fromScaled(detail::multiplyDigits(x, y), x.fraction() + y.fraction()));
    product.trim();
    product.stripHighZeros();
    return product;
}

namespace {

// |a| / |b| truncated after `places` fraction digits, laid out with exactly that many.
std::vector<std::uint8_t> quotient(const DecimalNumber& a, const DecimalNumber& b,
                                   std::size_t places) {
    const DigitView x(a.digits());
    if (x.length() == 0) return {0};
    const DigitView y(b.digits());
    const Alignment al = align(x, y);
    return fromScaled(detail::divideDigits(x, al.shiftA + places, y, al.shiftB, false).quotient,
                      places);
}

std::int8_t quotientSign(const DecimalNumber& a, const DecimalNumber& b) {
    if (a.isZero()) return 1;
    return a.sign() == b.sign() ? 1 : -1;
}

}  // namespace

DecimalNumber operator/(const DecimalNumber& a, const DecimalNumber& b) {
    if (b.isZero()) throw std::overflow_error(kOverflowDivide);
    return DecimalNumber(quotientSign(a, b),
                         quotient(a, b, static_cast<std::size_t>(std::max(a.m_precision, 0))));
}

DecimalNumber operator%(const DecimalNumber& a, const DecimalNumber& b) {
    if (b.isZero()) throw std::overflow_error(kOverflowRemainder);
    const DigitView x(a.m_digits);
    if (x.length() == 0) return DecimalNumber();
    const DigitView y(b.m_digits);
    const Alignment al = align(x, y);
    return DecimalNumber(
        a.m_sign,
        fromScaled(detail::divideDigits(x, al.shiftA, y, al.shiftB, true).remainder, al.fraction));
}

DecimalNumber& DecimalNumber::operator+=(const DecimalNumber& b) {
    const std::int32_t keep = m_precision;
    *this = *this + b;
    m_precision = keep;
    return *this;
}

DecimalNumber& DecimalNumber::operator*=(const DecimalNumber& b) {
    const std::int32_t keep = m_precision;
    *this = *this * b;
    m_precision = keep;
    return *this;
}

DecimalNumber& DecimalNumber::operator/=(const DecimalNumber& b) {
    if (b.isZero()) throw std::overflow_error(kOverflowDivideAssign);
    const std::int32_t keep = m_precision;
    *this = *this / b;
    m_precision = keep;
    return *this;
}

DecimalNumber::operator std::int32_t() const {
    const DigitView s(m_digits);
    constexpr std::int64_t kMax = 2147483647;
    const std::int64_t limit = m_sign < 0 ? kMax + 1 : kMax;
    std::int64_t whole = 0;
    bool fraction = false;
    for (std::size_t i = s.length(); i-- > 0;) {
        if (i < s.fraction()) {
            fraction = fraction || s[i] != 0;
            continue;
        }
        whole = whole * 10 + s[i];
        if (whole > limit) throw std::domain_error(kDomainInt);
    }
    if (whole == limit && fraction) throw std::domain_error(kDomainInt);
    return static_cast<std::int32_t>(m_sign < 0 ? -whole : whole);
}

DecimalNumber add(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision) {
    auto [sign, digits] = signedSum(a, b, 1, Cancel::Empty);
    DecimalNumber r(sign, std::move(digits));
    r.trim();
    r.cut(precision);
    return r;
}

DecimalNumber subtract(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision) {
    auto [sign, digits] = signedSum(a, b, -1, Cancel::Empty);
    DecimalNumber r(sign, std::move(digits));
    r.trim();
    r.cut(precision);
    return r;
}

DecimalNumber multiply(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision) {
    DecimalNumber r = a * b;
    r.m_precision = DecimalNumber::kDefaultPrecision;
    r.trim();
    r.cut(precision);
    return r;
}

DecimalNumber divide(const DecimalNumber& a, const DecimalNumber& b, std::int32_t precision) {
    if (b.isZero()) throw std::overflow_error(kOverflowDivide);
    DecimalNumber r(quotientSign(a, b),
                    quotient(a, b, static_cast<std::size_t>(std::max(precision, 0))));
    r.trim();
    r.cut(precision);
    return r;
}

}  // namespace quorvel
