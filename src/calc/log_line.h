#pragma once

// The calculation log's line, "2026-12-08 09:05   2+3=5": a time stamp, three spaces, the
// expression, "=", the result. The calculator, the equation solver and the batch run write
// their stamps here, and the log manager reads lines back here.

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

struct LogTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    bool operator==(const LogTime&) const = default;
};

LogTime LocalLogTime();

// "2026-12-08 09:05": the year as a plain number, every other part two digits.
std::string FormatLogStamp(const LogTime& time);

std::string FormatLogLine(const LogTime& time, std::string_view expression,
                          std::string_view result);

struct LogLine {
    LogTime time;
    std::string expression;
    std::string result;
    bool operator==(const LogLine&) const = default;
};

// Nothing for a line of another form (a hand-edited log). The result is what follows the last
// "=", so the solver's "2x=4 =>  X=2" reads as expression "2x=4 =>  X" and result "2".
std::optional<LogLine> ParseLogLine(std::string_view line);

// The log manager's "Time" and "Expression" cells: the whole time stamp and what follows its
// three spaces. Cutting at the first space would cut the stamp between date and hour and put
// the hour into the expression that is spoken, copied and exported, so only a line of
// another form (a hand-edited log) is cut at its first space; both cells are trimmed.
struct LogCells {
    std::string time;
    std::string expression;
    bool operator==(const LogCells&) const = default;
};
LogCells SplitLogCells(std::string_view line);

}  // namespace quorvel
