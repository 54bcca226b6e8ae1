#pragma once

#include <string>
#include <string_view>

#include "calc/calc_settings.h"
#include "calc/calculate.h"

namespace quorvel {

// Replaces last1..last5, pi and the parameter letters f, k, m, w of a lower-cased expression
// by their values: negative values in brackets, pi rounded to `settings.places`, and values
// in E form written out in plain digits so the evaluator reads them exactly.
std::string SubstituteValues(std::string_view expression, const RecentResults& recent,
                             const CalcSettings& settings);
// The same into `out`, whose capacity is reused.
// `out` must not hold `expression`.
void SubstituteValues(std::string_view expression, const RecentResults& recent,
                      const CalcSettings& settings, std::string& out);

}  // namespace quorvel
