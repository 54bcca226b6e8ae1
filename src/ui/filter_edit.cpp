#include "ui/filter_edit.h"

#include <QKeyEvent>
#include <QMetaMethod>
#include <QTextCursor>

namespace quorvel {
namespace {

constexpr Qt::KeyboardModifiers kCommandModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool isNavigation(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll);
    }
}

// A key the filter judges: one printable ASCII character typed without a command modifier.
std::optional<char> typedCharacter(const QKeyEvent* event) {
    if (event->modifiers() & kCommandModifiers) return std::nullopt;
    const QString text = event->text();
    if (text.size() != 1) return std::nullopt;
    const char16_t c = text.at(0).unicode();
    if (c < 0x20 || c > 0x7e) return std::nullopt;
    return static_cast<char>(c);
}

}  // namespace

CFilterEdit::CFilterEdit(QWidget* parent) : QPlainTextEdit(parent) {
    // Every change goes through the filter or the owner, so none of the edit control's own
    // ways of changing the text may stay open.
    setUndoRedoEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setTabChangesFocus(true);
}

void CFilterEdit::setOwner(QObject* owner) {
    m_owner = owner;
    m_explicitOwner = owner != nullptr;
}

QObject* CFilterEdit::requestOwner() const {
    if (m_explicitOwner && m_owner) return m_owner;
    return window();
}

std::string CFilterEdit::textBefore(int position) const {
    return toPlainText().left(position).toStdString();
}

void CFilterEdit::typeCharacter(QChar ch) {
    const char c = ch.toLatin1();
    if (c == 0) return;

    switch (m_filter.precheck(c)) {
        case InputFilter::Request::FreshInput:
            emit freshInputRequested();
            break;
        case InputFilter::Request::Equal:
            emit equalRequested();
            return;
        case InputFilter::Request::None:
            break;
    }

    // Checked after the fresh-input request, which usually empties the box.
    QTextCursor cursor = textCursor();
    const bool overSelection = cursor.hasSelection();
    if (overSelection) m_filter.rebuildFrom(textBefore(cursor.selectionStart()));

    const std::optional<char> accepted = m_filter.accept(c);
    if (!accepted) return;
    const QChar out = QChar::fromLatin1(*accepted);
    if (overSelection) {
        cursor.insertText(QString(out));
        setTextCursor(cursor);
        ensureCursorVisible();
        emit characterTyped(out);
    } else {
        emit insertCharacterRequested(out);
    }
}

void CFilterEdit::deleteBackwards() {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        // Backspace over a selection removes it, as in any edit control.
        const int start = cursor.selectionStart();
        cursor.removeSelectedText();
        setTextCursor(cursor);
        m_filter.rebuildFrom(textBefore(start));
        return;
    }
    const int caret = cursor.position();
    if (caret == 0) return;
    m_filter.deleteBackwards(textBefore(caret));
    cursor.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void CFilterEdit::insertAtCaret(const QString& text) {
    QTextCursor cursor = textCursor();
    cursor.insertText(text);
    setTextCursor(cursor);
    ensureCursorVisible();
}

bool CFilterEdit::ownsKey(const QKeyEvent* event) const {
    return typedCharacter(event).has_value() ||
           (event->key() == Qt::Key_Backspace && !(event->modifiers() & kCommandModifiers));
}

bool CFilterEdit::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // The edit control would claim Ctrl+V, Ctrl+X and the like for itself; the owner's
        // shortcuts must win, and only the filter's own keys stay with the box.
        auto* key = static_cast<QKeyEvent*>(event);
        if (ownsKey(key) || isNavigation(key)) {
            event->accept();
        } else {
            event->ignore();
        }
        return true;
    }
    return QPlainTextEdit::event(event);
}

void CFilterEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & kCommandModifiers)) {
        deleteBackwards();
        event->accept();
        return;
    }
    if (const std::optional<char> c = typedCharacter(event)) {
        typeCharacter(QChar::fromLatin1(*c));
        event->accept();
        return;
    }
    if (isNavigation(event)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !(event->modifiers() & kCommandModifiers) &&
        isSignalConnected(QMetaMethod::fromSignal(&CFilterEdit::enterPressed))) {
        event->accept();
        emit enterPressed();
        return;
    }
    // Enter without a listener, Escape, Tab and the rest belong to the dialog.
    event->ignore();
}

}  // namespace quorvel
