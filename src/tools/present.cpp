#include "tools/present.h"

namespace quorvel {

void present(const CalcOutcome& outcome, Prompter& prompter) {
    if (outcome.ok || outcome.error == MessageId::None) return;
    const MessageEntry& entry = MessageFor(outcome.error);
    const std::string text = FormatMessage(entry.text, outcome.arguments);
    switch (entry.kind) {
        case MessageKind::Input:
            prompter.showInputMessage(text, FormatMessage(entry.advice, outcome.arguments),
                                      FormatMessage("{0}", outcome.arguments), outcome.position);
            return;
        case MessageKind::Information:
            prompter.showMessage(text, entry.title, MessageIcon::Information);
            return;
        case MessageKind::Exclamation:
            prompter.showMessage(text, entry.title, MessageIcon::Exclamation);
            return;
    }
}

}  // namespace quorvel
