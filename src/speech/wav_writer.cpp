#include "speech/wav_writer.h"

namespace quorvel {

WavWriter::WavWriter(const SoundBank& bank) : m_bank(bank) {
    m_sound.sampleRate = bank.sampleRate();
}

void WavWriter::play(std::string_view wordFile, const StopFlag&) {
    if (const Sound* word = m_bank.find(wordFile)) {
        m_sound.samples.insert(m_sound.samples.end(), word->samples.begin(), word->samples.end());
    }
}

void WavWriter::pause(std::chrono::milliseconds duration, const StopFlag&) {
    if (duration.count() <= 0) return;
    const auto frames = static_cast<std::size_t>(duration.count()) *
                        static_cast<std::size_t>(m_sound.sampleRate) / 1000;
    m_sound.samples.resize(m_sound.samples.size() + frames, 0);
}

bool WavWriter::save(const std::filesystem::path& file, std::string* error) const {
    return writeWav(file, m_sound, error);
}

bool writePlanToWav(const WordPlan& plan, const SoundBank& bank, const std::filesystem::path& file,
                    std::string* error) {
    WavWriter writer(bank);
    playPlan(plan, writer);
    return writer.save(file, error);
}

}  // namespace quorvel
