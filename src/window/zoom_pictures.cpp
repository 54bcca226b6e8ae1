#include "window/zoom_pictures.h"

#include <QFontMetrics>
#include <QThreadPool>

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
    skins::initResources();
    // As the window will show them, so that it only hands them over.
    const auto read = [](const char* file) {
        QImage image(QString::fromLatin1(file));
        if (image.hasAlphaChannel()) image.convertTo(QImage::Format_ARGB32_Premultiplied);
        return image;
    };
    ZoomPictures pictures;
    pictures.skin = read(base.skin.c_str());
    pictures.outline =
        SkinnedDialog::outlineFromSkin(pictures.skin, QSize(base.width, base.height));
    for (const StyleControl& c : base.controls) {
        const ZoomPictures::KeyId id{static_cast<int>(c.look), c.rect.width, c.rect.height};
        if (pictures.keys.count(id) != 0) continue;
        const skins::ButtonPictures& files = committedKeyPictures(c.look);
        pictures.keys.emplace(
            id, std::array<QImage, 3>{read(files.normal), read(files.pressed), read(files.hover)});
    }
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

ZoomPictures paintZoomPictures(const StyleLayout& base, int percent) {
    ZoomPictures pictures;
    pictures.skin = skins::paintMainSkin(mainSkin(base.style), percent);
    const StyleLayout zoomedBase = zoomedLayout(base, percent);
    pictures.outline =
        SkinnedDialog::outlineFromSkin(pictures.skin, QSize(zoomedBase.width, zoomedBase.height));
    for (const StyleControl& c : zoomedBase.controls) {
        const ZoomPictures::KeyId id{static_cast<int>(c.look), c.rect.width, c.rect.height};
        if (pictures.keys.count(id) == 0) {
            pictures.keys.emplace(id, paintKeyPictures(c.look, c.rect.width, c.rect.height));
        }
        pictures.captionPixels.push_back(captionPixelSize(c, percent));
    }
    return pictures;
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
        kept.emplace(percent, slot);
        const StyleLayout* layout = &base;
        paintingPool().start([slot, layout, percent] {
            ZoomPictures painted = paintZoomPictures(*layout, percent);
            const std::lock_guard<std::mutex> lock(slot->mutex);
            slot->pictures = std::move(painted);
            slot->done = true;
        });
    }
    // A worker still painting a forgotten zoom finishes into its own slot, which then goes.
    m_slots = std::move(kept);
}

bool ZoomPrefetch::ready() const {
    for (const auto& entry : m_slots) {
        const std::lock_guard<std::mutex> lock(entry.second->mutex);
        if (!entry.second->done) return false;
    }
    return true;
}

std::optional<ZoomPictures> ZoomPrefetch::take(int percent) {
    const auto it = m_slots.find(percent);
    if (it == m_slots.end()) return std::nullopt;
    std::shared_ptr<Slot> slot = it->second;
    const std::lock_guard<std::mutex> lock(slot->mutex);
    if (!slot->done) return std::nullopt;
    std::optional<ZoomPictures> ready(std::move(slot->pictures));
    m_slots.erase(it);
    return ready;
}

}  // namespace quorvel
