#pragma once

// The dialogs the calculator window asks its owner for: the settings dialog, the style message
// and every tool, each modal over the window. The window ignores its commands while it is busy
// and puts the focus back into its input box once a request returns.

namespace quorvel {

class MainWindow;
class WordPlayer;

// `player` is what the window's own speech slot plays on: every tool that talks gets a slot of
// its own on it, stopped and released when the tool closes.
void ConnectWindowDialogs(MainWindow& window, WordPlayer& player);

}  // namespace quorvel
