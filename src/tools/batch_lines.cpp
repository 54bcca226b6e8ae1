#include "tools/batch_lines.h"

#include "calc/decimal_text.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "tools/present.h"

namespace quorvel {
namespace {

// The value shown with the E-notation switch off: the rounded plain value, which the step
// text holds on the line before an E form.
std::string plainValue(const std::string& result, const std::string& steps, int places) {
    if (result.find('E') == std::string::npos) return RoundToPlaces(result, places);
    const std::size_t eLine = steps.rfind("\r\n=");
    const std::size_t equals = eLine == std::string::npos ? eLine : steps.rfind('=', eLine);
    if (equals == std::string::npos) return result;
    std::string value =
        StripTrailingZeros(RoundToPlaces(steps.substr(equals + 1, eLine - equals - 1), places));
    return value == "-0" ? "0" : value;
}

// A log line holds one line of text whatever the engine's message holds.
std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

}  // namespace

std::string_view BatchLineProcessor::processLine(std::string_view line) {
    const BatchMode mode = m_options.mode;
    const bool filter = mode == BatchMode::GenFilter || mode == BatchMode::DetailFilter;
    const std::string_view separator = mode == BatchMode::GenFilter ? " " : "\r\n";
    std::string& out = m_out;
    out.clear();
    bool first = true;
    auto emit = [&](std::string_view text) {
        if (filter && !first) out += separator;
        out += text;
        first = false;
    };
    FindCalculations(line, m_segments);
    for (const LineSegment& segment : m_segments) {
        if (!segment.isCalculation) {
            if (!filter) out += segment.text;
            continue;
        }
        std::string& value = m_value;
        std::string& steps = m_steps;
        if (!calculate(segment.text, value, steps)) {
            emit(segment.text);
            continue;
        }
        ++m_outcome.calculated;
        switch (mode) {
            case BatchMode::AddResult:
            case BatchMode::GenFilter:
                emit(segment.text);
                out += '=';
                out += value;
                break;
            case BatchMode::ReplaceResult:
                emit(value);
                break;
            case BatchMode::AddSteps:
                emit(steps + "\r\n");
                break;
            case BatchMode::DetailFilter:
                emit(steps);
                break;
        }
    }
    return out;
}

bool BatchLineProcessor::calculate(std::string_view text, std::string& value, std::string& steps) {
    std::string& checked = m_lowered;
    ToLower(text, checked);
    const SyntaxVerdict verdict = m_checker.Check(checked, CheckScope::CharacterRules);
    if (!verdict.accepted) {
        fail(text, verdict.message, SyntaxFailure(verdict, checked));
        return false;
    }
    // The character rules have just passed on the same text; only the argument rule is left.
    CalcOutcome& calculated = m_calculated;
    const bool stepsShown =
        m_options.mode == BatchMode::AddSteps || m_options.mode == BatchMode::DetailFilter;
    CalculateExpression(text, m_recent, m_options.settings, CheckScope::ArgumentRule, calculated,
                        stepsShown ? StepText::Written : StepText::Skipped);
    if (!calculated.ok) {
        fail(text, calculated.message(), calculated);
        return false;
    }
    const std::string& result = calculated.result;
    steps.swap(calculated.steps);
    if (m_options.eNotation || result.find('E') == std::string::npos) {
        value.assign(result);  // a result without E form is already rounded to P places
    } else {
        value = plainValue(result, steps, m_options.settings.places);
    }
    if (m_callback) {
        BatchEntry& entry = m_entry;
        entry.calculation.assign(text);
        entry.result = value;
        // A run of many lines asks the clock for every one, but the minute seldom changes.
        const LogTime time = m_options.clock();
        if (!m_stampTime || *m_stampTime != time) {
            m_stamp = FormatLogStamp(time);
            m_stampTime = time;
        }
        // The robot's log joins stamp and calculation with one space, not the log's three.
        entry.logLine.assign(m_stamp).append(" ").append(text).append("=").append(value);
        m_callback(entry);
    }
    return true;
}

void BatchLineProcessor::fail(std::string_view text, std::string_view message,
                              const CalcOutcome& failure) {
    ++m_outcome.failed;
    if (m_outcome.failures.size() < BatchOutcome::kKeptFailures) {
        m_outcome.failures.push_back({m_line, std::string(text), std::string(message)});
    }
    if (m_outcome.failed == 1) {
        present(failure, m_prompter);
    } else if (m_onLogLine) {
        m_onLogLine(msg::batchLineFailed(m_line, text, oneLine(message)));
    }
}

}  // namespace quorvel
