#include "calc/calc_engine.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "calc/function_table.h"
#include "calc/messages.h"
#include "calc/short_decimal.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool endsWithIgnoreCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           equalsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

// Whether `head` ends with the "(" of a function whose bracket outlives its reduced argument.
bool isKeptFunctionBracket(std::string_view head) {
    if (head.empty() || head.back() != '(') return false;
    head.remove_suffix(1);
    for (const FunctionEntry& function : FunctionTable()) {
        if (function.bracketKept && endsWithIgnoreCase(head, function.name)) return true;
    }
    // "sec" and "arcsec" have no entry, yet their brackets have always been kept.
    return endsWithIgnoreCase(head, "sec");
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// One lookup per character: the table is rebuilt before every operation.
constexpr std::array<bool, 256> kOperatorChars = [] {
    std::array<bool, 256> table{};
    for (const char c : {'(', ')', '*', '+', '/', '=', '^', '-'}) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();

bool isOperatorChar(char c, std::size_t position) {
    return kOperatorChars[static_cast<unsigned char>(c)] && (c != '-' || position != 0);
}

int precedence(char c) {
    switch (c) {
        case '=':
            return 0;
        case '+':
        case '-':
            return 2;
        case '*':
        case '/':
            return 3;
        case '^':
            return 4;
        case '(':
        case ')':
            return 5;
        default:
            return -1;
    }
}

bool isBracketed(std::string_view t) {
    return t.size() >= 2 && t.front() == '(' && t.back() == ')';
}

// A plain number, or one in brackets.
bool isNumberMaybeBracketed(std::string_view t) {
    return IsPlainNumber(t) || (isBracketed(t) && IsPlainNumber(t.substr(1, t.size() - 2)));
}

// Digits with at most one point and at least one digit, after an optional sign.
bool isDecimalText(std::string_view t) {
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
    // Runs of digits either side of the point: the evaluator asks this of every operand.
    const char* p = t.data();
    const char* const end = p + t.size();
    auto skipDigits = [&p, end] {
        const char* const from = p;
        while (p != end && IsDigit(*p)) ++p;
        return p != from;
    };
    bool digit = skipDigits();
    if (p != end && *p == '.') {
        ++p;
        digit = skipDigits() || digit;
    }
    return p == end && digit;
}

bool isParameterLetter(char c) { return ParameterIndex(c) >= 0; }

// Texts whose capacity is kept from one calculation to the next on the same thread; an
// engine lives for one calculation only. The evaluator never runs inside itself.
struct Scratch {
    std::string valueText;  // the last operation's result
    std::string line;       // the line a round works on
    std::string flat;       // the bracket-free stretch being reduced
};

Scratch& scratch() {
    thread_local Scratch buffers;
    return buffers;
}

std::size_t matchingOpen(std::string_view line, std::size_t close) {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (line[i] == ')') ++depth;
        if (line[i] == '(' && --depth == 0) return i;
    }
    return std::string_view::npos;
}

}  // namespace

bool OperatorTable::push(std::int32_t position) {
    if (m_count == kCapacity) return false;
    m_positions[m_count++] = position;
    return true;
}

std::optional<std::string_view> FunctionNameRecogniser::find(std::string_view text,
                                                             Mode mode) const {
    for (const FunctionEntry* function : FunctionsLongestFirst()) {
        const std::string_view name = function->name;
        if (text.size() < name.size()) continue;
        const std::string_view part = mode == Mode::BeginsWith
                                          ? text.substr(0, name.size())
                                          : text.substr(text.size() - name.size());
        if (equalsIgnoreCase(part, name)) return name;
    }
    return std::nullopt;
}

bool IsPlainNumber(std::string_view text) {
    if (isBracketed(text)) text = text.substr(1, text.size() - 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '+' || c == '-') && i == 0) continue;
        if (IsDigit(c) || c == '.') continue;
        const char lower = LowerAscii(c);
        if ((lower >= 'a' && lower <= 'f') || lower == 'h' || lower == 'x') continue;
        return false;
    }
    return true;
}

namespace {

struct Operand {
    bool negative;
    std::string_view digits;  // unsigned
};

std::optional<Operand> readOperand(std::string_view t) {
    bool negate = false;  // from the -( ) forms peeled off so far
    for (;;) {
        if (isBracketed(t)) {
            t = t.substr(1, t.size() - 2);
        } else if (t.size() >= 3 && (t[0] == '-' || t[0] == '+') && isBracketed(t.substr(1))) {
            negate = negate != (t[0] == '-');
            t = t.substr(2, t.size() - 3);
        } else {
            break;
        }
    }
    if (!isDecimalText(t)) return std::nullopt;
    if (t[0] == '-' || t[0] == '+') {
        negate = negate != (t[0] == '-');
        t.remove_prefix(1);
    }
    return Operand{negate, t};
}

bool isOperand(std::string_view t) { return readOperand(t).has_value(); }

std::string operandText(const Operand& operand) {
    std::string value;
    value.reserve(operand.digits.size() + 1);
    if (operand.negative) value.push_back('-');
    value.append(operand.digits);
    return value;
}

}  // namespace

std::optional<std::string> ReadOperand(std::string_view text) {
    const auto operand = readOperand(text);
    if (!operand) return std::nullopt;
    return operandText(*operand);
}

namespace {

// Without a letter the only operands are numbers and brackets, so a "*" goes between ")" or a
// digit and a following "(", and between ")" and a following digit. Most expressions have no
// letter, and this walk costs a fraction of the general one.
bool insertWithoutLetters(std::string_view text, std::string& out) {
    out.resize(2 * text.size());  // room for a "*" before every character
    char* write = out.data();
    char previous = 0;
    for (const char c : text) {
        if (isLetter(c)) return false;
        if ((c == '(' && (previous == ')' || IsDigit(previous))) ||
            (IsDigit(c) && previous == ')')) {
            *write++ = '*';
        }
        *write++ = c;
        previous = c;
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
    return true;
}

}  // namespace

void InsertImplicitMultiplication(std::string_view text, std::string& out) {
    if (insertWithoutLetters(text, out)) return;
    const FunctionNameRecogniser functions;
    out.clear();
    out.reserve(text.size() + text.size() / 4);
    auto endsOperand = [&out] {
        if (out.empty()) return false;
        const char c = out.back();
        if (c == ')' || IsDigit(c) || c == 'x' || c == 'X' || isParameterLetter(c)) return true;
        return (c == 'i' || c == 'I') && endsWithIgnoreCase(out, "pi");
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const std::string_view rest = text.substr(i);
        // The names below all begin with a letter, so other characters skip the comparisons.
        const bool startsOperand =
            c == '(' || IsDigit(c) || c == 'x' || c == 'X' || isParameterLetter(c) ||
            (isLetter(c) && ((rest.size() >= 2 && equalsIgnoreCase(rest.substr(0, 2), "pi")) ||
                             (rest.size() >= 4 && equalsIgnoreCase(rest.substr(0, 4), "last")) ||
                             functions.find(rest, FunctionNameRecogniser::Mode::BeginsWith)));
        // Digits after a digit or point are one number; the digit of last1 belongs to its name.
        const bool sameNumber =
            IsDigit(c) && !out.empty() &&
            (IsDigit(out.back()) || out.back() == '.' || endsWithIgnoreCase(out, "last"));
        if (startsOperand && !sameNumber && endsOperand()) out.push_back('*');
        out.push_back(c);
    }
}

std::string InsertImplicitMultiplication(std::string_view text) {
    std::string out;
    InsertImplicitMultiplication(text, out);
    return out;
}

CalcEngine::CalcEngine(std::int32_t workingDigits, AngleUnit angleUnit)
    : m_workingDigits(workingDigits), m_angleUnit(angleUnit) {}

void CalcEngine::fail(MessageId id, std::initializer_list<std::string_view> arguments) {
    m_error = id;
    m_errorArguments.assign(arguments.begin(), arguments.end());
}

CalcOutcome CalcEngine::failure() const {
    CalcOutcome outcome;
    outcome.error = m_error;
    outcome.arguments = m_errorArguments;
    return outcome;
}

bool CalcEngine::fits(std::size_t bytes) {
    if (bytes <= msg::kMaxStepTextBytes) return true;
    fail(MessageId::StepTextTooLarge);
    return false;
}

bool CalcEngine::checkOperatorCounts(std::string_view expression) {
    // One count per open bracket, the whole text first; kept per thread between calls.
    thread_local std::vector<std::size_t> counts;
    counts.assign(1, 0);
    for (std::size_t i = 0; i < expression.size(); ++i) {
        const char c = expression[i];
        if (c == '(') {
            counts.push_back(0);
        } else if (c == ')') {
            if (counts.size() > 1) counts.pop_back();
        } else if (c == '+' || c == '*' || c == '/' || c == '^' ||
                   (c == '-' && i != 0 && expression[i - 1] != '(')) {
            // The stretch's closing "=" takes the last entry of the table.
            if (++counts.back() >= OperatorTable::kCapacity) {
                fail(MessageId::TooManyOperators);
                return false;
            }
        }
    }
    return true;
}

CalcOutcome CalcEngine::CalculateSteps(std::string_view expression, int radix) {
    CalcOutcome outcome;
    CalculateSteps(expression, radix, outcome);
    return outcome;
}

void CalcEngine::CalculateSteps(std::string_view expression, int radix, CalcOutcome& outcome,
                                StepText stepText) {
    m_error = MessageId::None;
    m_errorArguments.clear();
    outcome.clear();
    if (radix == 10 && CalculateStepsOnTokens(expression, stepText, outcome)) return;
    CalculateStepsOnText(expression, radix, outcome, stepText);
}

void CalcEngine::CalculateStepsOnText(std::string_view expression, int radix, CalcOutcome& outcome,
                                      StepText stepText) {
    m_error = MessageId::None;
    m_errorArguments.clear();
    outcome.clear();
    const auto caught = CatchNumberErrors(
        [&] { outcome.ok = reduce(expression, radix, outcome.result, outcome.steps); });
    if (caught) {
        outcome.ok = false;
        fail(caught->id);
    }
    if (outcome.ok) {
        if (stepText == StepText::Skipped) {
            outcome.steps.assign(expression).append("\r\n=").append(outcome.result);
        } else if (stepText == StepText::Terminal) {
            EraseCarriageReturns(outcome.steps);  // rare here: names and other radices
        }
        return;
    }
    outcome.error = m_error;
    outcome.arguments.swap(m_errorArguments);
    outcome.result.clear();
    outcome.steps.clear();
}

bool CalcEngine::reduce(std::string_view expression, int radix, std::string& result,
                        std::string& steps) {
    const auto open = std::count(expression.begin(), expression.end(), '(');
    const auto close = std::count(expression.begin(), expression.end(), ')');
    if (open != close) {
        fail(MessageId::BracketCounts, {std::to_string(open), std::to_string(close)});
        return false;
    }
    if (expression.size() > msg::kMaxExpressionLength) {
        fail(MessageId::ExpressionTooLong);
        return false;
    }
    if (!checkOperatorCounts(expression)) return false;

    // The step text is built where the caller wants it, in a buffer it may be reusing.
    std::string& working = steps;
    working.clear();
    working.reserve(4 * expression.size() + 64);  // most calculations take a few lines
    working.append(expression).append("\r\n=").append(expression);
    Scratch& buffers = scratch();
    // A round takes a bracket, a function's argument and then the function, or the last
    // stretch, so this many rounds always reach a single number.
    const auto maxRounds = 2 * open + 2;
    for (std::int64_t round = 0;; ++round) {
        const std::size_t lineStart = working.rfind('=') + 1;
        const std::string_view current = std::string_view(working).substr(lineStart);
        if (isOperand(current)) break;
        buffers.line.assign(current);  // the working text changes under the views taken from it
        const std::string& line = buffers.line;
        if (round == maxRounds) {
            fail(MessageId::InvalidExpression);
            return false;
        }

        bool flat = true;
        bool handled = false;
        for (std::size_t closeAt = line.find(')'); closeAt != std::string::npos;
             closeAt = line.find(')', closeAt + 1)) {
            const std::size_t openAt = matchingOpen(line, closeAt);
            const std::string_view content =
                std::string_view(line).substr(openAt + 1, closeAt - openAt - 1);
            const auto function = m_functions.find(std::string_view(line).substr(0, openAt),
                                                   FunctionNameRecogniser::Mode::EndsWith);
            if (IsPlainNumber(content)) {
                if (!function) continue;  // a bracketed number is an operand
                if (!EvaluateFunction(working, lineStart + openAt - function->size(), *function,
                                      content, lineStart + closeAt)) {
                    return false;
                }
                flat = false;
            } else {
                buffers.flat.assign(content);
                if (!EvaluateFlat(working, lineStart, std::string_view(line).substr(0, openAt + 1),
                                  buffers.flat, std::string_view(line).substr(closeAt), radix)) {
                    return false;
                }
            }
            handled = true;
            break;
        }
        if (!handled) {
            buffers.flat.assign(line);
            if (!EvaluateFlat(working, lineStart, {}, buffers.flat, {}, radix)) return false;
        }

        // The next round works on a fresh copy of the last line, unless nothing is left to do.
        const std::size_t lastStart = working.rfind('=') + 1;
        if (flat && !isOperand(std::string_view(working).substr(lastStart))) {
            if (!fits(working.size() + 3 + (working.size() - lastStart))) return false;
            const std::size_t length = working.size() - lastStart;
            working.reserve(working.size() + 3 + length);
            working.append("\r\n=", 3);
            working.append(working, lastStart, length);
        }
    }

    const std::size_t lastStart = working.rfind('=') + 1;
    const Operand last = *readOperand(std::string_view(working).substr(lastStart));
    result.clear();
    if (last.negative) result.push_back('-');
    result.append(last.digits);
    working.replace(lastStart, std::string::npos, result);
    return true;
}

bool CalcEngine::buildOperatorTable(std::string_view text) {
    m_operators.clear();
    auto noFunctionBefore = [&](std::int32_t open) {
        return !m_functions.find(text.substr(0, static_cast<std::size_t>(open)),
                                 FunctionNameRecogniser::Mode::EndsWith);
    };
    auto between = [&](std::int32_t open, std::size_t close) {
        return text.substr(static_cast<std::size_t>(open) + 1,
                           close - static_cast<std::size_t>(open) - 1);
    };
    for (std::size_t p = 0; p < text.size(); ++p) {
        const char c = text[p];
        if (!isOperatorChar(c, p)) continue;
        if (c == ')' && m_operators.size() >= 1) {
            const std::int32_t last = m_operators.back();
            if (text[static_cast<std::size_t>(last)] == '(' && noFunctionBefore(last) &&
                IsPlainNumber(between(last, p))) {
                m_operators.pop();  // a bracketed number is one operand
                continue;
            }
            if (m_operators.size() >= 2) {
                const std::int32_t open = m_operators[m_operators.size() - 2];
                const char sign = text[static_cast<std::size_t>(last)];
                if ((sign == '-' || sign == '+') && text[static_cast<std::size_t>(open)] == '(' &&
                    noFunctionBefore(open) && isNumberMaybeBracketed(between(open, p))) {
                    m_operators.pop();
                    m_operators.pop();
                    continue;
                }
            }
        }
        if (!m_operators.push(static_cast<std::int32_t>(p))) {
            fail(MessageId::TooManyOperators);
            return false;
        }
    }
    return true;
}

bool CalcEngine::EvaluateFlat(std::string& working, std::size_t lineStart, std::string_view before,
                              std::string& expression, std::string_view after, int radix) {
    // The last value of the stretch replaces it, and a bracket that is not a function's goes.
    auto finish = [&](const std::string& text) {
        std::string_view head = before;
        std::string_view tail = after;
        const bool functionBracket = isKeptFunctionBracket(head);
        if (!head.empty() && head.back() == '(' && !functionBracket && !tail.empty()) {
            head.remove_suffix(1);
            tail.remove_prefix(1);
        }
        if (!fits(lineStart + head.size() + text.size() + tail.size())) return false;
        working.resize(lineStart);
        working.append(head).append(text).append(tail);
        return true;
    };

    expression.push_back('=');
    if (!buildOperatorTable(expression)) return false;
    if (m_operators.size() == 1) {
        // Brackets nested around one number, as in 3-(((-4))), leave nothing to apply.
        if (const auto value =
                ReadOperand(std::string_view(expression).substr(0, expression.size() - 1))) {
            return finish(value->front() == '-' ? "(" + *value + ")" : *value);
        }
        fail(MessageId::NoOperator);
        return false;
    }
    while (m_operators.size() > 1) {
        std::size_t i = 0;
        while (precedence(expression[static_cast<std::size_t>(m_operators[i])]) <
               precedence(expression[static_cast<std::size_t>(m_operators[i + 1])])) {
            ++i;
        }
        const std::size_t at = static_cast<std::size_t>(m_operators[i]);
        const std::size_t leftStart = i == 0 ? 0 : static_cast<std::size_t>(m_operators[i - 1]) + 1;
        const std::size_t rightEnd = static_cast<std::size_t>(m_operators[i + 1]);
        const std::string_view left =
            std::string_view(expression).substr(leftStart, at - leftStart);
        const std::string_view right =
            std::string_view(expression).substr(at + 1, rightEnd - at - 1);

        const auto x = readOperand(left);
        const auto y = readOperand(right);
        if (!x || !y) {
            fail(MessageId::InvalidNumber, {x ? right : left});
            return false;
        }
        std::string& text = scratch().valueText;
        bool negative;
        if (radix == 10 && ShortDecimalApply(expression[at], x->negative, x->digits, y->negative,
                                             y->digits, m_workingDigits, text)) {
            negative = text.front() == '-';
        } else {
            DecimalNumber value;
            if (!ApplyOperator(expression[at],
                               DecimalNumber(operandText(*x), radix, m_workingDigits),
                               DecimalNumber(operandText(*y), radix, m_workingDigits), value)) {
                return false;
            }
            text = value.toString(radix, m_workingDigits);
            negative = value.sign() < 0;
        }
        if (negative) {
            text.insert(text.begin(), '(');
            text.push_back(')');
        }
        expression.replace(leftStart, rightEnd - leftStart, text);

        if (expression.size() == text.size() + 1) return finish(text);
        if (!fits(lineStart + before.size() + expression.size() - 1 + after.size() + 3)) {
            return false;
        }
        working.resize(lineStart);
        working.append(before).append(expression, 0, expression.size() - 1).append(after);
        working += "\r\n=";
        lineStart = working.size();
        if (!buildOperatorTable(expression)) return false;
    }
    return true;
}

bool CalcEngine::ApplyOperator(char op, const DecimalNumber& x, const DecimalNumber& y,
                               DecimalNumber& out) {
    switch (op) {
        case '+':
            out = add(x, y, m_workingDigits);
            return true;
        case '-':
            out = subtract(x, y, m_workingDigits);
            return true;
        case '*':
            out = multiply(x, y, m_workingDigits);
            return true;
        case '/':
            if (y.isZero()) {
                fail(MessageId::DenominatorZero);
                return false;
            }
            out = divide(x, y, m_workingDigits);
            return true;
        case '^':
            return power(x, y, out);
        default:
            fail(MessageId::InvalidExpression);
            return false;
    }
}

}  // namespace quorvel
