#pragma once

// A Speaker for tests of the window models: remembers every request and every stop, and what
// the requests would play, without a thread or a sound.

#include <string>
#include <string_view>
#include <vector>

#include "speech/speaker.h"
#include "speech/word_player.h"
#include "speech/wording.h"

namespace quorvel::testing {

struct SpeechRequest {
    std::string command;
    std::string text;
    friend bool operator==(const SpeechRequest&, const SpeechRequest&) = default;
};

class RecordingSpeaker final : public Speaker {
public:
    bool say(std::string_view command, std::string_view text) override {
        requests.push_back({std::string(command), std::string(text)});
        // Read as the worker would, so a test sees the words a request plays.
        StopFlag neverSet;
        Wording(m_recorder, neverSet).Talk(command, text);
        m_talking = true;
        return true;
    }
    void stop() override {
        ++stops;
        m_talking = false;
    }
    // Talking from a request until a stop, as a reading too long to end by itself.
    bool isTalking() const override { return m_talking; }
    // The reading under way comes to its end by itself.
    void finish() { m_talking = false; }

    // Every word and pause of every request so far, in order.
    const WordPlan& plan() const { return m_recorder.plan(); }
    std::string words() const { return formatWordPlan(plan()); }

    std::vector<SpeechRequest> requests;
    int stops = 0;

private:
    PlanRecorder m_recorder;
    bool m_talking = false;
};

}  // namespace quorvel::testing
