#pragma once

// One batch run on a thread of its own, for a window that must keep turning while it goes.
// The job owns the thread: a stop is asked for through it, and the job's end (or the job
// going away) waits for the thread. What the run reports reaches the owner through the
// Listener on the job's thread; the progress is kept here for the owner to read whenever it
// likes.

#include <atomic>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string_view>
#include <thread>

#include "tools/batch_run.h"
#include "tools/prompter.h"

namespace quorvel {

class BatchJob {
public:
    // Called on the job's thread. onFinished is the last thing the run does there; the job is
    // finished() by then, and wait() waits only for the thread to return.
    struct Listener {
        BatchCallback onCalculation;
        std::function<void(std::string_view line)> onLogLine;
        std::function<void(BatchOutcome outcome)> onFinished;
    };

    BatchJob() = default;
    BatchJob(const BatchJob&) = delete;
    BatchJob& operator=(const BatchJob&) = delete;
    // Stops a run still going and waits for its thread.
    ~BatchJob() { stopAndWait(); }

    // Starts a run of `options`; `prompter` and the listener must outlive it. False, and
    // nothing started, while an earlier run has not been waited for; it throws what
    // std::jthread throws when no thread can be made.
    bool start(BatchOptions options, Prompter& prompter, Listener listener);
    // Asks the run to end after the line it is in; returns at once. Also from the run's own
    // callbacks, even before start() has returned.
    void requestStop() { m_stop.request_stop(); }
    // Waits for the thread of a run that ends or has ended; nothing without one.
    void wait();
    void stopAndWait();

    // Started and not yet waited for.
    bool active() const { return m_thread.joinable(); }
    // The run has ended and reported its outcome.
    bool finished() const { return m_finished.load(); }
    // What the run has done so far; zeros before the first report of a run.
    BatchProgress progress() const;

private:
    void run(std::stop_token stop, const BatchOptions& options, Prompter& prompter,
             const Listener& listener);

    std::atomic<std::uint64_t> m_lines{0};
    std::atomic<std::uint64_t> m_bytes{0};
    std::atomic<std::uint64_t> m_sourceBytes{0};
    std::atomic<bool> m_finished{false};
    // The run's own: the thread's is only there once start() has stored the thread, and a
    // callback may ask for a stop before that.
    std::stop_source m_stop;
    // Last, so that it is joined before the rest goes.
    std::jthread m_thread;
};

}  // namespace quorvel
