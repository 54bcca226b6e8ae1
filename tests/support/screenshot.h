#pragma once

// For the screenshot programs: what the screen shows, saved as a PNG.

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QWidget>
#include <cstdio>

namespace quorvel::testing {

// A real display (Xvfb) can be photographed; offscreen there is no screen.
inline bool onRealScreen() { return QGuiApplication::platformName() != QLatin1String("offscreen"); }

// `area` of the screen on a real display, else what `fallback` paints of itself.
inline QImage grabScreen(const QRect& area, QWidget& fallback) {
    if (!onRealScreen()) return fallback.grab().toImage();
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage();
}

// Saves `shot` at `path` and says which; false when there was nothing to save or no room.
inline bool saveShot(const QImage& shot, const QString& path) {
    if (shot.isNull() || !shot.save(path, "PNG")) {
        std::fprintf(stderr, "could not save %s\n", qPrintable(path));
        return false;
    }
    std::printf("saved %s\n", qPrintable(path));
    return true;
}

}  // namespace quorvel::testing
