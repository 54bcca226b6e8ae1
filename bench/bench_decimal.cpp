#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "calc/decimal_number.h"

namespace {

using quorvel::DecimalNumber;

DecimalNumber randomNumber(std::size_t digits, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(0, 9);
    std::string text(1, static_cast<char>('1' + d(rng) % 9));
    while (text.size() < digits) text.push_back(static_cast<char>('0' + d(rng)));
    const std::size_t half = text.size() / 2;
    return DecimalNumber(std::string_view(text.substr(0, half) + "." + text.substr(half)));
}

void BM_Multiply(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const DecimalNumber a = randomNumber(n, 1);
    const DecimalNumber b = randomNumber(n, 2);
    for (auto _ : state) benchmark::DoNotOptimize(multiply(a, b, static_cast<int>(n)));
}
BENCHMARK(BM_Multiply)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// n-digit dividend and divisor, n fraction digits of quotient.
void BM_Divide(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const DecimalNumber a = randomNumber(n, 3);
    const DecimalNumber b = randomNumber(n, 4);
    for (auto _ : state) benchmark::DoNotOptimize(divide(a, b, static_cast<int>(n)));
}
BENCHMARK(BM_Divide)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// A short divisor and a long quotient, as in the angle reduction and 1/3 at many places.
void BM_DivideShortDivisor(benchmark::State& state) {
    const DecimalNumber a(std::string_view("123456789.123456789"));
    const DecimalNumber b(std::string_view("987654.321987"));
    const auto p = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(divide(a, b, p));
}
BENCHMARK(BM_DivideShortDivisor)->Arg(10000)->Arg(50000)->Unit(benchmark::kMicrosecond);

void BM_RemainderHugeByTwoPi(benchmark::State& state) {
    const DecimalNumber a(std::string_view("100000000000000000000"));
    const DecimalNumber twoPi(std::string_view("6.283185307179586476925286766559005768394"));
    for (auto _ : state) benchmark::DoNotOptimize(a % twoPi);
}
BENCHMARK(BM_RemainderHugeByTwoPi);

}  // namespace
