#pragma once

#include <filesystem>
#include <iosfwd>
#include <mutex>

#include "speech/sound_bank.h"
#include "speech/word_player.h"

namespace quorvel {

// Plays words on the default output device through a PortAudio blocking stream. Without a
// device it says so once and still takes each word's duration, so a reading behaves the same
// on a build server as on a desktop.
class AudioPlayer final : public WordPlayer {
public:
    explicit AudioPlayer(const std::filesystem::path& soundsDirectory, std::ostream& diag);
    ~AudioPlayer() override;
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // Safe to call from several speech workers at once: their words take turns.
    void play(std::string_view wordFile) override;
    void pause(std::chrono::milliseconds duration) override;
    void silence() override;

    bool hasDevice() const { return m_stream != nullptr; }
    const SoundBank& bank() const { return m_bank; }

private:
    void stopStream();
    void loseDevice(const char* what, int error);

    SoundBank m_bank;
    std::ostream& m_diag;
    std::mutex m_mutex;
    bool m_initialised = false;
    void* m_stream = nullptr;  // PaStream, which PortAudio itself declares as void
    bool m_running = false;
};

}  // namespace quorvel
