#include "calc/calculator_session.h"

#include <cctype>
#include <ctime>

namespace quorvel {

LogTime LocalLogTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

namespace {

void appendTwoDigits(std::string& out, int value) {
    if (value < 10) out.push_back('0');
    out += std::to_string(value);
}

}  // namespace

std::string MakeLogLine(const LogTime& t, std::string_view steps, std::string_view result) {
    const std::string_view firstLine = steps.substr(0, steps.find("\r\n"));
    std::string line = std::to_string(t.year);
    line.reserve(20 + firstLine.size() + result.size());
    line.push_back('-');
    appendTwoDigits(line, t.month);
    line.push_back('-');
    appendTwoDigits(line, t.day);
    line.push_back(' ');
    appendTwoDigits(line, t.hour);
    line.push_back(':');
    appendTwoDigits(line, t.minute);
    line.append("   ").append(firstLine).append("=").append(result);
    return line;
}

bool HasSomethingToCalculate(std::string_view text) {
    std::string_view body = text;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
    if (body.find_first_of("()*+-/^") != std::string_view::npos) return true;
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find_first_of("mfkw") != std::string::npos) return true;
    for (std::string_view name : {"last1", "last2", "last3", "last4", "last5", "pi"}) {
        if (lower.find(name) != std::string::npos) return true;
    }
    return false;
}

CalculatorSession::CalculatorSession(CalcSettings settings, std::vector<std::string>& log,
                                     Prompter& prompter, StoreRequest store, Clock clock)
    : m_settings(std::move(settings)),
      m_log(log),
      m_prompter(prompter),
      m_store(std::move(store)),
      m_clock(std::move(clock)) {}

void CalculatorSession::pushResult(std::string result) {
    for (std::size_t i = m_recent.size() - 1; i > 0; --i) m_recent[i] = std::move(m_recent[i - 1]);
    m_recent[0] = std::move(result);
}

std::optional<Calculation> CalculatorSession::calculate(std::string_view input) {
    Calculation c;
    if (!CalculateExpression(input, m_recent, m_settings, m_prompter, c.result, c.steps)) {
        return std::nullopt;
    }
    pushResult(c.result);
    c.logLine = MakeLogLine(m_clock(), c.steps, c.result);
    m_log.push_back(c.logLine);
    if (m_store) m_store();
    return c;
}

}  // namespace quorvel
