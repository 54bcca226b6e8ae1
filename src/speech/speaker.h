#pragma once

#include <string>
#include <utility>

namespace quorvel {

// What a request asks to be read: a key's name, an expression, a result, an expression with
// its result, one of the button words, or a list of calculations.
enum class SpeechKind { Key, Input, Result, InputResult, Message, ExprList };

struct SpeechRequest {
    SpeechRequest() = default;
    SpeechRequest(SpeechKind kind_, std::string text_, std::string second_ = {})
        : kind(kind_), text(std::move(text_)), second(std::move(second_)) {}

    SpeechKind kind = SpeechKind::Input;
    // ExprList: "count:item|item|...", each item an expression, "expression=result" or
    // "expression=>result".
    std::string text;
    // InputResult: the result read after the expression in `text`.
    std::string second;
    friend bool operator==(const SpeechRequest&, const SpeechRequest&) = default;
};

// What a window model needs of speech: say something, stop, ask whether it still talks. The
// windows pass a SpeechWorker; tests pass a recording fake.
class Speaker {
public:
    virtual ~Speaker() = default;
    // Cuts whatever this speaker is still saying. False when the request could not be started.
    virtual bool say(SpeechRequest request) = 0;
    virtual void stop() = 0;
    virtual bool isTalking() const = 0;
};

}  // namespace quorvel
