#include "calc/log_line.h"

#include <charconv>
#include <ctime>

#include "calc/text_util.h"

namespace quorvel {

namespace {

constexpr std::string_view kSeparator = "   ";

void appendTwoDigits(std::string& out, int value) {
    if (value < 10) out.push_back('0');
    out += std::to_string(value);
}

// Reads exactly `width` digits (any number when width is 0) and the character after them.
bool readNumber(std::string_view& text, std::size_t width, char follower, int low, int high,
                int& value) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(begin, end, value);
    const auto used = static_cast<std::size_t>(stop - begin);
    if (error != std::errc() || !IsDigit(*begin) || (width != 0 && used != width)) return false;
    if (stop == end || *stop != follower || value < low || value > high) return false;
    text.remove_prefix(used + 1);
    return true;
}

}  // namespace

LogTime LocalLogTime() {
    // A batch run asks for every calculation; within one second the answer cannot change, and
    // converting to local time costs far more than reading the clock.
    thread_local std::time_t lastSecond = -1;
    thread_local LogTime lastTime{};
    const std::time_t now = std::time(nullptr);
    if (now == lastSecond) return lastTime;
    std::tm local{};
    localtime_r(&now, &local);
    lastTime = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
    lastSecond = now;
    return lastTime;
}

std::string FormatLogStamp(const LogTime& t) {
    std::string stamp = std::to_string(t.year);
    stamp.push_back('-');
    appendTwoDigits(stamp, t.month);
    stamp.push_back('-');
    appendTwoDigits(stamp, t.day);
    stamp.push_back(' ');
    appendTwoDigits(stamp, t.hour);
    stamp.push_back(':');
    appendTwoDigits(stamp, t.minute);
    return stamp;
}

std::string FormatLogLine(const LogTime& time, std::string_view expression,
                          std::string_view result) {
    std::string line = FormatLogStamp(time);
    line.reserve(line.size() + kSeparator.size() + expression.size() + 1 + result.size());
    line.append(kSeparator).append(expression).append("=").append(result);
    return line;
}

namespace {

// Reads "YYYY-MM-DD HH:MM" and the three spaces after it off the front of `rest`.
bool readStamp(std::string_view& rest, LogTime& t) {
    if (rest.empty() || !readNumber(rest, 0, '-', 0, 999999, t.year) ||
        !readNumber(rest, 2, '-', 1, 12, t.month) || !readNumber(rest, 2, ' ', 1, 31, t.day) ||
        !readNumber(rest, 2, ':', 0, 23, t.hour) || !readNumber(rest, 2, ' ', 0, 59, t.minute)) {
        return false;
    }
    // The minute's follower was the first of the three spaces.
    if (rest.substr(0, kSeparator.size() - 1) != kSeparator.substr(1)) return false;
    rest.remove_prefix(kSeparator.size() - 1);
    return true;
}

}  // namespace

std::optional<LogLine> ParseLogLine(std::string_view line) {
    LogLine parsed;
    std::string_view rest = line;
    if (!readStamp(rest, parsed.time)) return std::nullopt;
    const std::size_t equals = rest.rfind('=');
    if (equals == std::string_view::npos) return std::nullopt;
    parsed.expression = std::string(rest.substr(0, equals));
    parsed.result = std::string(rest.substr(equals + 1));
    return parsed;
}

LogCells SplitLogCells(std::string_view line) {
    std::string_view rest = line;
    LogTime time;
    if (readStamp(rest, time)) {
        const std::size_t stampLength = line.size() - rest.size() - kSeparator.size();
        return {std::string(line.substr(0, stampLength)), std::string(Trim(rest))};
    }
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) return {{}, std::string(Trim(line))};
    return {std::string(Trim(line.substr(0, space))), std::string(Trim(line.substr(space + 1)))};
}

}  // namespace quorvel
