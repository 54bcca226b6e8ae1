#include "tools/present.h"

namespace quorvel {
namespace {

// A box, or a question; true unless the user cancelled the question.
bool showBox(MessageKind kind, std::string_view text, std::string_view title, Prompter& prompter) {
    switch (kind) {
        case MessageKind::Question:
            return prompter.askOkCancel(text, title);
        case MessageKind::Exclamation:
            prompter.showMessage(text, title, MessageIcon::Exclamation);
            return true;
        case MessageKind::Information:
        case MessageKind::Input:
            break;
    }
    prompter.showMessage(text, title, MessageIcon::Information);
    return true;
}

}  // namespace

void present(const CalcOutcome& outcome, Prompter& prompter) {
    if (outcome.ok || outcome.error == MessageId::None) return;
    const MessageEntry& entry = MessageFor(outcome.error);
    const std::string text = FormatMessage(entry.text, outcome.arguments);
    if (entry.kind == MessageKind::Input) {
        prompter.showInputMessage(text, FormatMessage(entry.advice, outcome.arguments),
                                  FormatMessage("{0}", outcome.arguments), outcome.position);
        return;
    }
    showBox(entry.kind, text, entry.title, prompter);
}

void present(const ToolMessage& message, Prompter& prompter) { ask(message, prompter); }

bool ask(const ToolMessage& message, Prompter& prompter) {
    if (message.id == ToolMessageId::None) return true;
    const ToolMessageEntry& entry = MessageFor(message.id);
    return showBox(entry.kind, message.text(), entry.title, prompter);
}

}  // namespace quorvel
