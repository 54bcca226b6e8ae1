#pragma once

// The main window without widgets: every command of the calculator window runs here, so the
// window in src/window only builds controls, forwards clicks and keys, and shows what this
// controller tells its view. Holds the session (recent results, parameters, log), the data
// holder reference, the working copy of the settings, the busy flag and the window's speech
// slot.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "calc/calculator_session.h"
#include "data/sys_data_holder.h"
#include "tools/prompter.h"
#include "tools/settings_form.h"
#include "tools/zoom.h"

namespace quorvel {

class Speaker;

// The page of the manual the window's Help opens.
inline constexpr std::string_view kCalculatorHelpPage = "index.html";

// The tooltip of recent-result button `index` (0..4 for Last1..Last5): the start-up text before
// the first calculation, the renewed one after it.
std::string RecentTooltip(int index, std::string_view value, bool afterCalculation);
std::string MinimizeTooltip(bool toTray);
// What a screen reader is told after a calculation shown as `shown` ("\n" line breaks): the
// result ("equals 14"), for an equation the solution line as shown ("X=2"), and a one-line
// answer (a parameter set) as it stands.
std::string ResultAnnouncement(std::string_view shown);

// What the controller needs from the window. Texts use "\n" line breaks (the controller turns
// the engine's "\r\n" into "\n"); positions are character offsets into text(), which is ASCII.
class CalculatorView {
public:
    virtual ~CalculatorView() = default;

    virtual std::string text() const = 0;
    // Replaces the whole text; a screen reader hears of the change.
    virtual void setText(const std::string& text) = 0;
    virtual int caret() const = 0;
    virtual void setCaret(int position) = 0;
    // Empty selection: start == end == caret.
    virtual std::pair<int, int> selection() const = 0;
    virtual void select(int start, int end) = 0;

    // The input box's fresh-input flag: set after a result is shown.
    virtual bool freshInput() const = 0;
    virtual void setFreshInput(bool on) = 0;
    // Forget the name being typed (after the box was emptied or replaced).
    virtual void resetTyping() = 0;
    // Brings the last line into view from its start, so a long result shows its leading
    // digits; the box shows scroll bars itself wherever the text overflows.
    virtual void scrollToResult() = 0;
    // Tells a screen reader what a calculation gave, once, as a spoken announcement.
    virtual void announce(const std::string& text) = 0;
    virtual void focusInput() = 0;
    // Lets the box paste the clipboard at the caret, replacing a selection, and put the caret
    // after the pasted text.
    virtual void pasteClipboard() = 0;
    virtual void copyToClipboard(const std::string& text) = 0;

    // index 0..4 for Last1..Last5; `value` is what the button inserts.
    virtual void setRecent(int index, const std::string& tooltip, const std::string& value) = 0;
    virtual void setMinimizeTooltip(const std::string& tooltip) = 0;

    virtual bool trayAvailable() const = 0;
    virtual void hideToTray() = 0;
    virtual void minimizeWindow() = 0;
    virtual void showStyleMessage(int styleCode) = 0;  // CResizeDlg
    virtual void openHelp(const std::string& page) = 0;
    // Removes the tray icon and ends the window; speech is already stopped.
    virtual void closeWindow() = 0;
    // The start-up greeting's tip window. True when one opened: the window is then busy until
    // it calls setBusy(false). A window without tips keeps the default.
    virtual bool showTips() { return false; }
    // Lays the window out again at `percent` (100 to 300), skin and all.
    virtual void applyZoom(int percent) = 0;
    // Runs `task` on the window's thread, later; callable from any thread. Dropped if the
    // window goes first.
    virtual void post(std::function<void()> task) = 0;
};

class CalculatorController {
public:
    // `firstRun`: no SysData.dat existed when the program started. The holder is loaded.
    CalculatorController(SysDataHolder& data, CalculatorView& view, Speaker& speaker,
                         Prompter& prompter, bool firstRun);
    CalculatorController(const CalculatorController&) = delete;
    CalculatorController& operator=(const CalculatorController&) = delete;
    // Waits for a store still on its way to the disk, whose report needs the controller.
    ~CalculatorController();

    // Tooltips, then the greeting (first run) or the restore of the saved input text.
    void startUp();

    // Input box requests, by the box's message numbers.
    void freshInput();                       // message 2148
    void insertText(std::string_view text);  // message 2154, recent results, functions
    void characterPlaced(char ch);           // message 2159
    // The function button: the next insertText goes where the caret is now, once.
    void saveCaret();
    // The tool that saved the caret inserted nothing: the next text goes to the caret again.
    void dropSavedCaret();
    // Empties the box if it still shows a result, as before a tool's text goes in.
    void clearShownResult();
    // The unit converter's chosen value, put in at `caret` (where the caret was when the
    // converter opened) by the converter's rule, or the rule's message shown instead.
    void insertConverted(std::size_t caret, std::string_view value);

    void equal();                  // 1001 and "="
    void calculate();              // 1018
    void insertRecent(int index);  // 1106..1110, index 0..4

    void talkInput();        // 1028
    void talkResult();       // 1030
    void talkInputResult();  // 1029
    void stopTalk();         // 1057, Ctrl+Shift+S

    void copy();      // 3
    void paste();     // 4
    void minimize();  // 1027
    void help();      // 1002

    void chooseStyle(int code);  // style menu
    // The zoom the window opens at, from the data (a stored value out of range is clamped).
    int zoom() const;
    // Ctrl+plus, Ctrl+minus, Ctrl+0: the window is laid out again and the zoom stored.
    void zoomKey(ZoomKey key);
    void setZoom(int percent);
    SettingsValues settingsValues() const;
    // OK of the settings dialog: false (after telling the user) when a number is out of range,
    // and then nothing has changed. Cancel simply does not call this.
    bool applySettings(const SettingsValues& values);

    void exit();          // 1006: store, stop speech, close; never asks
    void requestClose();  // Escape / window close: asks first

    // After a tool changed the parameters or Pi in the data in place: the next calculation
    // reads them from there.
    void reloadSettings();

    // A screen reader started or ended: typed keys are then echoed only when the user asked
    // for it on top of talk-each-key.
    void setScreenReaderRunning(bool running);
    bool screenReaderRunning() const { return m_screenReader; }
    // Whether a typed key or an inserted text is spoken now.
    bool keyEchoOn() const;

    // While the tip window is open every command waits. The window sets and ends it; the
    // data file's tip-window-open field only records it and is never read back.
    void setBusy(bool busy);
    bool busy() const { return m_busy; }

    // The working copy of the settings: taken from the data at construction, renewed by OK.
    // The zoom and the style follow the data itself, which their keys and menu change.
    bool talkResultOn() const { return m_settings.talkResult; }
    bool talkInputOn() const { return m_settings.talkInput; }

    const RecentResults& recentResults() const;
    CalculatorSession& session();
    SysDataHolder& holder() { return m_holder; }

private:
    // Stores and tells a failure. store() waits for the disk; storeInBackground() does not,
    // for what runs after every calculation or zoom step, and tells a failure once the
    // write is done.
    void store();
    void storeInBackground();
    void reportStore(const StoreResult& result);
    void clearInput();
    void showCalculation(std::string shown);
    void afterCalculation(std::string_view steps, std::string_view result);
    void renewRecentTooltips(bool afterCalculation);
    void saveInputState();
    std::string talkedExpression() const;
    std::string talkedResult() const;

    SysDataHolder& m_holder;
    CalculatorView& m_view;
    Speaker& m_speaker;
    Prompter& m_prompter;
    bool m_firstRun;
    CalculatorSession m_session;
    UserSettings m_settings;
    bool m_busy = false;
    bool m_screenReader = false;
    bool m_keysWithScreenReader = false;
    std::optional<int> m_savedCaret;
    bool m_storeFailed = false;
};

}  // namespace quorvel
