#include "speech/speech_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/speaker.h"
#include "speech/wording.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// A request so long that it can only end by being stopped.
constexpr const char* kEndless = "1000000:1+1=>2|";

// Records what is played from any thread. Every word takes `step`; a pause waits its full
// length on the stop flag, as a real player does, and notes when a stop cut it. With
// `holdFirstWord` the first word ignores the stop flag until released, as a player stuck in a
// device call would, and then lasts until its request is stopped.
class FakePlayer final : public WordPlayer {
public:
    explicit FakePlayer(std::chrono::milliseconds step, bool holdFirstWord = false)
        : m_step(step), m_holdWord(holdFirstWord) {}

    void play(std::string_view file, const StopFlag& stop) override {
        take(std::string(file));
        std::unique_lock lock(m_mutex);
        if (m_holdWord) {
            m_changed.wait(lock, [this] { return m_released; });
            m_holdWord = false;
            lock.unlock();
            stop.waitFor(10s);
        }
    }
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override {
        take("pause " + std::to_string(duration.count()));
        if (stop.waitFor(duration)) note("pause cut");
    }
    void silence() override { take("silence"); }

    void waitForEvents(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_events.size() >= count; });
    }
    void releaseWord() {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_events.push_back("released");
        m_changed.notify_all();
    }
    void note(std::string event) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
        m_changed.notify_all();
    }
    std::vector<std::string> events() {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    int mostAtOnce() const { return m_mostAtOnce; }

private:
    void take(std::string event) {
        const int atOnce = ++m_inFlight;
        m_mostAtOnce = std::max(m_mostAtOnce.load(), atOnce);
        note(std::move(event));
        std::this_thread::sleep_for(m_step);
        --m_inFlight;
    }

    std::chrono::milliseconds m_step;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
    bool m_holdWord;
    bool m_released = false;
    std::atomic<int> m_inFlight{0};
    std::atomic<int> m_mostAtOnce{0};
};

std::vector<std::string> planEvents(const char* command, const char* text) {
    std::vector<std::string> out;
    for (const WordEntry& entry : makeWordPlan(command, text)) {
        out.push_back(entry.isPause() ? "pause " + std::to_string(entry.pause.count())
                                      : entry.file);
    }
    return out;
}

TEST(SpeechWorker, NewRequestCutsTheOldOneAfterTheCurrentWord) {
    FakePlayer player(1ms);
    SpeechWorker worker(player);
    ASSERT_TRUE(worker.StartTalk({SpeechKind::ExprList, kEndless}));
    player.waitForEvents(3);
    ASSERT_TRUE(worker.StartTalk(*ParseSpeechRequest("KEY", "5")));
    worker.waitUntilDone();

    std::vector<std::string> events = player.events();
    const std::vector<std::string> tail = {"silence", "silence", "five2.wav", "silence"};
    ASSERT_GT(events.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), events.end() - 4));

    // Everything before is the old request in order; the stop may have cut a pause or two.
    std::erase(events, "pause cut");
    const std::vector<std::string> pass = planEvents("expr", "2:1+1=>2|");
    const std::size_t cycle = planEvents("expr", "1:1+1=>2|").size() + 1;  // and the pass pause
    events.resize(events.size() - tail.size());
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i], pass[i % cycle]);
    }
    EXPECT_EQ(player.mostAtOnce(), 1);
}

TEST(SpeechWorker, StopTalkWhenIdleDoesNothing) {
    FakePlayer player(0ms);
    SpeechWorker worker(player);
    worker.StopTalk();
    EXPECT_FALSE(worker.isTalking());
    EXPECT_TRUE(player.events().empty());

    ASSERT_TRUE(worker.StartTalk({SpeechKind::InputResult, "2+3", "5"}));
    worker.waitUntilDone();
    worker.StopTalk();
    ASSERT_TRUE(worker.StartTalk({SpeechKind::Key, "7"}));
    worker.waitUntilDone();

    std::vector<std::string> expected = planEvents("inputresult", "2+3----5");
    expected.insert(expected.end(), {"silence", "seven2.wav", "silence"});
    EXPECT_EQ(player.events(), expected);
}

TEST(SpeechWorker, StopDuringListPauseCutsThePause) {
    FakePlayer player(0ms);
    SpeechWorker worker(player);
    ASSERT_TRUE(worker.StartTalk({SpeechKind::ExprList, kEndless}));
    const std::size_t untilPause = planEvents("expr", "1:1+1=>2|").size();
    player.waitForEvents(untilPause);
    ASSERT_EQ(player.events().back(), "pause 2000");

    const auto start = std::chrono::steady_clock::now();
    worker.StopTalk();
    // Generous: it used to wait out the whole 2000 ms pause.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_FALSE(worker.isTalking());

    std::vector<std::string> events = player.events();
    // The pause between passes comes before the next check, and the player lets it pass at once.
    const std::vector<std::string> tail = {"pause 2000", "pause cut", "pause 2000",
                                           "pause cut",  "silence",   "silence"};
    ASSERT_EQ(events.size(), untilPause - 1 + tail.size());
    EXPECT_EQ(std::vector<std::string>(events.end() - tail.size(), events.end()), tail);
}

TEST(SpeechWorker, StartTalkLeavesTheHandOverToTheNewWorker) {
    FakePlayer player(0ms, true);
    SpeechWorker worker(player);
    ASSERT_TRUE(worker.StartTalk({SpeechKind::Result, "12"}));
    player.waitForEvents(1);
    // The old request is stuck in a word that ignores its stop flag; the caller must not be.
    ASSERT_TRUE(worker.StartTalk({SpeechKind::Key, "7"}));
    player.note("StartTalk returned");
    EXPECT_TRUE(worker.isTalking());
    player.releaseWord();
    worker.waitUntilDone();

    const std::vector<std::string> expected = {
        "equals.wav", "StartTalk returned", "released", "silence",
        "silence",    "seven2.wav",         "silence"};
    EXPECT_EQ(player.events(), expected);
    EXPECT_EQ(player.mostAtOnce(), 1);
}

TEST(SpeechWorker, RapidRequestsEndWithTheNewest) {
    FakePlayer player(1ms);
    SpeechWorker worker(player);
    for (const char* key : {"1", "2", "3", "4", "5", "6", "7", "8"}) {
        ASSERT_TRUE(worker.StartTalk({SpeechKind::ExprList, std::string("1000:") + key + "|"}));
    }
    ASSERT_TRUE(worker.StartTalk({SpeechKind::Key, "9"}));
    worker.waitUntilDone();
    const std::vector<std::string> events = player.events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[events.size() - 2], "nine2.wav");
    EXPECT_EQ(events.back(), "silence");
    EXPECT_EQ(player.mostAtOnce(), 1);
}

TEST(SpeechWorker, ServesAsASpeaker) {
    FakePlayer player(0ms);
    SpeechWorker worker(player);
    Speaker& speaker = worker;
    EXPECT_FALSE(speaker.isTalking());
    ASSERT_TRUE(speaker.say({SpeechKind::ExprList, kEndless}));
    player.waitForEvents(2);
    EXPECT_TRUE(speaker.isTalking());
    speaker.stop();
    EXPECT_FALSE(speaker.isTalking());
    EXPECT_EQ(player.events().back(), "silence");
}

TEST(SpeechWorker, DestroyingTheOwnerStopsAndJoins) {
    FakePlayer player(1ms);
    {
        SpeechWorker worker(player);
        ASSERT_TRUE(worker.StartTalk({SpeechKind::ExprList, kEndless}));
        player.waitForEvents(2);
        EXPECT_TRUE(worker.isTalking());
    }
    const std::vector<std::string> events = player.events();
    ASSERT_GE(events.size(), 4u);
    // The stop check's silence, then the worker's own at its end.
    EXPECT_EQ(events[events.size() - 2], "silence");
    EXPECT_EQ(events.back(), "silence");
    EXPECT_EQ(std::count(events.begin(), events.end(), "silence"), 2);
}

// Counts what the worker plays; a pause passes at once.
class CountingPlayer final : public WordPlayer {
public:
    void play(std::string_view, const StopFlag&) override { ++words; }
    void pause(std::chrono::milliseconds, const StopFlag&) override { ++pauses; }
    void silence() override {}
    std::atomic<std::size_t> words{0};
    std::atomic<std::size_t> pauses{0};
};

// A window's request past the bounds is cut quietly: it ends by itself, at the bound.
TEST(SpeechWorker, ARequestPastTheBoundsEndsByItself) {
    const struct {
        std::string text;
        std::size_t words;
        std::size_t pauses;
    } kCases[] = {
        {"999999999:2+2=4|", 50 * 5, 99},
        {"50:" + std::string(3996, '7') + "|", kMaxRequestWords, 4},
        {"40:" + std::string(3996, '|'), 0, kMaxRequestPauses},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text.substr(0, 12));
        CountingPlayer player;
        SpeechWorker worker(player);
        ASSERT_TRUE(worker.StartTalk({SpeechKind::ExprList, c.text}));
        worker.waitUntilDone();
        EXPECT_EQ(player.words, c.words);
        EXPECT_EQ(player.pauses, c.pauses);
    }
}

}  // namespace
}  // namespace quorvel
