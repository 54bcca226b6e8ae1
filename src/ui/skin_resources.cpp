#include "ui/skin_resources.h"

#include <QtCore/qresource.h>

#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerSkins() { Q_INIT_RESOURCE(skins); }

namespace quorvel::skins {

void initResources() {
    static std::once_flag once;
    std::call_once(once, registerSkins);
}

QImage readPng(const QString& file) {
    // Told the format and not to guess, the reader goes straight to its own PNG decoder;
    // otherwise it loads every image plugin to ask whether it knows the picture.
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QPixmap loadPixmap(const QString& file) {
    // Shared as QPixmap::load shares them: a dialog's keys show the same few pictures.
    const QString key = QStringLiteral("quorvel:") + file;
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    pixmap = QPixmap::fromImage(readPng(file));
    if (!pixmap.isNull()) QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon pngIcon(const QStringList& files) {
    initResources();
    QIcon icon;
    for (const QString& file : files) {
        QImage picture = readPng(file);
        if (!picture.isNull()) icon.addPixmap(QPixmap::fromImage(std::move(picture)));
    }
    return icon;
}

QIcon compiledWindowIcon() { return pngIcon({QString::fromLatin1(kWindowIcon)}); }

}  // namespace quorvel::skins
