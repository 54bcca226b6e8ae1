#include "speech/paced_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "speech/speech_worker.h"
#include "speech/wording.h"
#include "support/recording_speaker.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::filesystem::path kSounds = QUORVEL_SOUNDS_DIR;

// Passes everything to a real player and notes how long each word or pause actually lasted
// and whether its request had been stopped by the time it returned.
class TimedPlayer final : public WordPlayer {
public:
    struct Entry {
        std::string what;
        Clock::duration took;
        bool stopped;
    };

    explicit TimedPlayer(WordPlayer& inner) : m_inner(inner) {}

    void play(std::string_view file, const StopFlag& stop) override {
        timed(std::string(file), stop, [&] { m_inner.play(file, stop); });
    }
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override {
        timed("pause " + std::to_string(duration.count()), stop,
              [&] { m_inner.pause(duration, stop); });
    }
    void silence() override { m_inner.silence(); }

    void waitForStart(const std::string& what) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_started == what; });
    }
    std::vector<Entry> entries() {
        std::lock_guard lock(m_mutex);
        return m_entries;
    }

private:
    template <typename Play>
    void timed(std::string what, const StopFlag& stop, Play play) {
        {
            std::lock_guard lock(m_mutex);
            m_started = what;
            m_changed.notify_all();
        }
        const Clock::time_point start = Clock::now();
        play();
        std::lock_guard lock(m_mutex);
        m_entries.push_back({std::move(what), Clock::now() - start, stop.isSet()});
    }

    WordPlayer& m_inner;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_started;
    std::vector<Entry> m_entries;
};

class PacedPlayerTest : public ::testing::Test {
protected:
    std::ostringstream m_diag;
    SoundBank m_bank{kSounds, m_diag};
};

TEST_F(PacedPlayerTest, WordLastsAsLongAsItsRecording) {
    ASSERT_EQ(m_bank.sampleRate(), 16000);
    const Sound* seven = m_bank.find("seven2.wav");
    ASSERT_NE(seven, nullptr);
    const auto length = std::chrono::microseconds(seven->samples.size() * 1'000'000 / 16000);

    PacedPlayer player(m_bank);
    const StopFlag neverSet;
    const Clock::time_point start = Clock::now();
    player.play("seven2.wav", neverSet);
    EXPECT_GE(Clock::now() - start, length);

    // Stopped before it began: not a single chunk is taken.
    StopFlag stop;
    stop.set();
    EXPECT_FALSE(paceFrames(seven->samples.size(), 16000, stop));
    EXPECT_TRUE(stop.isSet()) << "the player leaves the flag for the reading";
    EXPECT_TRUE(paceFrames(0, 16000, neverSet));
    EXPECT_EQ(chunkFrames(16000), 160u);
    EXPECT_EQ(chunkFrames(8000), 80u);
}

TEST_F(PacedPlayerTest, StopCutsTheWordOrPauseUnderWay) {
    struct Case {
        const char* name;
        const char* command;
        const char* text;
        const char* cut;  // the entry under way when the stop comes; a word or "pause 2000"
    };
    const Case kCases[] = {
        {"mid-word", "msg", "talkinout", "talkinout.wav"},
        {"mid-pause", "expr", "1:5|", "pause 2000"},
        {"mid-number", "result", "77777777777", "seventy.wav"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Clock::duration fullLength = 2000ms;
        if (const Sound* word = m_bank.find(c.cut)) {
            fullLength = std::chrono::microseconds(word->samples.size() * 1'000'000 / 16000);
        }
        ASSERT_GT(fullLength, 300ms) << "too short to stop in its middle";
        PacedPlayer paced(m_bank);
        TimedPlayer player(paced);
        SpeechWorker worker(player);
        ASSERT_TRUE(worker.StartTalk(*ParseSpeechRequest(c.command, c.text)));
        player.waitForStart(c.cut);
        std::this_thread::sleep_for(50ms);

        const Clock::time_point start = Clock::now();
        worker.StopTalk();
        // Generous: it used to wait out the whole word or pause.
        EXPECT_LT(Clock::now() - start, fullLength / 2);
        EXPECT_FALSE(worker.isTalking());

        const std::vector<TimedPlayer::Entry> entries = player.entries();
        ASSERT_FALSE(entries.empty());
        const auto cut = std::find_if(entries.begin(), entries.end(),
                                      [&](const auto& e) { return e.what == c.cut; });
        ASSERT_NE(cut, entries.end());
        EXPECT_TRUE(cut->stopped);
        EXPECT_LT(cut->took, fullLength / 2);
        EXPECT_TRUE(std::all_of(entries.begin(), cut, [](const auto& e) { return !e.stopped; }));
    }
}

TEST(RecordingSpeaker, RecordsRequestsStopsAndWords) {
    testing::RecordingSpeaker speaker;
    Speaker& asSpeaker = speaker;
    EXPECT_FALSE(asSpeaker.isTalking());
    EXPECT_TRUE(asSpeaker.say({SpeechKind::Result, "12"}));
    EXPECT_TRUE(asSpeaker.isTalking());
    asSpeaker.stop();
    EXPECT_FALSE(asSpeaker.isTalking());
    asSpeaker.say({SpeechKind::Key, "+"});

    const std::vector<SpeechRequest> expected = {{SpeechKind::Result, "12"},
                                                 {SpeechKind::Key, "+"}};
    EXPECT_EQ(speaker.requests, expected);
    EXPECT_EQ(speaker.stops, 1);
    EXPECT_EQ(speaker.words(), "equals.wav\ntwelve.wav\nplus.wav\n");
}

}  // namespace
}  // namespace quorvel
