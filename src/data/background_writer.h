#pragma once

// One worker thread for disk work the caller must not wait for. Only the latest job counts:
// a job handed over while another still waits replaces it, so a burst of stores costs one
// write, and the newest.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>

namespace quorvel {

class BackgroundWriter {
public:
    BackgroundWriter();
    // Runs a job still waiting, then stops: the thread's own stop and join.
    ~BackgroundWriter() = default;
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void post(std::function<void()> job);
    // Returns once no job waits or runs.
    void wait();

private:
    void run(std::stop_token stop);

    std::mutex m_mutex;
    std::condition_variable_any m_changed;
    std::function<void()> m_waiting;
    bool m_running = false;
    std::jthread m_thread;  // last: it starts using the members above at once
};

}  // namespace quorvel
