#pragma once

#include <string>
#include <vector>

#include "calc/messages.h"

namespace quorvel {

// How one calculation ended, and on failure what the user is to be told: the message id and
// its arguments, which the message table turns into title, kind and text. The engine shows
// nothing; its callers present the outcome. A quiet failure has MessageId::None.
struct CalcOutcome {
    bool ok = false;
    MessageId error = MessageId::None;
    int position = -1;  // the offending character of the shown expression (1-based), or -1
    std::vector<std::string> arguments;
    std::string result;
    std::string steps;

    // The failure's text as shown, control characters escaped; "" without one.
    std::string message() const;
    // The input message dialog's advice; "" for other messages.
    std::string advice() const;

    // Back to a fresh outcome, keeping the capacity of its texts for the next calculation.
    void clear() {
        ok = false;
        error = MessageId::None;
        position = -1;
        arguments.clear();
        result.clear();
        steps.clear();
    }
};

// A failure with its arguments.
CalcOutcome Failure(MessageId id, std::vector<std::string> arguments = {}, int position = -1);

}  // namespace quorvel
