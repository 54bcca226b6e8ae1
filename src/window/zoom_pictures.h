#pragma once

// The skin and key pictures of one zoom of a window style, and the painting of the zoom steps
// next to the current one ahead of time, on a worker thread: Ctrl+plus and Ctrl+minus then
// only lay the window out, within a frame, instead of painting first.

#include <QImage>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <vector>

#include "tools/window_styles.h"

namespace quorvel {

struct ZoomPictures {
    using KeyId = std::tuple<int, int, int>;  // control look, width, height
    QImage skin;
    std::map<KeyId, std::array<QImage, 3>> keys;  // normal, pressed, hover
};

// Any thread: `base` is a style's layout at 100 %.
ZoomPictures paintZoomPictures(const StyleLayout& base, int percent);
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
