#include "speech/audio_player.h"

#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

#include <ostream>
#include <thread>

namespace quorvel {
namespace {

// ALSA and JACK print dozens of lines to standard error while PortAudio probes for devices
// that are not there; one line of our own says it better.
class QuietStderr {
public:
    QuietStderr() : m_saved(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY);
        if (m_saved >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) close(null);
    }
    ~QuietStderr() {
        if (m_saved >= 0) {
            dup2(m_saved, STDERR_FILENO);
            close(m_saved);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int m_saved;
};

std::chrono::microseconds durationOf(const Sound& sound) {
    if (sound.sampleRate <= 0) return {};
    return std::chrono::microseconds(static_cast<long long>(sound.samples.size()) * 1'000'000 /
                                     sound.sampleRate);
}

}  // namespace

AudioPlayer::AudioPlayer(const std::filesystem::path& soundsDirectory, std::ostream& diag)
    : m_bank(soundsDirectory, diag), m_diag(diag) {
    PaError error;
    {
        QuietStderr quiet;
        error = Pa_Initialize();
        if (error == paNoError) {
            m_initialised = true;
            PaStream* stream = nullptr;
            error = Pa_OpenDefaultStream(&stream, 0, 1, paInt16, m_bank.sampleRate(),
                                         paFramesPerBufferUnspecified, nullptr, nullptr);
            if (error == paNoError) m_stream = stream;
        }
    }
    if (m_stream == nullptr) loseDevice("no audio device", error);
}

AudioPlayer::~AudioPlayer() {
    std::lock_guard lock(m_mutex);
    stopStream();
    QuietStderr quiet;
    if (m_stream != nullptr) Pa_CloseStream(m_stream);
    if (m_initialised) Pa_Terminate();
}

void AudioPlayer::loseDevice(const char* what, int error) {
    m_diag << "quorvel: " << what << " (" << Pa_GetErrorText(error)
           << "); words are timed but not heard\n";
    if (m_stream != nullptr) {
        Pa_AbortStream(m_stream);
        Pa_CloseStream(m_stream);
        m_stream = nullptr;
    }
    m_running = false;
}

void AudioPlayer::stopStream() {
    if (m_stream != nullptr && m_running) Pa_StopStream(m_stream);
    m_running = false;
}

void AudioPlayer::play(std::string_view wordFile) {
    const Sound* sound = m_bank.find(wordFile);
    if (sound == nullptr || sound->samples.empty()) return;
    std::unique_lock lock(m_mutex);
    if (m_stream != nullptr && !m_running) {
        if (const PaError error = Pa_StartStream(m_stream); error != paNoError) {
            loseDevice("audio device failed", error);
        } else {
            m_running = true;
        }
    }
    if (m_stream != nullptr) {
        const PaError error = Pa_WriteStream(m_stream, sound->samples.data(),
                                             static_cast<unsigned long>(sound->samples.size()));
        // An underflow only means the device waited for us; the word was still played.
        if (error == paNoError || error == paOutputUnderflowed) return;
        loseDevice("audio device failed", error);
    }
    std::this_thread::sleep_for(durationOf(*sound));
}

void AudioPlayer::pause(std::chrono::milliseconds duration) {
    {
        std::lock_guard lock(m_mutex);
        stopStream();
    }
    std::this_thread::sleep_for(duration);
}

void AudioPlayer::silence() {
    std::lock_guard lock(m_mutex);
    stopStream();
}

}  // namespace quorvel
