#pragma once

// The one family every caption, box and menu of the program asks for. It ships with every
// Debian desktop (fonts-dejavu-core), so fontconfig finds it at once instead of searching for
// a substitute.

#include <QString>

namespace quorvel {

inline QString uiFontFamily() { return QStringLiteral("DejaVu Sans"); }

}  // namespace quorvel
