#pragma once

// Shows a fault in the user's input: what is wrong, what to type instead, and the expression
// itself, in a small skinned dialog on white.

#include <QString>

#include "ui/skinned_dialog.h"

class QLineEdit;
class QPlainTextEdit;

namespace quorvel {

class HoverButton;

class CInputMsgDlg : public SkinnedDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 510;
    static constexpr int kHeight = 300;

    explicit CInputMsgDlg(QWidget* parent = nullptr);

    // `position`: the offending character of the expression (1-based), marked; -1 marks none.
    void setTexts(const QString& message, const QString& advice, const QString& expression,
                  int position = -1);

    // The boxes and the button, for tests and for a caller that wants to restyle them.
    QPlainTextEdit* messageBox() const { return m_message; }
    QPlainTextEdit* adviceBox() const { return m_advice; }
    QLineEdit* expressionBox() const { return m_expression; }
    HoverButton* closeButton() const { return m_close; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* m_message;
    QPlainTextEdit* m_advice;
    QLineEdit* m_expression;
    HoverButton* m_close;
};

}  // namespace quorvel
