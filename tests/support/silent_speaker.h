#pragma once

// A Speaker that says nothing and is never talking, for programs that only show windows.

#include <string_view>

#include "speech/speaker.h"

namespace quorvel::testing {

class SilentSpeaker final : public Speaker {
public:
    bool say(std::string_view, std::string_view) override { return true; }
    void stop() override {}
    bool isTalking() const override { return false; }
};

}  // namespace quorvel::testing
