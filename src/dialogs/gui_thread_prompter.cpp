#include "dialogs/gui_thread_prompter.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <string>

namespace quorvel {

GuiThreadPrompter::GuiThreadPrompter(QObject* context, Prompter& target)
    : m_context(context), m_target(target) {}

void GuiThreadPrompter::showMessage(std::string_view text, std::string_view title,
                                    MessageIcon icon) {
    runThere([this, text = std::string(text), title = std::string(title), icon] {
        m_target.showMessage(text, title, icon);
    });
}

bool GuiThreadPrompter::askOkCancel(std::string_view text, std::string_view title) {
    auto answer = std::make_shared<bool>(false);
    runThere([this, answer, text = std::string(text), title = std::string(title)] {
        const bool ok = m_target.askOkCancel(text, title);
        std::lock_guard lock(m_mutex);
        *answer = ok;
    });
    std::lock_guard lock(m_mutex);
    return *answer;
}

void GuiThreadPrompter::showInputMessage(std::string_view message, std::string_view advice,
                                         std::string_view expression, int position) {
    runThere([this, message = std::string(message), advice = std::string(advice),
              expression = std::string(expression),
              position] { m_target.showInputMessage(message, advice, expression, position); });
}

void GuiThreadPrompter::cancel() {
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
    }
    m_answered.notify_all();
}

void GuiThreadPrompter::reset() {
    std::lock_guard lock(m_mutex);
    m_cancelled = false;
}

void GuiThreadPrompter::runThere(std::function<void()> show) {
    QObject* context = m_context.data();
    if (context == nullptr) return;
    if (QThread::currentThread() == context->thread()) {
        show();
        return;
    }
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(m_mutex);
        if (m_cancelled) return;
    }
    // The call owns copies of the texts: after a cancel the caller no longer waits for it.
    const bool posted = QMetaObject::invokeMethod(
        context,
        [this, done, show = std::move(show)] {
            bool cancelled = false;
            {
                std::lock_guard lock(m_mutex);
                cancelled = m_cancelled;
            }
            if (!cancelled) show();
            {
                std::lock_guard lock(m_mutex);
                *done = true;
            }
            m_answered.notify_all();
        },
        Qt::QueuedConnection);
    if (!posted) return;
    std::unique_lock lock(m_mutex);
    m_answered.wait(lock, [&] { return *done || m_cancelled; });
}

}  // namespace quorvel
