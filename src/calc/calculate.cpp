#include "calc/calculate.h"

#include <algorithm>
#include <cctype>

#include "calc/calc_engine.h"
#include "calc/decimal_text.h"
#include "calc/messages.h"
#include "calc/substitute.h"
#include "calc/syntax_checker.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

// Texts whose capacity is kept from one calculation to the next on the same thread.
struct Scratch {
    std::string lowered;
    std::string explicitProducts;
    std::string substituted;
    std::string unrounded;
    std::string value;
};

Scratch& scratch() {
    thread_local Scratch buffers;
    return buffers;
}

}  // namespace

void FormatResult(std::string_view rawResult, std::string& steps, int places, int digitsLimit,
                  std::string& result) {
    Scratch& buffers = scratch();
    StripLeadingZeros(WithoutTrailingZeros(rawResult), buffers.unrounded);
    std::string& value = buffers.value;
    RoundToPlaces(buffers.unrounded, places, value);
    const std::size_t afterEquals = steps.rfind('=') + 1;
    steps.resize(afterEquals);
    steps += value;
    if (NeedsENotation(value, digitsLimit)) {
        const std::string eForm = ENotation(value, places, digitsLimit);
        steps.append("\r\n=").append(eForm);
        result.assign(WithoutTrailingZeros(eForm));
    } else {
        result.assign(WithoutTrailingZeros(value));
    }
    if (result == "-0") result.erase(0, 1);
}

std::string FormatResult(std::string_view rawResult, std::string& steps, int places,
                         int digitsLimit) {
    std::string result;
    FormatResult(rawResult, steps, places, digitsLimit, result);
    return result;
}

CalcOutcome ReportSyntaxError(Prompter& prompter, const SyntaxVerdict& verdict,
                              std::string_view expression) {
    CalcOutcome outcome;
    outcome.error = MessageId::Syntax;
    outcome.message = msg::escapeControls(verdict.message);
    outcome.position = msg::escapedPosition(expression, verdict.position);
    prompter.showInputMessage(outcome.message, msg::escapeControls(verdict.advice),
                              msg::escapeControls(expression), outcome.position);
    return outcome;
}

namespace {

void failWith(Prompter& prompter, MessageId id, std::string_view text, std::string_view title,
              CalcOutcome& outcome) {
    outcome.clear();
    outcome.error = id;
    outcome.message.assign(text);
    prompter.showMessage(text, title, MessageIcon::Exclamation);
}

void calculate(std::string_view input, const RecentResults& recent, const CalcSettings& settings,
               Prompter& prompter, CheckScope rules, CalcOutcome& outcome, StepText stepText) {
    if (input.size() > msg::kMaxExpressionLength) {
        failWith(prompter, MessageId::ExpressionTooLong, msg::expressionTooLong(),
                 msg::kTitleMalformed, outcome);
        return;
    }
    Scratch& buffers = scratch();
    std::string& text = buffers.lowered;
    ToLower(Trim(input), text);
    if (text.empty() || text.find('=') != std::string::npos) {
        outcome.clear();
        return;
    }
    std::ptrdiff_t depth = 0;  // "(" less ")", in one walk
    for (const char c : text) depth += (c == '(') - (c == ')');
    if (depth != 0) {
        failWith(prompter, MessageId::BracketCountsDiffer, msg::kBracketCountsDiffer,
                 msg::kTitleMalformed, outcome);
        return;
    }
    static const SyntaxChecker checker;
    const SyntaxVerdict verdict = checker.Check(text, rules);
    if (!verdict.accepted) {
        outcome = ReportSyntaxError(prompter, verdict, text);
        return;
    }
    InsertImplicitMultiplication(text, buffers.explicitProducts);
    SubstituteValues(buffers.explicitProducts, recent, settings, buffers.substituted);
    const std::string& substituted = buffers.substituted;

    CalcEngine engine(settings.places + 1, settings.angleUnit, prompter);
    engine.setPreciseFunctions(settings.preciseFunctions);
    if (!engine.CheckInverseArguments(substituted)) {
        outcome = engine.failure();
        return;
    }
    engine.CalculateSteps(substituted, 10, outcome, stepText);
    if (!outcome.ok) return;
    FormatResult(outcome.result, outcome.steps, settings.places, settings.digitsLimit,
                 outcome.result);
}

}  // namespace

void CalculateExpression(std::string_view input, const RecentResults& recent,
                         const CalcSettings& settings, Prompter& prompter, CheckScope rules,
                         CalcOutcome& outcome, StepText stepText) {
    if (const auto caught = CatchNumberErrors(
            [&] { calculate(input, recent, settings, prompter, rules, outcome, stepText); })) {
        failWith(prompter, caught->id, caught->message, msg::kTitleWarning, outcome);
    }
}

CalcOutcome CalculateExpression(std::string_view input, const RecentResults& recent,
                                const CalcSettings& settings, Prompter& prompter,
                                CheckScope rules) {
    CalcOutcome outcome;
    CalculateExpression(input, recent, settings, prompter, rules, outcome);
    return outcome;
}

}  // namespace quorvel
