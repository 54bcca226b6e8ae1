#pragma once

// One speaking window's worker slot. Each request runs on its own short-lived thread
// (CMyAppThread) with its own stop flag. A new request first gives the running one 10 ms to
// end, then sets its flag and joins it, so the newest request wins and two workers of one
// slot never play at once. The reading tests the flag only between words, so every wait
// here lasts at most one word (or one number place, or one list pause).

#include <memory>
#include <string>

namespace quorvel {

class WordPlayer;
class CMyAppThread;

class SpeechWorker {
public:
    explicit SpeechWorker(WordPlayer& player);
    // Stops the speech and joins the worker before the owner goes away.
    ~SpeechWorker();
    SpeechWorker(const SpeechWorker&) = delete;
    SpeechWorker& operator=(const SpeechWorker&) = delete;

    // False when no thread could be started; the text is then not spoken.
    bool StartTalk(std::string payload, std::string command);
    // Returns once nothing of this slot is playing any more.
    void StopTalk();

    bool isTalking() const;
    // Waits for the current request to end without cutting it short.
    void waitUntilDone();

private:
    WordPlayer& m_player;
    std::unique_ptr<CMyAppThread> m_worker;
};

}  // namespace quorvel
