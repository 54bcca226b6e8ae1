#pragma once

// A Prompter for work running off the window's thread: every call is handed to the window's
// thread, shown there by the window's own Prompter, and the caller waits for the answer. Once
// cancelled (the window is closing), a waiting call returns at once and later calls show
// nothing, so the window can join its worker without a deadlock.

#include <QPointer>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "tools/prompter.h"

class QObject;

namespace quorvel {

class GuiThreadPrompter final : public Prompter {
public:
    // `context` lives on the window's thread; `target` is called there and must outlive it.
    GuiThreadPrompter(QObject* context, Prompter& target);

    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
    // Cancel while waiting, or after cancelling: false.
    bool askOkCancel(std::string_view text, std::string_view title) override;
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int position) override;

    void cancel();
    // Undoes cancel() for the next run.
    void reset();

private:
    struct Call;
    // Runs `show` on the context's thread (at once when already there) and waits for it.
    void runThere(std::function<void()> show);

    QPointer<QObject> m_context;
    Prompter& m_target;
    std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_cancelled = false;
};

}  // namespace quorvel
