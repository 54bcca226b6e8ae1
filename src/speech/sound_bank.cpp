#include "speech/sound_bank.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include "speech/audio_library.h"

namespace quorvel {

namespace {

// The file opened for reading if it is a regular file. Opening does not wait: a FIFO named
// like a recording would otherwise hold the program until something writes to it.
int openRegularFile(const std::filesystem::path& file, std::string* error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr) *error = std::strerror(errno);
        return -1;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (error != nullptr) *error = "not a regular file";
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

}  // namespace

std::optional<Sound> readWav(const std::filesystem::path& file, std::string* error) {
    const audio::SndFileApi* sf = audio::sndFile(error);
    if (sf == nullptr) return std::nullopt;
    const int fd = openRegularFile(file, error);
    if (fd < 0) return std::nullopt;
    // libsndfile is left the descriptor, not its closing, so a failed open closes it once.
    SF_INFO info{};
    SNDFILE* handle = sf->openFd(fd, SFM_READ, &info, SF_FALSE);
    if (handle == nullptr) {
        ::close(fd);
        if (error != nullptr) *error = sf->strerror(nullptr);
        return std::nullopt;
    }
    const auto closeAll = [&] {
        sf->close(handle);
        ::close(fd);
    };
    if (info.channels < 1 || info.frames < 0) {
        closeAll();
        if (error != nullptr) *error = "no audio channels";
        return std::nullopt;
    }
    std::vector<std::int16_t> interleaved(static_cast<std::size_t>(info.frames) *
                                          static_cast<std::size_t>(info.channels));
    const sf_count_t frames = sf->readfShort(handle, interleaved.data(), info.frames);
    closeAll();

    Sound sound;
    sound.sampleRate = info.samplerate;
    sound.samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(frames, 0)));
    for (std::size_t frame = 0; frame < sound.samples.size(); ++frame) {
        long sum = 0;
        for (int channel = 0; channel < info.channels; ++channel) {
            sum += interleaved[frame * static_cast<std::size_t>(info.channels) +
                               static_cast<std::size_t>(channel)];
        }
        sound.samples[frame] = static_cast<std::int16_t>(sum / info.channels);
    }
    return sound;
}

bool writeWav(const std::filesystem::path& file, const Sound& sound, std::string* error) {
    std::string failure;
    const audio::SndFileApi* sf = audio::sndFile(&failure);
    if (sf == nullptr) {
        if (error != nullptr) *error = "cannot write " + file.string() + ": " + failure;
        return false;
    }
    SF_INFO info{};
    info.samplerate = sound.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    errno = 0;
    SNDFILE* handle = sf->open(file.c_str(), SFM_WRITE, &info);
    if (handle == nullptr) {
        // The system's reason reads better than libsndfile's "System error : ..." wrapping.
        const int reason = errno;
        if (error != nullptr) {
            *error = "cannot write " + file.string() + ": " +
                     (reason != 0 ? std::strerror(reason) : sf->strerror(nullptr));
        }
        return false;
    }
    const auto count = static_cast<sf_count_t>(sound.samples.size());
    const bool written = sf->writeShort(handle, sound.samples.data(), count) == count;
    if (!written && error != nullptr) {
        *error = "cannot write " + file.string() + ": " + sf->strerror(handle);
    }
    const bool closed = sf->close(handle) == 0;
    if (written && !closed && error != nullptr) *error = "cannot write " + file.string();
    return closed && written;
}

namespace {

// The sample rate from a file's header alone; nullopt when libsndfile cannot open it.
std::optional<int> headerRate(const std::filesystem::path& file) {
    const audio::SndFileApi* sf = audio::sndFile(nullptr);
    if (sf == nullptr) return std::nullopt;
    const int fd = openRegularFile(file, nullptr);
    if (fd < 0) return std::nullopt;
    SF_INFO info{};
    SNDFILE* handle = sf->openFd(fd, SFM_READ, &info, SF_FALSE);
    std::optional<int> rate;
    if (handle != nullptr) {
        if (info.channels >= 1) rate = info.samplerate;
        sf->close(handle);
    }
    ::close(fd);
    return rate;
}

}  // namespace

SoundBank::SoundBank(const std::filesystem::path& directory, std::ostream& diag)
    : m_directory(directory), m_diag(diag) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
        if (entry.path().extension() == ".wav") m_files.push_back(entry.path());
    }
    if (ec) {
        m_diag << "quorvel: no word recordings in " << directory.string() << ": " << ec.message()
               << '\n';
        m_files.clear();
        return;
    }
    std::sort(m_files.begin(), m_files.end());
    for (const auto& file : m_files) {
        if (const std::optional<int> rate = headerRate(file)) {
            m_sampleRate = *rate;
            break;
        }
    }
}

void SoundBank::load() const {
    std::call_once(m_loadOnce, [this] {
        for (const auto& file : m_files) {
            std::string error;
            std::optional<Sound> sound = readWav(file, &error);
            if (!sound) {
                m_diag << "quorvel: cannot read " << file.string() << ": " << error << '\n';
                continue;
            }
            if (sound->sampleRate != m_sampleRate) {
                m_diag << "quorvel: " << file.string() << " is " << sound->sampleRate << " Hz, not "
                       << m_sampleRate << " Hz like the others; not used\n";
                continue;
            }
            m_sounds.emplace(file.filename().string(), std::move(*sound));
        }
        m_loaded = true;
    });
}

std::size_t SoundBank::size() const {
    load();
    return m_sounds.size();
}

bool SoundBank::loaded() const { return m_loaded; }

const Sound* SoundBank::find(std::string_view wordFile) const {
    load();
    if (auto it = m_sounds.find(wordFile); it != m_sounds.end()) return &it->second;
    std::lock_guard lock(m_reportedMutex);
    if (m_reported.emplace(wordFile).second) {
        m_diag << "quorvel: no recording " << wordFile << " in " << m_directory.string() << '\n';
    }
    return nullptr;
}

std::vector<std::filesystem::path> soundsDirCandidates(
    const std::filesystem::path& programDirectory) {
    return {programDirectory / "sounds",
            (programDirectory / ".." / "share" / "quorvel" / "sounds").lexically_normal()};
}

std::filesystem::path findSoundsDir(const std::filesystem::path& programDirectory) {
    const auto candidates = soundsDirCandidates(programDirectory);
    for (const auto& candidate : candidates) {
        std::error_code ec;
        if (std::filesystem::is_directory(candidate, ec)) return candidate;
    }
    return candidates[0];
}

}  // namespace quorvel
