#include "speech/speech_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/wording.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// A request so long that it can only end by being stopped.
constexpr const char* kEndless = "1000000:1+1=>2|";

// Records what is played from any thread; every word and pause takes `step`, and the first
// pause can be held until released.
class FakePlayer final : public WordPlayer {
public:
    explicit FakePlayer(std::chrono::milliseconds step, bool holdFirstPause = false)
        : m_step(step), m_holdPause(holdFirstPause) {}

    void play(std::string_view file) override { take(std::string(file)); }
    void pause(std::chrono::milliseconds duration) override {
        take("pause " + std::to_string(duration.count()));
        std::unique_lock lock(m_mutex);
        if (m_holdPause) {
            m_changed.wait(lock, [this] { return !m_holdPause; });
            m_events.push_back("pause ended");
        }
    }
    void silence() override { take("silence"); }

    void waitForEvents(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_events.size() >= count; });
    }
    void releasePause() {
        std::lock_guard lock(m_mutex);
        m_holdPause = false;
        m_changed.notify_all();
    }
    void note(std::string event) {
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
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
        {
            std::lock_guard lock(m_mutex);
            m_events.push_back(std::move(event));
            m_changed.notify_all();
        }
        std::this_thread::sleep_for(m_step);
        --m_inFlight;
    }

    std::chrono::milliseconds m_step;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
    bool m_holdPause;
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
    ASSERT_TRUE(worker.StartTalk(kEndless, "expr"));
    player.waitForEvents(3);
    ASSERT_TRUE(worker.StartTalk("5", "KEY"));
    worker.waitUntilDone();

    std::vector<std::string> events = player.events();
    const std::vector<std::string> tail = {"silence", "silence", "five2.wav", "silence"};
    ASSERT_GT(events.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), events.end() - 4));

    // Everything before is the old request in order, cut at a word boundary.
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

    ASSERT_TRUE(worker.StartTalk("2+3----5", "inputresult"));
    worker.waitUntilDone();
    worker.StopTalk();
    ASSERT_TRUE(worker.StartTalk("7", "key"));
    worker.waitUntilDone();

    std::vector<std::string> expected = planEvents("inputresult", "2+3----5");
    expected.insert(expected.end(), {"silence", "seven2.wav", "silence"});
    EXPECT_EQ(player.events(), expected);
}

TEST(SpeechWorker, StopDuringListPauseWaitsForThePauseToEnd) {
    FakePlayer player(0ms, true);
    SpeechWorker worker(player);
    ASSERT_TRUE(worker.StartTalk(kEndless, "expr"));
    const std::size_t untilPause = planEvents("expr", "1:1+1=>2|").size();
    player.waitForEvents(untilPause);

    std::thread stopper([&] {
        worker.StopTalk();
        player.note("StopTalk returned");
    });
    // Only gives the stopper a head start; the order below holds either way.
    std::this_thread::sleep_for(20ms);
    player.releasePause();
    stopper.join();

    const std::vector<std::string> events = player.events();
    const auto ended = std::find(events.begin(), events.end(), "pause ended");
    const auto returned = std::find(events.begin(), events.end(), "StopTalk returned");
    ASSERT_NE(returned, events.end());
    EXPECT_LT(ended, returned);
    EXPECT_EQ(*(returned - 1), "silence");
    EXPECT_FALSE(worker.isTalking());
}

TEST(SpeechWorker, DestroyingTheOwnerStopsAndJoins) {
    FakePlayer player(1ms);
    {
        SpeechWorker worker(player);
        ASSERT_TRUE(worker.StartTalk(kEndless, "expr"));
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

}  // namespace
}  // namespace quorvel
