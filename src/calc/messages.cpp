#include "calc/messages.h"

#include <algorithm>

#include "calc/calc_outcome.h"
#include "calc/solver_messages.h"

namespace quorvel {
namespace {

using Kind = MessageKind;
using msg::kTitleMalformed;
using msg::kTitleQuorvel;
using msg::kTitleWarning;

// A box about a malformed expression, one about a calculation that cannot be done, a notice;
// the input message dialog is titled like the program.
constexpr MessageEntry malformed(MessageId id, std::string_view text) {
    return {id, kTitleMalformed, Kind::Exclamation, text, {}};
}
constexpr MessageEntry warning(MessageId id, std::string_view text) {
    return {id, kTitleWarning, Kind::Exclamation, text, {}};
}
constexpr MessageEntry notice(MessageId id, std::string_view text) {
    return {id, kTitleQuorvel, Kind::Information, text, {}};
}
constexpr MessageEntry input(MessageId id, std::string_view text, std::string_view advice) {
    return {id, kTitleQuorvel, Kind::Input, text, advice};
}

constexpr MessageEntry kMessages[] = {
    input(MessageId::Syntax, "{1}", "{2}"),
    malformed(MessageId::BracketCountsDiffer, msg::kBracketCountsDiffer),
    malformed(MessageId::BracketCounts,
              "Sorry, the expression includes {0} ( and {1} ). It is invalid."),
    malformed(MessageId::ExpressionTooLong,
              "Sorry, the expression is too long. It may hold at most 4000 characters."),
    malformed(MessageId::TooManyOperators, msg::kTooManyOperators),
    warning(MessageId::StepTextTooLarge, msg::kStepTextTooLarge),
    warning(MessageId::InvalidNumber, "Sorry, the input number {0} is invalid."),
    warning(MessageId::DenominatorZero, msg::kDenominatorZero),
    warning(MessageId::NegativeBase, msg::kNegativeBase),
    warning(MessageId::PowerNotFinite, msg::kPowerNotFinite),
    malformed(MessageId::NoOperator, msg::kNoOperator),
    malformed(MessageId::InvalidExpression, msg::kInvalidExpression),
    warning(MessageId::FunctionTooLarge,
            "Sorry,the result of the function {0}(x) is too large to be calculated."),
    notice(MessageId::TanOfDegree, "Sorry, we cannot calculate the Tan of the degree {0}"),
    warning(MessageId::LnDomain, msg::kLnDomain),
    warning(MessageId::LogDomain, msg::kLogDomain),
    warning(MessageId::SqrtDomain, msg::kSqrtDomain),
    warning(MessageId::ArcsinDomain, msg::kArcsinDomain),
    warning(MessageId::ArccosDomain, msg::kArccosDomain),
    warning(MessageId::ArcsinNotNumber, msg::kArcsinNotNumber),
    warning(MessageId::ArcsinRange, msg::kArcsinRange),
    warning(MessageId::ArccosNotNumber, msg::kArccosNotNumber),
    warning(MessageId::ArccosRange, msg::kArccosRange),
    warning(MessageId::NumberOutOfRange, msg::kNumberOutOfRange),
    warning(MessageId::OutOfMemory, msg::kOutOfMemory),
    notice(MessageId::ParameterNotSet, msg::kParameterNotSet),
    input(MessageId::UnknownInDenominator, msg::kUnknownInDenominator,
          msg::kUnknownInDenominatorAdvice),
    input(MessageId::NoEqualsSign, msg::kNoEqualsSign, msg::kNoEqualsSignAdvice),
    input(MessageId::SecondEqualsSign, msg::kSecondEqualsSign, msg::kSecondEqualsSignAdvice),
    input(MessageId::PowerInEquation, msg::kPowerInEquation, msg::kPowerInEquationAdvice),
    input(MessageId::UnknownAsFunctionParameter,
          "The parameter of function -{1} cannot be unknown variable.",
          "Please delete the string {1}(x)"),
    input(MessageId::UnmatchedCloseBracket,
          "The close bracket at the position {1} cannot find the open bracket",
          msg::kUnmatchedCloseBracketAdvice),
    input(MessageId::OpenBracketsLeftOver, msg::kOpenBracketsLeftOver,
          "Please delete {1} open bracket"),
    input(MessageId::NotLinear, msg::kNotLinear,
          "Please check whether your input is correct.Or please record your input and contact "
          "with {1}"),
    input(MessageId::TwoUnknownFactors, msg::kTwoUnknownFactors, msg::kTwoUnknownFactorsAdvice),
};

constexpr bool inIdOrder() {
    for (std::size_t i = 0; i < std::size(kMessages); ++i) {
        if (static_cast<std::size_t>(kMessages[i].id) != i + 1) return false;
    }
    return true;
}
static_assert(inIdOrder(), "MessageFor finds a row by its id");
static_assert(msg::kMaxExpressionLength == 4000, "the too-long message names the limit");

}  // namespace

std::span<const MessageEntry> MessageTable() { return kMessages; }

const MessageEntry& MessageFor(MessageId id) { return kMessages[static_cast<std::size_t>(id) - 1]; }

std::string FormatMessage(std::string_view pattern, std::span<const std::string> arguments) {
    return msg::escapeControls(FillMessage(pattern, arguments));
}

std::string FillMessage(std::string_view pattern, std::span<const std::string> arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
        if (close == i + 2 && pattern[i + 1] >= '0' && pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '0');
            if (n < arguments.size()) text += arguments[n];
            i = close;
        } else {
            text.push_back(pattern[i]);
        }
    }
    return text;
}

}  // namespace quorvel

namespace quorvel::msg {

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

namespace {

std::string format(MessageId id, std::initializer_list<std::string> arguments) {
    return FormatMessage(MessageFor(id).text, std::span(arguments.begin(), arguments.size()));
}

}  // namespace

std::string expressionTooLong() { return format(MessageId::ExpressionTooLong, {}); }

std::string invalidNumber(std::string_view operand) {
    return format(MessageId::InvalidNumber, {std::string(operand)});
}

std::string bracketCounts(int open, int close) {
    return format(MessageId::BracketCounts, {std::to_string(open), std::to_string(close)});
}

std::string tanOfDegree(std::string_view argument) {
    return format(MessageId::TanOfDegree, {std::string(argument)});
}

std::string functionTooLarge(std::string_view name) {
    return format(MessageId::FunctionTooLarge, {std::string(name)});
}

}  // namespace quorvel::msg

namespace quorvel {

std::string CalcOutcome::message() const {
    if (error == MessageId::None) return {};
    return FormatMessage(MessageFor(error).text, arguments);
}

std::string CalcOutcome::advice() const {
    if (error == MessageId::None) return {};
    return FormatMessage(MessageFor(error).advice, arguments);
}

CalcOutcome Failure(MessageId id, std::vector<std::string> arguments, int position) {
    CalcOutcome outcome;
    outcome.error = id;
    outcome.position = position;
    outcome.arguments = std::move(arguments);
    return outcome;
}

}  // namespace quorvel
