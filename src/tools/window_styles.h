#pragma once

// The calculator window's commands and its layouts as data. One table names every command
// once: its control id, caption, tooltip, accessible name, shortcut, menu text and its place in
// the Tab order. For each style the layout gives the skin, size, the area its controls may use,
// where each control sits, the popup menu and the keyboard shortcuts. The window in src/window
// builds itself from these tables alone, so the rules a layout must keep (every command
// reachable, nothing overlapping, nothing on the cut outline) are checked here without a
// display.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/style_code.h"

namespace quorvel {

// Every command of the calculator window, in the order Tab visits its controls: what a
// calculation needs first, then speech, the tools, the clipboard and recent results, and the
// typing keys last.
enum class Command {
    Equal,
    Calculate,
    TalkInput,
    TalkResult,
    TalkInputResult,
    StopTalk,
    StyleMenu,
    Settings,
    Log,
    Converter,
    Formula,
    Function,
    Parameters,
    Exercise,
    Batch,
    Help,
    Last1,
    Last2,
    Last3,
    Last4,
    Last5,
    Copy,
    Paste,
    Backspace,
    Minimize,
    Exit,
    Add,
    Minus,
    Time,
    Divide,
    Power,
    OpenBracket,
    CloseBracket,
    Point,
    Digit0,
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Digit5,
    Digit6,
    Digit7,
    Digit8,
    Digit9,
    Unknown,
    LetterA,
    LetterB,
    LetterC,
    LetterD,
    LetterE,
    LetterF,
    LetterG,
    LetterH,
    LetterI,
    LetterJ,
    LetterK,
    LetterL,
    LetterM,
    LetterN,
    LetterO,
    LetterP,
    LetterQ,
    LetterR,
    LetterS,
    LetterT,
    LetterU,
    LetterV,
    LetterW,
    LetterY,
};

// The control id of the expression box; it runs no command of its own.
inline constexpr int kInputId = 1000;

struct CommandInfo {
    Command command;
    int id;  // the control id, which the window's data and messages know it by
    std::string_view caption;
    // The detail window's tooltip, which the other styles share unless the style table says
    // otherwise; empty for the typing keys, which have none.
    std::string_view tooltip;
    // What a listener hears: a short name, without the tooltip's shortcut notes.
    std::string_view accessibleName;
    std::string_view shortcut;  // portable key sequence text, or empty
    std::string_view menuText;  // the item text where a style moves the command to its menu
    char typed = 0;             // the character a typing key hands to the input box, or 0
    bool opensTool = false;
};

// Every command, in Command order (which is the Tab order).
std::span<const CommandInfo> commandTable();
const CommandInfo& commandInfo(Command command);
std::optional<Command> commandById(int id);

// The character a typing key hands to the input box, or nothing for other commands.
std::optional<char> typedCharacter(Command command);
// Last1..Last5 as 0..4, or nothing.
std::optional<int> recentIndex(Command command);
// Whether the command opens a tool window rather than acting on the input.
bool opensTool(Command command);
Command digitCommand(int digit);     // 0..9
Command letterCommand(char letter);  // 'a'..'w', 'y'
Command recentCommand(int index);    // 0..4

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int right() const { return x + width; }  // exclusive
    int bottom() const { return y + height; }
    bool intersects(const Rect& other) const;
};

// A rounded rectangle: a rectangle lies in it when all four of its corners do.
struct RoundedArea {
    Rect rect;
    int radius = 0;
    bool contains(int px, int py) const;
    bool contains(const Rect& r) const;
};

// Which button pictures and caption size a control gets.
enum class ControlLook {
    Key,      // 40 x 30, large caption: digits, letters
    Accent,   // 40 x 30, large caption: operators, Equal, Calculate
    Word,     // 40 x 30, small caption: the named commands
    Mini,     // 32 x 24, small caption
    Cartoon,  // 42 x 36, large caption
    // The high-contrast style's keys, all 42 x 36, in three colours: typing keys, the
    // operators with Equal and Calculate, and the named commands.
    ContrastKey,
    ContrastAccent,
    ContrastWord,
};

// The caption's size in pixels at 100 % zoom, and its weight. One-character captions (digits,
// operators, letters) are drawn larger than words.
struct CaptionSize {
    int pixels = 0;
    bool bold = false;
    bool operator==(const CaptionSize&) const = default;
};
CaptionSize captionSize(ControlLook look, bool oneCharacter);
// The input box's font size in points at 100 % zoom: 14, and larger in the high-contrast
// style.
int inputPointSize(WindowStyle style);
bool isContrastLook(ControlLook look);

struct StyleControl {
    Command command = Command::Equal;
    std::string caption;
    std::string tooltip;  // may be empty: the style shows none
    Rect rect;
    ControlLook look = ControlLook::Key;
    std::string accessibleName;
};

struct StyleMenuItem {
    int id = 0;  // the menu command's own id
    std::string text;
    int styleCode = 0;               // a style choice (1..4, 6), or 0
    std::optional<Command> command;  // what the item runs when not a style choice
    bool separatorBefore = false;
};

struct StyleShortcut {
    std::string keys;  // portable key sequence text, "Ctrl+Shift+S"
    Command command = Command::Equal;
};

struct StyleLayout {
    WindowStyle style = WindowStyle::Standard;
    std::string skin;  // resource path of the skin picture
    int width = 0;
    int height = 0;
    // Controls lie inside this area (clear of the cut outline and its border) and off the
    // reserved parts of the skin (name strip, icon, grille).
    RoundedArea area;
    std::vector<Rect> reserved;
    Rect input;                          // the expression box
    std::vector<StyleControl> controls;  // in Tab order
    std::string menuBanner;
    std::vector<StyleMenuItem> menu;
    std::vector<StyleShortcut> shortcuts;

    const StyleControl* control(Command command) const;
    const StyleMenuItem* menuItem(Command command) const;
    // Every key sequence of a command, the table's first.
    std::vector<std::string> shortcutKeys(Command command) const;
    // Runs `command` from a button, a menu item or a shortcut; typing keys are always
    // reachable through the keyboard and the input box.
    bool reaches(Command command) const;
};

// The tooltip a style registers for a command: the table's, or the style's own variant.
std::string commandTooltip(WindowStyle style, Command command);

// The layout of a window style; None has no layout and yields the standard one.
const StyleLayout& styleLayout(WindowStyle style);
// The window styles that open a window, in code order.
const std::vector<WindowStyle>& windowStyles();

}  // namespace quorvel
