#include "calc/function_table.h"

#include <algorithm>
#include <array>

namespace quorvel {
namespace {

using enum AngleUse;

constexpr std::array<FunctionEntry, 17> kFunctions = {{
    {"sin", "Sin", "sin.wav", Argument, true, true},
    {"cos", "Cos", "cos.wav", Argument, true, true},
    {"tan", "Tan", "tan.wav", Argument, true, true},
    {"sinh", "Sinh", "sinh.wav", Argument, true, false},
    {"cosh", "Cosh", "cosh.wav", Argument, true, false},
    {"tanh", "Tanh", "tanh.wav", Argument, true, false},
    {"arcsin", "ArcSin", "arcsin.wav", Result, true, true},
    {"arccos", "ArcCos", "arccos.wav", Result, true, true},
    {"arctan", "ArcTan", "arctan.wav", Result, true, true},
    {"ln", "Ln", "ln.wav", None, true, true},
    {"log", "Log", "logarithm.wav", None, true, true},
    {"exp", "Exp", "exp.wav", None, true, true},
    {"abs", "Abs", "abs.wav", None, true, true},
    {"sqrt", "Sqrt", "sqrt.wav", None, true, true},
    {"rad", "Rad", "radian.wav", None, true, true},
    {"deg", "Deg", "degree.wav", None, true, true},
    {"int", "Int", "integer.wav", None, false, true},
}};

std::array<const FunctionEntry*, kFunctions.size()> longestFirst() {
    std::array<const FunctionEntry*, kFunctions.size()> order{};
    for (std::size_t i = 0; i < kFunctions.size(); ++i) order[i] = &kFunctions[i];
    std::stable_sort(order.begin(), order.end(),
                     [](const FunctionEntry* a, const FunctionEntry* b) {
                         return a->name.size() > b->name.size();
                     });
    return order;
}

}  // namespace

std::span<const FunctionEntry> FunctionTable() { return kFunctions; }

const FunctionEntry* FindFunction(std::string_view name) {
    for (const FunctionEntry& entry : kFunctions) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::span<const FunctionEntry* const> FunctionsLongestFirst() {
    static const auto kOrder = longestFirst();
    return kOrder;
}

}  // namespace quorvel
