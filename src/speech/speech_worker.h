#pragma once

// One speaking window's worker slot. Each request runs on its own short-lived thread
// (CMyAppThread), stopped through the thread's stop token, which sets the request's stop
// flag. A new request's thread first gives the one before it 10 ms to end, then stops it and
// joins it, so the newest request wins and two workers of one slot never play at once, while
// the window's thread never waits for that hand-over. The player sees the stop flag between
// chunks of about 10 ms and wakes from a pause at once, so StopTalk waits only for the chunk
// under way.

#include <memory>
#include <utility>

#include "speech/speaker.h"

namespace quorvel {

class WordPlayer;
class CMyAppThread;

// StartTalk, StopTalk and the destructor are called from one thread, the owning window's; each
// returns within about 30 ms whatever is playing.
class SpeechWorker final : public Speaker {
public:
    explicit SpeechWorker(WordPlayer& player);
    // Stops the speech and joins the worker before the owner goes away.
    ~SpeechWorker() override;
    SpeechWorker(const SpeechWorker&) = delete;
    SpeechWorker& operator=(const SpeechWorker&) = delete;

    // False when no thread could be started; the text is then not spoken, and what was still
    // being spoken is stopped all the same.
    bool StartTalk(SpeechRequest request);
    // Returns once nothing of this slot is playing any more.
    void StopTalk();

    bool say(SpeechRequest request) override { return StartTalk(std::move(request)); }
    void stop() override { StopTalk(); }
    bool isTalking() const override;
    // Waits for the current request to end without cutting it short.
    void waitUntilDone();

private:
    WordPlayer& m_player;
    std::unique_ptr<CMyAppThread> m_worker;
};

}  // namespace quorvel
