#pragma once

// For the screenshot programs: what the screen shows, saved as a PNG.

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QTimer>
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

// `window` with `margin` pixels of the desktop around it, where a cut outline shows.
inline QImage grabAround(QWidget& window, int margin) {
    return grabScreen(window.frameGeometry().adjusted(-margin, -margin, margin, margin), window);
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

// Lets the event loop run for `ms`, so windows show and paint.
inline void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Each character of `keys` pressed on `target`, as a person typing.
inline void typeKeys(QWidget* target, const QString& keys) {
    for (QChar c : keys) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
    }
}

inline void pressKey(QWidget* target, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QCoreApplication::sendEvent(target, &release);
}

}  // namespace quorvel::testing
