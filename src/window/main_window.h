#pragma once

// The calculator window in any of its four styles. It builds its controls from the style's
// table (tools/window_styles.h), forwards every click, key and menu choice to the
// CalculatorController, and shows what the controller tells it through CalculatorView. The
// dialogs it opens belong to its owner: it asks for them with toolRequested() and
// styleMessageRequested().

#include <QPointer>
#include <map>
#include <memory>

#include "tools/calculator_controller.h"
#include "tools/window_styles.h"
#include "ui/skinned_dialog.h"

class QAction;
class QShortcut;
class QSystemTrayIcon;

namespace quorvel {

class BannerMenu;
class CFilterEdit;
class CTipDlg;
class HoverButton;
class QtPrompter;
class Speaker;
class SysDataHolder;

class MainWindow : public SkinnedDialog, public CalculatorView {
    Q_OBJECT

public:
    struct Options {
        // No SysData.dat existed when the program started: greet instead of restoring.
        bool firstRun = false;
        // Tests leave the desktop's tray alone.
        bool trayIcon = true;
    };

    // `data` is loaded; the window stores it on every change and on exit.
    MainWindow(WindowStyle style, SysDataHolder& data, Speaker& speaker, Options options,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    const StyleLayout& layout() const { return m_layout; }
    CalculatorController& controller() { return *m_controller; }
    // The window's message boxes, for the tool dialogs it asks its owner for.
    Prompter& prompter();
    CFilterEdit* input() const { return m_input; }
    // The button of a command, or nullptr where the style has none.
    HoverButton* button(int command) const;
    // The style menu's item for a command or (command 0) a style code.
    QAction* menuAction(int command, int styleCode = 0) const;
    BannerMenu* styleMenu() const { return m_menu; }
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    // The tip window the start-up greeting opened, while it exists.
    CTipDlg* tipWindow() const;

    // Runs a command of the window: a typing key, a button, a shortcut or a menu item.
    void runCommand(int command);
    // Opens the style menu where the user is: at the mouse, or under its button when it was
    // reached with the keyboard.
    void showStyleMenu();

    // CalculatorView
    std::string text() const override;
    void setText(const std::string& text) override;
    int caret() const override;
    void setCaret(int position) override;
    std::pair<int, int> selection() const override;
    void select(int start, int end) override;
    bool freshInput() const override;
    void setFreshInput(bool on) override;
    void resetTyping() override;
    void showScrollBars(bool horizontal, bool vertical) override;
    void scrollToEnd() override;
    void focusInput() override;
    void pasteClipboard() override;
    void copyToClipboard(const std::string& text) override;
    void setRecentTooltip(int index, const std::string& tooltip) override;
    void setMinimizeTooltip(const std::string& tooltip) override;
    bool trayAvailable() const override;
    void hideToTray() override;
    void minimizeWindow() override;
    void showStyleMessage(int styleCode) override;
    void openHelp(const std::string& page) override;
    void closeWindow() override;
    bool showTips() override;

signals:
    // A tool button or menu item: 5, 1003, 1004, 1005, 1007, 1079, 1104, 1105. The window is
    // not busy; the input box gets the focus back afterwards.
    void toolRequested(int command);
    // The user chose a style; it is stored already. The owner shows CResizeDlg.
    void styleMessageRequested(int styleCode);

public slots:
    // Escape and the dialog's cancel path: asks before closing.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildInput();
    void buildButtons();
    void buildMenu();
    void buildShortcuts();
    void buildTray();
    void setCommandTooltip(int command, const QString& tooltip);

    const StyleLayout& m_layout;
    Options m_options;
    CFilterEdit* m_input = nullptr;
    std::map<int, HoverButton*> m_buttons;
    BannerMenu* m_menu = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    std::unique_ptr<QtPrompter> m_prompter;
    std::unique_ptr<CalculatorController> m_controller;
    QPointer<CTipDlg> m_tips;
    bool m_started = false;
    bool m_closing = false;
};

}  // namespace quorvel
