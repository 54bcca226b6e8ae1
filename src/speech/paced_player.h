#pragma once

#include <chrono>
#include <cstddef>

#include "speech/sound_bank.h"
#include "speech/word_player.h"

namespace quorvel {

// Frames a device takes per write; a stop is seen between writes, so this bounds how long a
// stopped word goes on sounding.
inline constexpr std::chrono::milliseconds kPlayChunk{10};

std::size_t chunkFrames(int sampleRate);

// Takes the real time `frames` would sound for, one chunk after another, as a device's
// blocking writes would; returns false when `stop` ended it early.
bool paceFrames(std::size_t frames, int sampleRate, const StopFlag& stop);

// Plays the recordings into no device: every word lasts as long as its recording, so a
// reading is timed as on a desktop, on a machine without sound or in a measurement.
class PacedPlayer final : public WordPlayer {
public:
    explicit PacedPlayer(const SoundBank& bank, std::chrono::milliseconds gap = kWordGap)
        : m_bank(bank), m_spacing(gap) {}

    // One request at a time, as a speech worker slot plays them.
    void play(std::string_view wordFile, const StopFlag& stop) override;
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override;
    void silence() override { m_spacing.parted(); }

private:
    const SoundBank& m_bank;
    WordSpacing m_spacing;
};

}  // namespace quorvel
