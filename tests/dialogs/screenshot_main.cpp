// Shows the settings dialog, the style message and the help window and saves each as the
// screen shows it, so a person can look at captions, layout and the cut outline.
// usage: dialogs_screenshot <output folder>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "dialogs/resize_dlg.h"
#include "dialogs/set_dlg.h"
#include "support/screenshot.h"
#include "ui/help_window.h"

using namespace quorvel;

namespace {

bool save(QWidget& window, const QString& path) {
    return testing::saveShot(testing::grabAround(window, 10), path);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    SettingsValues values;
    values.talkInput = true;
    values.radians = false;
    CSetDlg settings(values, nullptr);
    settings.show();
    CResizeDlg message(3);
    HelpWindow* help = nullptr;

    int status = 0;
    // One window at a time, each given time to paint.
    QTimer::singleShot(600, [&] {
        settings.activateWindow();
        settings.findChild<QWidget*>(QStringLiteral("places"))->setFocus();
        QTimer::singleShot(300, [&] {
            if (!save(settings, folder.filePath(QStringLiteral("set_dlg.png")))) status = 1;
            settings.hide();
            message.show();
            QTimer::singleShot(500, [&] {
                if (!save(message, folder.filePath(QStringLiteral("resize_dlg.png")))) status = 1;
                message.hide();
                openHelp(nullptr, QStringLiteral("keypad.html"));
                help = helpWindow();
                help->move(40, 40);
                QTimer::singleShot(600, [&] {
                    if (!save(*help, folder.filePath(QStringLiteral("help_window.png"))))
                        status = 1;
                    help->close();
                    app.quit();
                });
            });
        });
    });
    app.exec();
    return status;
}
