#pragma once

// The calculator window in any of its four styles. It builds its controls from the style's
// table (tools/window_styles.h), forwards every click, key and menu choice to the
// CalculatorController, and shows what the controller tells it through CalculatorView. The
// dialogs it opens belong to its owner: it asks for them with toolRequested() and
// styleMessageRequested().

#include <QPixmap>
#include <QPointer>
#include <future>
#include <map>
#include <memory>
#include <tuple>

#include "tools/calculator_controller.h"
#include "tools/window_styles.h"
#include "tools/zoom.h"
#include "ui/skinned_dialog.h"
#include "window/zoom_pictures.h"

class QAction;
class QSystemTrayIcon;

namespace quorvel {

class BannerMenu;
class CFilterEdit;
class CTipDlg;
class HoverButton;
class QtPrompter;
class ScreenReaderWatch;
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
        // Ask the session bus whether a screen reader runs (tests say so themselves).
        bool watchScreenReader = true;
    };

    // `data` is loaded; the window stores it on every change and on exit.
    MainWindow(WindowStyle style, SysDataHolder& data, Speaker& speaker, Options options,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // The style's layout at 100 %; the window shows it at zoom().
    const StyleLayout& layout() const { return m_layout; }
    int zoom() const { return m_zoom; }
    // The zoom steps next to zoom() have been painted ahead (they are, soon after the start
    // and after every change).
    bool zoomStepsReady() const { return m_prefetch.ready(); }
    CalculatorController& controller() { return *m_controller; }
    // The window's message boxes, for the tool dialogs it asks its owner for.
    Prompter& prompter();
    CFilterEdit* input() const { return m_input; }
    // The button of a command, or nullptr where the style has none.
    HoverButton* button(Command command) const;
    // The style menu's item for a command, or nullptr where the menu has none.
    QAction* menuAction(Command command) const;
    // The style menu's item that chooses style `code`.
    QAction* styleAction(int code) const;
    // What a button shows when the mouse rests on it.
    QString tooltip(Command command) const;
    BannerMenu* styleMenu() const { return m_menu; }
    QSystemTrayIcon* trayIcon() const { return m_tray; }
    // The tip window the start-up greeting opened, while it exists.
    CTipDlg* tipWindow() const;

    // Runs a command of the window: a typing key, a button, a shortcut or a menu item.
    void runCommand(Command command);
    // Opens the style menu at the mouse pointer, or (from the keyboard) under its button with
    // the first item selected.
    void showStyleMenu(bool atPointer = false);

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
    void scrollToResult() override;
    void announce(const std::string& text) override;
    void focusInput() override;
    void pasteClipboard() override;
    void copyToClipboard(const std::string& text) override;
    void setRecent(int index, const std::string& tooltip, const std::string& value) override;
    void setMinimizeTooltip(const std::string& tooltip) override;
    bool trayAvailable() const override;
    void hideToTray() override;
    void minimizeWindow() override;
    void showStyleMessage(int styleCode) override;
    void openHelp(const std::string& page) override;
    void closeWindow() override;
    bool showTips() override;
    void applyZoom(int percent) override;
    void post(std::function<void()> task) override;

signals:
    // A tool button, menu item or shortcut (the commands that open a tool). The window is not
    // busy; the input box gets the focus back afterwards.
    void toolRequested(quorvel::Command command);
    // A result was handed to assistive technology as the input box's new description.
    void announced(const QString& text);
    // The user chose a style; it is stored already. The owner shows CResizeDlg.
    void styleMessageRequested(int styleCode);

public slots:
    // Escape and the dialog's cancel path: asks before closing.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void openTips();
    void buildInput();
    void buildButtons();
    void buildMenu();
    void buildShortcuts();
    void buildTray();
    // Sizes, pictures and fonts of everything at `percent`.
    void layOut(int percent);
    struct KeyPixmaps {
        QPixmap normal, pressed, hover;
    };
    const KeyPixmaps& keyPixmaps(ControlLook look, QSize size);
    // Starts painting the zoom steps next to the current one.
    void prepareNeighbours();
    // The pictures the window shows now, for a return to this zoom.
    ZoomPictures shownPictures() const;
    QAction* commandAction(Command command);
    void setCommandTooltip(Command command, const QString& tooltip);
    void pinToResult();
    int textLength() const;

    const StyleLayout& m_layout;
    // The committed pictures, read while the window is built; taken by its first layout.
    std::future<ZoomPictures> m_committed;
    int m_zoom = kZoomDefault;
    // The key pictures of the current zoom, by look and size.
    std::map<std::tuple<int, int, int>, KeyPixmaps> m_keyPixmaps;
    // While laying out: the pictures of the zoom being laid out.
    ZoomPictures m_pictures;
    std::vector<int> m_captionPixels;  // of the current zoom, in the order of its controls
    ZoomPrefetch m_prefetch;
    Options m_options;
    CFilterEdit* m_input = nullptr;
    std::map<Command, HoverButton*> m_buttons;
    // One action per command that has a shortcut or a menu item; the menu shows the same one.
    std::map<Command, QAction*> m_actions;
    std::map<int, QAction*> m_styleActions;
    BannerMenu* m_menu = nullptr;
    ScreenReaderWatch* m_screenReader = nullptr;
    // The style menu's button was last pressed with the mouse, not from the keyboard.
    bool m_menuByPointer = false;
    // A result was just shown: keep its last line in view while the box settles its layout.
    bool m_pinnedToResult = false;
    QSystemTrayIcon* m_tray = nullptr;
    std::unique_ptr<QtPrompter> m_prompter;
    std::unique_ptr<CalculatorController> m_controller;
    QPointer<CTipDlg> m_tips;
    bool m_started = false;
    bool m_painted = false;
    // The start-up greeting asked for the tip window before the first frame was drawn.
    bool m_tipsWanted = false;
    bool m_closing = false;
};

}  // namespace quorvel
