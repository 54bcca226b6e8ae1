#include "calc/messages.h"

namespace quorvel::msg {

std::string expressionTooLong() {
    return "Sorry, the expression is too long. It may hold at most " +
           std::to_string(kMaxExpressionLength) + " characters.";
}

std::string invalidNumber(std::string_view operand) {
    return "Sorry, the input number " + std::string(operand) + " is invalid.";
}

std::string bracketCounts(int open, int close) {
    return "Sorry, the expression includes " + std::to_string(open) + " ( and " +
           std::to_string(close) + " ). It is invalid.";
}

std::string tanOfDegree(std::string_view argument) {
    return "Sorry, we cannot calculate the Tan of the degree " + std::string(argument);
}

std::string functionTooLarge(std::string_view name) {
    return "Sorry,the result of the function " + std::string(name) +
           "(x) is too large to be calculated.";
}

}  // namespace quorvel::msg
