#include "speech/sound_bank.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

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

TEST(SoundBank, ReportsAMissingWordOnce) {
    std::ostringstream diag;
    const SoundBank bank(kSounds, diag);
    EXPECT_NE(bank.find("one2.wav"), nullptr);
    EXPECT_EQ(bank.find("nosuch.wav"), nullptr);
    EXPECT_EQ(bank.find("nosuch.wav"), nullptr);
    EXPECT_EQ(diag.str(), "quorvel: no recording nosuch.wav in " + kSounds.string() + "\n");
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
