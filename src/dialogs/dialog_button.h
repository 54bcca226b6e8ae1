#pragma once

// The picture buttons of the dialogs: hover buttons placed, dressed and named in one call.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRect>
#include <QString>
#include <vector>

#include "ui/hover_button.h"

namespace quorvel {

// A `Button` (a HoverButton or one of its kinds) at `geometry` with `pictures`; the tooltip,
// or the caption when there is none, is the name a screen reader reads.
template <class Button = HoverButton>
Button* makeDialogButton(QWidget* parent, const QString& caption, const QString& tooltip,
                         QRect geometry, const skins::ButtonPictures& pictures = skins::kButton) {
    auto* button = new Button(caption, parent);
    button->setPictures(pictures);
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip.isEmpty() ? caption : tooltip);
    button->setGeometry(geometry);
    return button;
}

// What a screen reader says for `control`: a short `name`, then `description`. Without a
// description a reader says the tooltip instead, so one is given wherever the tooltip would
// only repeat the name or read a misspelt word.
inline void setReaderText(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

// Makes `buttons` one exclusive choice: each is checkable, the one checked is the current
// choice, and Tab reaches only that one while the arrow keys move the choice, as in a row of
// radio buttons.
inline QButtonGroup* makeExclusiveChoice(QWidget* parent,
                                         const std::vector<QAbstractButton*>& buttons) {
    auto* group = new QButtonGroup(parent);
    group->setExclusive(true);
    for (QAbstractButton* button : buttons) {
        button->setCheckable(true);
        group->addButton(button);
    }
    // Qt moves the Tab stop only when a button gets the focus; a choice made by the window
    // (or before the first focus) moves it too.
    QObject::connect(group, &QButtonGroup::buttonToggled, group, [group](QAbstractButton*, bool) {
        for (QAbstractButton* button : group->buttons()) {
            const Qt::FocusPolicy policy = button->focusPolicy();
            button->setFocusPolicy(button->isChecked() ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                       : Qt::FocusPolicy(policy & ~Qt::TabFocus));
        }
    });
    return group;
}

// Checks `button` of an exclusive `group`, or none of them when it is null.
inline void checkOnly(QButtonGroup* group, QAbstractButton* button) {
    if (button) {
        button->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

}  // namespace quorvel
