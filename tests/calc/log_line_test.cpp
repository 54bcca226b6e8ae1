#include "calc/log_line.h"

#include <gtest/gtest.h>

#include <ctime>
#include <utility>

namespace quorvel {
namespace {

struct LineCase {
    LogTime time;
    const char* expression;
    const char* result;
    const char* line;
};

constexpr LineCase kLines[] = {
    {{2026, 3, 7, 9, 5}, "2+3", "5", "2026-03-07 09:05   2+3=5"},
    {{2026, 12, 31, 23, 59}, "1/3", "0.33", "2026-12-31 23:59   1/3=0.33"},
    {{2026, 1, 1, 0, 0}, "-2*3", "-6", "2026-01-01 00:00   -2*3=-6"},
    {{2026, 10, 10, 10, 10},
     "99999999999*2",
     "1.99999999998E+11",
     "2026-10-10 10:10   99999999999*2=1.99999999998E+11"},
    {{987, 2, 3, 4, 6}, "pi", "3.14", "987-02-03 04:06   pi=3.14"},
    {{2026, 3, 7, 9, 5}, "2x+3=7-x =>  X", "1.3", "2026-03-07 09:05   2x+3=7-x =>  X=1.3"},
};

TEST(LogLine, FormatsAndParsesBackTheSameParts) {
    for (const LineCase& c : kLines) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(FormatLogLine(c.time, c.expression, c.result), c.line);
        const auto parsed = ParseLogLine(c.line);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(*parsed, (LogLine{c.time, c.expression, c.result}));
        EXPECT_EQ(FormatLogLine(parsed->time, parsed->expression, parsed->result), c.line);
    }
}

TEST(LogLine, StampIsTheLineUpToItsSeparator) {
    for (const LineCase& c : kLines) {
        SCOPED_TRACE(c.line);
        const std::string stamp = FormatLogStamp(c.time);
        EXPECT_EQ(std::string(c.line).substr(0, stamp.size() + 3), stamp + "   ");
    }
}

TEST(LogLine, RejectsLinesOfAnotherForm) {
    constexpr const char* kBad[] = {
        "",
        "2+3=5",
        "2026-03-07 09:05 2+3=5",     // the batch run's one space
        "2026-03-07 09:05  2+3=5",    // two spaces
        "2026-03-07 09:05   2+3",     // no result
        "2026-3-07 09:05   2+3=5",    // month in one digit
        "2026-03-07 9:05   2+3=5",    // hour in one digit
        "2026-13-07 09:05   2+3=5",   // month 13
        "2026-03-00 09:05   2+3=5",   // day 0
        "2026-03-07 24:05   2+3=5",   // hour 24
        "2026-03-07 09:60   2+3=5",   // minute 60
        "-2026-03-07 09:05   2+3=5",  // signed year
        "2026-03-07T09:05   2+3=5",
        "2026-03-07 09:05",
    };
    for (const char* line : kBad) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseLogLine(line));
    }
}

TEST(LogCells, SplitAfterTheStampElseAtTheFirstSpace) {
    struct Case {
        const char* line;
        LogCells cells;
    };
    const Case kCases[] = {
        {"2026-03-07 09:05   2+3=5", {"2026-03-07 09:05", "2+3=5"}},
        {"2026-03-07 09:05   2x=4 =>  X=2", {"2026-03-07 09:05", "2x=4 =>  X=2"}},
        {"2026-03-07 09:05 2+3=5", {"2026-03-07", "09:05 2+3=5"}},
        {"2+3=5", {"", "2+3=5"}},
        {" 2+3=5 ", {"", "2+3=5"}},
        {"a  b\t", {"a", "b"}},
        {"", {"", ""}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(SplitLogCells(c.line), c.cells);
    }
}

// The clock keeps its last answer for the rest of a second; asked twice within one second it
// must still give the local time of now both times.
TEST(LocalLogTime, IsTheLocalTimeOfNow) {
    auto direct = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return std::pair{now, LogTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                      local.tm_hour, local.tm_min}};
    };
    int compared = 0;
    for (int attempt = 0; attempt < 5 && compared < 2; ++attempt) {
        const auto [before, expected] = direct();
        const LogTime first = LocalLogTime();
        const LogTime again = LocalLogTime();
        if (direct().first != before) continue;  // the second turned between the readings
        EXPECT_EQ(first, expected);
        EXPECT_EQ(again, expected);
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace quorvel
