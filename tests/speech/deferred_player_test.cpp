#include "speech/deferred_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// Builds a PlanRecorder once the test opens the gate, as a slow audio device would.
class Gate {
public:
    DeferredPlayer::Factory factory(PlanRecorder** made) {
        return [this, made]() -> std::unique_ptr<WordPlayer> {
            m_open.get_future().wait();
            auto recorder = std::make_unique<PlanRecorder>();
            *made = recorder.get();
            return recorder;
        };
    }
    void open() { m_open.set_value(); }

private:
    std::promise<void> m_open;
};

TEST(DeferredPlayer, WordsWaitForThePlayerAndKeepTheirOrder) {
    Gate gate;
    PlanRecorder* recorder = nullptr;
    DeferredPlayer player(gate.factory(&recorder));
    EXPECT_EQ(player.ready(), nullptr);

    StopFlag stop;
    auto reading = std::async(std::launch::async, [&] {
        player.play("one1.wav", stop);
        player.pause(0ms, stop);
        player.play("two1.wav", stop);
    });
    EXPECT_EQ(reading.wait_for(50ms), std::future_status::timeout);
    gate.open();
    ASSERT_EQ(reading.wait_for(5s), std::future_status::ready);

    ASSERT_NE(recorder, nullptr);
    EXPECT_EQ(player.ready(), recorder);
    const WordPlan expected{{"one1.wav", 0ms}, {"two1.wav", 0ms}};
    EXPECT_EQ(recorder->plan(), expected);
}

TEST(DeferredPlayer, StopEndsTheWaitForTheDevice) {
    Gate gate;
    PlanRecorder* recorder = nullptr;
    DeferredPlayer player(gate.factory(&recorder));

    StopFlag stop;
    auto reading = std::async(std::launch::async, [&] { player.play("one1.wav", stop); });
    std::this_thread::sleep_for(20ms);
    stop.set();
    // The gate is still shut: only the stop can have ended the word.
    EXPECT_EQ(reading.wait_for(5s), std::future_status::ready);
    gate.open();
    while (player.ready() == nullptr) std::this_thread::sleep_for(1ms);
    EXPECT_TRUE(recorder->plan().empty());
}

TEST(DeferredPlayer, SilenceBeforeTheDeviceDoesNotWait) {
    Gate gate;
    PlanRecorder* recorder = nullptr;
    DeferredPlayer player(gate.factory(&recorder));
    auto silenced = std::async(std::launch::async, [&] { player.silence(); });
    EXPECT_EQ(silenced.wait_for(5s), std::future_status::ready);
    gate.open();
    while (player.ready() == nullptr) std::this_thread::sleep_for(1ms);
    player.silence();
    EXPECT_EQ(recorder->silences(), 1);
}

// Counts words from several threads at once, which a PlanRecorder may not be asked to do.
class CountingPlayer final : public WordPlayer {
public:
    void play(std::string_view, const StopFlag&) override { ++words; }
    void pause(std::chrono::milliseconds, const StopFlag&) override {}
    void silence() override {}
    std::atomic<int> words{0};
};

// Opened at the first word: nothing is built until a word or a pause asks (a silence does
// not), and then once, however many workers ask together.
TEST(DeferredPlayer, AtFirstWordBuildsThePlayerWhenSpeechBegins) {
    for (const bool byPause : {false, true}) {
        SCOPED_TRACE(byPause);
        std::atomic<int> built{0};
        DeferredPlayer player(
            [&built]() -> std::unique_ptr<WordPlayer> {
                ++built;
                return std::make_unique<CountingPlayer>();
            },
            DeferredPlayer::Opening::AtFirstWord);
        player.silence();
        std::this_thread::sleep_for(20ms);
        EXPECT_FALSE(player.started());
        EXPECT_EQ(built, 0);
        EXPECT_EQ(player.ready(), nullptr);

        StopFlag stop;
        std::vector<std::future<void>> workers;
        for (int i = 0; i < 3; ++i) {
            workers.push_back(std::async(std::launch::async, [&] {
                if (byPause) {
                    player.pause(0ms, stop);
                } else {
                    player.play("one1.wav", stop);
                }
            }));
        }
        for (auto& w : workers) ASSERT_EQ(w.wait_for(5s), std::future_status::ready);
        EXPECT_TRUE(player.started());
        EXPECT_EQ(built, 1);
        auto* counter = dynamic_cast<CountingPlayer*>(player.ready());
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(counter->words, byPause ? 0 : 3);
    }
}

TEST(DeferredPlayer, FactoryWithoutPlayerPlaysNothing) {
    const DeferredPlayer::Factory failing[] = {
        []() -> std::unique_ptr<WordPlayer> { throw std::runtime_error("no device"); },
        []() -> std::unique_ptr<WordPlayer> { return nullptr; },
    };
    for (const auto& factory : failing) {
        DeferredPlayer player(factory);
        StopFlag stop;
        auto reading = std::async(std::launch::async, [&] {
            player.play("one1.wav", stop);
            player.pause(10ms, stop);
            player.silence();
        });
        EXPECT_EQ(reading.wait_for(5s), std::future_status::ready);
        EXPECT_EQ(player.ready(), nullptr);
    }
}

}  // namespace
}  // namespace quorvel
