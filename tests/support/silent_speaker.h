#pragma once

// A Speaker that says nothing and is never talking, for programs that only show windows.

#include "speech/speaker.h"

namespace quorvel::testing {

class SilentSpeaker final : public Speaker {
public:
    bool say(SpeechRequest) override { return true; }
    void stop() override {}
    bool isTalking() const override { return false; }
};

}  // namespace quorvel::testing
