#pragma once

// A Speaker for tests of the window models: remembers every request and every stop, and what
// the requests would play, without a thread or a sound.

#include <utility>
#include <vector>

#include "speech/speaker.h"
#include "speech/word_player.h"
#include "speech/wording.h"

namespace quorvel::testing {

class RecordingSpeaker final : public Speaker {
public:
    bool say(SpeechRequest request) override {
        // Read as the worker would, so a test sees the words a request plays.
        StopFlag neverSet;
        Wording(m_recorder, neverSet).Talk(request);
        requests.push_back(std::move(request));
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
