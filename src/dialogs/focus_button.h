#pragma once

// The kit's picture buttons take no focus; in these dialogs every button is reached with Tab,
// shows a dotted focus mark and is pressed with Space or Enter.

#include <QKeyEvent>
#include <QPainter>
#include <QPen>

namespace quorvel {

template <class Button>
class FocusMarked : public Button {
public:
    FocusMarked(const QString& caption, QWidget* parent) : Button(caption, parent) {
        this->setFocusPolicy(Qt::StrongFocus);
        this->setToolTip(caption);
        this->setAccessibleName(caption);
    }
    // The tooltip doubles as the accessible name.
    void setTip(const QString& tip) {
        this->setToolTip(tip);
        this->setAccessibleName(tip);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        Button::paintEvent(event);
        if (!this->hasFocus()) return;
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(this->rect().adjusted(3, 3, -4, -4));
    }
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            !event->isAutoRepeat()) {
            this->animateClick();
            return;
        }
        Button::keyPressEvent(event);
    }
};

}  // namespace quorvel
