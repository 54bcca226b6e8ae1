#pragma once

// The fixed problem and advice texts of the equation solver, shown in the input message dialog
// with the equation; the message table pairs them with their ids.

#include <string>
#include <string_view>

#include "calc/messages.h"

namespace quorvel::msg {

inline constexpr std::string_view kSupportAddress = "quorvel-support@example.org";

inline constexpr std::string_view kUnknownInDenominator =
    "Sorry, the liner equation in quorvel cannot accept the unknown variable - X in the "
    "denominator";
inline constexpr std::string_view kUnknownInDenominatorAdvice =
    "First,please do not input the unknown variable - X as the denominator.Second,if you indeed "
    "need to do this, please move the X demoninator in the left of the equation to the right of "
    "the equation as the numerator.For example , 5/x+3=2-(6-5), then it should be "
    "5+3x=2x-(6-5)x.";

inline constexpr std::string_view kNoEqualsSign = "Cannot find the operator = in the equation.";
inline constexpr std::string_view kNoEqualsSignAdvice =
    "Please input = in the equation.After finishing your input, please press the ENTER key or "
    "click Calc button";

// A second "=" would reach the evaluator, which refuses it without a word.
inline constexpr std::string_view kSecondEqualsSign =
    "The equation can include only one operator =.";
inline constexpr std::string_view kSecondEqualsSignAdvice =
    "Please delete the other operator = in the equation.";

inline constexpr std::string_view kPowerInEquation =
    "Cannot accept the operator ^ in the equation.";
inline constexpr std::string_view kPowerInEquationAdvice = "Please delete the operator ^";

inline constexpr std::string_view kOpenBracketsLeftOver =
    "The number of open bracket is larger than the number of close bracket";
inline constexpr std::string_view kUnmatchedCloseBracketAdvice =
    "Please delete the close bracket or insert a new open bracket at a position before it";

inline constexpr std::string_view kNotLinear =
    "It is not a standard liner equation,e.g:AX+B,A,B are the float number.";

inline constexpr std::string_view kTwoUnknownFactors =
    "The liner equation only accept one unknown variable in the one expression block.For "
    "example: 2+3*X*X is illegal.";
inline constexpr std::string_view kTwoUnknownFactorsAdvice =
    "Please do not include more than one unknown variable at the same layer expression";

// The problem text for the unknown as `name`'s argument, as the message table words it.
inline std::string unknownAsFunctionParameter(std::string_view name) {
    const std::string arguments[] = {{}, std::string(name)};
    return FormatMessage(MessageFor(MessageId::UnknownAsFunctionParameter).text, arguments);
}

}  // namespace quorvel::msg
