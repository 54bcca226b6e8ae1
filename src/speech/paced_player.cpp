#include "speech/paced_player.h"

#include <algorithm>
#include <thread>

namespace quorvel {

std::size_t chunkFrames(int sampleRate) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(sampleRate) *
                                        static_cast<std::size_t>(kPlayChunk.count()) / 1000);
}

bool paceFrames(std::size_t frames, int sampleRate, const StopFlag& stop) {
    if (sampleRate <= 0) return !stop.isSet();
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const std::size_t chunk = chunkFrames(sampleRate);
    for (std::size_t done = 0; done < frames;) {
        if (stop.isSet()) return false;
        done = std::min(frames, done + chunk);
        // Deadlines from the start, not sleeps per chunk, so the pace does not drift.
        std::this_thread::sleep_until(
            start +
            std::chrono::microseconds(static_cast<long long>(done) * 1'000'000 / sampleRate));
    }
    return !stop.isSet();
}

void PacedPlayer::play(std::string_view wordFile, const StopFlag& stop) {
    const Sound* sound = m_bank.find(wordFile);
    if (sound == nullptr || sound->samples.empty()) return;
    const std::size_t gap = framesFor(m_spacing.beforeWord(), sound->sampleRate);
    paceFrames(gap + sound->samples.size(), sound->sampleRate, stop);
}

void PacedPlayer::pause(std::chrono::milliseconds duration, const StopFlag& stop) {
    m_spacing.parted();
    stop.waitFor(duration);
}

}  // namespace quorvel
