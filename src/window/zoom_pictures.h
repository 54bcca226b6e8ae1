#pragma once

// The skin and key pictures of one zoom of a window style, and the painting of the zoom steps
// next to the current one ahead of time, on a worker thread: Ctrl+plus and Ctrl+minus then
// only lay the window out, within a frame, instead of painting first.

#include <QFont>
#include <QImage>
#include <QRegion>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <vector>

#include "tools/window_styles.h"
#include "ui/skin_resources.h"

namespace quorvel {

// Everything of a zoom that takes long enough to be done ahead: the pictures, the skin's
// outline and the caption sizes.
struct ZoomPictures {
    using KeyId = std::tuple<int, int, int>;  // control look, width, height
    QImage skin;
    QRegion outline;
    std::map<KeyId, std::array<QImage, 3>> keys;  // normal, pressed, hover
    std::vector<int> captionPixels;               // in the order of the layout's controls
};

// Any thread: `base` is a style's layout at 100 %.
ZoomPictures paintZoomPictures(const StyleLayout& base, int percent);
// The committed pictures of `base`, drawn at 100 %: its skin with its outline, and its keys;
// without the caption sizes. Any thread.
ZoomPictures readCommittedPictures(const StyleLayout& base);
const skins::ButtonPictures& committedKeyPictures(ControlLook look);
// The table's caption size in pixels for a control of a zoomed layout; a word that would not
// fit its key is set smaller. Any thread.
int captionPixelSize(const StyleControl& zoomedControl, int percent);
QFont captionFont(const StyleControl& control, int pixels);
std::array<QImage, 3> paintKeyPictures(ControlLook look, int width, int height);

class ZoomPrefetch {
public:
    // Starts painting `percents` of `base` (which outlives every worker: the style tables do)
    // where not started yet, and forgets any other zoom's pictures.
    void prepare(const StyleLayout& base, const std::vector<int>& percents);
    // The pictures of `percent` if a worker has finished them; they are handed over once.
    std::optional<ZoomPictures> take(int percent);
    // True when every zoom of the last prepare() is painted (or taken).
    bool ready() const;

private:
    struct Slot {
        std::mutex mutex;
        bool done = false;
        ZoomPictures pictures;
    };
    std::map<int, std::shared_ptr<Slot>> m_slots;
};

}  // namespace quorvel
