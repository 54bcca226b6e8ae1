#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A recording as 16-bit mono samples (several channels are mixed down on reading).
struct Sound {
    int sampleRate = 0;
    std::vector<std::int16_t> samples;
};

// Reads one WAV file with libsndfile; on failure gives nullopt and, if asked, the reason.
std::optional<Sound> readWav(const std::filesystem::path& file, std::string* error = nullptr);

// Writes 16-bit mono PCM WAV.
bool writeWav(const std::filesystem::path& file, const Sound& sound, std::string* error = nullptr);

// Every recording of one folder, read into memory at the first word asked for (on the thread
// that speaks it, not at start-up), so later words start without disk access. All recordings
// must share one sample rate; the first readable file (by name) sets it, and only that file's
// header is read up front, for the device.
class SoundBank {
public:
    static constexpr int kDefaultSampleRate = 16000;

    // Problems (no folder, unreadable file, other sample rate) are reported on `diag`; all but
    // a missing folder when the recordings are read.
    explicit SoundBank(const std::filesystem::path& directory, std::ostream& diag);

    // A word without a recording gives nullptr and is reported once on `diag`. Safe from
    // several threads; the first call reads every recording.
    const Sound* find(std::string_view wordFile) const;

    int sampleRate() const { return m_sampleRate; }
    // The recordings that could be read (reads them if that has not happened yet).
    std::size_t size() const;
    bool loaded() const;
    const std::filesystem::path& directory() const { return m_directory; }

private:
    void load() const;

    std::filesystem::path m_directory;
    std::ostream& m_diag;
    int m_sampleRate = kDefaultSampleRate;
    std::vector<std::filesystem::path> m_files;  // by name
    mutable std::once_flag m_loadOnce;
    mutable std::atomic<bool> m_loaded{false};
    mutable std::map<std::string, Sound, std::less<>> m_sounds;  // written only under m_loadOnce
    mutable std::mutex m_reportedMutex;
    mutable std::set<std::string, std::less<>> m_reported;
};

// Where the recordings of a program in `programDirectory` are: "sounds" beside it (the build
// tree), else the installed ../share/quorvel/sounds; the first when neither exists.
std::filesystem::path findSoundsDir(const std::filesystem::path& programDirectory);
// The places findSoundsDir looks, in its order.
std::vector<std::filesystem::path> soundsDirCandidates(
    const std::filesystem::path& programDirectory);

}  // namespace quorvel
