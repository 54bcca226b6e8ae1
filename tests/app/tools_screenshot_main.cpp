// Opens tools from the detail window's buttons, as the program wires them, and saves what the
// screen shows while each is open over the window into the folder given as the argument:
// tools_converter.png (a conversion ready to be selected) and tools_function.png (the
// palette). Selecting then must put the value into the window's expression.

#include <QApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "app/window_dialogs.h"
#include "data/sys_data_holder.h"
#include "dialogs/conv_dlg.h"
#include "dialogs/conv_float_edit.h"
#include "dialogs/func_dlg.h"
#include "speech/word_player.h"
#include "support/recording_speaker.h"
#include "support/screenshot.h"
#include "tools/window_styles.h"
#include "ui/filter_edit.h"
#include "ui/hover_button.h"
#include "window/main_window.h"

using namespace quorvel;

namespace {

int g_status = 0;

void clickRow(QTableWidget* list, const QString& name) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0) && list->item(r, 0)->text() == name) {
            list->setCurrentCell(r, 0);
            return;
        }
    }
    std::fprintf(stderr, "no row %s\n", qPrintable(name));
    g_status = 1;
}

// The window and the dialog over it, as the screen shows them.
void photograph(QWidget* window, QWidget* dialog, const QString& path) {
    const QRect area = window->frameGeometry().united(dialog->frameGeometry());
    if (!quorvel::testing::saveShot(quorvel::testing::grabScreen(area, *dialog), path))
        g_status = 1;
}

// Runs `command`, and `whileOpen` once a modal dialog of class D is up.
template <typename D>
void withDialog(const std::function<void()>& command, const std::function<void(D&)>& whileOpen) {
    bool seen = false;
    QTimer::singleShot(500, [&] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            seen = true;
            whileOpen(*dialog);
        }
        if (QWidget* open = QApplication::activeModalWidget()) open->close();
    });
    command();
    if (!seen) {
        std::fprintf(stderr, "%s did not open\n", D::staticMetaObject.className());
        g_status = 1;
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

    QTemporaryDir dir;
    SysDataHolder holder(std::filesystem::path(dir.path().toStdString()));
    holder.data().talkKeys = 0;
    holder.data().talkResult = 0;
    quorvel::testing::RecordingSpeaker speaker;
    PlanRecorder player;
    MainWindow window(WindowStyle::Detail, holder, speaker,
                      MainWindow::Options{false, false, false});
    ConnectWindowDialogs(window, player);
    window.move(20, 20);
    window.show();
    window.activateWindow();
    testing::wait(300);
    testing::typeKeys(window.input(), QStringLiteral("3+"));

    withDialog<CConvDlg>([&] { window.button(Command::Converter)->click(); },
                         [&](CConvDlg& dialog) {
                             clickRow(dialog.inputList(), QStringLiteral("foot(UK and US)"));
                             clickRow(dialog.outputList(), QStringLiteral("inch"));
                             dialog.valueBox()->selectAll();
                             testing::typeKeys(dialog.valueBox(), QStringLiteral("2"));
                             testing::wait(300);
                             photograph(&window, &dialog, folder + "/tools_converter.png");
                             dialog.selectButton()->click();
                         });
    if (window.input()->toPlainText() != QStringLiteral("3+24")) {
        std::fprintf(stderr, "the converter's value did not go in: %s\n",
                     qPrintable(window.input()->toPlainText()));
        g_status = 1;
    }

    testing::pressKey(window.input(), Qt::Key_End);
    withDialog<CFuncDlg>([&] { window.button(Command::Function)->click(); },
                         [&](CFuncDlg& palette) {
                             testing::wait(300);
                             photograph(&window, &palette, folder + "/tools_function.png");
                         });
    window.hide();
    return g_status;
}
