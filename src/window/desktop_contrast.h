#pragma once

// What the desktop says about contrast, gathered for the first start's offer of the
// high-contrast style: Qt's own hint where this Qt has one, the desktop portal's contrast
// setting (and GNOME's high-contrast switch behind it), and the GTK theme's name.

#include "tools/start_up.h"

namespace quorvel {

// Asks the session bus, waiting at most a moment; used only at a first start.
ContrastHints DesktopContrastHints();

}  // namespace quorvel
