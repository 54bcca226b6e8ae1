#pragma once

// Checks every dialog test shares: each control a user can reach has a name a screen reader
// can say.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

namespace quorvel::testing {

// The class and text of every visible, enabled control under `root` without an accessible
// name; empty when all have one.
inline QStringList unnamedControls(const QWidget& root) {
    QStringList unnamed;
    for (QWidget* w : root.findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
            qobject_cast<QComboBox*>(w) ||
            (qobject_cast<QAbstractItemView*>(w) && !qobject_cast<QHeaderView*>(w));
        // Parts of a composite control (a combo box's own list) are named by their owner.
        const bool part = qobject_cast<QComboBox*>(w->parentWidget()) != nullptr ||
                          qobject_cast<QAbstractItemView*>(w->parentWidget()) != nullptr;
        if (!control || part || !w->isVisibleTo(&root) || !w->isEnabled()) continue;
        if (w->accessibleName().isEmpty()) {
            unnamed << QString::fromLatin1(w->metaObject()->className()) + " " +
                           w->property("text").toString();
        }
    }
    return unnamed;
}

}  // namespace quorvel::testing
