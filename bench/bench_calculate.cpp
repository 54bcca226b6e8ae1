#include <benchmark/benchmark.h>

#include <string>

#include "calc/calculate.h"

namespace {

using namespace quorvel;

// Calculates `expression` once per iteration; returns the last step text.
std::string calculateRepeatedly(benchmark::State& state, std::string_view expression,
                                StepText stepText = StepText::Written) {
    const RecentResults recent = {"0", "0", "0", "0", "0"};
    const CalcSettings settings;
    CalcOutcome outcome;
    for (auto _ : state) {
        CalculateExpression(expression, recent, settings, CheckScope::AllRules, outcome, stepText);
        benchmark::DoNotOptimize(outcome.ok);
    }
    if (!outcome.ok) state.SkipWithError("the calculation failed");
    return outcome.steps;
}

void BM_CalculateExpression(benchmark::State& state, const char* expression) {
    calculateRepeatedly(state, expression);
}
BENCHMARK_CAPTURE(BM_CalculateExpression, sum, "2+3");
BENCHMARK_CAPTURE(BM_CalculateExpression, mixed, "12*(3+4)/7-2^3");
BENCHMARK_CAPTURE(BM_CalculateExpression, division, "1/3+2/7");
BENCHMARK_CAPTURE(BM_CalculateExpression, functions, "sqrt(2)*sin(1)+ln(10)");
BENCHMARK_CAPTURE(BM_CalculateExpression, nested, "((1+2)*(3+4)-(5-6))/((7+8)*9)");

// A line of bracketed groups, twenty to a bracketed block so that no stretch passes the
// 255-operator limit; `length` characters or a few more.
std::string longExpression(std::size_t length) {
    std::string expression = "1";
    std::string block;
    while (expression.size() + block.size() < length) {
        if (!block.empty()) block += '+';
        block += "(12*34-56/7)";
        if (block.size() > 250) {
            expression += "+(" + block + ")";
            block.clear();
        }
    }
    if (!block.empty()) expression += "+(" + block + ")";
    return expression;
}

// The step text of a long line is long (every operation writes the whole line again); the
// result alone should cost in proportion to the line.
void BM_LongExpression(benchmark::State& state) {
    const auto stepText = state.range(1) != 0 ? StepText::Written : StepText::Skipped;
    const std::string expression = longExpression(static_cast<std::size_t>(state.range(0)));
    const std::string steps = calculateRepeatedly(state, expression, stepText);
    state.counters["step_text_bytes"] = static_cast<double>(steps.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(expression.size()));
}
BENCHMARK(BM_LongExpression)
    ->ArgsProduct({{100, 1000, 3900}, {0, 1}})
    ->ArgNames({"chars", "steps"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
