#pragma once

// The base of every window of the program: a frameless dialog painted from its skin picture,
// its outline cut from the same picture by the key colour when it is first shown, draggable by
// any point that is not a control, with static texts in black on the dialog's static colour.

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QRegion>

#include "ui/skin_resources.h"

class QLabel;

namespace quorvel {

class SkinnedDialog : public QDialog {
    Q_OBJECT

public:
    explicit SkinnedDialog(const QString& skinPath, QWidget* parent = nullptr);

    const QPixmap& skin() const { return m_skin; }
    // The outline given with the skin, or the one cut from it; empty before either.
    const QRegion& outline() const { return m_outline; }
    // True once the outline has been cut; it is never cut again.
    bool isOutlineCut() const { return m_outlineCut; }

    void setStaticBackground(QColor colour) { m_staticBackground = colour; }
    // Labels that are direct children are coloured when they are polished; others on request.
    void colourStatic(QLabel* label) const;

    // The window title a task switcher and a screen reader show: the program and the tool.
    void setToolTitle(const QString& tool);

    // Another picture for a window whose size changes with it (the calculator's zoom), with
    // its outline already worked out (outlineFromSkin, on a worker, say): the window takes the
    // picture's size and, once shown, that outline.
    void replaceSkin(const QPixmap& skin, const QRegion& outline);

    // Sizes the window to a fixed client size and puts it in the middle of its screen.
    void setClientSize(int width, int height);
    void centreOnScreen();

    // The window area left after removing every key-coloured pixel of the skin; parts of the
    // window the skin does not cover stay in.
    static QRegion outlineFromSkin(const QImage& skin, QSize windowSize,
                                   QRgb key = skins::kKeyColour);

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void cutOutline();

    QPixmap m_skin;
    QRegion m_outline;  // from replaceSkin, or worked out from the skin when first shown
    bool m_outlineCut = false;
    QColor m_staticBackground = QColor::fromRgb(skins::kStaticBackground);
    // Where a window manager cannot move the window, it follows the mouse from this offset.
    QPoint m_dragOffset;
    bool m_dragging = false;
};

}  // namespace quorvel
