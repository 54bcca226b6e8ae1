#pragma once

// One calculation as a line of the golden step file: the settings and expression it ran with,
// then everything a user could see of it (result, step text, messages), escaped so that a
// record stays on one line and a changed step shows as a changed line.

#include <cstdio>
#include <string>
#include <string_view>

#include "calc/calculate.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel::golden {

struct Input {
    int places = 30;
    int digitsLimit = 10;
    AngleUnit angle = AngleUnit::Radians;
    std::string expression;
};

inline const RecentResults kRecent = {"2.5", "-3", "100", "0.001", "7"};

inline CalcSettings settingsFor(const Input& in) {
    CalcSettings settings;
    settings.places = in.places;
    settings.digitsLimit = in.digitsLimit;
    settings.angleUnit = in.angle;
    settings.parameters = {"2", "-0.5", "1.5", "10"};  // F, K, M, W
    return settings;
}

inline std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

inline std::string unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}

// "P N A <tab> expression": the part of a record that says what to calculate.
inline std::string inputField(const Input& in) {
    return std::to_string(in.places) + ' ' + std::to_string(in.digitsLimit) + ' ' +
           (in.angle == AngleUnit::Degrees ? 'D' : 'R') + '\t' + escape(in.expression);
}

// Reads back what inputField wrote; false for a line that is not a record.
inline bool parseInput(std::string_view line, Input& in) {
    const auto tab = line.find('\t');
    const auto tab2 = line.find('\t', tab + 1);
    if (tab == std::string_view::npos || tab2 == std::string_view::npos) return false;
    const std::string head(line.substr(0, tab));
    char angle = 'R';
    if (std::sscanf(head.c_str(), "%d %d %c", &in.places, &in.digitsLimit, &angle) != 3) {
        return false;
    }
    in.angle = angle == 'D' ? AngleUnit::Degrees : AngleUnit::Radians;
    in.expression = unescape(line.substr(tab + 1, tab2 - tab - 1));
    return true;
}

inline const char* iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return "i";
        case MessageIcon::Exclamation:
            return "!";
        case MessageIcon::Question:
            return "?";
    }
    return "";
}

// The whole record: input, outcome, result, step text, then every message in the order shown.
inline std::string record(const Input& in) {
    testing::RecordingPrompter prompter;
    const CalcOutcome out = CalculateExpression(in.expression, kRecent, settingsFor(in));
    present(out, prompter);
    std::string line = inputField(in);
    line += '\t';
    line += out.ok ? "ok" : "fail";
    line += '\t' + std::to_string(static_cast<int>(out.error)) + ' ' + std::to_string(out.position);
    line += '\t' + escape(out.result) + '\t' + escape(out.steps);
    for (const auto& m : prompter.messages) {
        line += "\tmsg[" + escape(m.title) + "][" + iconName(m.icon) + "]" + escape(m.text);
    }
    for (const auto& m : prompter.inputMessages) {
        line += "\tinput[" + std::to_string(m.position) + "]" + escape(m.message) + " || " +
                escape(m.advice) + " || " + escape(m.expression);
    }
    return line;
}

}  // namespace quorvel::golden
