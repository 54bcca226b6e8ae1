#include "tools/exercise.h"

#include <algorithm>

#include "calc/calculate.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "data/sys_data_holder.h"
#include "speech/speaker.h"
#include "tools/present.h"
#include "tools/tool_messages.h"

namespace quorvel {

std::string_view ChoiceName(ExerciseChoice choice) {
    switch (choice) {
        case ExerciseChoice::Add:
            return "add";
        case ExerciseChoice::Minus:
            return "minus";
        case ExerciseChoice::Time:
            return "time";
        case ExerciseChoice::Divide:
            return "divide";
        case ExerciseChoice::Mix:
            return "mix";
    }
    return "add";
}

char ChoiceOperator(ExerciseChoice choice, std::size_t index) {
    switch (choice) {
        case ExerciseChoice::Add:
            return '+';
        case ExerciseChoice::Minus:
            return '-';
        case ExerciseChoice::Time:
            return '*';
        case ExerciseChoice::Divide:
            return '/';
        case ExerciseChoice::Mix:
            return "+-*/"[index % 4];
    }
    return '+';
}

std::optional<std::string> ExerciseGenerator::generate(char op, int maxValue, int operatorNumber,
                                                       const std::vector<ExerciseRow>& rows,
                                                       int storedTestNumber) {
    const auto modulus = static_cast<std::uint32_t>(maxValue);
    const auto operand = [&] { return std::to_string(m_engine() % modulus + 1); };
    // Reseeded for every calculation, so calculations made within one second start alike and
    // only the duplicate retries tell them apart.
    m_engine.seed(m_clock());
    int failures = 0;
    while (true) {
        std::string text;
        for (int i = 0; i < operatorNumber; ++i) {
            text += operand();
            text += op;
        }
        text += operand();
        const bool duplicate = std::any_of(rows.begin(), rows.end(), [&](const ExerciseRow& row) {
            return row.calculation == text;
        });
        if (!duplicate) return text;
        if (++failures > 5 * storedTestNumber) return std::nullopt;
    }
}

bool ExerciseGenerator::build(ExerciseChoice choice, const ExerciseLimits& limits,
                              int storedTestNumber, std::vector<ExerciseRow>& rows,
                              Prompter& prompter) {
    rows.clear();
    for (int k = 0; k < limits.testNumber; ++k) {
        std::optional<std::string> text =
            generate(ChoiceOperator(choice, static_cast<std::size_t>(k)), limits.maxValue,
                     limits.operatorNumber, rows, storedTestNumber);
        if (!text) {
            present(ToolMessageId::ExerciseNotAccepted, prompter);
            rows.clear();
            return false;
        }
        rows.push_back({std::move(*text), {}});
    }
    return true;
}

std::string ExerciseCopyText(const std::vector<ExerciseRow>& rows,
                             const std::vector<std::size_t>& selected) {
    std::string text;
    for (std::size_t index : selected) {
        if (index >= rows.size()) continue;
        const ExerciseRow& row = rows[index];
        text += row.calculation;
        if (!row.result.empty()) text += "=" + row.result;
        text += "\r\n";
    }
    return text;
}

ExerciseSession::ExerciseSession(SysDataHolder& holder, Speaker& speaker, Prompter& prompter,
                                 ExerciseView& view, ExerciseClock clock, std::mt19937& engine)
    : m_holder(holder),
      m_speaker(speaker),
      m_prompter(prompter),
      m_view(view),
      m_generator(std::move(clock), engine) {}

ExerciseLimits ExerciseSession::initialLimits(int maxValue) const {
    return {m_holder.data().exerciseLimit1, m_holder.data().exerciseLimit2, maxValue};
}

std::string ExerciseSession::heading() const {
    return "Test for " + std::string(ChoiceName(m_choice));
}

void ExerciseSession::choose(ExerciseChoice choice) {
    if (choice != m_choice) {
        m_rows.clear();
        m_view.showRows();
    }
    m_choice = choice;
    m_view.showState();
}

void ExerciseSession::start(const ExerciseLimits& limits) {
    if (m_running) return;
    // Refused before anything changes: operands are drawn modulo the max value, and a test of
    // no calculations would leave Next step with nothing to end on.
    if (limits.maxValue < 1) {
        present(ToolMessageId::MaxValueTooSmall, m_prompter);
        return;
    }
    if (limits.testNumber < 1) {
        present(ToolMessageId::TestNumberTooSmall, m_prompter);
        return;
    }
    m_rows.clear();
    m_step = 0;
    m_running = true;
    m_summary.clear();
    m_summaryPending = false;
    m_workedThrough = 0;
    // One byte each in the file: a test number of 300 is kept as 44.
    CSysData& data = m_holder.data();
    data.exerciseLimit1 = static_cast<std::uint8_t>(limits.testNumber);
    data.exerciseLimit2 = static_cast<std::uint8_t>(limits.operatorNumber);

    const bool built = m_generator.build(m_choice, limits, data.exerciseLimit1, m_rows, m_prompter);
    m_view.showRows();
    if (!built) {
        // Nothing to step through: back to Start at once.
        m_running = false;
        m_view.showState();
        return;
    }
    m_view.showState();
    m_speaker.say({SpeechKind::Input, std::string(Trim(m_rows.front().calculation))});
}

void ExerciseSession::nextStep() {
    if (!m_running) return;
    const int n = ++m_step;
    const int steps = 2 * m_holder.data().exerciseLimit1;
    if (n < steps) {
        const auto index = static_cast<std::size_t>(n / 2);
        if (index < m_rows.size()) {
            ExerciseRow& row = m_rows[index];
            if (n % 2 == 1) {
                const RecentResults zeros = {"0", "0", "0", "0", "0"};
                const CalcOutcome outcome = CalculateExpression(
                    row.calculation, zeros, ToCalcSettings(m_holder.data()).settings);
                present(outcome, m_prompter);
                // A rejected calculation keeps the counter, so the next step speaks the
                // following row; the end is then reached on that step.
                if (!outcome.ok) return;
                row.result = outcome.result;
                ++m_workedThrough;
                m_view.showResult(index);
                m_speaker.say({SpeechKind::Result, row.result});
            } else {
                m_speaker.say({SpeechKind::Input, std::string(Trim(row.calculation))});
            }
        }
    }
    // "At or past" rather than "at": a rejected last calculation skips the check above.
    if (n + 1 >= steps) finish();
}

void ExerciseSession::finish() {
    m_running = false;
    m_step = 0;
    m_summary = msg::exerciseSummary(m_workedThrough);
    m_summaryPending = true;
    m_view.showState();
}

void ExerciseSession::speechIdle() {
    if (!m_summaryPending || m_speaker.isTalking()) return;
    m_summaryPending = false;
    m_speaker.say({SpeechKind::Input, std::to_string(m_workedThrough)});
}

void ExerciseSession::copyAll() {
    if (m_rows.empty()) {
        present(ToolMessageId::ExerciseListEmpty, m_prompter);
        return;
    }
    std::vector<std::size_t> all(m_rows.size());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    m_view.setClipboardText(ExerciseCopyText(m_rows, all));
    present(ToolMessageId::ExerciseCopied, m_prompter);
}

void ExerciseSession::copySelected(const std::vector<std::size_t>& selected) {
    std::vector<std::size_t> rows;
    for (std::size_t index : selected) {
        if (index < m_rows.size()) rows.push_back(index);
    }
    if (rows.empty()) {
        present(ToolMessageId::SelectFirst, m_prompter);
        return;
    }
    std::sort(rows.begin(), rows.end());
    m_view.setClipboardText(ExerciseCopyText(m_rows, rows));
    present(ToolMessageId::SelectionCopied, m_prompter);
}

void ExerciseSession::stopTalking() {
    m_summaryPending = false;
    m_speaker.stop();
}

void ExerciseSession::close() {
    m_summaryPending = false;
    m_speaker.stop();
    if (const StoreResult stored = m_holder.Store(); !stored.stored) {
        present({ToolMessageId::DataFileNotice, {stored.reason}}, m_prompter);
    }
}

}  // namespace quorvel
