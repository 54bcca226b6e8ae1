// How long the window's thread waits on the speech worker: StopTalk in the middle of a word or
// a list pause, and StartTalk while another request speaks. Words come from the real
// recordings, paced in real time in ~10 ms chunks into no device.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "speech/audio_player.h"
#include "speech/paced_player.h"
#include "speech/speech_worker.h"
#include "speech/wording.h"

namespace {

using namespace quorvel;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Passes everything on and lets the benchmark wait until a given word or pause has begun.
class WatchedPlayer final : public WordPlayer {
public:
    explicit WatchedPlayer(WordPlayer& inner) : m_inner(inner) {}

    void play(std::string_view file, const StopFlag& stop) override {
        began(std::string(file));
        m_inner.play(file, stop);
    }
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override {
        began("pause");
        m_inner.pause(duration, stop);
    }
    void silence() override { m_inner.silence(); }

    void waitFor(const std::string& what) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_last == what; });
        m_last.clear();
    }

private:
    void began(std::string what) {
        std::lock_guard lock(m_mutex);
        m_last = std::move(what);
        m_changed.notify_all();
    }

    WordPlayer& m_inner;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_last;
};

struct Rig {
    std::ostringstream diag;
    SoundBank bank{QUORVEL_SOUNDS_DIR, diag};
    PacedPlayer paced{bank};
    WatchedPlayer player{paced};
    SpeechWorker worker{player};
};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// 50 to 59 ms into a word, so the stops fall at every point of a 10 ms chunk.
std::chrono::milliseconds intoTheWord(benchmark::IterationCount i) {
    return 50ms + std::chrono::milliseconds(i % 10);
}

// Starts `command text`, waits until `entry` has sounded a while, then times StopTalk; the
// slowest stop is reported as "max_ms".
void stopLatency(benchmark::State& state, const char* command, const char* text,
                 const char* entry) {
    Rig rig;
    double slowest = 0;
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        rig.worker.StartTalk(*ParseSpeechRequest(command, text));
        rig.player.waitFor(entry);
        std::this_thread::sleep_for(intoTheWord(i++));
        const Clock::time_point start = Clock::now();
        rig.worker.StopTalk();
        const double took = seconds(Clock::now() - start);
        state.SetIterationTime(took);
        slowest = std::max(slowest, took);
    }
    state.counters["max_ms"] = slowest * 1000;
}

void BM_StopTalk(benchmark::State& state, const char* command, const char* text,
                 const char* entry) {
    stopLatency(state, command, text, entry);
}
// talkinout.wav lasts 1.5 s; the list pause 2 s.
BENCHMARK_CAPTURE(BM_StopTalk, mid_word, "msg", "talkinout", "talkinout.wav")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StopTalk, mid_pause, "expr", "1:5|", "pause")
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// Times StartTalk while the previous request is in the middle of a word, and reports as
// "handover_ms" how long until the new request's first word begins.
void BM_StartTalkWhileSpeaking(benchmark::State& state) {
    Rig rig;
    double handover = 0;
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        rig.worker.StartTalk({SpeechKind::Message, "talkinout"});
        rig.player.waitFor("talkinout.wav");
        std::this_thread::sleep_for(intoTheWord(i++));
        const Clock::time_point start = Clock::now();
        rig.worker.StartTalk({SpeechKind::Key, "5"});
        state.SetIterationTime(seconds(Clock::now() - start));
        rig.player.waitFor("five2.wav");
        handover += seconds(Clock::now() - start);
        rig.worker.StopTalk();
    }
    state.counters["handover_ms"] = handover * 1000 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_StartTalkWhileSpeaking)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// What the first word of a run waits for on the speech worker, now that the device is opened and
// the recordings read only then: the audio device (PortAudio's probing) and every recording.
// The libraries stay loaded after the first repetition, as in a run once they are opened.
void BM_FirstWordReady(benchmark::State& state) {
    for (auto _ : state) {
        std::ostringstream diag;
        AudioPlayer player(QUORVEL_SOUNDS_DIR, diag);
        benchmark::DoNotOptimize(player.bank().find("one1.wav"));
    }
}
BENCHMARK(BM_FirstWordReady)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
