#include "calc/short_decimal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace quorvel {
namespace {

__extension__ typedef unsigned __int128 Wide;

// Values below 10^kMaxDigits keep a sum or a single scaling step inside 128 bits.
constexpr int kMaxDigits = 37;

constexpr std::array<Wide, 39> makePowers() {
    std::array<Wide, 39> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * 10;
    return p;
}
constexpr std::array<Wide, 39> kPow10 = makePowers();

int bitLength(Wide v) {
    const auto high = static_cast<std::uint64_t>(v >> 64);
    const auto low = static_cast<std::uint64_t>(v);
    if (high != 0) return 128 - __builtin_clzll(high);
    return low != 0 ? 64 - __builtin_clzll(low) : 0;
}

// The number of decimal digits, 0 for zero. The bit length gives it to within one (1233/4096
// is just below log10(2)), so one comparison settles it.
int digitCount(Wide v) {
    const int estimate = (bitLength(v) * 1233) >> 12;
    return estimate + (v >= kPow10[static_cast<std::size_t>(estimate)] ? 1 : 0);
}

struct Value {
    bool negative = false;
    Wide mantissa = 0;  // all digits, the point left out
    int fraction = 0;   // digits after the point
};

static_assert(std::endian::native == std::endian::little, "words hold the first character lowest");

// Eight characters at a time, as one word: results carry their 31 or more fraction digits into
// the next operation, so most digits read are in long runs.
std::uint64_t load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// Each byte's high nibble is 3, and still 3 with 6 added: "0" to "9".
bool eightDigits(std::uint64_t word) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull;
    return ((word & kHigh) | (((word + 0x0606060606060606ull) & kHigh) >> 4)) ==
           0x3333333333333333ull;
}

// The value of eight digit characters, the first the most significant: pairs, then quads,
// then the whole, each a multiply and a shift.
std::uint32_t valueOf8(std::uint64_t word) {
    word = ((word & 0x0F0F0F0F0F0F0F0Full) * 2561) >> 8;
    word = ((word & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
    return static_cast<std::uint32_t>(((word & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32);
}

const char* skipDigits(const char* p, const char* end) {
    while (end - p >= 8 && eightDigits(load8(p))) p += 8;
    while (p != end && static_cast<unsigned char>(*p - '0') <= 9) ++p;
    return p;
}

// Digits with at most one point; no sign (the caller has taken it). The digits gather in 64
// bits, up to 19 of them, so a long operand costs one 128-bit step per 16 to 19 digits.
bool parse(std::string_view digits, bool negative, Value& v) {
    v.negative = negative;
    const char* const begin = digits.data();
    const char* const end = begin + digits.size();
    const char* const wholeEnd = skipDigits(begin, end);
    const char* fractionBegin = wholeEnd;
    const char* fractionEnd = wholeEnd;
    if (wholeEnd != end) {
        if (*wholeEnd != '.') return false;
        fractionBegin = wholeEnd + 1;
        fractionEnd = skipDigits(fractionBegin, end);
        if (fractionEnd != end) return false;
    }
    v.fraction = static_cast<int>(fractionEnd - fractionBegin);
    if (v.fraction > kMaxDigits) return false;
    // Leading zeros carry nothing, up to the first significant digit after the point.
    const char* wholeFrom = begin;
    while (wholeFrom != wholeEnd && *wholeFrom == '0') ++wholeFrom;
    const char* fractionFrom = fractionBegin;
    if (wholeFrom == wholeEnd) {
        while (fractionFrom != fractionEnd && *fractionFrom == '0') ++fractionFrom;
    }
    if ((wholeEnd - wholeFrom) + (fractionEnd - fractionFrom) > kMaxDigits) return false;
    Wide wide = 0;
    bool widened = false;
    std::uint64_t chunk = 0;
    std::size_t inChunk = 0;
    auto flush = [&] {
        wide = wide * kPow10[inChunk] + chunk;
        widened = true;
        chunk = 0;
        inChunk = 0;
    };
    auto take = [&](const char* p, const char* to) {
        for (; to - p >= 8; p += 8) {
            if (inChunk > 11) flush();  // eight more would pass 19 digits
            chunk = chunk * 100'000'000 + valueOf8(load8(p));
            inChunk += 8;
        }
        for (; p != to; ++p) {
            if (inChunk == 19) flush();
            chunk = chunk * 10 + static_cast<unsigned>(*p - '0');
            ++inChunk;
        }
    };
    take(wholeFrom, wholeEnd);
    take(fractionFrom, fractionEnd);
    // Up to 19 digits the mantissa is the chunk alone, without a 128-bit product.
    v.mantissa = widened ? wide * kPow10[inChunk] + chunk : Wide{chunk};
    return true;
}

bool scale(Wide& m, int by) {
    if (by < 0 || by > 38) return false;
    if (m >= kPow10[static_cast<std::size_t>(38 - by)]) return false;  // more than 38 digits
    m *= kPow10[static_cast<std::size_t>(by)];
    return true;
}

// The eight digits of v < 10^8 at p, leading zeros included: both halves of four digits split
// into pairs and the pairs into digits side by side in one word, by multiplying with
// reciprocals (10486 / 2^20 for a hundredth, 103 / 2^10 for a tenth are exact in range).
void put8(char* p, std::uint32_t v) {
    std::uint64_t word = (v / 10000) | (static_cast<std::uint64_t>(v % 10000) << 32);
    const std::uint64_t hundreds = ((word * 10486) >> 20) & 0x0000007F0000007Full;
    word = hundreds | ((word - hundreds * 100) << 16);
    const std::uint64_t tens = ((word * 103) >> 10) & 0x000F000F000F000Full;
    word = tens | ((word - tens * 10) << 8);
    word += 0x3030303030303030ull;
    std::memcpy(p, &word, sizeof word);
}

// The digits of part in groups of eight ending at p: as many groups as it needs, and at
// least `groups`.
void putGroups(char* p, std::uint64_t part, int groups = 1) {
    for (; groups > 0 || part != 0; --groups) {
        p -= 8;
        put8(p, static_cast<std::uint32_t>(part % 100'000'000));
        part /= 100'000'000;
    }
}

// The digits of v < 10^38, most significant first, without leading zeros ("0" for zero), at
// the end of the kDigitRoom bytes before `end`; returns their count. Two 64-bit halves, because
// taking a 128-bit number apart is slow.
constexpr std::size_t kDigitRoom = 48;
std::size_t toDigits(Wide v, char* end) {
    if (v == 0) {
        end[-1] = '0';
        return 1;
    }
    constexpr std::uint64_t kHalf = 10'000'000'000'000'000'000ull;  // 10^19
    if (v >= kHalf) {
        // The low half's 19 digits in three groups; the high half's groups overwrite the five
        // leading zeros of those.
        putGroups(end, static_cast<std::uint64_t>(v % kHalf), 3);
        putGroups(end - 19, static_cast<std::uint64_t>(v / kHalf));
    } else {
        putGroups(end, static_cast<std::uint64_t>(v));
    }
    return static_cast<std::size_t>(digitCount(v));
}

// Writes v after DecimalNumber's trim (fraction zeros go) and cut to `precision`: truncated to
// that many fraction digits or, below 1, to that many significant ones. The cut's own zeros
// stay ("1.2301" cut to 3 is "1.230"), as they do there.
// The digits are the n characters before `end`, without leading zeros ("0" for zero), with
// room for `fraction` + 1 more before them.
void writeDigits(char* end, std::size_t n, std::size_t fraction, bool negative, int precision,
                 std::string& out) {
    if (n < fraction + 1) {  // a 0 before the point, and zeros after it
        std::memset(end - fraction - 1, '0', fraction + 1 - n);
        n = fraction + 1;
    }
    const char* d = end - n;
    while (fraction > 0 && d[n - 1] == '0') {
        --n;
        --fraction;
    }
    const std::size_t whole = n - fraction;
    if (fraction > 0) {
        const std::size_t limit = static_cast<std::size_t>(std::max(precision, 0));
        std::size_t keep = std::min(fraction, limit);
        if (whole == 1 && d[0] == '0') {
            std::size_t zeros = 0;
            while (zeros < fraction && d[whole + zeros] == '0') ++zeros;
            keep = fraction - zeros > limit ? zeros + limit : fraction;
        }
        fraction = keep;
    }
    out.clear();
    if (negative) out.push_back('-');
    out.append(d, whole);
    if (fraction == 0) return;
    out.push_back('.');
    out.append(d + whole, fraction);
}

void write(const Value& v, int precision, std::string& out) {
    char buffer[96];
    char* const end = buffer + sizeof buffer;
    writeDigits(end, toDigits(v.mantissa, end), static_cast<std::size_t>(v.fraction), v.negative,
                precision, out);
}

// floor(dividend * 10^scaleBy / divisor) with `places` fraction digits, for a dividend that
// would pass 128 bits once scaled: long division, up to 19 digits a step, which a divisor of
// 64 bits keeps inside 128. A quotient of the operands' short lengths, such as a third of a
// quotient, is the common case.
bool writeLongQuotient(Wide dividend, int scaleBy, std::uint64_t divisor, bool negative, int places,
                       int precision, std::string& out) {
    constexpr std::size_t kRoom = 256;
    // The whole part's 39 digits at most, the scaled ones, and room to pad the fraction.
    if (scaleBy < 0 || places < 0 ||
        39 + static_cast<std::size_t>(scaleBy) + static_cast<std::size_t>(places) + 1 > kRoom) {
        return false;
    }
    char digits[kRoom];
    char* p = digits;
    {
        char whole[kDigitRoom];
        const std::size_t n = toDigits(dividend / divisor, whole + sizeof whole);
        std::memcpy(p, whole + sizeof whole - n, n);
        p += n;
    }
    auto remainder = static_cast<std::uint64_t>(dividend % divisor);
    for (int left = scaleBy; left > 0;) {
        const int step = std::min(left, 19);
        const Wide widened = Wide(remainder) * kPow10[static_cast<std::size_t>(step)];
        auto chunk = static_cast<std::uint64_t>(widened / divisor);
        remainder = static_cast<std::uint64_t>(widened % divisor);
        for (int i = step - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + chunk % 10);
            chunk /= 10;
        }
        p += step;
        left -= step;
    }
    const char* first = digits;
    while (first + 1 < p && *first == '0') ++first;
    const auto n = static_cast<std::size_t>(p - first);
    char buffer[kRoom];
    char* const end = buffer + sizeof buffer;
    std::memcpy(end - n, first, n);
    writeDigits(end, n, static_cast<std::size_t>(places), negative, precision, out);
    return true;
}

// a + (bNegative ? -|b| : |b|) as DecimalNumber's add does it: magnitudes that cancel give an
// unsigned zero, a sum of two zeros keeps their sign.
bool signedSum(const Value& a, Value b, Value& r) {
    const int f = std::max(a.fraction, b.fraction);
    Wide x = a.mantissa;
    Wide y = b.mantissa;
    if (!scale(x, f - a.fraction) || !scale(y, f - b.fraction)) return false;
    if (x >= kPow10[kMaxDigits] || y >= kPow10[kMaxDigits]) return false;
    r.fraction = f;
    if (a.negative == b.negative) {
        r.negative = a.negative;
        r.mantissa = x + y;
    } else if (x == y) {
        r.negative = false;
        r.mantissa = 0;
    } else if (x > y) {
        r.negative = a.negative;
        r.mantissa = x - y;
    } else {
        r.negative = b.negative;
        r.mantissa = y - x;
    }
    return true;
}

}  // namespace

bool ShortDecimalApply(char op, bool xNegative, std::string_view xDigits, bool yNegative,
                       std::string_view yDigits, int precision, std::string& out) {
    Value a;
    Value b;
    if (!parse(xDigits, xNegative, a) || !parse(yDigits, yNegative, b)) return false;
    Value r;
    switch (op) {
        case '+':
            if (!signedSum(a, b, r)) return false;
            break;
        case '-':
            b.negative = !b.negative;
            if (!signedSum(a, b, r)) return false;
            break;
        case '*':
            if (a.mantissa != 0 && b.mantissa != 0 &&
                digitCount(a.mantissa) + digitCount(b.mantissa) > 38) {
                return false;
            }
            r.negative = a.negative != b.negative;  // a zero product keeps it: "-0"
            r.mantissa = a.mantissa * b.mantissa;
            r.fraction = a.mantissa == 0 || b.mantissa == 0 ? 0 : a.fraction + b.fraction;
            break;
        case '/': {
            if (b.mantissa == 0) return false;  // the evaluator's own message
            const int places = std::max(precision, 0);
            const int f = std::max(a.fraction, b.fraction);
            Wide x = a.mantissa;
            Wide y = b.mantissa;
            r.negative = a.mantissa != 0 && a.negative != b.negative;
            if (!scale(x, f - a.fraction + places) || !scale(y, f - b.fraction)) {
                // The same quotient with the common power of ten taken out of both sides.
                const int scaleBy = b.fraction - a.fraction + places;
                if (b.mantissa >> 64 != 0 || places > 80) return false;
                return writeLongQuotient(a.mantissa, scaleBy,
                                         static_cast<std::uint64_t>(b.mantissa), r.negative, places,
                                         precision, out);
            }
            r.mantissa = x / y;
            r.fraction = places;
            break;
        }
        default:
            return false;
    }
    if (r.fraction > 80) return false;  // past write's buffer; DecimalNumber takes it
    write(r, precision, out);
    return true;
}

std::optional<std::string> ShortDecimalApply(char op, std::string_view x, std::string_view y,
                                             int precision) {
    const bool xNegative = !x.empty() && x.front() == '-';
    const bool yNegative = !y.empty() && y.front() == '-';
    if (xNegative) x.remove_prefix(1);
    if (yNegative) y.remove_prefix(1);
    std::string out;
    if (!ShortDecimalApply(op, xNegative, x, yNegative, y, precision, out)) return std::nullopt;
    return out;
}

}  // namespace quorvel
