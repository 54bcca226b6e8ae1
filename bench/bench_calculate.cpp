#include <benchmark/benchmark.h>

#include <string>

#include "calc/calculate.h"

namespace {

using namespace quorvel;

class SilentPrompter final : public Prompter {
public:
    void showMessage(std::string_view, std::string_view, MessageIcon) override {}
    bool askOkCancel(std::string_view, std::string_view) override { return false; }
    void showInputMessage(std::string_view, std::string_view, std::string_view, int) override {}
};

// Calculates `expression` once per iteration; returns the last step text.
std::string calculateRepeatedly(benchmark::State& state, std::string_view expression) {
    SilentPrompter prompter;
    const RecentResults recent = {"0", "0", "0", "0", "0"};
    const CalcSettings settings;
    CalcOutcome outcome;
    for (auto _ : state) {
        outcome = CalculateExpression(expression, recent, settings, prompter);
        benchmark::DoNotOptimize(outcome.ok);
    }
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

void BM_LongExpression(benchmark::State& state) {
    std::string expression = "1";
    while (expression.size() < 1000) expression += "+(12*34-56/7)";
    const std::string steps = calculateRepeatedly(state, expression);
    state.counters["step_text_bytes"] = static_cast<double>(steps.size());
}
BENCHMARK(BM_LongExpression)->Unit(benchmark::kMillisecond);

}  // namespace
