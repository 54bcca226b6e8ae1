#pragma once

// What lasts between calculations: the recent results Last1..Last5 and the log. The main
// window and quorvel-calc both calculate through one session, so the post-calculation step
// (shift the recent results, append the log line, ask for the data to be stored) is the same.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"
#include "calc/calculate.h"
#include "calc/log_line.h"

namespace quorvel {

// False for a plain number or an empty text: only those are not worth calculating.
bool HasSomethingToCalculate(std::string_view text);

struct Calculation {
    std::string result;
    std::string steps;    // only the expression and the result when steps are skipped
    std::string logLine;  // empty when the session keeps no log
};

// What the equal command ("=" or the Equal button) does with the input box text.
enum class EqualAction {
    Nothing,       // empty, or a plain number
    AppendEquals,  // "(M)" or an equation in x: the user types the rest after "="
    ClearInput,    // a text with "=" is a shown result or an assignment, never a new sum
    Calculate,
};
EqualAction DecideEqual(std::string_view text);

// The text the input box shows after a calculation: the typed text first when the
// calculated expression reads differently.
std::string ShownCalculation(std::string_view input, std::string_view steps);

enum class CommandKind { Nothing, ClearInput, Calculated, ParameterSet, Solved, Failed };

struct CommandOutcome {
    CommandKind kind = CommandKind::Nothing;
    std::string shown;  // the input box text afterwards
    std::string value;  // the result, the value set, or X
    // The step text when a calculation ran: Calculated, or an assignment's right side.
    std::string steps;
    // What to tell the user, in order, when the command failed.
    std::vector<CalcOutcome> failures;
};

class CalculatorSession {
public:
    using Clock = std::function<LogTime()>;
    using StoreRequest = std::function<void()>;

    // `log` is the caller's log list (the data file's), appended to after every calculation.
    CalculatorSession(CalcSettings settings, std::vector<std::string>& log, StoreRequest store = {},
                      Clock clock = LocalLogTime);

    // A calculation with its post-calculation step; nothing when it failed, and failure()
    // then says what to tell the user.
    std::optional<Calculation> calculate(std::string_view input);
    const CalcOutcome& failure() const { return m_failure; }

    // The Calculate button: a calculation, a parameter assignment (M)=value, or an equation.
    CommandOutcome calculateCommand(std::string_view input);

    // Letters F, K, M, W in either case; false for any other letter.
    bool setParameter(char letter, std::string value);
    std::optional<std::string> parameter(char letter) const;

    // A caller that shows only results skips the step text, and a terminal takes its lines
    // ending in "\n" (the shown text of a calculation or equation then ends its lines so too);
    // one that stores nothing keeps no log, so no log line is formatted. Written steps and the
    // log are on unless changed.
    void setStepText(StepText stepText) { m_stepText = stepText; }
    void setKeepsLog(bool keeps) { m_keepsLog = keeps; }
    // A caller that reads only the shown text of a calculation gets no copy of its steps in
    // CommandOutcome::steps.
    void setShownOnly(bool shownOnly) { m_shownOnly = shownOnly; }

    void pushResult(std::string result);
    const RecentResults& recentResults() const { return m_recent; }
    const std::vector<std::string>& log() const { return m_log; }
    const CalcSettings& settings() const { return m_settings; }
    CalcSettings& settings() { return m_settings; }

private:
    CommandOutcome assign(std::string_view input, char letter, std::string_view right);
    CommandOutcome solve(std::string_view input);

    CalcSettings m_settings;
    RecentResults m_recent = {"0", "0", "0", "0", "0"};
    std::vector<std::string>& m_log;
    CalcOutcome m_failure;
    StoreRequest m_store;
    Clock m_clock;
    StepText m_stepText = StepText::Written;
    bool m_keepsLog = true;
    bool m_shownOnly = false;
};

}  // namespace quorvel
