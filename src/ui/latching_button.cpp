#include "ui/latching_button.h"

#include <QMouseEvent>

namespace quorvel {

LatchingButton::LatchingButton(QWidget* parent) : LatchingButton(QString(), parent) {}

LatchingButton::LatchingButton(const QString& caption, QWidget* parent)
    : HoverButton(caption, parent) {}

void LatchingButton::press() {
    m_pressedByOwner = true;
    update();
}

void LatchingButton::release() {
    m_latched = false;
    m_pressedByOwner = false;
    update();
}

void LatchingButton::setLatched(bool on) {
    m_latched = on;
    update();
}

HoverButton::Face LatchingButton::face() const {
    if (isDown() || isLatched()) return Face::Pressed;
    if (isHovering()) return Face::Hover;
    return isHeldDown() ? Face::Pressed : Face::Normal;
}

void LatchingButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) m_latched = true;
    HoverButton::mousePressEvent(event);
}

}  // namespace quorvel
