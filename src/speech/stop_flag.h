#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace quorvel {

// A request's stop signal. Behaves as an auto-reset event for the reading (the test that sees
// it set also clears it), while a player only looks at it, so every word and pause still to
// come returns at once until the reading notices. A player waits on it instead of sleeping, so
// setting it ends a pause at once.
class StopFlag {
public:
    void set() {
        {
            std::lock_guard lock(m_mutex);
            m_set.store(true);
        }
        m_changed.notify_all();
    }
    bool testAndClear() noexcept { return m_set.exchange(false); }
    bool isSet() const noexcept { return m_set.load(); }

    // True as soon as the flag is set, false at the deadline; leaves the flag as it is.
    bool waitUntil(std::chrono::steady_clock::time_point deadline) const {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_until(lock, deadline, [this] { return m_set.load(); });
    }
    bool waitFor(std::chrono::steady_clock::duration duration) const {
        return waitUntil(std::chrono::steady_clock::now() + duration);
    }

private:
    std::atomic<bool> m_set{false};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
};

}  // namespace quorvel
