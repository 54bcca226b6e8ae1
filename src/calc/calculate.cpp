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
    std::string result = value;
    if (eForm != value) {
        steps += "\r\n=" + eForm;
        result = eForm;
    }
    result = StripTrailingZeros(result);
    if (result == "-0") result.erase(0, 1);
    return result;
}

bool CalculateExpression(std::string_view input, const RecentResults& recent,
                         const CalcSettings& settings, Prompter& prompter, std::string& result,
                         std::string& steps) {
    if (input.size() > msg::kMaxExpressionLength) {
        prompter.showMessage(msg::expressionTooLong(), msg::kTitleMalformed,
                             MessageIcon::Exclamation);
        return false;
    }
    std::string text = ToLower(Trim(input));
    if (text.empty() || text.find('=') != std::string::npos) return false;
    if (std::count(text.begin(), text.end(), '(') != std::count(text.begin(), text.end(), ')')) {
        prompter.showMessage(msg::kBracketCountsDiffer, msg::kTitleMalformed,
                             MessageIcon::Exclamation);
        return false;
    }
    static const SyntaxChecker checker;
    const SyntaxVerdict verdict = checker.Check(text);
    if (!verdict.accepted) {
        prompter.showInputMessage(verdict.message, verdict.advice, text);
        return false;
    }
    text = SubstituteValues(InsertImplicitMultiplication(text), recent, settings);

    CalcEngine engine(settings.places + 1, settings.angleUnit, prompter);
    if (!engine.CheckInverseArguments(text)) return false;
    std::string raw;
    if (engine.CalculateSteps(text, 10, raw, steps) != 0) return false;
    result = FormatResult(raw, steps, settings.places, settings.digitsLimit);
    return true;
}

}  // namespace quorvel
