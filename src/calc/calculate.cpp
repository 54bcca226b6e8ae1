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
std::string FormatResult(std::string_view rawResult, std::string& steps, int places,
                         int digitsLimit) {
    const std::string value =
        RoundToPlaces(StripLeadingZeros(StripTrailingZeros(rawResult)), places);
    const std::string eForm = ENotation(value, places, digitsLimit);
    const std::size_t afterEquals = steps.rfind('=') + 1;
    steps.resize(afterEquals);
    steps += value;
    std::string result;
    if (eForm != value) {
        steps.append("\r\n=").append(eForm);
        result = StripTrailingZeros(eForm);
    } else {
        result = StripTrailingZeros(value);
    }
    if (result == "-0") result.erase(0, 1);
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

CalcOutcome failWith(Prompter& prompter, MessageId id, std::string_view text,
                     std::string_view title) {
    CalcOutcome outcome;
    outcome.error = id;
    outcome.message = std::string(text);
    prompter.showMessage(text, title, MessageIcon::Exclamation);
    return outcome;
}

CalcOutcome calculate(std::string_view input, const RecentResults& recent,
                      const CalcSettings& settings, Prompter& prompter, CheckScope rules) {
    if (input.size() > msg::kMaxExpressionLength) {
        return failWith(prompter, MessageId::ExpressionTooLong, msg::expressionTooLong(),
                        msg::kTitleMalformed);
    }
    std::string text = ToLower(Trim(input));
    if (text.empty() || text.find('=') != std::string::npos) return {};
    if (std::count(text.begin(), text.end(), '(') != std::count(text.begin(), text.end(), ')')) {
        return failWith(prompter, MessageId::BracketCountsDiffer, msg::kBracketCountsDiffer,
                        msg::kTitleMalformed);
    }
    static const SyntaxChecker checker;
    const SyntaxVerdict verdict = checker.Check(text, rules);
    if (!verdict.accepted) return ReportSyntaxError(prompter, verdict, text);
    text = SubstituteValues(InsertImplicitMultiplication(text), recent, settings);

    CalcEngine engine(settings.places + 1, settings.angleUnit, prompter);
    if (!engine.CheckInverseArguments(text)) return engine.failure();
    CalcOutcome outcome = engine.CalculateSteps(text, 10);
    if (!outcome.ok) return outcome;
    outcome.result =
        FormatResult(outcome.result, outcome.steps, settings.places, settings.digitsLimit);
    return outcome;
}

}  // namespace

CalcOutcome CalculateExpression(std::string_view input, const RecentResults& recent,
                                const CalcSettings& settings, Prompter& prompter,
                                CheckScope rules) {
    CalcOutcome outcome;
    if (const auto caught = CatchNumberErrors(
            [&] { outcome = calculate(input, recent, settings, prompter, rules); })) {
        return failWith(prompter, caught->id, caught->message, msg::kTitleWarning);
    }
    return outcome;
}

}  // namespace quorvel
