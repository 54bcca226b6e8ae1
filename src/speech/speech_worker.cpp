#include "speech/speech_worker.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <system_error>
#include <thread>

#include "speech/wording.h"

namespace quorvel {

class CMyAppThread {
public:
    CMyAppThread(WordPlayer& player, SpeechRequest request, std::unique_ptr<CMyAppThread> previous)
        : m_player(player), m_request(std::move(request)), m_previous(std::move(previous)) {}
    ~CMyAppThread() { join(); }
    CMyAppThread(const CMyAppThread&) = delete;
    CMyAppThread& operator=(const CMyAppThread&) = delete;

    void CreateThread() {
        m_thread = std::jthread([this](std::stop_token stop) { InitInstance(std::move(stop)); });
    }

    // True once the reading has ended (the thread may still be returning).
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_mutex);
        return m_ended.wait_for(lock, timeout, [this] { return m_finished; });
    }
    bool running() { return !waitFor(std::chrono::milliseconds(0)); }
    void requestStop() { m_thread.request_stop(); }
    void join() {
        if (m_thread.joinable()) m_thread.join();
    }
    // Hands back the request this one was to replace, when its thread never started.
    std::unique_ptr<CMyAppThread> takePrevious() { return std::move(m_previous); }

private:
    void InitInstance(std::stop_token stop) {
        // The players wait on the flag, which the reading also clears once it has seen it; a
        // stop asked for before this point sets it at once.
        const std::stop_callback setFlag(stop, [this] { m_stop.set(); });
        if (m_previous) {
            // A request about to end on its own may, unless this one is already being stopped;
            // one still talking is cut.
            if (stop.stop_requested() || !m_previous->waitFor(std::chrono::milliseconds(10))) {
                m_previous->requestStop();
            }
            m_previous.reset();
        }
        try {
            Wording(m_player, m_stop).Talk(m_request);
            m_player.silence();
        } catch (...) {
            // A failed reading must not end the program; it only ends this request.
        }
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_ended.notify_all();
    }

    WordPlayer& m_player;
    const SpeechRequest m_request;
    std::unique_ptr<CMyAppThread> m_previous;
    StopFlag m_stop;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_finished = false;
    std::jthread m_thread;
};

SpeechWorker::SpeechWorker(WordPlayer& player) : m_player(player) {}

SpeechWorker::~SpeechWorker() { StopTalk(); }

bool SpeechWorker::StartTalk(SpeechRequest request) {
    auto worker = std::make_unique<CMyAppThread>(m_player, std::move(request), std::move(m_worker));
    try {
        worker->CreateThread();
    } catch (const std::system_error&) {
        m_worker = worker->takePrevious();
        if (m_worker) m_worker->requestStop();
        return false;
    }
    m_worker = std::move(worker);
    return true;
}

void SpeechWorker::StopTalk() {
    if (!m_worker) return;
    if (m_worker->running()) m_worker->requestStop();
    m_worker->join();
}

bool SpeechWorker::isTalking() const { return m_worker && m_worker->running(); }

void SpeechWorker::waitUntilDone() {
    if (m_worker) m_worker->join();
}

}  // namespace quorvel
