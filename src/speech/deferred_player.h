#pragma once

// A WordPlayer whose real player is built on a thread of its own. Opening the audio device
// can take longer than a window may wait before its first paint, so the window starts with
// this stand-in; the first word waits for the device on the speech worker's thread, never on
// the window's, and a stop still cuts that wait short. Built with Opening::AtFirstWord, the
// device is not opened until something is to be spoken: a start that speaks nothing keeps
// the audio libraries out of its memory and its time.

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>

#include "speech/word_player.h"

namespace quorvel {

class DeferredPlayer final : public WordPlayer {
public:
    using Factory = std::function<std::unique_ptr<WordPlayer>()>;
    enum class Opening { AtOnce, AtFirstWord };

    // Starts `make` on its own thread, at once or at the first play or pause. A factory that
    // throws or returns nullptr leaves a player that plays nothing.
    explicit DeferredPlayer(Factory make, Opening when = Opening::AtOnce);
    // Waits for the factory, so the real player is destroyed here and not on its thread.
    ~DeferredPlayer() override;
    DeferredPlayer(const DeferredPlayer&) = delete;
    DeferredPlayer& operator=(const DeferredPlayer&) = delete;

    void play(std::string_view wordFile, const StopFlag& stop) override;
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override;
    void silence() override;

    // The real player once it is built; nullptr before, or when it could not be built.
    WordPlayer* ready() const;
    bool started() const { return m_started; }

private:
    void start();
    // The real player, waiting for it until it is built or `stop` is set.
    WordPlayer* await(const StopFlag* stop);

    Factory m_make;
    std::once_flag m_startOnce;
    std::atomic<bool> m_started{false};
    std::shared_future<std::unique_ptr<WordPlayer>> m_player;  // set once, under m_startOnce
};

}  // namespace quorvel
