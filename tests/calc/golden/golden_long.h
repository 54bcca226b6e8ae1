#pragma once

// Long lines for their own golden file. Their step texts run to megabytes, so a record keeps
// the step text's length, a hash of it and its last line instead of the whole text.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "golden/golden_record.h"

namespace quorvel::golden {

inline std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

inline std::string longRecord(const Input& in) {
    testing::RecordingPrompter prompter;
    const CalcOutcome out = CalculateExpression(in.expression, kRecent, settingsFor(in));
    present(out, prompter);
    std::string line = inputField(in);
    line += '\t';
    line += out.ok ? "ok" : "fail";
    line += '\t' + std::to_string(static_cast<int>(out.error)) + ' ' + std::to_string(out.position);
    const std::size_t lastLine = out.steps.rfind('\n');
    line += '\t' + escape(out.result) + "\tbytes=" + std::to_string(out.steps.size()) +
            " lines=" + std::to_string(std::count(out.steps.begin(), out.steps.end(), '\n') + 1) +
            " fnv=" + std::to_string(fnv1a(out.steps)) + " last=" +
            escape(lastLine == std::string::npos ? out.steps : out.steps.substr(lastLine + 1));
    for (const auto& m : prompter.messages) {
        line += "\tmsg[" + escape(m.title) + "][" + iconName(m.icon) + "]" + escape(m.text);
    }
    for (const auto& m : prompter.inputMessages) {
        line += "\tinput[" + std::to_string(m.position) + "]" + escape(m.message);
    }
    return line;
}

// Seeded lines of about 1,000 and 3,900 characters: flat groups, groups nested three deep,
// decimals and bracketed negatives, and a few that fail late in the line.
inline std::vector<Input> longInputs() {
    std::mt19937 dice(20261209);
    auto below = [&dice](int n) { return static_cast<int>(dice() % static_cast<unsigned>(n)); };
    const char kOps[] = "+-*/";
    auto number = [&](bool decimals) {
        std::string s = std::to_string(1 + below(999));
        if (decimals && below(2) == 0) s += "." + std::to_string(below(100));
        if (below(6) == 0) s = "(-" + s + ")";
        return s;
    };
    // A group of two to four operands, each a number or (depth > 0) a group again.
    auto group = [&](auto&& self, int depth, bool decimals) -> std::string {
        std::string s = "(";
        const int n = 2 + below(3);
        for (int i = 0; i < n; ++i) {
            if (i > 0) s += kOps[below(4)];
            s += depth > 0 && below(3) == 0 ? self(self, depth - 1, decimals) : number(decimals);
        }
        return s + ")";
    };
    // Groups of groups, so that no stretch holds more than a hundred operators.
    auto line = [&](std::size_t length, int depth, bool decimals) {
        std::string s = number(decimals);
        std::string block;
        while (s.size() + block.size() + 2 < length) {
            if (!block.empty()) block += kOps[below(2)];
            block += group(group, depth, decimals);
            if (block.size() > 600) {
                s += std::string(1, kOps[below(2)]) + "(" + block + ")";
                block.clear();
            }
        }
        if (!block.empty()) s += std::string(1, kOps[below(2)]) + "(" + block + ")";
        return s;
    };
    std::vector<Input> inputs;
    for (const std::size_t length : {std::size_t{1000}, std::size_t{3900}}) {
        for (int i = 0; i < 12; ++i) {
            Input in;
            in.places = i % 3 == 0 ? 10 : i % 3 == 1 ? 30 : 100;
            in.expression = line(length, i % 4, i % 2 == 1);
            inputs.push_back(in);
        }
        // The bench's shape: one flat sum of bracketed groups, more than 255 operators long
        // at 3,900 characters.
        Input flat;
        flat.expression = "1";
        while (flat.expression.size() < length) flat.expression += "+(12*34-56/7)";
        inputs.push_back(flat);
        Input zero;  // fails at the very end
        zero.expression = line(length - 10, 2, true) + "/(5-5)";
        inputs.push_back(zero);
        Input root;  // a function late in a long line goes the long way
        root.expression = line(length - 20, 1, false) + "+sqrt(2)*pi";
        inputs.push_back(root);
    }
    return inputs;
}

}  // namespace quorvel::golden
