#pragma once

// The linear equation solver for one unknown X. SolveEquation checks the equation as typed,
// rewrites "left=right" as E = left-(right), makes products explicit and substitutes names,
// then SolveLinear reduces E term by term (and bracket layer by bracket layer) to A*X+B and
// evaluates X = -(B)/(A). Every number is worked out by CalculateExpression, so a failed one
// reports the calculator's own message; partial results carry extra fraction digits so that the
// shown X is exact to the decimal places rather than to a chain of rounded partials.

#include <string>
#include <string_view>

#include "calc/calc_settings.h"
#include "calc/calculate.h"

namespace quorvel {

struct SolveResult {
    std::string value;          // X as the calculator shows results (E form when large)
    std::string steps;          // every line followed by "\r\n"
    std::string logExpression;  // the log line's expression: equation as typed, " =>  X"
    CalcOutcome failure;        // what to tell the user when the equation was not solved
};

// What every partial evaluation and every problem of one solve needs.
struct SolverContext {
    const CalcSettings& settings;
    CalcOutcome& failure;       // the first problem, which ends the solve
    std::string_view equation;  // as typed: the input message dialog shows it with each problem
};

// False with out.failure saying why; nothing is logged here.
bool SolveEquation(std::string_view equation, const RecentResults& recent,
                   const CalcSettings& settings, SolveResult& out);

// `expression` is the rewritten, substituted E; both texts are upper-cased for the steps.
bool SolveLinear(const SolverContext& context, std::string_view equation,
                 std::string_view expression, std::string& value, std::string& steps);

// A*X+B, A*X-b or B-a*X with evaluated A and B (in brackets when the text was bracketed), or
// the text itself when it is linear already; false with the problem in context.failure.
bool ReduceToLinearForm(const SolverContext& context, std::string_view expression,
                        std::string& linearForm);

// X, -X, 3X, a*X, X*a, each optionally joined to one number b by a top-level "+" or "-" on
// either side; numbers are decimal, optionally signed, optionally in one pair of brackets;
// any number of brackets around the whole text is allowed.
bool IsLinearForm(std::string_view text);

// The coefficient ("1" and "-1" for a missing one or a lone sign) and the constant ("0" when
// missing, with its joining sign otherwise) of a text IsLinearForm accepts, written so that
// CalculateExpression reads them inside brackets.
bool SplitLinearForm(std::string_view text, std::string& coefficient, std::string& constant);

}  // namespace quorvel
