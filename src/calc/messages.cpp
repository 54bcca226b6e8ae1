#include "calc/messages.h"

#include <algorithm>

namespace quorvel::msg {

std::string expressionTooLong() {
    return "Sorry, the expression is too long. It may hold at most " +
           std::to_string(kMaxExpressionLength) + " characters.";
}

namespace {

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

}  // namespace

std::string escapeControls(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (isControl(c)) {
            const auto byte = static_cast<unsigned char>(c);
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xf]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

int escapedPosition(std::string_view text, int position) {
    if (position < 1) return position;
    int shifted = position;
    const auto before = std::min(text.size(), static_cast<std::size_t>(position - 1));
    for (std::size_t i = 0; i < before; ++i) {
        if (isControl(text[i])) shifted += 3;
    }
    return shifted;
}

std::string invalidNumber(std::string_view operand) {
    return "Sorry, the input number " + escapeControls(operand) + " is invalid.";
}

std::string bracketCounts(int open, int close) {
    return "Sorry, the expression includes " + std::to_string(open) + " ( and " +
           std::to_string(close) + " ). It is invalid.";
}

std::string tanOfDegree(std::string_view argument) {
    return "Sorry, we cannot calculate the Tan of the degree " + escapeControls(argument);
}

std::string functionTooLarge(std::string_view name) {
    return "Sorry,the result of the function " + std::string(name) +
           "(x) is too large to be calculated.";
}

}  // namespace quorvel::msg
