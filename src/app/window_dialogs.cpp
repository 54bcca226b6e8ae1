#include "app/window_dialogs.h"

#include "dialogs/resize_dlg.h"
#include "dialogs/set_dlg.h"
#include "tools/window_styles.h"
#include "window/main_window.h"

namespace quorvel {

// The window puts the focus back into its input box once a request returns.
void ConnectWindowDialogs(MainWindow& window) {
    QObject::connect(&window, &MainWindow::styleMessageRequested, &window, [&window](int code) {
        CResizeDlg dialog(code, &window);
        dialog.exec();
    });
    QObject::connect(&window, &MainWindow::toolRequested, &window, [&window](int command) {
        if (command != window_id::kSettings) return;
        CalculatorController& controller = window.controller();
        CSetDlg dialog(
            controller.settingsValues(),
            [&controller](const SettingsValues& values) {
                return controller.applySettings(values);
            },
            &window);
        dialog.exec();
    });
}

}  // namespace quorvel
