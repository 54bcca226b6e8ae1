#pragma once

// What one line of a batch run becomes in its mode: the calculations the rule finds are
// checked, calculated with "0" for Last1..Last5 and written as the mode says; one that fails
// is copied unchanged and counted in the outcome.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_outcome.h"
#include "calc/calculate.h"
#include "calc/log_line.h"
#include "calc/syntax_checker.h"
#include "tools/batch_run.h"
#include "tools/calculation_finder.h"
#include "tools/prompter.h"

namespace quorvel {

class BatchLineProcessor {
public:
    // All four must outlive the processor; the outcome takes the counts and failures.
    BatchLineProcessor(const BatchOptions& options, Prompter& prompter, const BatchHooks& hooks,
                       BatchOutcome& outcome)
        : m_options(options),
          m_prompter(prompter),
          m_callback(hooks.onCalculation),
          m_onLogLine(hooks.onLogLine),
          m_outcome(outcome) {}

    // The source line the next processLine() call is, for the failures it reports.
    void setLine(std::size_t line) { m_line = line; }

    // The processed line, valid until the next call: its buffers serve every line of a run.
    std::string_view processLine(std::string_view line);

private:
    bool calculate(std::string_view text, std::string& value, std::string& steps);
    // Only the first failure is shown; a long file with many bad lines would otherwise be one
    // modal box after another.
    void fail(std::string_view text, std::string_view message, const CalcOutcome& failure);

    const BatchOptions& m_options;
    Prompter& m_prompter;
    const BatchCallback& m_callback;
    const std::function<void(std::string_view)>& m_onLogLine;
    BatchOutcome& m_outcome;
    std::size_t m_line = 0;
    SyntaxChecker m_checker;
    const RecentResults m_recent = {"0", "0", "0", "0", "0"};
    // Kept from line to line so that a long run does not allocate them anew each time.
    std::vector<LineSegment> m_segments;
    std::string m_out;
    std::string m_value;
    std::string m_steps;
    std::string m_lowered;
    CalcOutcome m_calculated;
    BatchEntry m_entry;
    std::optional<LogTime> m_stampTime;
    std::string m_stamp;
};

}  // namespace quorvel
