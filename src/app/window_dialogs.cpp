#include "app/window_dialogs.h"

#include <QString>
#include <algorithm>

#include "dialogs/conv_dlg.h"
#include "dialogs/formula_dlg.h"
#include "dialogs/func_dlg.h"
#include "dialogs/log_dlg.h"
#include "dialogs/resize_dlg.h"
#include "dialogs/robot_dlg.h"
#include "dialogs/set_dlg.h"
#include "dialogs/test_dlg.h"
#include "dialogs/vari_dlg.h"
#include "speech/speech_worker.h"
#include "tools/function_palette.h"
#include "tools/present.h"
#include "tools/window_styles.h"
#include "ui/filter_edit.h"
#include "window/main_window.h"

namespace quorvel {
namespace {

void openSettings(MainWindow& window) {
    CalculatorController& controller = window.controller();
    CSetDlg dialog(
        controller.settingsValues(),
        [&controller](const SettingsValues& values) { return controller.applySettings(values); },
        &window);
    dialog.exec();
}

// The palette names a function; the window asks for its argument and inserts the call where
// the caret was when the palette opened.
void runFunction(MainWindow& window) {
    CalculatorController& controller = window.controller();
    QString chosen;
    {
        CFuncDlg palette(&window);
        QObject::connect(&palette, &CFuncDlg::functionChosen,
                         [&chosen](const QString& name) { chosen = name; });
        if (palette.exec() == QDialog::Accepted) controller.clearShownResult();
    }
    QString insertion;
    if (const PaletteButton* entry = FindPaletteButton(chosen.toStdString())) {
        if (entry->insertedDirectly) {
            insertion = chosen;
        } else {
            CFuncInputDlg argument(chosen, controller.holder(), window.prompter(), &window);
            if (argument.exec() == QDialog::Accepted) insertion = argument.call();
        }
    }
    if (insertion.isEmpty()) {
        controller.dropSavedCaret();
    } else {
        controller.insertText(insertion.toStdString());
    }
}

void openParameters(MainWindow& window) {
    CalculatorController& controller = window.controller();
    SysDataHolder& holder = controller.holder();
    // The dialog reads the file again; what only the window holds so far (converter records,
    // the batch window's places) must be in it first, or that read would drop it.
    const StoreResult stored = holder.Store();
    if (!stored.stored) present({ToolMessageId::StoreFailed, {stored.reason}}, window.prompter());
    CVariDlg dialog(holder, window.prompter(), &window);
    if (dialog.exec() == QDialog::Accepted) controller.clearShownResult();
}

void openConverter(MainWindow& window) {
    CalculatorController& controller = window.controller();
    const auto caret = static_cast<std::size_t>(std::max(window.caret(), 0));
    const QString input = window.freshInput() ? QString() : window.input()->toPlainText();
    CConvDlg dialog(controller.holder(), window.prompter(), &window, input);
    dialog.exec();
    if (dialog.hasSelection()) {
        controller.insertConverted(caret, dialog.returnValue().toStdString());
    }
}

template <typename Dialog>
void openTalking(MainWindow& window, WordPlayer& player) {
    SpeechWorker slot(player);
    Dialog dialog(window.controller().holder(), slot, window.prompter(), &window);
    dialog.exec();
}

void openBatch(MainWindow& window, WordPlayer& player) {
    CalculatorController& controller = window.controller();
    SpeechWorker slot(player);
    CRobotDlg dialog(controller.holder(), slot, window.prompter(),
                     controller.talkInputOn() || controller.talkResultOn(), &window);
    dialog.exec();
}

void openExercise(MainWindow& window, WordPlayer& player) {
    CTestDlg dialog(window.controller().holder(), player, window.prompter(), &window);
    dialog.exec();
}

void openSettings(MainWindow& window, WordPlayer&) { openSettings(window); }
void runFunction(MainWindow& window, WordPlayer&) { runFunction(window); }
void openParameters(MainWindow& window, WordPlayer&) { openParameters(window); }
void openConverter(MainWindow& window, WordPlayer&) { openConverter(window); }

struct ToolOpener {
    Command command;
    void (*open)(MainWindow&, WordPlayer&);
    // Tools change the parameters, Pi, places, digits or the angle unit in the data in place;
    // the next calculation must see them, and the next store must not write the old ones back.
    // The settings dialog hands its values to the controller itself.
    bool reloadsSettings = true;
};

constexpr ToolOpener kTools[] = {
    {Command::Settings, openSettings, false},
    {Command::Function, runFunction},
    {Command::Parameters, openParameters},
    {Command::Log, openTalking<CLogDlg>},
    {Command::Formula, openTalking<CFormulaDlg>},
    {Command::Converter, openConverter},
    {Command::Batch, openBatch},
    {Command::Exercise, openExercise},
};

void openTool(MainWindow& window, WordPlayer& player, Command command) {
    for (const ToolOpener& tool : kTools) {
        if (tool.command != command) continue;
        tool.open(window, player);
        if (tool.reloadsSettings) window.controller().reloadSettings();
        return;
    }
}

}  // namespace

void ConnectWindowDialogs(MainWindow& window, WordPlayer& player) {
    QObject::connect(&window, &MainWindow::styleMessageRequested, &window, [&window](int code) {
        CResizeDlg dialog(code, &window);
        dialog.exec();
    });
    QObject::connect(&window, &MainWindow::toolRequested, &window,
                     [&window, &player](Command command) {
                         openTool(window, player, command);
                         // Where nothing hands the activation back after a modal dialog, the
                         // window's keys (Enter is Equal) would go nowhere.
                         window.activateWindow();
                     });
}

}  // namespace quorvel
