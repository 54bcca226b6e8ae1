#include "data/background_writer.h"

#include <utility>

namespace quorvel {

BackgroundWriter::BackgroundWriter() : m_thread([this](std::stop_token stop) { run(stop); }) {}

void BackgroundWriter::post(std::function<void()> job) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(job);
    }
    m_changed.notify_all();
}

void BackgroundWriter::wait() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting && !m_running; });
}

void BackgroundWriter::run(std::stop_token stop) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        // Woken by a stop, it still runs what waits: nothing handed over is dropped.
        if (!m_changed.wait(lock, stop, [this] { return static_cast<bool>(m_waiting); })) return;
        std::function<void()> job = std::exchange(m_waiting, {});
        m_running = true;
        lock.unlock();
        job();
        lock.lock();
        m_running = false;
        m_changed.notify_all();
    }
}

}  // namespace quorvel
