#pragma once

// Picture buttons: three pictures (normal, pressed, hover) drawn unscaled at the button's top
// left, the caption centred on one line over them. They take the focus from Tab (a click
// leaves it where it was), show a frame while focused, and activate on Space and Enter.

#include <QAbstractButton>
#include <QPixmap>

#include "ui/skin_resources.h"

namespace quorvel {

class HoverButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Face { Normal, Pressed, Hover };

    explicit HoverButton(QWidget* parent = nullptr);
    HoverButton(const QString& caption, QWidget* parent = nullptr);

    void setPictures(const QString& normal, const QString& pressed, const QString& hover);
    void setPictures(const skins::ButtonPictures& pictures);
    // Pictures painted for the button's size (the window's zoom).
    void setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover);
    // The frame a focused button shows: orange, 2 pixels wide, unless a style asks for more.
    void setFocusFrame(const QColor& colour, qreal width);

    // Held down by the owner: drawn pressed without being pressed.
    void setHeldDown(bool on);
    bool isHeldDown() const { return m_heldDown; }
    bool isHovering() const { return m_hovering; }

    // The picture that ends up on top at the next paint.
    virtual Face face() const;

    QSize sizeHint() const override;

signals:
    void mouseEntered();
    void mouseLeft();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void startHovering();

    // The pressed and hover pictures are read when first drawn: a window's first frame needs
    // only the normal ones.
    const QPixmap& picture(QPixmap& pixmap, QString& file);

    QPixmap m_normal;
    QPixmap m_pressed;
    QPixmap m_hover;
    QString m_pressedFile;
    QString m_hoverFile;
    bool m_hovering = false;
    bool m_heldDown = false;
    QColor m_focusColour;
    qreal m_focusWidth = 2;
};

// A hover button that shows the hand cursor while the mouse is over it, for buttons that
// read as links.
class HandCursorButton : public HoverButton {
    Q_OBJECT

public:
    explicit HandCursorButton(QWidget* parent = nullptr);
    HandCursorButton(const QString& caption, QWidget* parent = nullptr);
};

}  // namespace quorvel
