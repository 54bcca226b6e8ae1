#include "calc/exponent_expansion.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "calc/decimal_text.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '_';
}

struct Scanned {
    std::string plain;   // the unsigned number in plain digits, no zeros that say nothing
    std::size_t length;  // characters taken from the text
};

std::string withoutLeadingZeros(std::string digits, std::size_t integerLength) {
    std::size_t drop = 0;
    while (drop + 1 < integerLength && digits[drop] == '0') ++drop;
    return digits.substr(drop);
}

// An unsigned mantissa with an exponent at the start of `text`, ending where a word would.
std::optional<Scanned> scanExponentNumber(std::string_view text) {
    std::size_t i = 0;
    std::string integer, fraction;
    bool point = false;
    for (; i < text.size() && (IsDigit(text[i]) || text[i] == '.'); ++i) {
        if (text[i] == '.') {
            if (point) return std::nullopt;
            point = true;
        } else {
            (point ? fraction : integer) += text[i];
        }
    }
    if (integer.empty() && fraction.empty()) return std::nullopt;
    if (i >= text.size() || (text[i] != 'e' && text[i] != 'E')) return std::nullopt;
    ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t exponentStart = i;
    long exponent = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        exponent = exponent * 10 + (text[i] - '0');
        if (exponent > kMaxExpandedExponent) return std::nullopt;
    }
    if (i == exponentStart) return std::nullopt;
    if (i < text.size() && isWordChar(text[i])) return std::nullopt;

    const std::string digits = integer + fraction;
    const long pointAt = static_cast<long>(integer.size()) + (negative ? -exponent : exponent);
    std::string plain;
    std::size_t integerLength;
    if (pointAt <= 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
        integerLength = 1;
    } else if (static_cast<std::size_t>(pointAt) >= digits.size()) {
        plain = digits + std::string(static_cast<std::size_t>(pointAt) - digits.size(), '0');
        integerLength = plain.size();
    } else {
        const auto at = static_cast<std::size_t>(pointAt);
        plain = digits.substr(0, at) + "." + digits.substr(at);
        integerLength = at;
    }
    return Scanned{StripTrailingZeros(withoutLeadingZeros(std::move(plain), integerLength)), i};
}

}  // namespace

std::string ExpandNumberExponent(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    std::string_view body = trimmed;
    std::string sign;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        sign = body.front();
        body.remove_prefix(1);
    }
    const std::optional<Scanned> number = scanExponentNumber(body);
    if (!number || number->length != body.size()) return std::string(trimmed);
    return sign + number->plain;
}

std::string ExpandExpressionExponents(std::string_view expression) {
    const std::string_view text = Trim(expression);
    // Every line typed to quorvel-calc passes here; most have no exponent to expand.
    if (std::none_of(text.begin(), text.end(), [](char c) { return c == 'e' || c == 'E'; })) {
        return std::string(text);
    }
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isWordChar(text[i])) {
            out += text[i++];
            continue;
        }
        if (IsDigit(text[i]) || text[i] == '.') {
            if (const std::optional<Scanned> number = scanExponentNumber(text.substr(i))) {
                out += number->plain;
                i += number->length;
                continue;
            }
        }
        const std::size_t start = i;
        while (i < text.size() && isWordChar(text[i])) ++i;
        out += text.substr(start, i - start);
    }
    return out;
}

}  // namespace quorvel
