#include "dialogs/dialog_button.h"

#include <QKeyEvent>
#include <QPainter>

namespace quorvel {

DialogButton::DialogButton(const QString& caption, const QString& tooltip, QPoint position,
                           QWidget* parent)
    : HoverButton(caption, parent) {
    setPictures(skins::kButton);
    setGeometry(QRect(position, QSize(65, 25)));
    setToolTip(tooltip);
    setAccessibleName(tooltip.isEmpty() ? caption : tooltip);
    setFocusPolicy(Qt::StrongFocus);
}

void DialogButton::paintEvent(QPaintEvent* event) {
    HoverButton::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::ButtonText));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
}

void DialogButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) click();
        event->accept();
        return;
    }
    HoverButton::keyPressEvent(event);
}

QWidget* findControl(const QWidget* dialog, int id) {
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->property("controlId").toInt() == id) return child;
    }
    return nullptr;
}

}  // namespace quorvel
