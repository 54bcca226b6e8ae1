#pragma once

// The skin and key pictures of one zoom of a window style, and the painting of the zoom steps
// next to the current one ahead of time, on a worker thread: Ctrl+plus and Ctrl+minus then
// only lay the window out, within a frame, instead of painting first. The step the window
// came from is kept rather than painted again.

#include <QFont>
#include <QImage>
#include <QRegion>
#include <array>
#include <condition_variable>
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
// The caption sizes of every control of a zoomed layout, in its order. Any thread.
std::vector<int> captionPixelSizes(const StyleLayout& zoomedBase, int percent);
QFont captionFont(const StyleControl& control, int pixels);
std::array<QImage, 3> paintKeyPictures(ControlLook look, int width, int height);

class ZoomPrefetch {
public:
    // Starts getting `percents` of `base` (which outlives every worker: the style tables do)
    // ready where they are neither started nor kept: painted, or at 100 % read from the
    // committed files. Forgets any other zoom's pictures.
    void prepare(const StyleLayout& base, const std::vector<int>& percents);
    // The pictures of a zoom the window leaves, for a return to it.
    void keep(int percent, ZoomPictures pictures);
    // The pictures of `percent`, handed over once: at once when they are ready, when its worker
    // has finished when one is painting them, and painted here when none has started; nothing
    // when neither prepare() nor keep() asked for them. Never painted twice.
    std::optional<ZoomPictures> take(int percent);
    // True when every zoom of the last prepare() is ready (or taken).
    bool ready() const;

private:
    enum class State { Waiting, Working, Done };
    static constexpr int kParts = 2;  // the skin with its outline; the keys with the captions
    struct Slot {
        const StyleLayout* base = nullptr;
        int percent = 0;
        std::mutex mutex;  // guards `state`; a half's members are its painter's until Done
        std::condition_variable finished;
        std::array<State, kParts> state{State::Waiting, State::Waiting};
        ZoomPictures pictures;
    };
    // Paints `part` of the slot's pictures unless it has begun elsewhere.
    static void paint(Slot& slot, int part);

    std::map<int, std::shared_ptr<Slot>> m_slots;
};

}  // namespace quorvel
