#pragma once

// The dialogs the calculator window asks its owner for: the settings dialog and the style
// message, each modal over the window. The tool dialogs of later work join them here.

namespace quorvel {

class MainWindow;

void ConnectWindowDialogs(MainWindow& window);

}  // namespace quorvel
