#include "calc/calculator_session.h"

#include <cctype>

#include "calc/calc_engine.h"
#include "calc/equation_solver.h"
#include "calc/messages.h"
#include "calc/text_util.h"

namespace quorvel {

bool HasSomethingToCalculate(std::string_view text) {
    std::string_view body = text;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
    // One walk: find_first_of calls memchr for every character, on every line.
    bool letter = false;
    for (const char c : body) {
        switch (c) {
            case '(':
            case ')':
            case '*':
            case '+':
            case '-':
            case '/':
            case '^':
                return true;
            default:
                break;
        }
        if (ParameterIndex(c) >= 0) return true;
        letter = letter || (LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z');
    }
    if (!letter) return false;
    for (std::string_view name : {"last1", "last2", "last3", "last4", "last5", "pi"}) {
        if (ContainsIgnoreCase(text, name)) return true;
    }
    return false;
}

namespace {

// "(M)" and the like: the letter, or 0.
char assignedLetter(std::string_view left) {
    if (left.size() == 3 && left[0] == '(' && left[2] == ')' && ParameterIndex(left[1]) >= 0) {
        return left[1];
    }
    return 0;
}

// The unknown x, but not the x of "exp".
bool mentionsUnknown(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (LowerAscii(text[i]) != 'x') continue;
        if (i == 0 || i + 1 == text.size() || !EqualsIgnoreCase(text.substr(i - 1, 3), "exp")) {
            return true;
        }
    }
    return false;
}

}  // namespace

EqualAction DecideEqual(std::string_view text) {
    if (text.empty()) return EqualAction::Nothing;
    if (assignedLetter(text)) return EqualAction::AppendEquals;
    if (text.find('=') != std::string_view::npos) return EqualAction::ClearInput;
    if (!HasSomethingToCalculate(text)) return EqualAction::Nothing;
    if (mentionsUnknown(text)) return EqualAction::AppendEquals;
    return EqualAction::Calculate;
}

namespace {

// The first line of a step text, whichever way its lines end.
std::string_view firstLine(std::string_view steps) {
    return WithoutTrailingCr(steps.substr(0, steps.find('\n')));
}

bool typedAsCalculated(std::string_view input, std::string_view steps) {
    return EqualsIgnoreCase(firstLine(steps), Trim(input));
}

// ShownCalculation, taking over `steps` when the text was calculated as typed.
std::string shownTakingSteps(std::string_view input, std::string&& steps,
                             std::string_view lineBreak) {
    if (typedAsCalculated(input, steps)) return std::move(steps);
    return std::string(Trim(input)).append(lineBreak).append("=").append(steps);
}

}  // namespace

std::string ShownCalculation(std::string_view input, std::string_view steps) {
    if (typedAsCalculated(input, steps)) return std::string(steps);
    const std::string_view typed = Trim(input);
    std::string shown;
    shown.reserve(typed.size() + 3 + steps.size());
    shown.append(typed).append("\r\n=").append(steps);
    return shown;
}

CalculatorSession::CalculatorSession(CalcSettings settings, std::vector<std::string>& log,
                                     StoreRequest store, Clock clock)
    : m_settings(std::move(settings)),
      m_log(log),
      m_store(std::move(store)),
      m_clock(std::move(clock)) {}

bool CalculatorSession::setParameter(char letter, std::string value) {
    const int index = ParameterIndex(letter);
    if (index < 0) return false;
    m_settings.parameters[static_cast<std::size_t>(index)] = std::move(value);
    if (m_store) m_store();
    return true;
}

std::optional<std::string> CalculatorSession::parameter(char letter) const {
    const int index = ParameterIndex(letter);
    if (index < 0) return std::nullopt;
    return m_settings.parameters[static_cast<std::size_t>(index)];
}

CommandOutcome CalculatorSession::calculateCommand(std::string_view input) {
    const auto equals = input.find('=');
    if (!HasSomethingToCalculate(input)) {
        // "X=5" and "2x=4" hold no operator, yet they are equations.
        if (equals != std::string_view::npos && mentionsUnknown(input)) return solve(input);
        return {};
    }
    if (equals == std::string_view::npos) {
        auto c = calculate(input);
        if (!c) return {CommandKind::Failed, std::string(input), {}, {}, {m_failure}};
        // Without step text there is no box to show it in; the short steps stand for it. A
        // long line's step text runs to megabytes: it is copied only for a caller that reads
        // it beside the shown text.
        std::string steps = m_shownOnly ? std::string() : c->steps;
        std::string shown =
            m_stepText == StepText::Skipped
                ? std::move(c->steps)
                : shownTakingSteps(input, std::move(c->steps), StepLineBreak(m_stepText));
        return {
            CommandKind::Calculated, std::move(shown), std::move(c->result), std::move(steps), {}};
    }
    const std::string_view left = input.substr(0, equals);
    const std::string_view right = input.substr(equals + 1);
    if (const char letter = assignedLetter(left)) return assign(input, letter, right);
    if (mentionsUnknown(left) || mentionsUnknown(right)) return solve(input);
    return {CommandKind::ClearInput, {}, {}, {}, {}};
}

CommandOutcome CalculatorSession::assign(std::string_view input, char letter,
                                         std::string_view right) {
    // Only a real number is taken as it stands; anything else is calculated, so a parameter
    // never holds a text that later reads as no number.
    std::optional<std::string> value = ReadOperand(Trim(right));
    std::string steps;
    if (!value) {
        const auto c = calculate(right);
        if (!c) {
            std::vector<CalcOutcome> failures{m_failure, Failure(MessageId::ParameterNotSet)};
            if (m_failure.error == MessageId::None) failures.erase(failures.begin());
            return {CommandKind::Failed, std::string(input), {}, {}, std::move(failures)};
        }
        value = c->result;
        steps = std::move(c->steps);
    }
    setParameter(letter, *value);
    std::string shown(input);
    shown += "  Set the user parameter ";
    shown.push_back(letter);
    shown += " successfully.";
    return {CommandKind::ParameterSet, std::move(shown), *value, std::move(steps), {}};
}

CommandOutcome CalculatorSession::solve(std::string_view input) {
    SolveResult solved;
    if (!SolveEquation(input, m_recent, m_settings, solved)) {
        // The box is emptied; the dialog says why.
        return {CommandKind::Failed, {}, {}, {}, {std::move(solved.failure)}};
    }
    if (m_keepsLog) m_log.push_back(FormatLogLine(m_clock(), solved.logExpression, solved.value));
    if (m_store) m_store();
    if (m_stepText == StepText::Terminal) EraseCarriageReturns(solved.steps);  // a few lines
    return {CommandKind::Solved, std::move(solved.steps), std::move(solved.value), {}, {}};
}

void CalculatorSession::pushResult(std::string result) {
    for (std::size_t i = m_recent.size() - 1; i > 0; --i) m_recent[i] = std::move(m_recent[i - 1]);
    m_recent[0] = std::move(result);
}

std::optional<Calculation> CalculatorSession::calculate(std::string_view input) {
    CalcOutcome& outcome = m_failure;
    CalculateExpression(input, m_recent, m_settings, CheckScope::AllRules, outcome, m_stepText);
    if (!outcome.ok) return std::nullopt;
    Calculation c{std::move(outcome.result), std::move(outcome.steps), {}};
    pushResult(c.result);
    if (m_keepsLog) {
        c.logLine = FormatLogLine(m_clock(), firstLine(c.steps), c.result);
        m_log.push_back(c.logLine);
    }
    if (m_store) m_store();
    return c;
}

}  // namespace quorvel
