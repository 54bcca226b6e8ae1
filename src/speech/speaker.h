#pragma once

#include <string_view>

namespace quorvel {

// What a window model needs of speech: say something, stop, ask whether it still talks. The
// windows pass a SpeechWorker; tests pass a recording fake.
class Speaker {
public:
    virtual ~Speaker() = default;
    // Cuts whatever this speaker is still saying. False when the request could not be started.
    virtual bool say(std::string_view command, std::string_view text) = 0;
    virtual void stop() = 0;
    virtual bool isTalking() const = 0;
};

}  // namespace quorvel
