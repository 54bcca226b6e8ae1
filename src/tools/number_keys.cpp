#include "tools/number_keys.h"

#include <charconv>

#include "calc/text_util.h"

namespace quorvel {
namespace {

// The length of the longest prefix of the form -?digits(.digits)?, and how many digits it has.
struct NumberPrefix {
    std::size_t length = 0;
    std::size_t digits = 0;
};

NumberPrefix numberPrefix(std::string_view text) {
    NumberPrefix prefix;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') ++i;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++prefix.digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    prefix.length = i;
    return prefix;
}

}  // namespace

bool IsFloatEntry(std::string_view text) { return numberPrefix(text).length == text.size(); }

bool IsFloatNumber(std::string_view text) {
    const NumberPrefix prefix = numberPrefix(text);
    return prefix.length == text.size() && prefix.digits > 0;
}

ValueKey ConvValueKey(char ch) {
    if (IsDigit(ch)) return ValueKey::AcceptAndRecompute;
    if (ch == '.' || ch == kBackspace) return ValueKey::Accept;
    return ValueKey::Discard;
}

bool IsDigitsText(std::string_view text, int maxDigits) {
    if (static_cast<long long>(text.size()) > maxDigits) return false;
    for (char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

double LeadingNumber(std::string_view text) {
    text = Trim(text);
    const NumberPrefix prefix = numberPrefix(text);
    if (prefix.digits == 0) return 0.0;
    double value = 0.0;
    const char* first = text.data();
    const char* last = text.data() + prefix.length;
    if (std::from_chars(first, last, value).ec != std::errc()) return 0.0;
    return value;
}

int DigitsValue(std::string_view text) {
    int value = 0;
    const std::from_chars_result parsed =
        std::from_chars(text.data(), text.data() + text.size(), value);
    return parsed.ec == std::errc() ? value : 0;
}

}  // namespace quorvel
