// Runs the widget tests inside one QApplication. A watchdog fails any test that opens a modal
// box and closes the box, so a test can never hang waiting for a click.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    // Listing the tests at build time must work without a display as well.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);

    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal box opened: " << modal->metaObject()->className();
            modal->close();
        }
    });
    watchdog.start(200);
    return RUN_ALL_TESTS();
}
