// Shows the batch window on a real X server (Xvfb) before a run, during a long run and after
// it, and saves what the screen shows: <prefix>_before.png, _running.png and _after.png.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

#include "data/sys_data_holder.h"
#include "dialogs/robot_dlg.h"
#include "support/screenshot.h"
#include "support/silent_speaker.h"
#include "ui/hover_button.h"

namespace {

class StderrPrompter : public quorvel::Prompter {
public:
    void showMessage(std::string_view text, std::string_view title, quorvel::MessageIcon) override {
        std::fprintf(stderr, "%.*s: %.*s\n", int(title.size()), title.data(), int(text.size()),
                     text.data());
    }
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
    void showInputMessage(std::string_view message, std::string_view, std::string_view,
                          int) override {
        std::fprintf(stderr, "input: %.*s\n", int(message.size()), message.data());
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output prefix>\n", argv[0]);
        return 2;
    }
    const QString prefix = QString::fromLocal8Bit(argv[1]).remove(QStringLiteral(".png"));

    QTemporaryDir dir;
    const std::string small = QDir(dir.path()).filePath(QStringLiteral("sums.txt")).toStdString();
    std::ofstream(small) << "Total 2+3 apples\nAngle sin(30)+1 then 1/3\n(4+5)*2 boxes\n";
    const std::string large = QDir(dir.path()).filePath(QStringLiteral("long.txt")).toStdString();
    {
        // Long enough that the run is still going, with its time estimate, when it is shown.
        std::ofstream out(large);
        for (int i = 0; i < 2000000; ++i) out << "Row " << i << ": 12*34+" << i << " words\n";
    }

    quorvel::SysDataHolder holder(dir.path().toStdString());
    holder.data().decimalPlaces = 4;
    StderrPrompter prompter;
    quorvel::testing::SilentSpeaker speaker;
    quorvel::CRobotDlg dialog(holder, speaker, prompter, false);
    dialog.move(40, 40);
    dialog.show();

    int status = 0;
    auto save = [&](const char* name) {
        const QImage shot =
            quorvel::testing::grabScreen(QGuiApplication::primaryScreen()->geometry(), dialog);
        if (!quorvel::testing::saveShot(shot, prefix + QLatin1String(name))) status = 1;
    };
    dialog.sourceBox()->setText(QString::fromStdString(small));
    QTimer::singleShot(600, [&] {
        save("_before.png");
        dialog.beginButton()->click();
    });
    QObject::connect(&dialog, &quorvel::CRobotDlg::runFinished, [&] {
        if (dialog.sourceBox()->text().endsWith(QLatin1String("sums.txt"))) {
            dialog.sourceBox()->setText(QString::fromStdString(large));
            dialog.resultBox()->clear();
            dialog.beginButton()->click();
            QTimer::singleShot(700, [&] {
                if (!dialog.isRunning()) {
                    std::fprintf(stderr, "the long run ended before the picture\n");
                    status = 1;
                }
                save("_running.png");
                dialog.stopRun();
            });
            return;
        }
        QTimer::singleShot(300, [&] {
            save("_after.png");
            app.quit();
        });
    });
    app.exec();
    return status;
}
