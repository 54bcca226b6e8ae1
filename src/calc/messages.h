#pragma once

// Every fixed title and message of the engine, so the message box, quorvel-calc's error line
// and tests read the same words.

#include <string>
#include <string_view>

namespace quorvel::msg {

inline constexpr std::string_view kTitleQuorvel = "Quorvel";
inline constexpr std::string_view kTitleMessage = "Quorvel Message";
inline constexpr std::string_view kTitleWarning = "Quorvel Warning Message";
inline constexpr std::string_view kTitleMalformed = "Warning Message";

inline constexpr std::string_view kDenominatorZero = "Sorry,the denominator cannot be zero.";
inline constexpr std::string_view kNegativeBase =
    "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.";
inline constexpr std::string_view kPowerNotFinite =
    "Sorry,the power cannot be calculated: its value is too large or undefined.";
inline constexpr std::string_view kNoOperator =
    "The expression is invalid. It should include at least one operator such as "
    "+,-,*,/,^.Thank you.";
inline constexpr std::string_view kInvalidExpression = "Invalid Expression.";
inline constexpr std::string_view kBracketCountsDiffer =
    "The number of ) is not equal with the number of ( .";
inline constexpr std::string_view kParameterNotSet =
    "Failed to set the parameter value,please check the right expression after =.Thank you.";
inline constexpr std::string_view kTooManyOperators =
    "Sorry, a part of the expression without brackets may hold at most 255 operators. "
    "Please use brackets or split the calculation.";

inline constexpr std::string_view kLnDomain =
    "Sorry,the parameter for the function Ln(x) should be larger than  zero.";
inline constexpr std::string_view kLogDomain =
    "Sorry,the parameter for the function Log(x) should be larger than or equal to zero.";
inline constexpr std::string_view kSqrtDomain =
    "Sorry,the parameter for the function Sqrt(x) should be larger than or equal to zero.";
inline constexpr std::string_view kArcsinDomain =
    "Sorry,the absolute value of the parameter of arcsin cannot be larger than 1.";
inline constexpr std::string_view kArccosDomain =
    "Sorry,the absolute value of the parameter of arccos cannot be larger than 1.";
inline constexpr std::string_view kArcsinNotNumber =
    "Sorry, arcsin only accept float number or integer.Do not accept expression";
inline constexpr std::string_view kArcsinRange =
    "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1";
inline constexpr std::string_view kArccosNotNumber =
    "Sorry, arccos only accept float number or integer.Do not accept expression";
inline constexpr std::string_view kArccosRange =
    "Sorry, the absolute value of arccos's parameter should be equal to or less than 1";

std::string tanOfDegree(std::string_view argument);
// A function whose floating-point value overflowed; `name` is shown as "Exp(x)".
std::string functionTooLarge(std::string_view name);

// Longest expression the engine calculates: the step text grows with length times steps.
inline constexpr std::size_t kMaxExpressionLength = 4000;
std::string expressionTooLong();

std::string invalidNumber(std::string_view operand);
std::string bracketCounts(int open, int close);

}  // namespace quorvel::msg
