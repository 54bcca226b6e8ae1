#include "speech/audio_player.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <vector>

#include "speech/audio_library.h"
#include "speech/paced_player.h"

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

}  // namespace

AudioPlayer::AudioPlayer(const std::filesystem::path& soundsDirectory, std::ostream& diag,
                         std::chrono::milliseconds gap)
    : m_bank(soundsDirectory, diag), m_diag(diag), m_spacing(gap) {
    std::string failure;
    m_pa = audio::portAudio(&failure);
    if (m_pa == nullptr) {
        m_diag << "quorvel: cannot load " << audio::portAudioLibraryName() << " (" << failure
               << "); words are timed but not heard\n";
        return;
    }
    PaError error;
    {
        QuietStderr quiet;
        error = m_pa->initialize();
        if (error == paNoError) {
            m_initialised = true;
            PaStream* stream = nullptr;
            error = m_pa->openDefaultStream(&stream, 0, 1, paInt16, m_bank.sampleRate(),
                                            paFramesPerBufferUnspecified, nullptr, nullptr);
            if (error == paNoError) m_stream = stream;
        }
    }
    if (m_stream == nullptr) loseDevice("no audio device", error);
}

AudioPlayer::~AudioPlayer() {
    std::lock_guard lock(m_mutex);
    abortStream();
    QuietStderr quiet;
    if (m_stream != nullptr) m_pa->closeStream(m_stream);
    if (m_initialised) m_pa->terminate();
}

void AudioPlayer::loseDevice(const char* what, int error) {
    m_diag << "quorvel: " << what << " (" << m_pa->errorText(error)
           << "); words are timed but not heard\n";
    if (m_stream != nullptr) {
        m_pa->abortStream(m_stream);
        m_pa->closeStream(m_stream);
        m_stream = nullptr;
    }
    m_running = false;
}

// Aborting drops what the device still holds, which is what a stop wants; a word that ran to
// its end has already been waited out in play.
void AudioPlayer::abortStream() {
    if (m_stream != nullptr && m_running) m_pa->abortStream(m_stream);
    m_running = false;
}

bool AudioPlayer::writeWord(const Sound& sound, std::size_t gapFrames, std::size_t& written,
                            const StopFlag& stop) {
    if (!m_running) {
        if (const PaError error = m_pa->startStream(m_stream); error != paNoError) {
            loseDevice("audio device failed", error);
            return false;
        }
        m_running = true;
    }
    const std::size_t total = gapFrames + sound.samples.size();
    const std::size_t chunk = chunkFrames(sound.sampleRate);
    const std::vector<std::int16_t> quiet(gapFrames > 0 ? chunk : 0, 0);
    while (written < total) {
        if (stop.isSet()) {
            abortStream();
            return true;
        }
        // The gap is written like the word, so it keeps the stream running and a stop cuts it.
        const bool inGap = written < gapFrames;
        const std::size_t frames = std::min(chunk, (inGap ? gapFrames : total) - written);
        const std::int16_t* from =
            inGap ? quiet.data() : sound.samples.data() + (written - gapFrames);
        const PaError error = m_pa->writeStream(m_stream, from, static_cast<unsigned long>(frames));
        // An underflow only means the device waited for us; the chunk was still played.
        if (error != paNoError && error != paOutputUnderflowed) {
            loseDevice("audio device failed", error);
            return false;
        }
        written += frames;
    }
    // The device still holds up to its latency of this word; it must sound before play returns.
    const PaStreamInfo* info = m_pa->streamInfo(m_stream);
    const double seconds = info != nullptr ? info->outputLatency : 0.0;
    const auto wordTime = std::chrono::microseconds(static_cast<long long>(sound.samples.size()) *
                                                    1'000'000 / std::max(1, sound.sampleRate));
    const auto tail = std::min(wordTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                             std::chrono::duration<double>(seconds)));
    if (stop.waitFor(tail)) abortStream();
    return true;
}

void AudioPlayer::play(std::string_view wordFile, const StopFlag& stop) {
    const Sound* sound = m_bank.find(wordFile);
    if (sound == nullptr || sound->samples.empty()) return;
    std::unique_lock lock(m_mutex, std::defer_lock);
    while (!lock.try_lock_for(kPlayChunk)) {
        if (stop.isSet()) return;
    }
    const std::size_t gap = framesFor(m_spacing.beforeWord(), sound->sampleRate);
    std::size_t written = 0;
    if (m_stream != nullptr && writeWord(*sound, gap, written, stop)) return;
    paceFrames(gap + sound->samples.size() - written, sound->sampleRate, stop);
}

void AudioPlayer::pause(std::chrono::milliseconds duration, const StopFlag& stop) {
    // Another worker holding the device is playing its own word; there is nothing of ours to end.
    if (std::unique_lock lock(m_mutex, std::try_to_lock); lock.owns_lock()) {
        abortStream();
        m_spacing.parted();
    }
    stop.waitFor(duration);
}

void AudioPlayer::silence() {
    if (std::unique_lock lock(m_mutex, std::try_to_lock); lock.owns_lock()) {
        abortStream();
        m_spacing.parted();
    }
}

}  // namespace quorvel
