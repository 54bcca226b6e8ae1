#pragma once

// The expression input box. It never lets the edit control insert a typed key: each
// character goes through `InputFilter` and, when accepted, is handed to the owner with
// insertCharacterRequested(); the owner inserts it (usually with insertAtCaret()) and may speak
// it. Only when a character replaces a selection does the box write it itself and then report
// it with characterTyped().

#include <QPlainTextEdit>
#include <QPointer>

#include "tools/input_filter.h"

namespace quorvel {

class CFilterEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CFilterEdit(QWidget* parent = nullptr);

    // The single entry for keyboard keys and keypad buttons.
    void typeCharacter(QChar ch);
    // Backspace and the keypad's backspace button.
    void deleteBackwards();

    // Set by the owner once it shows a result; the next key first asks it to clear.
    void setFreshInput(bool on = true) { m_filter.setFreshInput(on); }
    bool isFreshInput() const { return m_filter.freshInput(); }

    // Forgets the name being typed, for an owner that has emptied the box.
    void resetTypingState() { m_filter.reset(); }

    // With an explicit owner, fresh-input and equal requests are meant for it; without one
    // they are meant for the box's top-level window. requestOwner() names that receiver.
    void setOwner(QObject* owner);
    bool hasExplicitOwner() const { return m_explicitOwner; }
    QObject* requestOwner() const;

    const InputFilter& filter() const { return m_filter; }

public slots:
    // Puts text at the caret and the caret after it: what an owner does on
    // insertCharacterRequested().
    void insertAtCaret(const QString& text);

signals:
    void freshInputRequested();
    void equalRequested();
    void insertCharacterRequested(QChar ch);
    // A character the box placed itself over a selection, for the owner to speak.
    void characterTyped(QChar ch);
    // Enter or keypad Enter. While nothing listens, the key goes on to the dialog; while an
    // owner listens, the box keeps the key, so the key reaches a screen reader before it runs
    // anything.
    void enterPressed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::string textBefore(int position) const;
    bool ownsKey(const QKeyEvent* event) const;

    InputFilter m_filter;
    bool m_explicitOwner = false;
    QPointer<QObject> m_owner;
};

}  // namespace quorvel
