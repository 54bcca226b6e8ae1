#include "dialogs/conv_float_edit.h"

#include <QKeyEvent>
#include <optional>

#include "tools/number_keys.h"

namespace quorvel {
namespace {

constexpr Qt::KeyboardModifiers kCommandModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The key as the rule reads it, or nothing for a key that types no character (arrows, Tab,
// Enter, Escape, shortcuts), which the box or the dialog handles as usual.
std::optional<char> ruleKey(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) return kBackspace;
    if (event->modifiers() & kCommandModifiers) return std::nullopt;
    const QString text = event->text();
    if (text.size() != 1 || text.at(0).unicode() < 0x20) return std::nullopt;
    const char16_t c = text.at(0).unicode();
    // Any other character is dropped, so it is handed to the rule as one it refuses.
    return c < 0x7f ? static_cast<char>(c) : '\x7f';
}

}  // namespace

CConvFloatEdit::CConvFloatEdit(QWidget* parent) : QLineEdit(parent) {
    // Keys are the only way in: a paste or drop could bring any text.
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CConvFloatEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        event->accept();
        return;
    }
    const std::optional<char> key = ruleKey(event);
    if (!key) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (ConvValueKey(*key) == ValueKey::Discard) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    emit valueKey(*key);
}

}  // namespace quorvel
