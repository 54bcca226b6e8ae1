#pragma once

// quorvel-calc's reading of one input line: the calculator session of the window, plus what a
// terminal user expects of it (a plain number is answered, a line with nothing to calculate
// is told so, numbers in E form are read). One answer line per input line.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculator_session.h"
#include "tools/prompter.h"

namespace quorvel {

class SysDataHolder;

// Writes "Title: text" lines to standard error, behind "Line N: " while a line number is set.
class StderrPrompter final : public Prompter {
public:
    explicit StderrPrompter(std::ostream& err);
    void showMessage(std::string_view text, std::string_view title, MessageIcon) override;
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int position) override;
    // 0: no line number.
    void setLine(long line) { m_line = line; }

private:
    std::ostream& prefix();

    std::ostream& m_err;
    long m_line = 0;
};

class LineCalculator {
public:
    // `holder`: the data file to store into, or none.
    LineCalculator(bool steps, SysDataHolder* holder, const CalcSettings& settings,
                   StderrPrompter& prompter, std::ostream& out);

    void handle(std::string_view line);
    // A line longer than an expression may be, known only by its length: refused like one.
    void refuseTooLong();
    // After the last line of arguments, files or a pipe: input with no line to calculate
    // (none at all, or only blank ones) is told so and fails.
    void endOfInput();
    // 1 once a line failed or a store failed.
    int status() const { return m_failed || m_storeFailed ? 1 : 0; }

private:
    void store();
    void print(const CommandOutcome& outcome);
    bool answerWithoutCalculating(const std::string& text);
    bool convertUnits(std::string_view line);

    bool m_steps;
    SysDataHolder* m_holder;
    std::vector<std::string> m_log;  // the session's log when there is no data file
    CalculatorSession m_session;
    StderrPrompter& m_prompter;
    std::ostream& m_out;
    bool m_failed = false;
    bool m_storeFailed = false;
    bool m_anyText = false;  // some line was not blank
};

// Feeds every line of `in` to the calculator, numbering the messages when `numbered`. A UTF-8
// byte order mark before the first line is skipped. A line longer than an expression may be is
// refused without being held in memory.
void CalculateStream(std::istream& in, LineCalculator& calculator, StderrPrompter& prompter,
                     bool numbered, std::ostream& out);

}  // namespace quorvel
