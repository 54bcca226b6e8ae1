#include "calc/magnitude.h"

#include <algorithm>
#include <array>

namespace quorvel::detail {
namespace {

constexpr std::uint64_t kBase = 1000000000;
constexpr std::size_t kLimbDigits = 9;
constexpr std::array<std::uint32_t, kLimbDigits> kPow10 = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};

using Limbs = std::vector<std::uint32_t>;

void stripZeros(Digits& d) {
    while (!d.empty() && d.back() == 0) d.pop_back();
}

// Most operands of a calculation have a few dozen digits: those fit one 128-bit word, which
// spares the limb conversions and their allocations.
__extension__ typedef unsigned __int128 Wide;
constexpr std::size_t kWideDigits = 38;  // 10^38 < 2^128
constexpr std::uint64_t kTen19 = 10000000000000000000ull;

Wide toWide(const DigitView& d, std::size_t shift) {
    Wide x = 0;
    for (std::size_t i = d.length(); i-- > 0;) x = x * 10 + d[i];
    for (std::size_t i = 0; i < shift && x != 0; ++i) x *= 10;
    return x;
}

Digits fromWide(Wide x) {
    Digits d;
    d.reserve(kWideDigits + 4);
    if (x >> 64 != 0) {
        std::uint64_t low = static_cast<std::uint64_t>(x % kTen19);
        for (int i = 0; i < 19; ++i, low /= 10) d.push_back(static_cast<std::uint8_t>(low % 10));
        x /= kTen19;
    }
    for (auto rest = static_cast<std::uint64_t>(x); rest != 0; rest /= 10) {
        d.push_back(static_cast<std::uint8_t>(rest % 10));
    }
    stripZeros(d);
    return d;
}

void stripLimbs(Limbs& x) {
    while (!x.empty() && x.back() == 0) x.pop_back();
}

Limbs toLimbs(const DigitView& d, std::size_t shift) {
    const std::size_t n = d.length() == 0 ? 0 : d.length() + shift;
    Limbs x((n + kLimbDigits - 1) / kLimbDigits, 0);
    for (std::size_t i = shift; i < n; ++i) {
        x[i / kLimbDigits] += d[i - shift] * kPow10[i % kLimbDigits];
    }
    return x;
}

Digits fromLimbs(const Limbs& x) {
    Digits d;
    d.reserve(x.size() * kLimbDigits + 2);  // room for the marker and a 0 above it
    d.resize(x.size() * kLimbDigits);
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::uint32_t limb = x[i];
        for (std::size_t k = 0; k < kLimbDigits; ++k) {
            d[i * kLimbDigits + k] = static_cast<std::uint8_t>(limb % 10);
            limb /= 10;
        }
    }
    stripZeros(d);
    return d;
}

int compareLimbs(const Limbs& a, const Limbs& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

Limbs multiplySmall(const Limbs& a, std::uint64_t m) {
    Limbs r(a.size() + 1, 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::uint64_t cur = a[i] * m + carry;
        r[i] = static_cast<std::uint32_t>(cur % kBase);
        carry = cur / kBase;
    }
    r[a.size()] = static_cast<std::uint32_t>(carry);
    return r;
}

std::uint64_t divideSmallInPlace(Limbs& a, std::uint64_t m) {
    std::uint64_t rem = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const std::uint64_t cur = rem * kBase + a[i];
        a[i] = static_cast<std::uint32_t>(cur / m);
        rem = cur % m;
    }
    return rem;
}

// Knuth's algorithm D in base 10^9: one estimated quotient limb per step, corrected at most
// twice by the two-limb test and by adding the divisor back.
void divideLimbs(const Limbs& u, const Limbs& v, Limbs& q, Limbs& r) {
    const std::size_t n = v.size();
    if (n == 1) {
        q = u;
        r = {static_cast<std::uint32_t>(divideSmallInPlace(q, v[0]))};
        stripLimbs(q);
        stripLimbs(r);
        return;
    }
    const std::uint64_t norm = kBase / (static_cast<std::uint64_t>(v.back()) + 1);
    Limbs vn = multiplySmall(v, norm);
    vn.pop_back();  // v * norm < base^n, so the top limb is zero
    Limbs un = multiplySmall(u, norm);
    const std::size_t m = u.size() - n;
    q.assign(m + 1, 0);
    const std::uint64_t vTop = vn[n - 1];
    const std::uint64_t vNext = vn[n - 2];

    for (std::size_t j = m + 1; j-- > 0;) {
        const std::uint64_t num = static_cast<std::uint64_t>(un[j + n]) * kBase + un[j + n - 1];
        std::uint64_t qhat = num / vTop;
        std::uint64_t rhat = num % vTop;
        while (qhat >= kBase || qhat * vNext > rhat * kBase + un[j + n - 2]) {
            --qhat;
            rhat += vTop;
            if (rhat >= kBase) break;
        }

        std::int64_t borrow = 0;
        std::uint64_t carry = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint64_t p = qhat * vn[i] + carry;
            carry = p / kBase;
            std::int64_t t = static_cast<std::int64_t>(un[i + j]) -
                             static_cast<std::int64_t>(p % kBase) + borrow;
            borrow = 0;
            if (t < 0) {
                t += static_cast<std::int64_t>(kBase);
                borrow = -1;
            }
            un[i + j] = static_cast<std::uint32_t>(t);
        }
        std::int64_t top =
            static_cast<std::int64_t>(un[j + n]) - static_cast<std::int64_t>(carry) + borrow;
        while (top < 0) {
            --qhat;
            std::uint64_t c = 0;
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint64_t s = static_cast<std::uint64_t>(un[i + j]) + vn[i] + c;
                un[i + j] = static_cast<std::uint32_t>(s % kBase);
                c = s / kBase;
            }
            top += static_cast<std::int64_t>(c);
        }
        un[j + n] = static_cast<std::uint32_t>(top);
        q[j] = static_cast<std::uint32_t>(qhat);
    }
    r.assign(un.begin(), un.begin() + static_cast<std::ptrdiff_t>(n));
    divideSmallInPlace(r, norm);
    stripLimbs(q);
    stripLimbs(r);
}

std::uint8_t digitAt(const DigitView& d, std::size_t shift, std::size_t i) {
    return i >= shift && i - shift < d.length() ? d[i - shift] : 0;
}

}  // namespace

DigitView::DigitView(const std::vector<std::uint8_t>& elements) : m_data(elements.data()) {
    std::size_t marker = elements.size();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i] == kMarker) {
            marker = i;
            break;
        }
    }
    m_marker = marker;
    m_skip = marker < elements.size() ? 1 : 0;
    m_fraction = m_skip ? marker : 0;
    std::size_t length = elements.size() - m_skip;
    while (length > 0 && (*this)[length - 1] == 0) --length;
    m_length = length;
}

int compareShifted(const DigitView& a, std::size_t sa, const DigitView& b, std::size_t sb) {
    const std::size_t la = a.length() == 0 ? 0 : a.length() + sa;
    const std::size_t lb = b.length() == 0 ? 0 : b.length() + sb;
    if (la != lb) return la < lb ? -1 : 1;
    for (std::size_t i = la; i-- > 0;) {
        const std::uint8_t x = digitAt(a, sa, i);
        const std::uint8_t y = digitAt(b, sb, i);
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

Digits addShifted(const DigitView& a, std::size_t sa, const DigitView& b, std::size_t sb) {
    const std::size_t len = std::max(a.length() + sa, b.length() + sb);
    Digits out;
    out.reserve(len + 3);  // a carry, the marker and a 0 above it
    out.resize(len + 1, 0);
    std::uint8_t carry = 0;
    for (std::size_t i = 0; i < len; ++i) {
        std::uint8_t s = static_cast<std::uint8_t>(digitAt(a, sa, i) + digitAt(b, sb, i) + carry);
        carry = s >= 10;
        out[i] = carry ? static_cast<std::uint8_t>(s - 10) : s;
    }
    out[len] = carry;
    stripZeros(out);
    return out;
}

Digits subtractShifted(const DigitView& a, std::size_t sa, const DigitView& b, std::size_t sb) {
    const std::size_t len = a.length() + sa;
    Digits out;
    out.reserve(len + 2);
    out.resize(len, 0);
    int borrow = 0;
    for (std::size_t i = 0; i < len; ++i) {
        int s = digitAt(a, sa, i) - digitAt(b, sb, i) - borrow;
        borrow = s < 0;
        out[i] = static_cast<std::uint8_t>(borrow ? s + 10 : s);
    }
    stripZeros(out);
    return out;
}

Digits multiplyDigits(const DigitView& a, const DigitView& b) {
    if (a.length() == 0 || b.length() == 0) return {};
    if (a.length() + b.length() <= kWideDigits) return fromWide(toWide(a, 0) * toWide(b, 0));
    const Limbs x = toLimbs(a, 0);
    const Limbs y = toLimbs(b, 0);
    Limbs r(x.size() + y.size(), 0);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const std::uint64_t xi = x[i];
        if (xi == 0) continue;
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < y.size(); ++j) {
            const std::uint64_t cur = r[i + j] + xi * y[j] + carry;
            r[i + j] = static_cast<std::uint32_t>(cur % kBase);
            carry = cur / kBase;
        }
        for (std::size_t k = i + y.size(); carry != 0; ++k) {
            const std::uint64_t cur = r[k] + carry;
            r[k] = static_cast<std::uint32_t>(cur % kBase);
            carry = cur / kBase;
        }
    }
    return fromLimbs(r);
}

QuotientRemainder divideDigits(const DigitView& a, std::size_t sa, const DigitView& b,
                               std::size_t sb, bool withRemainder) {
    if (a.length() + sa <= kWideDigits && b.length() + sb <= kWideDigits) {
        const Wide u = toWide(a, sa);
        const Wide v = toWide(b, sb);
        return {fromWide(u / v), withRemainder ? fromWide(u % v) : Digits{}};
    }
    Limbs u = toLimbs(a, sa);
    Limbs v = toLimbs(b, sb);
    stripLimbs(u);
    stripLimbs(v);
    if (compareLimbs(u, v) < 0) return {{}, withRemainder ? fromLimbs(u) : Digits{}};
    Limbs q, r;
    divideLimbs(u, v, q, r);
    return {fromLimbs(q), withRemainder ? fromLimbs(r) : Digits{}};
}

}  // namespace quorvel::detail
