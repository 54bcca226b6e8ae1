#include "tools/batch_job.h"

#include <utility>

namespace quorvel {

bool BatchJob::start(BatchOptions options, Prompter& prompter, Listener listener) {
    if (active()) return false;
    m_lines = 0;
    m_bytes = 0;
    m_sourceBytes = 0;
    m_finished = false;
    m_stop = std::stop_source();
    m_thread =
        std::jthread([this, stop = m_stop.get_token(), options = std::move(options), &prompter,
                      listener = std::move(listener)] { run(stop, options, prompter, listener); });
    return true;
}

void BatchJob::run(std::stop_token stop, const BatchOptions& options, Prompter& prompter,
                   const Listener& listener) {
    BatchHooks hooks;
    hooks.stop = std::move(stop);
    hooks.onCalculation = listener.onCalculation;
    hooks.onLogLine = listener.onLogLine;
    hooks.onProgress = [this](const BatchProgress& p) {
        m_lines = p.lines;
        m_bytes = p.bytes;
        m_sourceBytes = p.sourceBytes;
        return BatchControl::Continue;
    };
    BatchOutcome outcome = RunBatch(options, prompter, hooks);
    m_finished = true;
    if (listener.onFinished) listener.onFinished(std::move(outcome));
}

void BatchJob::wait() {
    if (m_thread.joinable()) m_thread.join();
}

void BatchJob::stopAndWait() {
    requestStop();
    wait();
}

BatchProgress BatchJob::progress() const {
    return {static_cast<std::size_t>(m_lines.load()), m_bytes.load(), m_sourceBytes.load()};
}

}  // namespace quorvel
