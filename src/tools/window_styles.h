#pragma once

// The calculator window's four layouts as data: for each style its skin, size, the area its
// controls may use, every control (id, caption, tooltip, position, look), the popup menu and
// the keyboard shortcuts. The window in src/window builds itself from this table alone, so the
// rules a layout must keep (every command reachable, nothing overlapping, nothing on the cut
// outline) are checked here without a display.

#include <optional>
#include <string>
#include <vector>

#include "tools/style_code.h"

namespace quorvel {

// The control ids of the calculator window; they are also the commands its buttons, menu
// items and shortcuts run.
namespace window_id {
inline constexpr int kCopy = 3;
inline constexpr int kPaste = 4;
inline constexpr int kExercise = 5;
inline constexpr int kInput = 1000;
inline constexpr int kEqual = 1001;
inline constexpr int kHelp = 1002;
inline constexpr int kSettings = 1003;
inline constexpr int kFunction = 1004;
inline constexpr int kParameters = 1005;
inline constexpr int kExit = 1006;
inline constexpr int kLog = 1007;
inline constexpr int kDigit0 = 1008;  // 1008..1017: "0".."9"
inline constexpr int kCalculate = 1018;
inline constexpr int kAdd = 1019;
inline constexpr int kMinus = 1020;
inline constexpr int kPoint = 1021;
inline constexpr int kTime = 1022;
inline constexpr int kDivide = 1023;
inline constexpr int kOpenBracket = 1024;
inline constexpr int kCloseBracket = 1025;
inline constexpr int kPower = 1026;
inline constexpr int kMinimize = 1027;
inline constexpr int kTalkInput = 1028;
inline constexpr int kTalkInputResult = 1029;
inline constexpr int kTalkResult = 1030;
inline constexpr int kUnknown = 1031;
inline constexpr int kLetterA = 1032;  // 1032..1054: "a".."w"
inline constexpr int kLetterY = 1056;
inline constexpr int kStopTalk = 1057;
inline constexpr int kStyleMenu = 1078;
inline constexpr int kFormula = 1079;
inline constexpr int kConverter = 1104;
inline constexpr int kBatch = 1105;
inline constexpr int kLast1 = 1106;  // 1106..1110: Last1..Last5
inline constexpr int kBackspace = 1111;
}  // namespace window_id

// The character a typing key hands to the input box, or nothing for other ids.
std::optional<char> typedCharacter(int id);
// Last1..Last5 as 0..4, or nothing.
std::optional<int> recentIndex(int id);
// Whether the command opens a tool window rather than acting on the input.
bool opensTool(int id);
// Every command of the calculator window, typing keys included, in id order.
const std::vector<int>& windowCommands();

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
};

struct StyleControl {
    int id = 0;
    std::string caption;
    std::string tooltip;  // may be empty: the style shows none
    Rect rect;
    ControlLook look = ControlLook::Key;
    // What assistive technology announces: the tooltip, else a clear name of the command.
    std::string accessibleName;
};

struct StyleMenuItem {
    int id = 0;  // the menu command's own id
    std::string text;
    int styleCode = 0;  // a style choice (1..4), or 0
    int command = 0;    // the window command the item runs when it is not a style choice
    bool separatorBefore = false;
};

struct StyleShortcut {
    std::string keys;  // portable key sequence text, "Ctrl+Shift+S"
    int command = 0;
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
    Rect input;                          // the expression box, id 1000
    std::vector<StyleControl> controls;  // in tab order
    std::string menuBanner;
    std::vector<StyleMenuItem> menu;
    std::vector<StyleShortcut> shortcuts;

    const StyleControl* control(int id) const;
    const StyleMenuItem* menuItem(int command) const;
    const StyleShortcut* shortcut(int command) const;
    // Runs `command` from a button, a menu item or a shortcut; typing keys are always
    // reachable through the keyboard and the input box.
    bool reaches(int command) const;
};

// The layout of a window style; None has no layout and yields the standard one.
const StyleLayout& styleLayout(WindowStyle style);
// The four window styles, in code order.
const std::vector<WindowStyle>& windowStyles();

}  // namespace quorvel
