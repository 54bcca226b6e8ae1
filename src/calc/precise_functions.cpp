// Series after argument reduction for exp and sin/cos (halved k times, then doubled back),
// Newton's method with the precision doubled each step for ln (on exp) and arctan (on tan),
// Machin's formula for pi, exact integer square roots. All in fixed point with guard limbs.

#include "calc/precise_functions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

#include "calc/fixed_point.h"

namespace quorvel {
using namespace fixed;
namespace {

constexpr int kGuardDigits = 12;

int limbsFor(int digits) { return std::max(0, (digits + kLimbDigits - 1) / kLimbDigits); }

Fixed one(int frac) { return FromInt(1, frac); }

Fixed fromDouble(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.20f", v);
    return FromText(text, 3);
}

int fractionDigits(std::string_view text) {
    const auto point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// Enough fraction limbs to hold `text` exactly, and at least `frac`.
Fixed exactly(std::string_view text, int frac) {
    return FromText(text, std::max(frac, limbsFor(fractionDigits(text))));
}

// log10 |x| roughly, for any size (x not zero).
double approxLog10(const Fixed& x) {
    const std::size_t size = x.magnitude.size();
    const std::size_t low = size > 3 ? size - 3 : 0;
    double v = 0;
    for (std::size_t i = size; i-- > low;) v = v * kBase + x.magnitude[i];
    return std::log10(v) + 9.0 * (static_cast<double>(low) - x.frac);
}

// The precision of each Newton step, from a double's 15 digits up to `frac` limbs.
std::vector<int> newtonSteps(int frac) {
    std::vector<int> steps;
    for (int p = frac + 1; p > 2; p = p / 2 + 1) steps.push_back(p);
    std::reverse(steps.begin(), steps.end());
    return steps;
}

Fixed atanInverse(std::uint32_t n, int frac) {
    Fixed t = DivideSmall(one(frac), n);
    Fixed sum = t;
    for (std::uint32_t k = 1; !t.isZero(); ++k) {
        t = DivideSmall(t, n * n);
        const Fixed term = DivideSmall(t, 2 * k + 1);
        sum = k % 2 != 0 ? Subtract(sum, term) : Add(sum, term);
    }
    return sum;
}

// Computed once to the longest precision asked for so far, shared by every thread.
struct Cached {
    std::mutex lock;
    Fixed value;
};

Fixed piFixed(int frac) {
    static Cached pi;
    std::lock_guard<std::mutex> guard(pi.lock);
    if (pi.value.frac < frac) {
        const int f = frac + 1;
        pi.value =
            Subtract(MultiplySmall(atanInverse(5, f), 16), MultiplySmall(atanInverse(239, f), 4));
    }
    return WithFrac(pi.value, frac);
}

// exp(x) to a few units of kBase^-frac.
Fixed expFixed(const Fixed& x, int frac) {
    if (x.negative) return Divide(one(frac + 1), expFixed(Abs(x), frac + 1), frac);
    const double xd = ToDouble(x);
    const int wholeLimbs = limbsFor(static_cast<int>(xd * 0.4343) + 1);
    int k = static_cast<int>(std::sqrt(30.0 * (frac + wholeLimbs)) / 2);
    if (xd > 1) k += static_cast<int>(std::log2(xd)) + 1;
    // Each squaring doubles the relative error: k bits of guard.
    const int w = frac + wholeLimbs + 2 + (k * 3 / 10 + 8) / 9;
    Fixed r = WithFrac(x, w);
    for (int i = 0; i < k; i += 29) r = DivideSmall(r, 1u << std::min(29, k - i));
    Fixed sum = one(w);
    Fixed term = one(w);
    for (std::uint32_t n = 1; !term.isZero(); ++n) {
        term = DivideSmall(Multiply(term, r, w), n);
        sum = Add(sum, term);
    }
    for (int i = 0; i < k; ++i) sum = Multiply(sum, sum, w);
    return WithFrac(sum, frac);
}

// ln m for 1 <= m < kBase: y <- y + m exp(-y) - 1.
Fixed lnReduced(const Fixed& m, int frac) {
    Fixed y = fromDouble(std::log(ToDouble(m)));
    for (const int p : newtonSteps(frac)) {
        const Fixed e = expFixed(Negate(WithFrac(y, p)), p + 1);
        y = Add(WithFrac(y, p), Subtract(Multiply(m, e, p), one(p)));
    }
    return WithFrac(y, frac);
}

Fixed lnTen(int frac) {
    static Cached ln10;
    std::lock_guard<std::mutex> guard(ln10.lock);
    if (ln10.value.frac < frac) ln10.value = lnReduced(FromInt(10, 0), frac + 1);
    return WithFrac(ln10.value, frac);
}

// ln x for x > 0: x = m * kBase^e with 1 <= m < kBase, ln x = ln m + 9e ln 10.
Fixed lnFixed(const Fixed& x, int frac) {
    const int top = static_cast<int>(x.magnitude.size()) - 1;
    Fixed m = x;
    m.frac = top;
    Fixed y = lnReduced(m, frac + 1);
    const int e = top - x.frac;
    if (e != 0) y = Add(y, Multiply(FromInt(9LL * e, 0), lnTen(frac + 2), frac + 1));
    return WithFrac(y, frac);
}

struct SinCos {
    Fixed sin;
    Fixed cos;
};

// For |r| up to about 1: r halved k times, the series, then k doublings.
SinCos sinCosFixed(const Fixed& r, int frac) {
    const int k = static_cast<int>(std::sqrt(30.0 * frac) / 2);
    const int w = frac + 2 + (k * 6 / 10 + 8) / 9;
    Fixed a = WithFrac(r, w);
    for (int i = 0; i < k; i += 29) a = DivideSmall(a, 1u << std::min(29, k - i));
    Fixed s = a;
    Fixed c1 = FromInt(0, w);  // 1 - cos, so that the doublings keep its small value exact
    Fixed term = a;
    for (std::uint32_t n = 2; !term.isZero(); ++n) {
        term = DivideSmall(Multiply(term, a, w), n);
        switch (n % 4) {
            case 0:
                c1 = Subtract(c1, term);
                break;
            case 1:
                s = Add(s, term);
                break;
            case 2:
                c1 = Add(c1, term);
                break;
            default:
                s = Subtract(s, term);
                break;
        }
    }
    for (int i = 0; i < k; ++i) {
        Fixed doubled = MultiplySmall(Multiply(s, Subtract(one(w), c1), w), 2);
        c1 = MultiplySmall(Multiply(s, s, w), 2);
        s = std::move(doubled);
    }
    return {WithFrac(s, frac), WithFrac(Subtract(one(w), c1), frac)};
}

// x >= 0 as q * m + r with |r| <= m / 2; q modulo 4 is returned beside r.
std::pair<Fixed, int> quarterTurns(const Fixed& x, const Fixed& m) {
    const int f = std::max(x.frac, m.frac);
    const Fixed mf = WithFrac(m, f);
    const Fixed shifted = Add(WithFrac(x, f), DivideSmall(mf, 2));
    Fixed q;
    q.magnitude = DivideLimbs(shifted.magnitude, mf.magnitude);
    const int turns = q.magnitude.empty() ? 0 : static_cast<int>(q.magnitude[0] % 4);
    return {Subtract(WithFrac(x, f), Multiply(q, mf, f)), turns};
}

SinCos sinCosOf(std::string_view text, int frac, bool degrees) {
    Fixed x = exactly(text, frac);
    const bool negative = x.negative;
    x = Abs(x);
    Fixed r;
    int q = 0;
    if (degrees) {
        // Exact in degrees: sin(180) is 0, not a rounding of it.
        auto [rest, turns] = quarterTurns(x, FromInt(90, 0));
        r = DivideSmall(Multiply(rest, piFixed(frac + 1), frac + 1), 180);
        q = turns;
    } else {
        const int extra = limbsFor(IntegerDigits(x)) + 1;
        auto [rest, turns] = quarterTurns(x, DivideSmall(piFixed(frac + extra + 1), 2));
        r = WithFrac(rest, frac + 1);
        q = turns;
    }
    const SinCos sc = sinCosFixed(r, frac + 1);
    SinCos out;
    switch (q) {
        case 0:
            out = sc;
            break;
        case 1:
            out = {sc.cos, Negate(sc.sin)};
            break;
        case 2:
            out = {Negate(sc.sin), Negate(sc.cos)};
            break;
        default:
            out = {Negate(sc.cos), sc.sin};
            break;
    }
    if (negative) out.sin = Negate(out.sin);
    return {WithFrac(out.sin, frac), WithFrac(out.cos, frac)};
}

// atan t for |t| <= 1: y <- y - cos y (sin y - t cos y), Newton's method on tan y = t.
Fixed atanSmall(const Fixed& t, int frac) {
    Fixed y = fromDouble(std::atan(ToDouble(t)));
    for (const int p : newtonSteps(frac)) {
        const SinCos sc = sinCosFixed(WithFrac(y, p), p);
        const Fixed miss = Subtract(sc.sin, Multiply(t, sc.cos, p));
        y = Subtract(WithFrac(y, p), Multiply(sc.cos, miss, p));
    }
    return WithFrac(y, frac);
}

Fixed halfPi(int frac) { return DivideSmall(piFixed(frac), 2); }

Fixed atanFixed(const Fixed& t, int frac) {
    const Fixed unit = one(t.frac);
    if (CompareMagnitude(t.magnitude, unit.magnitude) <= 0) return atanSmall(t, frac);
    const Fixed far =
        Subtract(halfPi(frac + 1), atanSmall(Divide(one(frac + 1), Abs(t), frac + 1), frac + 1));
    return WithFrac(t.negative ? Negate(far) : far, frac);
}

// The angle of the point (x, y), in (-pi, pi].
Fixed atan2Fixed(const Fixed& y, const Fixed& x, int frac) {
    const int f = frac + 1;
    if (CompareMagnitude(WithFrac(Abs(y), f).magnitude, WithFrac(Abs(x), f).magnitude) <= 0) {
        Fixed a = atanSmall(Divide(y, x, f), f);
        if (x.negative) a = y.negative ? Subtract(a, piFixed(f)) : Add(a, piFixed(f));
        return WithFrac(a, frac);
    }
    const Fixed quarter = y.negative ? Negate(halfPi(f)) : halfPi(f);
    return WithFrac(Subtract(quarter, atanSmall(Divide(x, y, f), f)), frac);
}

Fixed toDegrees(const Fixed& radians, int frac) {
    return Divide(MultiplySmall(WithFrac(radians, frac + 1), 180), piFixed(frac + 1), frac);
}

Fixed toRadians(const Fixed& degrees, int frac) {
    const int extra = limbsFor(IntegerDigits(degrees)) + 1;
    return WithFrac(DivideSmall(Multiply(degrees, piFixed(frac + extra), frac + extra), 180), frac);
}

bool tooLarge(double log10Value) { return log10Value > kPreciseMaxIntegerDigits; }

std::optional<Fixed> value(std::string_view name, std::string_view text, int frac, int places,
                           bool degrees) {
    const Fixed x = exactly(text, frac);
    const double xd = ToDouble(x);
    // Beyond this an exponential's reciprocal is below every place shown.
    const double negligible = (places + kGuardDigits) * 2.31 + 2;
    if (name == "sqrt") return SquareRoot(exactly(text, 2 * frac), frac);
    if (name == "exp") {
        if (tooLarge(xd * 0.4343)) return std::nullopt;
        if (xd < -negligible) return FromInt(0, frac);
        return expFixed(x, frac);
    }
    if (name == "ln") return lnFixed(x, frac);
    if (name == "log") return Divide(lnFixed(x, frac + 1), lnTen(frac + 1), frac);
    if (name == "sin") return sinCosOf(text, frac, degrees).sin;
    if (name == "cos") return sinCosOf(text, frac, degrees).cos;
    if (name == "tan") {
        // Near an odd multiple of pi/2 the cosine loses leading digits: as many again.
        for (int f = frac;;) {
            const SinCos sc = sinCosOf(text, f, degrees);
            if (sc.cos.isZero()) return std::nullopt;
            const int lost = sc.cos.frac - static_cast<int>(sc.cos.magnitude.size());
            if (lost <= 0 || f > frac) return Divide(sc.sin, sc.cos, frac);
            f = frac + 2 * lost + 1;
        }
    }
    if (name == "arctan") {
        const Fixed a = atanFixed(x, frac + 1);
        return degrees ? toDegrees(a, frac) : WithFrac(a, frac);
    }
    if (name == "arcsin" || name == "arccos") {
        // 1 - x^2 is small near |x| = 1, and its square root keeps only half its digits.
        const int f = frac + limbsFor(fractionDigits(text) / 2) + 1;
        const Fixed ax = Abs(exactly(text, f));
        const Fixed w = SquareRoot(Multiply(Subtract(one(f), ax), Add(one(f), ax), f), f);
        const Fixed xf = exactly(text, f);
        const Fixed a = name == "arcsin" ? atan2Fixed(xf, w, f) : atan2Fixed(w, xf, f);
        return degrees ? toDegrees(a, frac) : WithFrac(a, frac);
    }
    if (name == "sinh" || name == "cosh" || name == "tanh") {
        Fixed r = degrees ? toRadians(x, frac + limbsFor(IntegerDigits(x)) + 2) : x;
        const bool negative = r.negative;
        r = Abs(r);
        const double rd = ToDouble(r);
        if (name == "tanh") {
            if (rd > negligible) return negative ? FromInt(-1, frac) : one(frac);
            const Fixed e2 = expFixed(MultiplySmall(r, 2), frac + 1);
            const Fixed t = Subtract(
                one(frac + 1), Divide(FromInt(2, frac + 1), Add(e2, one(frac + 1)), frac + 1));
            return WithFrac(negative ? Negate(t) : t, frac);
        }
        if (tooLarge(rd * 0.4343)) return std::nullopt;
        const Fixed e = expFixed(r, frac + 1);
        const Fixed inverse = Divide(one(frac + 1), e, frac + 1);
        Fixed v = DivideSmall(name == "sinh" ? Subtract(e, inverse) : Add(e, inverse), 2);
        if (negative && name == "sinh") v = Negate(v);
        return WithFrac(v, frac);
    }
    if (name == "deg") return toDegrees(x, frac);
    if (name == "rad") return toRadians(x, frac);
    return std::nullopt;
}

// Computes with guard digits and returns the text once its digits past `places` decide the
// rounding; a value that stays on a midpoint after two retries is taken as it is.
template <class Compute>
std::optional<std::string> decided(int places, Compute compute) {
    int frac = limbsFor(places + kGuardDigits) + 1;
    for (int attempt = 0;; ++attempt) {
        const std::optional<Fixed> v = compute(frac);
        if (!v) return std::nullopt;
        std::string text = ToText(*v);
        const std::size_t cut = text.find('.') + 1 + static_cast<std::size_t>(places);
        // The last five digits may carry the error of the computation.
        const std::size_t sure = text.size() - 5;
        bool midpoint = attempt < 2 && sure > cut + 1;
        if (midpoint) {
            const char first = text[cut];
            const char rest = first == '4' ? '9' : '0';
            midpoint = first == '4' || first == '5';
            for (std::size_t i = cut + 1; midpoint && i < sure; ++i) midpoint = text[i] == rest;
        }
        if (!midpoint) {
            text.resize(std::min(text.size(), sure));
            return text;
        }
        frac += frac / 2 + 2;
    }
}

}  // namespace

std::optional<std::string> PreciseFunction(std::string_view name, std::string_view argument,
                                           int places, bool degrees) {
    return decided(places, [&](int frac) { return value(name, argument, frac, places, degrees); });
}

std::optional<std::string> PrecisePower(std::string_view base, std::string_view exponent,
                                        int places) {
    return decided(places, [&](int frac) -> std::optional<Fixed> {
        const Fixed x = exactly(base, frac);
        const Fixed y = exactly(exponent, frac);
        if (x.isZero()) {
            if (y.negative || y.isZero()) return std::nullopt;
            return FromInt(0, frac);
        }
        const double magnitude = ToDouble(y) * approxLog10(x);
        if (tooLarge(magnitude)) return std::nullopt;
        if (magnitude < -(places + kGuardDigits + 2)) return FromInt(0, frac);
        // exp turns an error in its argument into the same relative error of the power.
        const double lnSize = std::log10(std::fabs(approxLog10(x)) * 2.31 + 1);
        const int f = frac + limbsFor(static_cast<int>(std::max(magnitude, 0.0)) + 1) +
                      limbsFor(static_cast<int>(approxLog10(y) + lnSize) + 2) + 1;
        return expFixed(Multiply(y, lnFixed(x, f), f), frac);
    });
}

std::string PiDigits(int places) {
    std::string text = ToText(piFixed(limbsFor(places) + 1));
    text.resize(text.find('.') + 1 + static_cast<std::size_t>(places));
    if (places == 0) text.pop_back();
    return text;
}

}  // namespace quorvel
