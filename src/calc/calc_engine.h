#pragma once

// The step-by-step evaluator. A calculation is reduced the way a pupil does it on paper: the
// innermost bracket first, then one operation at a time by precedence, and every operation
// writes the whole expression again as a new line of the step text ("\r\n" between lines,
// every line after the first starting with "="). The text after the last "=" is always what is
// still to be reduced. Rounds repeat until that line is a single number: a round evaluates one
// function whose bracket holds a number, or one bracket-free stretch.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_outcome.h"
#include "calc/calc_settings.h"
#include "calc/decimal_number.h"

namespace quorvel {

// Positions of the operator characters of one bracket-free text, in text order.
class OperatorTable {
public:
    static constexpr std::size_t kCapacity = 256;

    void clear() { m_count = 0; }
    // False when the table is full; nothing is written past its end.
    bool push(std::int32_t position);
    void pop() { --m_count; }
    std::size_t size() const { return m_count; }
    std::int32_t operator[](std::size_t i) const { return m_positions[i]; }
    std::int32_t back() const { return m_positions[m_count - 1]; }

private:
    // Left unfilled: only the first m_count entries are ever read, and an engine per
    // calculation would otherwise clear a kilobyte each time.
    std::array<std::int32_t, kCapacity> m_positions;
    std::size_t m_count = 0;
};

class FunctionNameRecogniser {
public:
    enum class Mode { EndsWith = 0, BeginsWith = 1 };

    // The first name, in the evaluator's order (longer names before their prefixes), that the
    // text begins or ends with; case is ignored.
    std::optional<std::string_view> find(std::string_view text, Mode mode) const;
};

// Digits, points, the letters of other radices and a leading sign; "(...)" is looked into.
// Lenient on purpose: it decides which brackets are operands, not whether a number is valid.
bool IsPlainNumber(std::string_view text);

// Makes "2(3+4)", "2pi", "3x" and ")(" explicit products.
std::string InsertImplicitMultiplication(std::string_view text);
// The same into `out`, whose capacity is reused; `out` must not hold `text`.
void InsertImplicitMultiplication(std::string_view text, std::string& out);

// The value an operand text stands for, with its brackets and doubled signs resolved
// ("(-5)" -> "-5", "-(-5)" -> "5", "((5))" -> "5"), or nothing when it is no decimal number.
std::optional<std::string> ReadOperand(std::string_view text);

struct CaughtError {
    MessageId id;
};

// Runs `work` and turns what the number type may throw (std::domain_error, std::overflow_error)
// and exhausted memory (std::bad_alloc, std::length_error) into a failure to report; nothing
// when `work` returned normally. Other exceptions are bugs and pass through. A template, so
// that wrapping every calculation costs no std::function and its allocation.
template <typename Work>
std::optional<CaughtError> CatchNumberErrors(Work&& work) {
    try {
        work();
    } catch (const std::domain_error&) {
        return CaughtError{MessageId::NumberOutOfRange};
    } catch (const std::overflow_error&) {
        return CaughtError{MessageId::NumberOutOfRange};
    } catch (const std::bad_alloc&) {
        return CaughtError{MessageId::OutOfMemory};
    } catch (const std::length_error&) {
        return CaughtError{MessageId::OutOfMemory};
    }
    return std::nullopt;
}

// Whether a calculation writes its step text or only its result. Without it the outcome's
// steps hold the expression and the unrounded result as two lines ("E\r\n=R"). Written
// lines end in "\r\n", as the box, the log and the data file keep them; Terminal lines end in
// "\n", so that a long line's megabytes of steps go to a terminal or a pipe as they are.
enum class StepText { Written, Terminal, Skipped };

constexpr std::string_view StepLineBreak(StepText stepText) {
    return stepText == StepText::Terminal ? "\n" : "\r\n";
}

class CalcEngine {
public:
    CalcEngine(std::int32_t workingDigits, AngleUnit angleUnit);

    // The result and the step text, or the failure to report. Refuses up
    // front what would overrun the operator table, and stops when the step text would pass
    // msg::kMaxStepTextBytes.
    CalcOutcome CalculateSteps(std::string_view expression, int radix);
    // The same into `outcome`, whose texts keep their capacity: a caller with many
    // calculations hands in the same one each time. `expression` must not be one of them.
    void CalculateSteps(std::string_view expression, int radix, CalcOutcome& outcome,
                        StepText stepText = StepText::Written);
    // The line-by-line reduction alone, as every calculation ran before the token reduction;
    // what the token reduction leaves to it, and the oracle it is tested against.
    void CalculateStepsOnText(std::string_view expression, int radix, CalcOutcome& outcome,
                              StepText stepText = StepText::Written);

    // Applies one of + - * / ^ with the working digits; false with the failure recorded.
    bool ApplyOperator(char op, const DecimalNumber& x, const DecimalNumber& y, DecimalNumber& out);

    // Checks every arcsin and arccos argument of a substituted expression before evaluation.
    bool CheckInverseArguments(std::string_view expression);

    std::int32_t workingDigits() const { return m_workingDigits; }

    // Functions and non-integer powers to the working digits instead of double precision.
    void setPreciseFunctions(bool on) { m_precise = on; }

    // The last failure recorded, for a caller of ApplyOperator or CheckInverseArguments.
    CalcOutcome failure() const;

    // The token reduction alone: true with the outcome when it could take the expression,
    // false when it leaves it to the line-by-line reduction (names, other
    // radices, any failure, a step text near its limit).
    bool CalculateStepsOnTokens(std::string_view expression, StepText stepText,
                                CalcOutcome& outcome);

private:
    bool reduce(std::string_view expression, int radix, std::string& result, std::string& steps);
    // False (with the failure recorded) when a bracket-free stretch holds more operators than
    // the table takes; nested brackets count as one operand of their stretch.
    bool checkOperatorCounts(std::string_view expression);
    // False (with the failure recorded) when the step text would grow to `bytes`.
    bool fits(std::size_t bytes);
    bool buildOperatorTable(std::string_view text);
    bool power(const DecimalNumber& x, const DecimalNumber& y, DecimalNumber& out);
    // Reduces the bracket-free `expression` that stands in the current line between `before`
    // and `after`; the current line starts at `lineStart` of `working`.
    // `expression` is worked on in place.
    bool EvaluateFlat(std::string& working, std::size_t lineStart, std::string_view before,
                      std::string& expression, std::string_view after, int radix);
    // Replaces name(argument) in the current line by the function's value, writing no line.
    bool EvaluateFunction(std::string& working, std::size_t nameStart, std::string_view name,
                          std::string_view argument, std::size_t closeBracket);
    std::optional<std::string> functionValue(std::string_view name, std::string_view argument);
    std::optional<std::string> preciseValue(std::string_view name, const std::string& argument);
    std::optional<std::string> floatingResult(std::string_view name, double value,
                                              const char* format);
    DecimalNumber pi() const;
    DecimalNumber toRadians(const DecimalNumber& degrees) const;
    DecimalNumber toDegrees(const DecimalNumber& radians) const;
    int resultPlaces() const;
    void fail(MessageId id, std::initializer_list<std::string_view> arguments = {});

    OperatorTable m_operators;
    std::int32_t m_workingDigits;
    FunctionNameRecogniser m_functions;
    AngleUnit m_angleUnit;
    MessageId m_error = MessageId::None;
    std::vector<std::string> m_errorArguments;
    bool m_precise = false;
};

}  // namespace quorvel
