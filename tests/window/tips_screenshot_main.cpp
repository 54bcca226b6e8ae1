// The first start as a new user sees it, the calculator with the tip window over it, then the
// help window on the tips page with its picture; saved into the folder given as the argument
// as first_start.png and help_tips.png. Fails when the tip window did not open or the page shows
// no picture.

#include <QApplication>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <cstdio>

#include "data/sys_data_holder.h"
#include "dialogs/tip_dlg.h"
#include "support/recording_speaker.h"
#include "support/screenshot.h"
#include "ui/help_window.h"
#include "window/main_window.h"

using namespace quorvel;

namespace {

bool save(const QRect& area, QWidget& fallback, const QString& path) {
    return testing::saveShot(testing::grabScreen(area, fallback), path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    int status = 0;

    QTemporaryDir dir;
    SysDataHolder holder(std::filesystem::path(dir.path().toStdString()));
    holder.data().talkKeys = 0;
    holder.data().welcome = 0;
    quorvel::testing::RecordingSpeaker speaker;
    MainWindow window(WindowStyle::Standard, holder, speaker,
                      MainWindow::Options{true, false, false});
    window.move(20, 20);
    window.show();
    testing::wait(300);
    CTipDlg* tips = window.tipWindow();
    if (!tips) {
        std::fprintf(stderr, "first start: no tip window\n");
        return 1;
    }
    // Over the calculator, as a window manager may place it; the shot stays narrow enough for
    // the help window to show it whole.
    tips->move(window.frameGeometry().left() + 230, window.frameGeometry().top() + 60);
    testing::wait(500);
    const QRect area =
        window.frameGeometry().united(tips->frameGeometry()).adjusted(-10, -10, 10, 10);
    if (!save(area, *tips, folder + QStringLiteral("/first_start.png"))) status = 1;
    tips->close();
    if (holder.data().tipWindowOpen != 0) {
        std::fprintf(stderr, "closing the tip window left the busy flag set\n");
        status = 1;
    }

    openHelp(&window, QStringLiteral("tips.html"));
    HelpWindow* help = helpWindow();
    help->move(40, 40);
    testing::wait(600);
    if (!help->browser()->toHtml().contains(QStringLiteral("<img"))) {
        std::fprintf(stderr, "tips.html shows no picture\n");
        status = 1;
    }
    if (!save(help->frameGeometry(), *help, folder + QStringLiteral("/help_tips.png"))) status = 1;
    help->close();
    window.controller().exit();
    return status;
}
