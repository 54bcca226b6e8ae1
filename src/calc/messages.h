#pragma once

// Every fixed title and message of the engine, so the message box, quorvel-calc's error line
// and tests read the same words. A failure is reported as its id and arguments; the table
// pairs each id with its title, kind and text, so no caller pairs them by hand.

#include <span>
#include <string>
#include <string_view>

namespace quorvel {

// What went wrong, so callers and tests can tell failures apart without reading the text.
enum class MessageId {
    None,
    Syntax,  // the syntax checker's verdict, shown in the input message dialog
    BracketCountsDiffer,
    BracketCounts,
    ExpressionTooLong,
    TooManyOperators,
    StepTextTooLarge,
    InvalidNumber,
    DenominatorZero,
    NegativeBase,
    PowerNotFinite,
    NoOperator,
    InvalidExpression,
    FunctionTooLarge,
    TanOfDegree,
    LnDomain,
    LogDomain,
    SqrtDomain,
    ArcsinDomain,
    ArccosDomain,
    ArcsinNotNumber,
    ArcsinRange,
    ArccosNotNumber,
    ArccosRange,
    NumberOutOfRange,
    OutOfMemory,
    // Later ids go at the end: tests and stored records know the earlier ones by number.
    ParameterNotSet,
    UnknownInDenominator,
    NoEqualsSign,
    SecondEqualsSign,
    PowerInEquation,
    UnknownAsFunctionParameter,
    UnmatchedCloseBracket,
    OpenBracketsLeftOver,
    NotLinear,
    TwoUnknownFactors,
};

// How a message reaches the user: a message box with its icon, the input message dialog,
// which shows the expression (the message's first argument) with the offending character, or
// a question with OK and Cancel (only the tools ask).
enum class MessageKind { Information, Exclamation, Input, Question };

// One row of a message table: the engine's here, the tools' beside them. Texts name the
// message's arguments as {0}, {1}, ...
template <class Id>
struct BasicMessageEntry {
    Id id;
    std::string_view title;
    MessageKind kind;
    std::string_view text;
    std::string_view advice;  // input messages only
};
using MessageEntry = BasicMessageEntry<MessageId>;

// Every message the engine, the solver and the calculate command can give, in id order.
std::span<const MessageEntry> MessageTable();
// The row of `id`; MessageId::None has none and must not be asked for.
const MessageEntry& MessageFor(MessageId id);
// `pattern` with each {N} replaced by arguments[N], control characters escaped.
std::string FormatMessage(std::string_view pattern, std::span<const std::string> arguments);
// The same with the arguments as given, for texts whose callers escape what they quote.
std::string FillMessage(std::string_view pattern, std::span<const std::string> arguments);

}  // namespace quorvel

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

// The step text keeps every intermediate line; beyond this many bytes a calculation is refused.
inline constexpr std::size_t kMaxStepTextBytes = 64u << 20;
inline constexpr std::string_view kStepTextTooLarge =
    "Sorry, the steps of this calculation would take more than 64 MB. Please use fewer "
    "decimal places or split the calculation.";
inline constexpr std::string_view kNumberOutOfRange =
    "Sorry, a number in this calculation is out of range. The calculation is stopped.";
inline constexpr std::string_view kOutOfMemory =
    "Sorry, there is not enough memory for this calculation.";

std::string tanOfDegree(std::string_view argument);
// A function whose floating-point value overflowed; `name` is shown as "Exp(x)".
std::string functionTooLarge(std::string_view name);

// Longest expression the engine calculates: the step text grows with length times steps.
inline constexpr std::size_t kMaxExpressionLength = 4000;
std::string expressionTooLong();

// Texts that quote the user's input show its control characters escaped (as \x1b).
std::string invalidNumber(std::string_view operand);
std::string bracketCounts(int open, int close);

// Bytes below 0x20 and 0x7f as \xHH, so input quoted in a message cannot steer a terminal.
std::string escapeControls(std::string_view text);
// Where the character at 1-based `position` of `text` stands once escaped; -1 stays -1.
int escapedPosition(std::string_view text, int position);

}  // namespace quorvel::msg
