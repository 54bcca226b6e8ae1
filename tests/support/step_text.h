#pragma once

#include <string>

namespace quorvel::testing {

// Step lines joined by " | ", so a table row shows a whole step text on one line.
inline std::string oneLine(std::string steps) {
    for (auto at = steps.find("\r\n"); at != std::string::npos; at = steps.find("\r\n", at)) {
        steps.replace(at, 2, " | ");
    }
    return steps;
}

}  // namespace quorvel::testing
