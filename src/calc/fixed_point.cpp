#include "calc/fixed_point.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quorvel::fixed {
namespace {

void trim(Limbs& a) {
    while (!a.empty() && a.back() == 0) a.pop_back();
}

Limbs addLimbs(const Limbs& a, const Limbs& b) {
    const Limbs& big = a.size() >= b.size() ? a : b;
    const Limbs& small = a.size() >= b.size() ? b : a;
    Limbs out(big.size() + 1);
    std::uint32_t carry = 0;
    for (std::size_t i = 0; i < big.size(); ++i) {
        std::uint32_t s = big[i] + carry + (i < small.size() ? small[i] : 0);
        carry = s >= kBase;
        out[i] = carry ? s - kBase : s;
    }
    out[big.size()] = carry;
    trim(out);
    return out;
}

// a - b for a >= b.
Limbs subtractLimbs(const Limbs& a, const Limbs& b) {
    Limbs out(a.size());
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::int64_t d = std::int64_t{a[i]} - borrow - (i < b.size() ? b[i] : 0);
        borrow = d < 0;
        out[i] = static_cast<std::uint32_t>(borrow ? d + kBase : d);
    }
    trim(out);
    return out;
}

Limbs multiplySmall(const Limbs& a, std::uint32_t m) {
    Limbs out(a.size() + 1);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::uint64_t p = std::uint64_t{a[i]} * m + carry;
        out[i] = static_cast<std::uint32_t>(p % kBase);
        carry = p / kBase;
    }
    out[a.size()] = static_cast<std::uint32_t>(carry);
    trim(out);
    return out;
}

Limbs divideSmall(const Limbs& a, std::uint32_t d) {
    Limbs out(a.size());
    std::uint64_t rest = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const std::uint64_t cur = rest * kBase + a[i];
        out[i] = static_cast<std::uint32_t>(cur / d);
        rest = cur % d;
    }
    trim(out);
    return out;
}

Limbs shifted(const Limbs& a, int limbs) {
    if (a.empty()) return a;
    if (limbs >= 0) {
        Limbs out(static_cast<std::size_t>(limbs), 0);
        out.insert(out.end(), a.begin(), a.end());
        return out;
    }
    const auto drop = static_cast<std::size_t>(-limbs);
    if (drop >= a.size()) return {};
    return Limbs(a.begin() + static_cast<std::ptrdiff_t>(drop), a.end());
}

Limbs fromUint(std::uint64_t v) {
    Limbs out;
    for (; v != 0; v /= kBase) out.push_back(static_cast<std::uint32_t>(v % kBase));
    return out;
}

Fixed signedSum(const Fixed& a, const Fixed& b, bool negateB) {
    const int frac = std::max(a.frac, b.frac);
    const Limbs x = shifted(a.magnitude, frac - a.frac);
    const Limbs y = shifted(b.magnitude, frac - b.frac);
    const bool bNegative = b.negative != negateB;
    Fixed out;
    out.frac = frac;
    if (a.negative == bNegative) {
        out.magnitude = addLimbs(x, y);
        out.negative = a.negative;
    } else if (CompareMagnitude(x, y) >= 0) {
        out.magnitude = subtractLimbs(x, y);
        out.negative = a.negative;
    } else {
        out.magnitude = subtractLimbs(y, x);
        out.negative = bNegative;
    }
    if (out.magnitude.empty()) out.negative = false;
    return out;
}

}  // namespace

int CompareMagnitude(const Limbs& a, const Limbs& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

Limbs MultiplyLimbs(const Limbs& a, const Limbs& b) {
    if (a.empty() || b.empty()) return {};
    // Sums of up to 18 products of limbs stay below 2^64; then the carry is taken out.
    std::vector<std::uint64_t> acc(a.size() + b.size() + 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::uint64_t ai = a[i];
        if (ai == 0) continue;
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            const std::uint64_t cur = acc[i + j] + ai * b[j] + carry;
            acc[i + j] = cur % kBase;
            carry = cur / kBase;
        }
        for (std::size_t k = i + b.size(); carry != 0; ++k) {
            const std::uint64_t cur = acc[k] + carry;
            acc[k] = cur % kBase;
            carry = cur / kBase;
        }
    }
    Limbs out(acc.size());
    for (std::size_t i = 0; i < acc.size(); ++i) out[i] = static_cast<std::uint32_t>(acc[i]);
    trim(out);
    return out;
}

// Long division in base 10^9 (Knuth's algorithm D).
Limbs DivideLimbs(const Limbs& a, const Limbs& b) {
    if (CompareMagnitude(a, b) < 0) return {};
    if (b.size() == 1) return divideSmall(a, b[0]);
    const auto scale = static_cast<std::uint32_t>(kBase / (std::uint64_t{b.back()} + 1));
    Limbs u = multiplySmall(a, scale);
    const Limbs v = multiplySmall(b, scale);
    const std::size_t n = v.size();
    if (u.size() == a.size()) u.push_back(0);
    while (u.size() < n + 1) u.push_back(0);
    u.push_back(0);
    const std::size_t m = u.size() - n - 1;
    Limbs q(m + 1, 0);
    const std::uint64_t top = v[n - 1];
    const std::uint64_t next = v[n - 2];
    for (std::size_t j = m + 1; j-- > 0;) {
        const std::uint64_t num = std::uint64_t{u[j + n]} * kBase + u[j + n - 1];
        std::uint64_t qhat = num / top;
        std::uint64_t rhat = num % top;
        while (qhat >= kBase || qhat * next > rhat * kBase + u[j + n - 2]) {
            --qhat;
            rhat += top;
            if (rhat >= kBase) break;
        }
        std::int64_t borrow = 0;
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t p = qhat * v[i] + carry;
            carry = p / kBase;
            std::int64_t d = std::int64_t{u[i + j]} - static_cast<std::int64_t>(p % kBase) - borrow;
            borrow = d < 0;
            u[i + j] = static_cast<std::uint32_t>(borrow ? d + kBase : d);
        }
        std::int64_t d = std::int64_t{u[j + n]} - static_cast<std::int64_t>(carry) - borrow;
        if (d < 0) {
            // qhat was one too large: add the divisor back.
            u[j + n] = static_cast<std::uint32_t>(d + kBase);
            --qhat;
            std::uint32_t c = 0;
            for (std::size_t i = 0; i < n; ++i) {
                std::uint32_t s = u[i + j] + v[i] + c;
                c = s >= kBase;
                u[i + j] = c ? s - kBase : s;
            }
            u[j + n] = (u[j + n] + c) % kBase;
        } else {
            u[j + n] = static_cast<std::uint32_t>(d);
        }
        q[j] = static_cast<std::uint32_t>(qhat);
    }
    trim(q);
    return q;
}

Limbs SquareRootLimbs(const Limbs& n) {
    if (n.empty()) return {};
    // A start from double precision just above the root; Newton then only falls towards it.
    const std::size_t size = n.size();
    std::size_t low = size >= 3 ? size - 3 : 0;
    if (low % 2 != 0) ++low;
    double d = 0;
    for (std::size_t i = size; i-- > low;) d = d * kBase + n[i];
    const double root = std::sqrt(d + 1.0) * (1.0 + 1e-12) + 1.0;
    Limbs x =
        shifted(fromUint(static_cast<std::uint64_t>(std::ceil(root))), static_cast<int>(low / 2));
    for (;;) {
        Limbs y = divideSmall(addLimbs(x, DivideLimbs(n, x)), 2);
        if (CompareMagnitude(y, x) >= 0) return x;
        x = std::move(y);
    }
}

Fixed FromInt(std::int64_t value, int frac) {
    Fixed out;
    out.negative = value < 0;
    out.magnitude = shifted(fromUint(static_cast<std::uint64_t>(std::llabs(value))), frac);
    out.frac = frac;
    return out;
}

Fixed FromText(std::string_view text, int frac) {
    Fixed out;
    out.frac = frac;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        out.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string digits(whole);
    std::string part = point == std::string_view::npos ? "" : std::string(text.substr(point + 1));
    part.resize(static_cast<std::size_t>(frac) * kLimbDigits, '0');
    digits += part;
    // Whole limbs from the right end.
    for (std::size_t end = digits.size(); end > 0;) {
        const std::size_t begin = end >= kLimbDigits ? end - kLimbDigits : 0;
        std::uint32_t limb = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const char c = digits[i];
            limb = limb * 10 + static_cast<std::uint32_t>(c >= '0' && c <= '9' ? c - '0' : 0);
        }
        out.magnitude.push_back(limb);
        end = begin;
    }
    trim(out.magnitude);
    if (out.magnitude.empty()) out.negative = false;
    return out;
}

std::string ToText(const Fixed& x) {
    std::string digits;
    digits.reserve(x.magnitude.size() * kLimbDigits);
    for (std::size_t i = x.magnitude.size(); i-- > 0;) {
        char limb[10];
        std::uint32_t v = x.magnitude[i];
        for (int k = 8; k >= 0; --k, v /= 10) limb[k] = static_cast<char>('0' + v % 10);
        digits.append(limb, 9);
    }
    const std::size_t fracDigits = static_cast<std::size_t>(x.frac) * kLimbDigits;
    if (digits.size() <= fracDigits) digits.insert(0, fracDigits + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - fracDigits);
    const auto first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? "0" : whole.substr(first);
    std::string out = (x.negative ? "-" : "") + whole;
    if (fracDigits > 0) out += "." + digits.substr(digits.size() - fracDigits);
    return out;
}

double ToDouble(const Fixed& x) {
    double v = 0;
    const std::size_t size = x.magnitude.size();
    const std::size_t low = size > 3 ? size - 3 : 0;
    for (std::size_t i = size; i-- > low;) v = v * kBase + x.magnitude[i];
    v *= std::pow(1e9, static_cast<double>(static_cast<long>(low) - x.frac));
    return x.negative ? -v : v;
}

int IntegerDigits(const Fixed& x) {
    const int wholeLimbs = static_cast<int>(x.magnitude.size()) - x.frac;
    if (wholeLimbs <= 0) return 0;
    int digits = (wholeLimbs - 1) * kLimbDigits;
    for (std::uint32_t v = x.magnitude.back(); v != 0; v /= 10) ++digits;
    return digits;
}

Fixed WithFrac(Fixed x, int frac) {
    x.magnitude = shifted(x.magnitude, frac - x.frac);
    x.frac = frac;
    if (x.magnitude.empty()) x.negative = false;
    return x;
}

Fixed Negate(Fixed x) {
    if (!x.isZero()) x.negative = !x.negative;
    return x;
}

Fixed Abs(Fixed x) {
    x.negative = false;
    return x;
}

Fixed Add(const Fixed& a, const Fixed& b) { return signedSum(a, b, false); }
Fixed Subtract(const Fixed& a, const Fixed& b) { return signedSum(a, b, true); }

Fixed Multiply(const Fixed& a, const Fixed& b, int frac) {
    Fixed out;
    out.magnitude = MultiplyLimbs(a.magnitude, b.magnitude);
    out.frac = a.frac + b.frac;
    out.negative = a.negative != b.negative;
    return WithFrac(std::move(out), frac);
}

Fixed Divide(const Fixed& a, const Fixed& b, int frac) {
    Fixed out;
    out.magnitude = DivideLimbs(shifted(a.magnitude, frac + b.frac - a.frac), b.magnitude);
    out.frac = frac;
    out.negative = a.negative != b.negative && !out.magnitude.empty();
    return out;
}

Fixed MultiplySmall(Fixed a, std::uint32_t m) {
    a.magnitude = multiplySmall(a.magnitude, m);
    if (a.magnitude.empty()) a.negative = false;
    return a;
}

Fixed DivideSmall(Fixed a, std::uint32_t d) {
    a.magnitude = divideSmall(a.magnitude, d);
    if (a.magnitude.empty()) a.negative = false;
    return a;
}

Fixed SquareRoot(const Fixed& a, int frac) {
    Fixed out;
    out.magnitude = SquareRootLimbs(shifted(a.magnitude, 2 * frac - a.frac));
    out.frac = frac;
    return out;
}

bool Less(const Fixed& a, const Fixed& b) { return Subtract(a, b).negative; }

}  // namespace quorvel::fixed
