// Runs the dialog tests inside one QApplication. The dialogs under test are driven while they
// run modally; a watchdog fails a test at once when a message box opens (tests record their
// messages instead), and closes any dialog left modal for more than three seconds.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);

    QTimer watchdog;
    QPointer<QWidget> seen;
    QElapsedTimer open;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != seen) {
            seen = modal;
            open.start();
        }
        if (!modal) return;
        if (qobject_cast<QMessageBox*>(modal)) {
            ADD_FAILURE() << "a message box opened: " << modal->windowTitle().toStdString();
            modal->close();
        } else if (open.elapsed() > 3000) {
            ADD_FAILURE() << "a dialog stayed modal: " << modal->metaObject()->className();
            modal->close();
        }
    });
    watchdog.start(100);
    return RUN_ALL_TESTS();
}
