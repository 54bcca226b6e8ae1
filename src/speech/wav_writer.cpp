#include "speech/wav_writer.h"

namespace quorvel {

WavWriter::WavWriter(const SoundBank& bank, std::chrono::milliseconds gap)
    : m_bank(bank), m_spacing(gap) {
    m_sound.sampleRate = bank.sampleRate();
}

void WavWriter::play(std::string_view wordFile, const StopFlag&) {
    const Sound* word = m_bank.find(wordFile);
    if (word == nullptr || word->samples.empty()) return;
    const std::size_t gap = framesFor(m_spacing.beforeWord(), m_sound.sampleRate);
    m_sound.samples.resize(m_sound.samples.size() + gap, 0);
    m_sound.samples.insert(m_sound.samples.end(), word->samples.begin(), word->samples.end());
}

void WavWriter::pause(std::chrono::milliseconds duration, const StopFlag&) {
    m_spacing.parted();
    m_sound.samples.resize(m_sound.samples.size() + framesFor(duration, m_sound.sampleRate), 0);
}

bool WavWriter::save(const std::filesystem::path& file, std::string* error) const {
    return writeWav(file, m_sound, error);
}

bool writePlanToWav(const WordPlan& plan, const SoundBank& bank, const std::filesystem::path& file,
                    std::string* error, std::chrono::milliseconds gap) {
    WavWriter writer(bank, gap);
    // Room for the whole recording at once: grown word by word it would at times take twice
    // its size.
    std::size_t frames = 0;
    for (const WordEntry& entry : plan) {
        if (entry.isPause()) {
            frames += framesFor(entry.pause, bank.sampleRate());
        } else if (const Sound* word = bank.find(entry.file)) {
            frames += word->samples.size() + framesFor(gap, bank.sampleRate());
        }
    }
    writer.reserve(frames);
    playPlan(plan, writer);
    return writer.save(file, error);
}

}  // namespace quorvel
