#pragma once

#include <filesystem>
#include <string>

#include "speech/sound_bank.h"
#include "speech/word_player.h"

namespace quorvel {

// Joins the words it is given into one recording, with silence for the pauses and the gap
// between words.
class WavWriter final : public WordPlayer {
public:
    explicit WavWriter(const SoundBank& bank, std::chrono::milliseconds gap = kWordGap);

    // A file has no listener to interrupt: the stop flag is left to the reading.
    void play(std::string_view wordFile, const StopFlag& stop) override;
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override;
    void silence() override { m_spacing.parted(); }

    const Sound& sound() const { return m_sound; }
    void reserve(std::size_t frames) { m_sound.samples.reserve(frames); }
    bool save(const std::filesystem::path& file, std::string* error = nullptr) const;

private:
    const SoundBank& m_bank;
    Sound m_sound;
    WordSpacing m_spacing;
};

bool writePlanToWav(const WordPlan& plan, const SoundBank& bank, const std::filesystem::path& file,
                    std::string* error = nullptr, std::chrono::milliseconds gap = kWordGap);

}  // namespace quorvel
