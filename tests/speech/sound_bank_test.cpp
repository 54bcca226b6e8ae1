#include "speech/sound_bank.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "calc/function_table.h"
#include "speech/audio_player.h"
#include "speech/wav_writer.h"
#include "speech/wording.h"

namespace quorvel {
namespace {

const std::filesystem::path kSounds = QUORVEL_SOUNDS_DIR;

// Every word file some request can name: each key, function and button word, numbers that
// reach every place, both digit forms, the exponent mark.
std::set<std::string> reachableWords() {
    std::vector<std::pair<std::string, std::string>> requests;
    for (int ch = 1; ch < 128; ++ch) requests.push_back({"key", std::string(1, char(ch))});
    for (const FunctionEntry& function : FunctionTable()) {
        requests.push_back({"key", std::string(function.name) + "("});
    }
    for (const char* name :
         {"welcome", "help", "calculate", "minimize", "talkinput", "talkresult", "talkinout",
          "paste", "function", "log", "setting", "test", "exit", "copy"}) {
        requests.push_back({"msg", name});
    }
    for (int n = 0; n < 1000; ++n) requests.push_back({"input", std::to_string(n)});
    for (const char* n : {"123456789", "1000000000", "1.5e+20"}) requests.push_back({"result", n});

    std::set<std::string> words;
    for (const auto& [command, text] : requests) {
        for (const WordEntry& entry : makeWordPlan(command, text)) {
            if (!entry.isPause()) words.insert(entry.file);
        }
    }
    return words;
}

// The format fields of a WAV file's "fmt " chunk, or zeros.
struct WavFormat {
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
};
WavFormat wavFormat(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[36] = {};
    in.read(header, sizeof header);
    if (!in || std::string(header, 4) != "RIFF" || std::string(header + 8, 8) != "WAVEfmt ") {
        return {};
    }
    auto u16 = [&](int at) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(header[at]) |
                                          static_cast<unsigned char>(header[at + 1]) << 8);
    };
    return {u16(22), u16(34)};
}

TEST(Recordings, EveryReachableWordIsAReadableMonoWav) {
    const std::set<std::string> words = reachableWords();
    EXPECT_EQ(words.size(), 107u);
    std::set<int> rates;
    for (const std::string& word : words) {
        SCOPED_TRACE(word);
        std::string error;
        const std::optional<Sound> sound = readWav(kSounds / word, &error);
        ASSERT_TRUE(sound.has_value()) << error;
        EXPECT_GT(sound->samples.size(), 1000u);
        rates.insert(sound->sampleRate);
        const WavFormat format = wavFormat(kSounds / word);
        EXPECT_EQ(format.channels, 1);
        EXPECT_EQ(format.bits, 16);
    }
    EXPECT_EQ(rates.size(), 1u);

    std::ostringstream diag;
    EXPECT_EQ(SoundBank(kSounds, diag).size(), words.size());
    EXPECT_EQ(diag.str(), "");
}

// Level in dBFS of a sample magnitude (or an RMS) of 16-bit audio.
double dbfs(double magnitude) { return 20.0 * std::log10(std::max(magnitude, 1.0) / 32768.0); }

// What a listener notices of one recording: how it starts and ends, how loud it is, and how
// much quiet surrounds the voice.
struct Loudness {
    double startPeak = 0;  // dBFS, the first 5 ms
    double endPeak = 0;    // dBFS, the last 5 ms
    double peak = 0;       // dBFS
    double rms = 0;        // dBFS
    double leadMs = 0;     // before the first sample above -40 dBFS
    double trailMs = 0;    // after the last one
};
Loudness measure(const Sound& sound) {
    const auto& s = sound.samples;
    const auto magnitude = [](std::int16_t v) { return std::abs(static_cast<int>(v)); };
    const auto peakOf = [&](auto first, auto last) {
        int peak = 0;
        for (auto it = first; it != last; ++it) peak = std::max(peak, magnitude(*it));
        return dbfs(peak);
    };
    const std::ptrdiff_t fiveMs = sound.sampleRate / 200;
    double energy = 0;
    for (std::int16_t v : s) energy += double(v) * v;
    const int threshold = static_cast<int>(32768.0 * std::pow(10.0, -40.0 / 20.0));
    const auto loud = [&](std::int16_t v) { return magnitude(v) > threshold; };
    const auto first = std::find_if(s.begin(), s.end(), loud);
    const auto last = std::find_if(s.rbegin(), s.rend(), loud);
    const double msPerSample = 1000.0 / sound.sampleRate;
    return {peakOf(s.begin(), s.begin() + fiveMs),
            peakOf(s.end() - fiveMs, s.end()),
            peakOf(s.begin(), s.end()),
            dbfs(std::sqrt(energy / double(s.size()))),
            double(first - s.begin()) * msPerSample,
            double(last - s.rbegin()) * msPerSample};
}

TEST(Loudness, MeasuresStartEndLevelAndQuiet) {
    // 1000 Hz, so a millisecond is one sample: 10 ms quiet, 20 ms at full scale, 30 ms quiet.
    Sound sound{1000, std::vector<std::int16_t>(60, 0)};
    for (int i = 10; i < 30; ++i) sound.samples[i] = (i % 2 == 0) ? 32767 : -32767;
    const Loudness m = measure(sound);
    EXPECT_NEAR(m.leadMs, 10.0, 1e-9);
    EXPECT_NEAR(m.trailMs, 30.0, 1e-9);
    EXPECT_NEAR(m.peak, 0.0, 0.01);
    EXPECT_NEAR(m.rms, 10.0 * std::log10(20.0 / 60.0), 0.01);
    EXPECT_LT(m.startPeak, -80.0);
    EXPECT_LT(m.endPeak, -80.0);
}

// The listening check measures how the recordings are heard; these are the properties it relies
// on and that a regenerated set could lose: no click at either end, one speech level, no
// clipping, and the voice cut close, since the players add the quiet between words themselves.
TEST(Recordings, StartSoftlyAtOneLevelAndAreCutCloseToTheVoice) {
    for (const std::string& word : reachableWords()) {
        SCOPED_TRACE(word);
        const std::optional<Sound> sound = readWav(kSounds / word);
        ASSERT_TRUE(sound.has_value());
        EXPECT_EQ(sound->sampleRate, 16000);
        const Loudness m = measure(*sound);
        EXPECT_LT(m.startPeak, -30.0);
        EXPECT_LT(m.endPeak, -20.0);
        EXPECT_NEAR(m.rms, -20.0, 1.0);
        EXPECT_LE(m.peak, -1.0);
        EXPECT_LE(m.leadMs, 50.0);
        EXPECT_LE(m.trailMs, 50.0);
    }
}

TEST(SoundBank, ReportsAMissingWordOnce) {
    std::ostringstream diag;
    const SoundBank bank(kSounds, diag);
    EXPECT_NE(bank.find("one2.wav"), nullptr);
    EXPECT_EQ(bank.find("nosuch.wav"), nullptr);
    EXPECT_EQ(bank.find("nosuch.wav"), nullptr);
    EXPECT_EQ(diag.str(), "quorvel: no recording nosuch.wav in " + kSounds.string() + "\n");
}

// Start-up reads nothing but the sample rate; the first word reads them all, once, whichever
// speech worker asks first.
TEST(SoundBank, ReadsTheRecordingsAtTheFirstWordOnly) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_sound_bank_late_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "a_broken.wav") << "not a recording";
    ASSERT_TRUE(writeWav(dir / "b_slow.wav", Sound{8000, std::vector<std::int16_t>(80, 1)}));
    ASSERT_TRUE(writeWav(dir / "c_other.wav", Sound{11025, std::vector<std::int16_t>(90, 2)}));
    ASSERT_TRUE(writeWav(dir / "d_more.wav", Sound{8000, std::vector<std::int16_t>(70, 3)}));

    std::ostringstream diag;
    const SoundBank bank(dir, diag);
    EXPECT_FALSE(bank.loaded());
    EXPECT_EQ(bank.sampleRate(), 8000);  // the first file that opens, by name
    EXPECT_EQ(diag.str(), "");

    std::vector<std::thread> speakers;
    std::vector<const Sound*> found(4, nullptr);
    for (std::size_t i = 0; i < found.size(); ++i) {
        speakers.emplace_back(
            [&, i] { found[i] = bank.find(i % 2 == 0 ? "b_slow.wav" : "d_more.wav"); });
    }
    for (std::thread& t : speakers) t.join();
    EXPECT_TRUE(bank.loaded());
    for (std::size_t i = 0; i < found.size(); ++i) {
        ASSERT_NE(found[i], nullptr);
        EXPECT_EQ(found[i]->samples.size(), i % 2 == 0 ? 80u : 70u);
    }
    EXPECT_EQ(bank.find("c_other.wav"), nullptr);
    EXPECT_EQ(bank.size(), 2u);
    const std::string said = diag.str();
    EXPECT_NE(said.find("a_broken.wav: "), std::string::npos) << said;
    EXPECT_NE(said.find("c_other.wav is 11025 Hz, not 8000 Hz"), std::string::npos) << said;
    // Each problem once, though four workers asked at the same moment.
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 3) << said;
    fs::remove_all(dir);
}

TEST(SoundBank, SkipsWordFilesItCannotReadWithoutWaitingOnThem) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_sound_bank_skip_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(kSounds / "five2.wav", dir / "five2.wav");
    ASSERT_EQ(::mkfifo((dir / "fifo.wav").c_str(), 0644), 0);  // opened, it would wait forever
    fs::create_directory(dir / "folder.wav");
    fs::create_symlink(dir / "gone.wav", dir / "link.wav");
    std::ofstream(dir / "text.wav") << "not a recording";

    std::ostringstream diag;
    const SoundBank bank(dir, diag);
    EXPECT_EQ(bank.size(), 1u);
    EXPECT_NE(bank.find("five2.wav"), nullptr);
    const std::string said = diag.str();
    for (const char* line : {"fifo.wav: not a regular file\n", "folder.wav: not a regular file\n",
                             "link.wav: No such file or directory\n", "text.wav: "}) {
        EXPECT_NE(said.find(line), std::string::npos) << line << " in " << said;
    }
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 4);
    fs::remove_all(dir);
}

TEST(WavWriter, JoinsWordsWithSilenceForPauses) {
    std::ostringstream diag;
    const SoundBank bank(kSounds, diag);
    const auto out = std::filesystem::temp_directory_path() / "quorvel_wav_writer_test.wav";
    ASSERT_TRUE(writePlanToWav(makeWordPlan("expr", "1:7|8|"), bank, out));

    const std::optional<Sound> joined = readWav(out);
    std::filesystem::remove(out);
    ASSERT_TRUE(joined.has_value());
    const auto& seven = bank.find("seven2.wav")->samples;
    const auto& eight = bank.find("eight2.wav")->samples;
    const std::size_t pause = static_cast<std::size_t>(bank.sampleRate()) * 2;
    ASSERT_EQ(joined->samples.size(), seven.size() + pause + eight.size() + pause);
    EXPECT_EQ(joined->sampleRate, bank.sampleRate());

    const auto begin = joined->samples.begin();
    EXPECT_TRUE(std::equal(seven.begin(), seven.end(), begin));
    EXPECT_TRUE(std::all_of(begin + seven.size(), begin + seven.size() + pause,
                            [](std::int16_t s) { return s == 0; }));
    EXPECT_TRUE(std::equal(eight.begin(), eight.end(), begin + seven.size() + pause));
}

TEST(FindSoundsDir, PrefersTheBuildTreeThenTheInstalledShare) {
    const auto root = std::filesystem::temp_directory_path() / "quorvel_find_sounds_test";
    std::filesystem::remove_all(root);
    const auto bin = root / "bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(findSoundsDir(bin), bin / "sounds");

    std::filesystem::create_directories(root / "share/quorvel/sounds");
    EXPECT_EQ(findSoundsDir(bin), root / "share/quorvel/sounds");

    std::filesystem::create_directories(bin / "sounds");
    EXPECT_EQ(findSoundsDir(bin), bin / "sounds");
    std::filesystem::remove_all(root);
}

TEST(AudioPlayer, WithoutADeviceSaysSoOnce) {
    std::ostringstream diag;
    AudioPlayer player(kSounds, diag);
    if (player.hasDevice()) GTEST_SKIP() << "an audio device is present";
    const StopFlag stop;
    player.play("nosuch.wav", stop);
    player.play("nosuch.wav", stop);
    player.silence();
    const std::string text = diag.str();
    EXPECT_EQ(text.find("quorvel: no audio device"), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_NE(text.find("no recording nosuch.wav"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
