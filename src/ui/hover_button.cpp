#include "ui/hover_button.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace quorvel {
namespace {

bool isEnter(const QKeyEvent* event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Drawn on every skin: dark keys, light keys and the cartoon's yellow.
const QColor kFocusMark(255, 128, 0);

}  // namespace

HoverButton::HoverButton(QWidget* parent) : HoverButton(QString(), parent) {}

HoverButton::HoverButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
    skins::initResources();
    setText(caption);
    setMouseTracking(true);
    // A click must leave the focus where the user typed; the keyboard reaches it with Tab.
    setFocusPolicy(Qt::TabFocus);
}

void HoverButton::setPictures(const QString& normal, const QString& pressed, const QString& hover) {
    m_normal = skins::loadPixmap(normal);
    m_pressed = QPixmap();
    m_hover = QPixmap();
    m_pressedFile = pressed;
    m_hoverFile = hover;
    update();
}

const QPixmap& HoverButton::picture(QPixmap& pixmap, QString& file) {
    if (!file.isEmpty()) {
        pixmap = skins::loadPixmap(file);
        file.clear();
    }
    return pixmap;
}

void HoverButton::setPictures(const skins::ButtonPictures& pictures) {
    setPictures(QString::fromLatin1(pictures.normal), QString::fromLatin1(pictures.pressed),
                QString::fromLatin1(pictures.hover));
}

void HoverButton::setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover) {
    m_normal = normal;
    m_pressed = pressed;
    m_hover = hover;
    update();
}

void HoverButton::setFocusFrame(const QColor& colour, qreal width) {
    m_focusColour = colour;
    m_focusWidth = width;
    update();
}

void HoverButton::setHeldDown(bool on) {
    m_heldDown = on;
    update();
}

HoverButton::Face HoverButton::face() const {
    if (isDown()) return Face::Pressed;
    if (m_hovering) return Face::Hover;
    return m_heldDown ? Face::Pressed : Face::Normal;
}

QSize HoverButton::sizeHint() const {
    return m_normal.isNull() ? QSize(65, 25) : m_normal.size() / m_normal.devicePixelRatio();
}

void HoverButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area(QPoint(0, 0), size());
    switch (face()) {
        case Face::Normal:
            painter.drawPixmap(area.topLeft(), m_normal, area);
            break;
        case Face::Pressed:
            painter.drawPixmap(area.topLeft(), picture(m_pressed, m_pressedFile), area);
            break;
        case Face::Hover:
            painter.drawPixmap(area.topLeft(), picture(m_hover, m_hoverFile), area);
            break;
    }
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(m_focusColour.isValid() ? m_focusColour : kFocusMark, m_focusWidth));
        painter.setBrush(Qt::NoBrush);
        const qreal inset = m_focusWidth / 2;
        painter.drawRoundedRect(QRectF(area).adjusted(inset, inset, -inset, -inset),
                                2 * m_focusWidth, 2 * m_focusWidth);
    }
}

bool HoverButton::event(QEvent* event) {
    // Enter activates a focused button; a window's Enter shortcut must not take it first.
    if (event->type() == QEvent::ShortcutOverride && isEnter(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QAbstractButton::event(event);
}

void HoverButton::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event) && !event->isAutoRepeat()) {
        animateClick();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void HoverButton::startHovering() {
    if (m_hovering || isDown()) return;
    m_hovering = true;
    update();
    emit mouseEntered();
}

void HoverButton::enterEvent(QEnterEvent* event) {
    startHovering();
    QAbstractButton::enterEvent(event);
}

void HoverButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    startHovering();
}

void HoverButton::leaveEvent(QEvent* event) {
    m_hovering = false;
    update();
    emit mouseLeft();
    QAbstractButton::leaveEvent(event);
}

void HoverButton::mousePressEvent(QMouseEvent* event) {
    // A pressed button shows its pressed picture, not the hover one.
    m_hovering = false;
    QAbstractButton::mousePressEvent(event);
}

HandCursorButton::HandCursorButton(QWidget* parent) : HandCursorButton(QString(), parent) {}

HandCursorButton::HandCursorButton(const QString& caption, QWidget* parent)
    : HoverButton(caption, parent) {
    setCursor(Qt::PointingHandCursor);
}

}  // namespace quorvel
