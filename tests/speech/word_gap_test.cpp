#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "speech/paced_player.h"
#include "speech/sound_bank.h"
#include "speech/speech_worker.h"
#include "speech/wav_writer.h"
#include "speech/wording.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(WordSpacing, GapsOnlyWordsThatFollowAWord) {
    struct Case {
        const char* events;  // w: a word, p: a pause, s: a silence
        std::vector<int> gaps;
    };
    const Case kCases[] = {
        {"w", {0}},      {"www", {0, 50, 50}}, {"wpw", {0, 0}},
        {"wsw", {0, 0}}, {"pw", {0}},          {"wwpww", {0, 50, 0, 50}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.events);
        WordSpacing spacing(50ms);
        std::vector<int> gaps;
        for (const char* e = c.events; *e != '\0'; ++e) {
            if (*e == 'w') {
                gaps.push_back(static_cast<int>(spacing.beforeWord().count()));
            } else {
                spacing.parted();
            }
        }
        EXPECT_EQ(gaps, c.gaps);
    }
}

TEST(FramesFor, RoundsDownAndIgnoresNegatives) {
    EXPECT_EQ(framesFor(50ms, 16000), 800u);
    EXPECT_EQ(framesFor(1ms, 22050), 22u);
    EXPECT_EQ(framesFor(0ms, 16000), 0u);
    EXPECT_EQ(framesFor(-5ms, 16000), 0u);
    EXPECT_EQ(framesFor(50ms, 0), 0u);
}

// A bank of two tiny words at 1000 Hz, so a millisecond is one frame.
class WordGapTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::temp_directory_path() /
                ("quorvel_word_gap_" +
                 std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        std::filesystem::create_directories(m_dir);
        ASSERT_TRUE(writeWav(m_dir / "one2.wav", {1000, {11, 11, 11}}));
        ASSERT_TRUE(writeWav(m_dir / "two2.wav", {1000, {22, 22}}));
        m_bank = std::make_unique<SoundBank>(m_dir, m_diag);
        ASSERT_EQ(m_bank->sampleRate(), 1000);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path m_dir;
    std::ostringstream m_diag;
    std::unique_ptr<SoundBank> m_bank;
};

// Run-length form of samples, "11x3 0x50 22x2", so a failure shows where the quiet went.
std::string runs(const std::vector<std::int16_t>& samples) {
    std::string out;
    for (std::size_t i = 0; i < samples.size();) {
        std::size_t j = i;
        while (j < samples.size() && samples[j] == samples[i]) ++j;
        if (!out.empty()) out += ' ';
        out += std::to_string(samples[i]) + "x" + std::to_string(j - i);
        i = j;
    }
    return out;
}

TEST_F(WordGapTest, WavWriterPutsTheGapBetweenWordsOnly) {
    const WordEntry one{"one2.wav", {}}, two{"two2.wav", {}}, missing{"nosuch.wav", {}};
    const WordEntry pause{"", 100ms};
    struct Case {
        const char* name;
        WordPlan plan;
        std::chrono::milliseconds gap;
        const char* expected;
    };
    const Case kCases[] = {
        {"two words", {one, two}, 50ms, "11x3 0x50 22x2"},
        {"three words", {one, two, one}, 50ms, "11x3 0x50 22x2 0x50 11x3"},
        {"no gap", {one, two}, 0ms, "11x3 22x2"},
        {"a pause parts them", {one, pause, two}, 50ms, "11x3 0x100 22x2"},
        {"no quiet before the first or after the last", {one}, 50ms, "11x3"},
        {"a missing word adds no gap", {one, missing, two}, 50ms, "11x3 0x50 22x2"},
        {"leading pause", {pause, one, two}, 50ms, "0x100 11x3 0x50 22x2"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        WavWriter writer(*m_bank, c.gap);
        playPlan(c.plan, writer);
        EXPECT_EQ(runs(writer.sound().samples), c.expected);
    }
}

TEST_F(WordGapTest, ARequestSaysItsWordsApartAndItsListPausesUnchanged) {
    struct Case {
        const char* command;
        const char* text;
        const char* expected;
    };
    const Case kCases[] = {
        {"input", "1+2", "11x3 0x50 22x2"},  // plus has no recording here
        {"expr", "1:1|2|", "11x3 0x2000 22x2 0x2000"},
        {"expr", "2:1|", "11x3 0x2000 0x2000 11x3 0x2000"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.text);
        const auto out = m_dir / "out.wav";
        ASSERT_TRUE(writePlanToWav(makeWordPlan(c.command, c.text), *m_bank, out, nullptr, 50ms));
        const std::optional<Sound> sound = readWav(out);
        ASSERT_TRUE(sound.has_value());
        // Runs of quiet that touch merge in the file; compare in the same form.
        std::string expected = c.expected;
        for (std::string::size_type at;
             (at = expected.find("0x2000 0x2000")) != std::string::npos;) {
            expected.replace(at, 13, "0x4000");
        }
        EXPECT_EQ(runs(sound->samples), expected);
    }
}

TEST_F(WordGapTest, PacedPlayerTakesTheGapAndAStopCutsIt) {
    // Two words of a few milliseconds with a long gap: the gap is what takes the time.
    {
        PacedPlayer paced(*m_bank, 300ms);
        const StopFlag neverSet;
        const Clock::time_point start = Clock::now();
        paced.play("one2.wav", neverSet);
        paced.play("two2.wav", neverSet);
        EXPECT_GE(Clock::now() - start, 300ms);
        paced.pause(0ms, neverSet);
        const Clock::time_point afterPause = Clock::now();
        paced.play("one2.wav", neverSet);
        EXPECT_LT(Clock::now() - afterPause, 250ms) << "a word after a pause needs no gap";
    }
    // A stop in the middle of a gap ends it as it ends a word.
    PacedPlayer paced(*m_bank, 5000ms);
    SpeechWorker worker(paced);
    ASSERT_TRUE(worker.StartTalk({SpeechKind::Input, "1+2"}));
    std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(worker.isTalking());
    const Clock::time_point start = Clock::now();
    worker.StopTalk();
    EXPECT_LT(Clock::now() - start, 1000ms);
    EXPECT_FALSE(worker.isTalking());
}

}  // namespace
}  // namespace quorvel
