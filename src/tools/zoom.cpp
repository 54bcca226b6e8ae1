#include "tools/zoom.h"

#include <algorithm>
#include <array>

namespace quorvel {
namespace {

constexpr std::array<int, 8> kSteps = {100, 125, 150, 175, 200, 225, 250, 300};

constexpr ZoomShortcut kShortcuts[] = {
    {"Ctrl++", ZoomKey::In},
    {"Ctrl+=", ZoomKey::In},
    {"Ctrl+-", ZoomKey::Out},
    {"Ctrl+0", ZoomKey::Reset},
};

}  // namespace

int clampZoom(int percent) { return std::clamp(percent, kZoomMin, kZoomMax); }

std::span<const int> zoomSteps() { return kSteps; }

int zoomIn(int percent) {
    const int from = clampZoom(percent);
    const auto next = std::upper_bound(kSteps.begin(), kSteps.end(), from);
    return next == kSteps.end() ? kZoomMax : *next;
}

int zoomOut(int percent) {
    const int from = clampZoom(percent);
    const auto at = std::lower_bound(kSteps.begin(), kSteps.end(), from);
    return at == kSteps.begin() ? kZoomMin : *(at - 1);
}

std::span<const ZoomShortcut> zoomShortcuts() { return kShortcuts; }

int applyZoomKey(int percent, ZoomKey key) {
    switch (key) {
        case ZoomKey::In:
            return zoomIn(percent);
        case ZoomKey::Out:
            return zoomOut(percent);
        case ZoomKey::Reset:
            break;
    }
    return kZoomDefault;
}

int zoomed(int length, int percent) {
    const long long scaled = static_cast<long long>(length) * percent;
    // Round half away from zero, so that negative offsets mirror positive ones.
    return static_cast<int>(scaled >= 0 ? (scaled + 50) / 100 : (scaled - 50) / 100);
}

Rect zoomed(const Rect& r, int percent) {
    const int x = zoomed(r.x, percent);
    const int y = zoomed(r.y, percent);
    return {x, y, zoomed(r.right(), percent) - x, zoomed(r.bottom(), percent) - y};
}

StyleLayout zoomedLayout(const StyleLayout& layout, int percent) {
    StyleLayout l = layout;
    l.width = zoomed(layout.width, percent);
    l.height = zoomed(layout.height, percent);
    l.area = {zoomed(layout.area.rect, percent), zoomed(layout.area.radius, percent)};
    for (Rect& r : l.reserved) r = zoomed(r, percent);
    l.input = zoomed(layout.input, percent);
    for (StyleControl& c : l.controls) c.rect = zoomed(c.rect, percent);
    return l;
}

}  // namespace quorvel
