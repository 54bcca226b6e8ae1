#pragma once

// The OK, Cancel and Help buttons of the dialogs: a hover button that also serves the keyboard.
// It takes the focus with Tab, shows a dotted focus mark and is pressed with Space or Enter.

#include "ui/hover_button.h"

namespace quorvel {

class DialogButton : public HoverButton {
    Q_OBJECT

public:
    // Placed at `position` in 65 x 25 with the dialog button pictures; the tooltip is also the
    // name a screen reader reads.
    DialogButton(const QString& caption, const QString& tooltip, QPoint position, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// Finds a control of a dialog by the id it carries in its "controlId" property.
QWidget* findControl(const QWidget* dialog, int id);

}  // namespace quorvel
