#include "ui/skin_resources.h"

#include <QtCore/qresource.h>

#include <QImageReader>
#include <QPixmap>
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

QIcon compiledWindowIcon() {
    initResources();
    QIcon icon;
    QImage picture = readPng(QString::fromLatin1(kWindowIcon));
    if (!picture.isNull()) icon.addPixmap(QPixmap::fromImage(std::move(picture)));
    return icon;
}

}  // namespace quorvel::skins
