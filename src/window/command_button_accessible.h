#pragma once

// The calculator window's buttons as assistive technology sees them: a press action, the name
// and the description the window gives (the tooltip stays for the mouse and is not read out a
// second time), and a button's popup menu as its child, so the style menu and its items are
// part of the window's tree.

class QAbstractButton;
class QMenu;

namespace quorvel {

// Installs the interface for every button marked below; safe to call more than once.
void InstallCommandButtonAccessibility();
// Marks `button` (before anything asks for its interface); `menu` is the popup it opens.
void MarkCommandButton(QAbstractButton& button, QMenu* menu = nullptr);

}  // namespace quorvel
