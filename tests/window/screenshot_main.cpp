// Shows the calculator window in each of its styles with a calculation done, then the
// style menu open, and saves what the screen shows into the folder given as the argument:
// style_standard.png, style_cartoon.png, style_mini.png, style_detail.png, style_contrast.png,
// style_menu.png. Each style is shown at 200 % zoom as well (style_NAME_200.png, after a step to
// 225 % and back), which must be exactly twice as wide and tall (the contrast style also with a key
// focused, style_contrast_200_focus.png); the time each zoom change takes is printed. Each style is
// also shown after a 4-step and a 21-step calculation (style_NAME_4steps.png,
// style_NAME_21steps.png), and the detail style with a 302-digit result (style_detail_long.png).
// On a real X server it also checks that a cut-out corner shows the desktop, not the skin.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "data/sys_data_holder.h"
#include "support/recording_speaker.h"
#include "support/screenshot.h"
#include "ui/banner_menu.h"
#include "ui/filter_edit.h"
#include "ui/hover_button.h"
#include "window/main_window.h"

using namespace quorvel;

namespace {

// The working of longer calculations: the scroll bars show and the result is in view.
struct Working {
    const char* suffix;
    const char* expression;
    const char* result;
};
constexpr Working kWorkings[] = {
    {"4steps", "2*(3+4*5)-1", "=45"},
    {"21steps", "1+2+3+4+5+6+7+8+9+10+11+12+13+14+15+16+17+18+19+20+21+22", "=253"},
};

const char* fileName(WindowStyle style) {
    switch (style) {
        case WindowStyle::Cartoon:
            return "style_cartoon.png";
        case WindowStyle::Mini:
            return "style_mini.png";
        case WindowStyle::Detail:
            return "style_detail.png";
        case WindowStyle::Contrast:
            return "style_contrast.png";
        default:
            return "style_standard.png";
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool realScreen = testing::onRealScreen();
    const QString expression = QStringLiteral("2*(3+4)");
    int status = 0;

    for (WindowStyle style : windowStyles()) {
        QTemporaryDir dir;
        SysDataHolder holder(std::filesystem::path(dir.path().toStdString()));
        holder.data().talkKeys = 0;
        holder.data().talkResult = 0;
        holder.Load();
        quorvel::testing::RecordingSpeaker speaker;
        MainWindow window(style, holder, speaker, MainWindow::Options{false, false, false});
        window.move(20, 20);
        window.show();
        window.activateWindow();
        testing::wait(300);
        testing::typeKeys(window.input(), expression);
        testing::pressKey(window.input(), Qt::Key_Return);
        testing::wait(300);

        const QRect frame = window.frameGeometry();
        const QImage shot = testing::grabScreen(frame.adjusted(-10, -10, 10, 10), window);
        if (realScreen) {
            // (10, 10) in the shot is the window's top-left pixel, cut away on every skin.
            const QColor behind = shot.pixelColor(2, 2);
            const QColor corner = shot.pixelColor(10, 10);
            if (corner != behind) {
                std::fprintf(stderr, "%s: the cut corner shows %s, the desktop %s\n",
                             fileName(style), qPrintable(corner.name()), qPrintable(behind.name()));
                status = 1;
            }
        }
        const QString path = folder + QLatin1Char('/') + QLatin1String(fileName(style));
        if (!testing::saveShot(shot, path)) status = 1;
        if (!window.input()->toPlainText().contains(QStringLiteral("=14"))) {
            std::fprintf(stderr, "%s: no result shown\n", fileName(style));
            status = 1;
        }

        // Ctrl+plus twice, as a user zooms: the next steps were painted ahead while the window
        // stood, so each change is only laid out and repainted.
        const QSize small = window.size();
        QElapsedTimer zoomTimer;
        for (int step = 0; step < 2; ++step) {
            testing::wait(step == 0 ? 2000 : 800);
            const int from = window.zoom();
            zoomTimer.start();
            window.controller().zoomKey(ZoomKey::In);
            window.repaint();
            std::printf("%s: Ctrl+plus %d %% to %d %% laid out and painted in %.1f ms\n",
                        fileName(style), from, window.zoom(),
                        static_cast<double>(zoomTimer.nsecsElapsed()) / 1e6);
        }
        // The same window at 200 %, a step not painted ahead.
        zoomTimer.start();
        window.controller().setZoom(200);
        window.repaint();
        const double zoomMs = static_cast<double>(zoomTimer.nsecsElapsed()) / 1e6;
        std::printf("%s: zoom to 200 %% laid out and painted in %.1f ms\n", fileName(style),
                    zoomMs);
        // A step on and back: 200 % is shown again from the pictures kept when it was left.
        window.controller().zoomKey(ZoomKey::In);
        window.controller().zoomKey(ZoomKey::Out);
        if (window.size() != 2 * small) {
            std::fprintf(stderr, "%s: 200 %% is %dx%d, not twice %dx%d\n", fileName(style),
                         window.width(), window.height(), small.width(), small.height());
            status = 1;
        }
        window.move(20, 20);
        testing::wait(300);
        const QRect bigFrame = window.frameGeometry();
        const QImage big = testing::grabScreen(bigFrame.adjusted(-10, -10, 10, 10), window);
        const QString bigName =
            QString::fromLatin1(fileName(style)).chopped(4) + QStringLiteral("_200.png");
        if (!testing::saveShot(big, folder + QLatin1Char('/') + bigName)) status = 1;
        if (style == WindowStyle::Contrast) {
            // The focus frame on a key, as Tab leaves it.
            window.button(Command::Equal)->setFocus(Qt::TabFocusReason);
            testing::wait(200);
            const QImage focus = testing::grabScreen(bigFrame.adjusted(-10, -10, 10, 10), window);
            if (!testing::saveShot(focus,
                                   folder + QStringLiteral("/style_contrast_200_focus.png"))) {
                status = 1;
            }
            window.focusInput();
        }
        zoomTimer.restart();
        window.controller().setZoom(100);
        window.repaint();
        std::printf("%s: zoom back to 100 %% in %.1f ms\n", fileName(style),
                    static_cast<double>(zoomTimer.nsecsElapsed()) / 1e6);
        window.move(20, 20);
        testing::wait(200);

        for (const Working& w : kWorkings) {
            testing::typeKeys(window.input(), QString::fromLatin1(w.expression));
            testing::pressKey(window.input(), Qt::Key_Return);
            testing::wait(300);
            if (!window.input()->toPlainText().endsWith(QLatin1String(w.result))) {
                std::fprintf(stderr, "%s: %s not shown\n", fileName(style), w.result);
                status = 1;
            }
            const QString name = QString::fromLatin1(fileName(style)).chopped(4) +
                                 QLatin1Char('_') + QLatin1String(w.suffix) +
                                 QStringLiteral(".png");
            const QImage working = testing::grabScreen(frame.adjusted(-10, -10, 10, 10), window);
            if (!testing::saveShot(working, folder + QLatin1Char('/') + name)) status = 1;
        }
        if (style == WindowStyle::Detail) {
            holder.data().intDigitsLimit = 400;
            window.controller().reloadSettings();
            testing::typeKeys(window.input(), QStringLiteral("2^1000"));
            testing::pressKey(window.input(), Qt::Key_Return);
            testing::wait(300);
            const QImage longShot = testing::grabScreen(frame.adjusted(-10, -10, 10, 10), window);
            if (!testing::saveShot(longShot, folder + QStringLiteral("/style_detail_long.png"))) {
                status = 1;
            }
        }

        if (style == WindowStyle::Standard) {
            window.showStyleMenu();
            testing::wait(400);
            BannerMenu* menu = window.styleMenu();
            const QRect area = frame.united(menu->geometry()).adjusted(-10, -10, 10, 10);
            const QImage menuShot = testing::grabScreen(area, *menu);
            const QString menuPath = folder + QStringLiteral("/style_menu.png");
            if (!testing::saveShot(menuShot, menuPath)) status = 1;
            menu->hide();
        }
        window.hide();
    }
    return status;
}
