#include "calc/decimal_text.h"

#include <algorithm>

namespace quorvel {
namespace {

struct Signed {
    std::string_view sign;
    std::string_view body;
};

Signed splitSign(std::string_view text) {
    if (!text.empty() && text.front() == '-') return {text.substr(0, 1), text.substr(1)};
    return {{}, text};
}

// Cuts the digits to at most `places` and strips the zeros that the cut leaves at the end.
std::string mantissa(char first, std::string_view rest, int places) {
    std::string out(1, first);
    out += '.';
    out += rest.substr(0, static_cast<std::size_t>(std::max(places, 0)));
    return StripTrailingZeros(out);
}

}  // namespace

std::string_view WithoutTrailingZeros(std::string_view text) {
    if (text.find('E') != std::string_view::npos) return text;
    const auto point = text.find('.');
    if (point == std::string_view::npos) return text;
    std::size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0') --end;
    if (end == point + 1) end = point;
    return text.substr(0, end);
}

std::string StripTrailingZeros(std::string_view text) {
    return std::string(WithoutTrailingZeros(text));
}

void StripLeadingZeros(std::string_view text, std::string& out) {
    const auto [sign, body] = splitSign(text);
    const auto point = body.find('.');
    std::size_t start = 0;
    if (point == std::string_view::npos) {
        while (start < body.size() && body[start] == '0') ++start;
        if (start == body.size()) start = 0;  // zeros only stay as they are
    } else {
        while (start + 1 < point && body[start] == '0') ++start;
    }
    out.assign(sign);
    out += body.substr(start);
}

std::string StripLeadingZeros(std::string_view text) {
    std::string out;
    StripLeadingZeros(text, out);
    return out;
}

void RoundToPlaces(std::string_view text, int places, std::string& out) {
    const auto point = text.find('.');
    places = std::max(places, 0);
    if (point == std::string_view::npos ||
        text.size() - point - 1 <= static_cast<std::size_t>(places)) {
        out.assign(text);
        return;
    }

    out.assign(text.substr(0, point + 1 + static_cast<std::size_t>(places)));
    const char dropped = text[point + 1 + static_cast<std::size_t>(places)];
    if (dropped <= '4') return;

    std::size_t i = out.size();
    while (i > 0) {
        --i;
        char& c = out[i];
        if (c == '.') continue;
        if (c < '0' || c > '9') {  // reached the sign: the carry left the first digit
            out.insert(i + 1, 1, '1');
            return;
        }
        if (c != '9') {
            ++c;
            return;
        }
        c = '0';
    }
    out.insert(0, 1, '1');
}

std::string RoundToPlaces(std::string_view text, int places) {
    std::string out;
    RoundToPlaces(text, places, out);
    return out;
}

bool NeedsENotation(std::string_view value, int intDigits) {
    const std::string_view body = splitSign(value).body;
    const auto point = body.find('.');
    const std::size_t integerLength = point == std::string_view::npos ? body.size() : point;
    const std::size_t limit = static_cast<std::size_t>(std::max(intDigits, 0));
    if (integerLength > limit) return true;
    if (body.size() > 2 && body[0] == '0' && body[1] == '.') {
        const std::size_t first = body.find_first_not_of('0', 2);
        return first != std::string_view::npos && first - 2 >= limit;
    }
    return false;
}

std::string ENotation(std::string_view value, int places, int intDigits) {
    const auto [sign, body] = splitSign(value);
    const auto point = body.find('.');
    const std::size_t integerLength = point == std::string_view::npos ? body.size() : point;

    std::string out(sign);
    if (integerLength > static_cast<std::size_t>(std::max(intDigits, 0))) {
        std::string digits(body.substr(0, integerLength));
        if (point != std::string_view::npos) digits += body.substr(point + 1);
        out += mantissa(digits[0], std::string_view(digits).substr(1), places);
        out += "E+" + std::to_string(integerLength - 1);
        return out;
    }
    if (body.size() > 2 && body[0] == '0' && body[1] == '.') {
        const std::size_t first = body.find_first_not_of('0', 2);
        if (first != std::string_view::npos) {
            const std::size_t zeros = first - 2;
            if (zeros >= static_cast<std::size_t>(std::max(intDigits, 0))) {
                out += mantissa(body[first], body.substr(first + 1), places);
                out += "E-" + std::to_string(zeros + 1);
                return out;
            }
        }
    }
    return std::string(value);
}

}  // namespace quorvel
