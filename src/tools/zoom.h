#pragma once

// The calculator window's zoom: one percentage that scales every style as a whole (skin,
// outline, keys, captions and the input box), so a window at 200 % is twice as wide and twice
// as tall as at 100 %. The window asks here for the next step and for its scaled layout.

#include <span>
#include <string_view>

#include "tools/window_styles.h"

namespace quorvel {

inline constexpr int kZoomMin = 100;
inline constexpr int kZoomMax = 300;
inline constexpr int kZoomDefault = 100;

// A stored or typed percentage inside the bounds; out of range it is the nearest bound.
int clampZoom(int percent);
// The steps Ctrl+plus and Ctrl+minus go through, smallest first.
std::span<const int> zoomSteps();
// The next step above (below) `percent`; at the bound, the bound. A percentage between two
// steps goes to the nearer one in the asked direction.
int zoomIn(int percent);
int zoomOut(int percent);

enum class ZoomKey { In, Out, Reset };

struct ZoomShortcut {
    std::string_view keys;  // portable key sequence text
    ZoomKey action;
};
// Ctrl+plus (also Ctrl+= for keyboards where plus needs Shift), Ctrl+minus and Ctrl+0.
std::span<const ZoomShortcut> zoomShortcuts();
int applyZoomKey(int percent, ZoomKey key);

// A length at `percent`, rounded to the nearest pixel.
int zoomed(int length, int percent);
// Edges are scaled, not origin and size, so controls side by side stay side by side.
Rect zoomed(const Rect& rect, int percent);
// The layout at `percent`: size, area, reserved parts, input box and every control.
StyleLayout zoomedLayout(const StyleLayout& layout, int percent);

}  // namespace quorvel
