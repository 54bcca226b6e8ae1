#include "app/line_calculator.h"

#include <algorithm>
#include <iostream>
#include <utility>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/calculate.h"
#include "calc/exponent_expansion.h"
#include "calc/line_reader.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "data/sys_data_holder.h"
#include "tools/present.h"
#include "tools/unit_converter.h"
#include "tools/unit_names.h"

namespace quorvel {
namespace {

// "hepl" or "qiut": the prompt's word it is, or nearly is; or nothing.
std::string_view nearCommand(std::string_view text) {
    const std::string lower = ToLower(text);
    for (std::string_view command : {"help", "quit", "exit"}) {
        if (EditDistance(lower, command) <= 1) return command;
    }
    return {};
}

// One step a line, and no line break after the last. The session writes the lines ending in
// "\n", so a long line's megabytes of steps go out as they are, in one write.
void writeSteps(std::ostream& out, std::string_view steps) {
    const std::size_t end = steps.find_last_not_of('\n');
    out.write(steps.data(),
              end == std::string_view::npos ? 0 : static_cast<std::streamsize>(end + 1));
}

}  // namespace

StderrPrompter::StderrPrompter(std::ostream& err) : m_err(err) {}

std::ostream& StderrPrompter::prefix() {
    if (m_line > 0) m_err << "Line " << m_line << ": ";
    return m_err;
}

void StderrPrompter::showMessage(std::string_view text, std::string_view title, MessageIcon) {
    prefix() << title << ": " << text << '\n';
}

bool StderrPrompter::askOkCancel(std::string_view text, std::string_view title) {
    prefix() << title << ": " << text << '\n';
    return false;
}

void StderrPrompter::showInputMessage(std::string_view message, std::string_view advice,
                                      std::string_view expression, int position) {
    prefix() << "Input Message: " << message << '\n' << "Advice: " << advice << '\n';
    m_err << "Expression: " << expression << '\n';
    // A caret under the offending character, as a terminal can show it.
    if (position >= 1 && static_cast<std::size_t>(position) <= expression.size()) {
        m_err << "            " << std::string(static_cast<std::size_t>(position) - 1, ' ')
              << "^\n";
    }
}

LineCalculator::LineCalculator(bool steps, SysDataHolder* holder, const CalcSettings& settings,
                               StderrPrompter& prompter, std::ostream& out)
    : m_steps(steps),
      m_holder(holder),
      m_session(settings, holder ? holder->data().log : m_log, [this] { store(); }),
      m_prompter(prompter),
      m_out(out) {
    // Only --steps reads the step text, and only a data folder keeps the log; what is printed
    // is the shown text alone.
    m_session.setStepText(steps ? StepText::Terminal : StepText::Skipped);
    m_session.setKeepsLog(holder != nullptr);
    m_session.setShownOnly(true);
}

void LineCalculator::handle(std::string_view line) {
    // Checked before the copies below; the engine would refuse it only after them, and a plain
    // number not at all.
    if (line.size() > msg::kMaxExpressionLength) {
        refuseTooLong();
        return;
    }
    // A "#" starts a comment, as in bc and shell scripts; a line that is all comment is
    // answered like a blank one, so the answers keep their lines.
    line = line.substr(0, line.find('#'));
    if (convertUnits(line)) return;
    // The input box drops blanks as they are typed, so "2 + 3" reaches it as "2+3".
    std::string text;
    text.reserve(line.size());
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') text.push_back(c);
    }
    // A result printed in E form can be typed back.
    text = ExpandExpressionExponents(text);
    if (answerWithoutCalculating(text)) return;
    const CommandOutcome outcome = m_session.calculateCommand(text);
    for (const CalcOutcome& failure : outcome.failures) present(failure, m_prompter);
    // Without a data file nobody reads the log again: keep memory flat on long inputs.
    if (!m_holder) m_log.clear();
    print(outcome);
}

// "5 feet to m": converted with the unit table, as --convert would. True when the line was
// of that form.
bool LineCalculator::convertUnits(std::string_view line) {
    const std::vector<ConversionRequest> requests = ReadConversionLine(line);
    if (requests.empty()) return false;
    m_anyText = true;
    for (const ConversionRequest& r : requests) {
        const UnitPairMatch units = MatchUnitPair(r.from, r.to);
        if (!units.pair) continue;
        const auto converted = ConvertNamedUnits(units.pair->category, r.value, units.pair->from,
                                                 units.pair->to, m_session.settings(), m_prompter);
        if (!converted) m_failed = true;
        m_out << converted.value_or("") << '\n';
        return true;
    }
    const ConversionRequest& r = requests.front();
    present({ToolMessageId::UnitsNotMatched, {MatchUnitPair(r.from, r.to).message}}, m_prompter);
    m_failed = true;
    m_out << '\n';
    return true;
}

// A plain number is answered in its shown form; a text the calculate command would pass over
// gets a reason. True when the line is done with.
bool LineCalculator::answerWithoutCalculating(const std::string& text) {
    if (text.empty()) {
        m_out << '\n';
        return true;
    }
    m_anyText = true;
    ToolMessage reason = ToolMessageId::None;
    switch (DecideEqual(text)) {
        case EqualAction::Nothing:
            if (const auto number = ReadOperand(text.front() == '+' ? text.substr(1) : text)) {
                const CalcSettings& s = m_session.settings();
                std::string steps = "=" + *number;
                m_out << FormatResult(*number, steps, s.places, s.digitsLimit) << '\n';
                return true;
            }
            if (const std::string_view command = nearCommand(text); !command.empty()) {
                reason = EqualsIgnoreCase(text, command)
                             ? ToolMessage(ToolMessageId::PromptWords)
                             : ToolMessage(ToolMessageId::DidYouMean, {std::string(command)});
            } else {
                reason = text.find_first_of("xX") != std::string::npos
                             ? ToolMessageId::EquationNeedsRightSide
                             : ToolMessageId::NothingToCalculate;
            }
            break;
        case EqualAction::AppendEquals:
            // "(M)" and its like, or an equation waiting for its right-hand side.
            reason = text.size() == 3 && text.front() == '('
                         ? ToolMessageId::AssignmentNeedsValue
                         : ToolMessageId::EquationNeedsRightSide;
            break;
        case EqualAction::ClearInput:
        case EqualAction::Calculate:
            return false;
    }
    present(reason, m_prompter);
    m_failed = true;
    m_out << '\n';
    return true;
}

void LineCalculator::refuseTooLong() {
    m_anyText = true;
    present(Failure(MessageId::ExpressionTooLong), m_prompter);
    m_failed = true;
    m_out << '\n';
}

void LineCalculator::endOfInput() {
    if (m_anyText) return;
    present(ToolMessageId::NothingToCalculate, m_prompter);
    m_failed = true;
}

void LineCalculator::store() {
    if (!m_holder || m_storeFailed) return;
    WriteBackSettings(m_session.settings(), m_holder->data());
    const StoreResult stored = m_holder->Store();
    if (!stored.stored) {
        std::cerr << "quorvel-calc: " << stored.reason << '\n';
        m_storeFailed = true;
    }
}

void LineCalculator::print(const CommandOutcome& outcome) {
    switch (outcome.kind) {
        case CommandKind::Failed:
            m_failed = true;
            m_out << '\n';
            break;
        case CommandKind::Calculated:
        case CommandKind::Solved:
            if (m_steps) {
                writeSteps(m_out, outcome.shown);
                m_out << "\n\n";
            } else {
                m_out << outcome.value << '\n';
            }
            break;
        case CommandKind::ParameterSet:
            m_out << outcome.value << '\n';
            break;
        case CommandKind::Nothing:  // "a=5": an "=" with no parameter and no x
        case CommandKind::ClearInput:
            present(ToolMessageId::NeitherAssignmentNorEquation, m_prompter);
            m_failed = true;
            m_out << '\n';
            break;
    }
}

void CalculateStream(std::istream& in, LineCalculator& calculator, StderrPrompter& prompter,
                     bool numbered, std::ostream& out) {
    BoundedLineReader reader(in, msg::kMaxExpressionLength);
    reader.skipPrefix("\xEF\xBB\xBF");
    long number = 0;
    for (BoundedLineReader::Line line; reader.next(line);) {
        ++number;
        if (numbered) prompter.setLine(number);
        if (line.tooLong) {
            calculator.refuseTooLong();
        } else {
            calculator.handle(line.text);
        }
    }
    prompter.setLine(0);
    out.flush();
}

}  // namespace quorvel
