#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calc/calc_engine.h"
#include "calc/calc_outcome.h"
#include "calc/calc_settings.h"
#include "calc/syntax_checker.h"

namespace quorvel {

using RecentResults = std::array<std::string, 5>;  // Last1 .. Last5

// Rounds the raw result to P places, adds the E form as a last step line when it differs,
// and returns the shown result. `steps` ends with the rounded value (and the E form).
std::string FormatResult(std::string_view rawResult, std::string& steps, int places,
                         int digitsLimit);
// The same into `result`, which may be the text `rawResult` looks at (`steps` may not).
void FormatResult(std::string_view rawResult, std::string& steps, int places, int digitsLimit,
                  std::string& result);

// Checks, normalises, substitutes and evaluates one expression. On failure the outcome says
// what to tell the user (nothing for an empty text or one with "="). Never throws
// the number type's exceptions. `rules` are the checker rules still to apply: a caller that
// has run the character rules on the same text passes ArgumentRule.
CalcOutcome CalculateExpression(std::string_view input, const RecentResults& recent,
                                const CalcSettings& settings,
                                CheckScope rules = CheckScope::AllRules);
// The same into `outcome`, whose texts keep their capacity: a caller with many calculations
// hands in the same one each time. `input` must not be one of its texts. With
// StepText::Skipped the steps are the expression and the shown result only.
void CalculateExpression(std::string_view input, const RecentResults& recent,
                         const CalcSettings& settings, CheckScope rules, CalcOutcome& outcome,
                         StepText stepText = StepText::Written);

// The checker's rejection for the input message dialog, its position moved to where the
// character stands once the expression's control characters are escaped.
CalcOutcome SyntaxFailure(const SyntaxVerdict& verdict, std::string_view expression);

}  // namespace quorvel
