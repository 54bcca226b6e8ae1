#pragma once

// The picture buttons of the dialogs: hover buttons placed, dressed and named in one call.

#include <QRect>
#include <QString>

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

}  // namespace quorvel
