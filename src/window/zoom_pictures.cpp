#include "window/zoom_pictures.h"

#include <QFontMetrics>
#include <QThreadPool>
#include <algorithm>

#include "tools/zoom.h"
#include "ui/fonts.h"
#include "ui/skin_painter.h"
#include "ui/skinned_dialog.h"

namespace quorvel {
namespace {

// Painting ahead takes only what the window and the X server leave over: on a machine with
// few cores, a worker at normal priority delays the very step it paints after. Nothing else
// of ours runs in the application's pool, which waits for its workers before the application
// goes.
QThreadPool& paintingPool() {
    static QThreadPool* const pool = [] {
        QThreadPool* global = QThreadPool::globalInstance();
        global->setThreadPriority(QThread::IdlePriority);
        return global;
    }();
    return *pool;
}

skins::KeySet keySet(ControlLook look) {
    switch (look) {
        case ControlLook::Accent:
            return skins::KeySet::Accent;
        case ControlLook::Mini:
            return skins::KeySet::Mini;
        case ControlLook::Cartoon:
            return skins::KeySet::Cartoon;
        case ControlLook::ContrastKey:
            return skins::KeySet::ContrastKey;
        case ControlLook::ContrastAccent:
            return skins::KeySet::ContrastAccent;
        case ControlLook::ContrastWord:
            return skins::KeySet::ContrastWord;
        case ControlLook::Key:
        case ControlLook::Word:
            break;
    }
    return skins::KeySet::Key;
}

skins::MainSkin mainSkin(WindowStyle style) {
    switch (style) {
        case WindowStyle::Cartoon:
            return skins::MainSkin::Cartoon;
        case WindowStyle::Mini:
            return skins::MainSkin::Mini;
        case WindowStyle::Detail:
            return skins::MainSkin::Detail;
        case WindowStyle::Contrast:
            return skins::MainSkin::Contrast;
        default:
            return skins::MainSkin::Standard;
    }
}

// As the window will show them, so that it only hands them over.
QImage readCommitted(const char* file) {
    QImage image = skins::readPng(QString::fromLatin1(file));
    if (image.hasAlphaChannel()) image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

std::map<ZoomPictures::KeyId, std::array<QImage, 3>> readCommittedKeys(const StyleLayout& base) {
    skins::initResources();
    std::map<ZoomPictures::KeyId, std::array<QImage, 3>> keys;
    for (const StyleControl& c : base.controls) {
        const ZoomPictures::KeyId id{static_cast<int>(c.look), c.rect.width, c.rect.height};
        if (keys.count(id) != 0) continue;
        const skins::ButtonPictures& files = committedKeyPictures(c.look);
        keys.emplace(
            id, std::array<QImage, 3>{readCommitted(files.normal), readCommitted(files.pressed),
                                      readCommitted(files.hover)});
    }
    return keys;
}

// The halves of a zoom's pictures, which two threads may get at once: they write to
// members of their own.
void getSkinPictures(const StyleLayout& base, int percent, ZoomPictures& pictures) {
    if (percent == kZoomDefault) {
        skins::initResources();
        pictures.skin = readCommitted(base.skin.c_str());
    } else {
        pictures.skin = skins::paintMainSkin(mainSkin(base.style), percent);
    }
    pictures.outline = SkinnedDialog::outlineFromSkin(
        pictures.skin, QSize(zoomed(base.width, percent), zoomed(base.height, percent)));
}

void getKeyPictures(const StyleLayout& base, int percent, ZoomPictures& pictures) {
    const StyleLayout zoomedBase = zoomedLayout(base, percent);
    if (percent == kZoomDefault) {
        pictures.keys = readCommittedKeys(base);
    } else {
        for (const StyleControl& c : zoomedBase.controls) {
            const ZoomPictures::KeyId id{static_cast<int>(c.look), c.rect.width, c.rect.height};
            if (pictures.keys.count(id) == 0) {
                pictures.keys.emplace(id, paintKeyPictures(c.look, c.rect.width, c.rect.height));
            }
        }
    }
    pictures.captionPixels = captionPixelSizes(zoomedBase, percent);
}

}  // namespace

// The committed pictures, painted at 100 %.
const skins::ButtonPictures& committedKeyPictures(ControlLook look) {
    switch (look) {
        case ControlLook::Accent:
            return skins::kAccentKey;
        case ControlLook::Mini:
            return skins::kMiniKey;
        case ControlLook::Cartoon:
            return skins::kCartoonKey;
        case ControlLook::ContrastKey:
            return skins::kContrastKey;
        case ControlLook::ContrastAccent:
            return skins::kContrastAccent;
        case ControlLook::ContrastWord:
            return skins::kContrastWord;
        default:
            return skins::kKey;
    }
}

ZoomPictures readCommittedPictures(const StyleLayout& base) {
    ZoomPictures pictures;
    getSkinPictures(base, kZoomDefault, pictures);
    pictures.keys = readCommittedKeys(base);
    return pictures;
}

std::array<QImage, 3> paintKeyPictures(ControlLook look, int width, int height) {
    const skins::KeySet set = keySet(look);
    const QSize size(width, height);
    return {skins::paintKeyPicture(set, skins::KeyState::Normal, size),
            skins::paintKeyPicture(set, skins::KeyState::Pressed, size),
            skins::paintKeyPicture(set, skins::KeyState::Hover, size)};
}

QFont captionFont(const StyleControl& control, int pixels) {
    QFont font(uiFontFamily());
    font.setBold(
        captionSize(control.look, QString::fromStdString(control.caption).size() == 1).bold);
    font.setPixelSize(pixels);
    return font;
}

int captionPixelSize(const StyleControl& control, int percent) {
    const QString caption = QString::fromStdString(control.caption);
    const int room = control.rect.width - zoomed(4, percent);
    const int largest = zoomed(captionSize(control.look, caption.size() == 1).pixels, percent);
    // The smallest tried is 7 pixels, kept even where the word still does not fit.
    int pixels = largest;
    for (; pixels > 7; --pixels) {
        if (QFontMetrics(captionFont(control, pixels)).horizontalAdvance(caption) <= room) break;
    }
    return pixels;
}

std::vector<int> captionPixelSizes(const StyleLayout& zoomedBase, int percent) {
    std::vector<int> pixels;
    pixels.reserve(zoomedBase.controls.size());
    for (const StyleControl& c : zoomedBase.controls) {
        pixels.push_back(captionPixelSize(c, percent));
    }
    return pixels;
}

ZoomPictures paintZoomPictures(const StyleLayout& base, int percent) {
    ZoomPictures pictures;
    getSkinPictures(base, percent, pictures);
    getKeyPictures(base, percent, pictures);
    return pictures;
}

void ZoomPrefetch::paint(Slot& slot, int part) {
    {
        const std::lock_guard<std::mutex> lock(slot.mutex);
        if (slot.state[part] != State::Waiting) return;  // begun elsewhere
        slot.state[part] = State::Working;
    }
    if (part == 0) {
        getSkinPictures(*slot.base, slot.percent, slot.pictures);
    } else {
        getKeyPictures(*slot.base, slot.percent, slot.pictures);
    }
    {
        const std::lock_guard<std::mutex> lock(slot.mutex);
        slot.state[part] = State::Done;
    }
    slot.finished.notify_all();
}

void ZoomPrefetch::prepare(const StyleLayout& base, const std::vector<int>& percents) {
    std::map<int, std::shared_ptr<Slot>> kept;
    for (int percent : percents) {
        auto it = m_slots.find(percent);
        if (it != m_slots.end()) {
            kept.emplace(percent, it->second);
            continue;
        }
        auto slot = std::make_shared<Slot>();
        slot->base = &base;
        slot->percent = percent;
        kept.emplace(percent, slot);
        // The skin and the keys are two halves, so the pool's threads paint them side by side.
        for (int part = 0; part < kParts; ++part) {
            paintingPool().start([slot, part] { paint(*slot, part); });
        }
    }
    // A worker still painting a forgotten zoom finishes into its own slot, which then goes.
    m_slots = std::move(kept);
}

void ZoomPrefetch::keep(int percent, ZoomPictures pictures) {
    auto slot = std::make_shared<Slot>();
    slot->pictures = std::move(pictures);
    slot->state.fill(State::Done);
    m_slots[percent] = std::move(slot);
}

bool ZoomPrefetch::ready() const {
    for (const auto& entry : m_slots) {
        const std::lock_guard<std::mutex> lock(entry.second->mutex);
        for (const State state : entry.second->state) {
            if (state != State::Done) return false;
        }
    }
    return true;
}

std::optional<ZoomPictures> ZoomPrefetch::take(int percent) {
    const auto it = m_slots.find(percent);
    if (it == m_slots.end()) return std::nullopt;
    const std::shared_ptr<Slot> slot = it->second;
    m_slots.erase(it);
    // A half no worker has begun is painted here, sooner than behind another; one that has
    // begun is further on than a new start here would be.
    for (int part = 0; part < kParts; ++part) paint(*slot, part);
    std::unique_lock<std::mutex> lock(slot->mutex);
    slot->finished.wait(lock, [&slot] {
        return std::all_of(slot->state.begin(), slot->state.end(),
                           [](State state) { return state == State::Done; });
    });
    return std::move(slot->pictures);
}

}  // namespace quorvel
