// Shows the function palette, the argument dialog with and without the angle unit, the
// parameter dialog and the exercise generator in the middle of a test, and saves each window
// as it appears on the screen: palette.png, argument_sin.png, argument_log.png,
// parameters.png, exercises.png in the given folder.

#include <QApplication>
#include <QDir>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

#include "data/sys_data_holder.h"
#include "dialogs/func_dlg.h"
#include "dialogs/test_dlg.h"
#include "dialogs/vari_dlg.h"
#include "support/screenshot.h"
#include "support/silent_speaker.h"
#include "support/temp_data_folder.h"
#include "ui/float_edit.h"
#include "ui/qt_prompter.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const quorvel::testing::TempDataFolder data("dialog-screenshots");
    quorvel::SysDataHolder holder(data.path());
    quorvel::QtPrompter prompter;
    quorvel::testing::SilentSpeaker speaker;
    int status = 0;
    const auto shoot = [&](QWidget& window, const char* name) {
        window.move(40, 40);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) status = 1;
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) status = 1;
        QTest::qWait(300);
        QApplication::processEvents();
        const QImage shot = quorvel::testing::grabAround(window, 10);
        if (!quorvel::testing::saveShot(shot, out.filePath(QString::fromLatin1(name)))) status = 1;
        window.hide();
    };

    quorvel::CFuncDlg palette;
    palette.button(QStringLiteral("sqrt"))->setFocus();
    shoot(palette, "palette.png");

    quorvel::CFuncInputDlg sine(QStringLiteral("sin"), holder, prompter);
    QTest::keyClicks(sine.argumentBox(), QStringLiteral("30"));
    shoot(sine, "argument_sin.png");
    quorvel::CFuncInputDlg log(QStringLiteral("log"), holder, prompter);
    QTest::keyClicks(log.argumentBox(), QStringLiteral("-2.5"));
    shoot(log, "argument_log.png");

    quorvel::CVariDlg parameters(holder, prompter);
    shoot(parameters, "parameters.png");

    quorvel::CTestDlg exercises(holder, speaker, prompter, nullptr, 20);
    exercises.testNumberBox()->setText(QStringLiteral("5"));
    exercises.show();
    QTest::mouseClick(exercises.choiceButton(quorvel::ExerciseChoice::Mix), Qt::LeftButton);
    QTest::mouseClick(exercises.startButton(), Qt::LeftButton);
    for (int step = 0; step < 3; ++step) {
        QTest::mouseClick(exercises.nextButton(), Qt::LeftButton);
    }
    exercises.list()->selectRow(1);
    shoot(exercises, "exercises.png");
    return status;
}
