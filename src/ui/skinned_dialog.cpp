#include "ui/skinned_dialog.h"

#include <QApplication>
#include <QBitmap>
#include <QChildEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace quorvel {

SkinnedDialog::SkinnedDialog(const QString& skinPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    skins::initResources();
    m_skin.load(skinPath);
}

QRegion SkinnedDialog::outlineFromSkin(const QImage& skin, QSize windowSize, QRgb key) {
    QImage canvas(windowSize, QImage::Format_RGB32);
    // Any colour but the key: the part of the window the skin does not reach stays in.
    canvas.fill(key ^ 0x00ffffffu);
    {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, skin.convertToFormat(QImage::Format_RGB32));
    }
    return QRegion(QBitmap::fromImage(canvas.createMaskFromColor(key, Qt::MaskInColor)));
}

void SkinnedDialog::cutOutline() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setMask(outlineFromSkin(m_skin.toImage(), size()));
    QGuiApplication::restoreOverrideCursor();
    m_outlineCut = true;
}

void SkinnedDialog::replaceSkin(const QPixmap& skin) {
    m_skin = skin;
    setFixedSize(skin.size());
    if (m_outlineCut) setMask(outlineFromSkin(m_skin.toImage(), size()));
    update();
}

void SkinnedDialog::showEvent(QShowEvent* event) {
    // Cut before the first frame, so the window never appears as a rectangle.
    if (!m_outlineCut) cutOutline();
    QDialog::showEvent(event);
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_skin);
}

void SkinnedDialog::colourStatic(QLabel* label) const {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(skins::kStaticText));
    palette.setColor(QPalette::Window, m_staticBackground);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

bool SkinnedDialog::event(QEvent* event) {
    if (event->type() == QEvent::ChildPolished) {
        if (auto* label = qobject_cast<QLabel*>(static_cast<QChildEvent*>(event)->child())) {
            colourStatic(label);
        }
    }
    return QDialog::event(event);
}

void SkinnedDialog::setToolTitle(const QString& tool) {
    setWindowTitle(QStringLiteral("Quorvel - ") + tool);
}

void SkinnedDialog::setClientSize(int width, int height) {
    setFixedSize(width, height);
    centreOnScreen();
}

void SkinnedDialog::centreOnScreen() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    QWindow* window = windowHandle();
    if (window && window->startSystemMove()) {
        event->accept();
        return;
    }
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - m_dragOffset);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

}  // namespace quorvel
