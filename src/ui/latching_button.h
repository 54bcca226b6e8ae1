#pragma once

// A picture button that stays drawn pressed once pressed, until its owner releases it: the
// current choice of a row of buttons.

#include "ui/hover_button.h"

namespace quorvel {

class LatchingButton : public HoverButton {
    Q_OBJECT

public:
    explicit LatchingButton(QWidget* parent = nullptr);
    LatchingButton(const QString& caption, QWidget* parent = nullptr);

    // Drawn pressed by the owner's choice, as if the user had pressed it.
    void press();
    // Clears both the user's latch and the owner's press.
    void release();
    void setLatched(bool on);
    bool isLatched() const { return m_latched || m_pressedByOwner; }

    Face face() const override;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_latched = false;
    bool m_pressedByOwner = false;
};

}  // namespace quorvel
