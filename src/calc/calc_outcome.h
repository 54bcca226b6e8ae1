#pragma once

#include <string>

#include "calc/messages.h"

namespace quorvel {

// How one calculation ended. On failure the user has already been told through the Prompter
// (except for a quiet failure, whose error is MessageId::None); the texts say what was shown.
struct CalcOutcome {
    bool ok = false;
    MessageId error = MessageId::None;
    int position = -1;    // the offending character of the expression (1-based), or -1
    std::string message;  // what was shown, control characters escaped
    std::string result;
    std::string steps;

    // Back to a fresh outcome, keeping the capacity of its texts for the next calculation.
    void clear() {
        ok = false;
        error = MessageId::None;
        position = -1;
        message.clear();
        result.clear();
        steps.clear();
    }
};

}  // namespace quorvel
