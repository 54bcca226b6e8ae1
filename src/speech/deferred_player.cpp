#include "speech/deferred_player.h"

#include <utility>

namespace quorvel {
namespace {

constexpr std::chrono::milliseconds kStopCheck{5};

}  // namespace

DeferredPlayer::DeferredPlayer(Factory make, Opening when) : m_make(std::move(make)) {
    if (when == Opening::AtOnce) start();
}

void DeferredPlayer::start() {
    std::call_once(m_startOnce, [this] {
        m_player = std::async(std::launch::async,
                              [make = std::move(m_make)]() -> std::unique_ptr<WordPlayer> {
                                  try {
                                      return make ? make() : nullptr;
                                  } catch (...) {
                                      return nullptr;
                                  }
                              })
                       .share();
        m_started = true;
    });
}

DeferredPlayer::~DeferredPlayer() {
    if (m_started) m_player.wait();
}

WordPlayer* DeferredPlayer::ready() const {
    if (!m_started) return nullptr;
    if (m_player.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return nullptr;
    return m_player.get().get();
}

WordPlayer* DeferredPlayer::await(const StopFlag* stop) {
    start();
    while (m_player.wait_for(kStopCheck) != std::future_status::ready) {
        if (stop != nullptr && stop->isSet()) return nullptr;
    }
    return m_player.get().get();
}

void DeferredPlayer::play(std::string_view wordFile, const StopFlag& stop) {
    if (WordPlayer* player = await(&stop)) player->play(wordFile, stop);
}

void DeferredPlayer::pause(std::chrono::milliseconds duration, const StopFlag& stop) {
    const auto deadline = std::chrono::steady_clock::now() + duration;
    if (WordPlayer* player = await(&stop)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left > std::chrono::milliseconds(0)) player->pause(left, stop);
    }
}

// Nothing can be sounding before the player exists, so there is nothing to wait for then.
void DeferredPlayer::silence() {
    if (WordPlayer* player = ready()) player->silence();
}

}  // namespace quorvel
