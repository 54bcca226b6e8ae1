#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <mutex>

#include "speech/sound_bank.h"
#include "speech/word_player.h"

namespace quorvel {

namespace audio {
struct PortAudioApi;
}

// Plays words on the default output device through a PortAudio blocking stream, one chunk of
// about 10 ms per write, so a stop is seen between writes and the buffered rest is dropped.
// Without a device it says so once and still takes each word's duration, so a reading behaves
// the same on a build server as on a desktop.
class AudioPlayer final : public WordPlayer {
public:
    AudioPlayer(const std::filesystem::path& soundsDirectory, std::ostream& diag,
                std::chrono::milliseconds gap = kWordGap);
    ~AudioPlayer() override;
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // Safe to call from several speech workers at once: their words take turns, and a word
    // waiting for its turn still gives up as soon as its stop flag is set.
    void play(std::string_view wordFile, const StopFlag& stop) override;
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override;
    void silence() override;

    bool hasDevice() const { return m_stream != nullptr; }
    const SoundBank& bank() const { return m_bank; }

private:
    void abortStream();
    void loseDevice(const char* what, int error);
    // Writes `gapFrames` of quiet, then the word, chunk by chunk; false when the device failed
    // and the rest must be paced.
    bool writeWord(const Sound& sound, std::size_t gapFrames, std::size_t& written,
                   const StopFlag& stop);

    SoundBank m_bank;
    std::ostream& m_diag;
    const audio::PortAudioApi* m_pa = nullptr;  // nullptr when PortAudio cannot be loaded
    std::timed_mutex m_mutex;                   // the device, held for a whole word
    bool m_initialised = false;
    void* m_stream = nullptr;  // PaStream, which PortAudio itself declares as void
    bool m_running = false;
    WordSpacing m_spacing;  // held under m_mutex
};

}  // namespace quorvel
