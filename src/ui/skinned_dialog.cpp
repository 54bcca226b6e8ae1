#include "ui/skinned_dialog.h"

#include <QApplication>
#include <QChildEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

namespace quorvel {

SkinnedDialog::SkinnedDialog(const QString& skinPath, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    skins::initResources();
    if (!skinPath.isEmpty()) m_skin = skins::loadPixmap(skinPath);
}

QRegion SkinnedDialog::outlineFromSkin(const QImage& skin, QSize windowSize, QRgb key) {
    // The region is built in QRegion's own banded form, one band per run of rows that keep
    // the same spans: through a bitmap it took longer than the rest of the window's start,
    // and many times that for a zoomed skin.
    const QImage rgb = skin.convertToFormat(QImage::Format_RGB32);
    const int width = windowSize.width();
    const int height = windowSize.height();
    const int skinWidth = std::min(width, rgb.width());
    const int skinHeight = std::min(height, rgb.height());
    const QRgb cut = key | 0xff000000u;
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> spans;
    std::vector<std::pair<int, int>> bandSpans;
    int bandTop = 0;
    std::size_t bandStart = 0;
    const auto closeBand = [&](int bottom) {
        for (std::size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(bottom - 1);
    };
    for (int y = 0; y < height; ++y) {
        spans.clear();
        int x = 0;
        if (y < skinHeight) {
            const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            while (x < skinWidth) {
                while (x < skinWidth && (row[x] | 0xff000000u) == cut) ++x;
                if (x == skinWidth) break;
                const int start = x;
                while (x < skinWidth && (row[x] | 0xff000000u) != cut) ++x;
                spans.emplace_back(start, x);
            }
        }
        // The part of the window the skin does not reach stays in.
        const int rest = y < skinHeight ? skinWidth : 0;
        if (rest < width) {
            if (!spans.empty() && spans.back().second == rest) {
                spans.back().second = width;
            } else {
                spans.emplace_back(rest, width);
            }
        }
        if (y > 0 && spans == bandSpans) continue;
        closeBand(y);
        bandTop = y;
        bandStart = rects.size();
        bandSpans = spans;
        for (const auto& [left, right] : spans) {
            rects.emplace_back(QPoint(left, bandTop), QPoint(right - 1, bandTop));
        }
    }
    closeBand(height);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

void SkinnedDialog::cutOutline() {
    if (m_outline.isEmpty()) m_outline = outlineFromSkin(m_skin.toImage(), size());
    setMask(m_outline);
    m_outlineCut = true;
}

void SkinnedDialog::replaceSkin(const QPixmap& skin, const QRegion& outline) {
    m_skin = skin;
    m_outline = outline;
    // An opaque skin covers every pixel the outline leaves: filling the background first
    // would only be painted over, a whole window's worth at every zoom step.
    setAttribute(Qt::WA_OpaquePaintEvent, !skin.hasAlphaChannel());
    setFixedSize(skin.size());
    if (m_outlineCut) setMask(outline);
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
