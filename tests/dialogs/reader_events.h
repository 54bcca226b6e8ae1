#pragma once

// What a screen reader reads for a control that has the focus, as Qt answers the
// accessibility bridge: the name of its focused part (the current cell of a list), else the
// control's own name.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QString>
#include <QWidget>

namespace quorvel::testing {

inline QString readerSays(QWidget* control) {
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
    if (!reader) return {};
    QAccessibleInterface* focused = reader->focusChild();
    return (focused ? focused : reader)->text(QAccessible::Name);
}

}  // namespace quorvel::testing
