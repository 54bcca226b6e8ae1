#include "tools/window_styles.h"

#include <algorithm>
#include <array>

namespace quorvel {
namespace {

namespace id = window_id;

constexpr std::string_view kTypedOperators = "+-.*/()^";  // ids 1019..1026

struct Named {
    int id;
    const char* caption;
    const char* tooltip;  // the detail window's, which the other styles share unless noted
};

// Captions of the named commands are short enough for a 32-pixel key; the tooltip says the rest.
constexpr Named kNamed[] = {
    {id::kCopy, "Copy", "Copy into the clipboard[Ctrl+C]"},
    {id::kPaste, "Paste", "Input from the clipboard (Paste) [Ctrl+V]"},
    {id::kExercise, "Exer", "Exercise for basic calculation"},
    {id::kEqual, "=", "Equal"},
    {id::kHelp, "Help", "Help"},
    {id::kSettings, "Set", "Setting"},
    {id::kFunction, "Func", "Function"},
    {id::kParameters, "Para", "Parameters"},
    {id::kExit, "Exit", "Exit"},
    {id::kLog, "Log", "Log"},
    {id::kCalculate, "Calc", "Calculate"},
    {id::kAdd, "+", "Add"},
    {id::kMinus, "-", "Minus [ Substract]"},
    {id::kPoint, ".", "Point"},
    {id::kTime, "*", "Time [Multiply]"},
    {id::kDivide, "/", "Divide"},
    {id::kOpenBracket, "(", "Open Bracket"},
    {id::kCloseBracket, ")", "Close Bracket"},
    {id::kPower, "^", "Power"},
    {id::kMinimize, "Min", "Minimize to the system tray"},
    {id::kTalkInput, "Say in", "Talk the input expression"},
    {id::kTalkInputResult, "Both", "Talk the input and result"},
    {id::kTalkResult, "Say =", "Talk the result"},
    {id::kUnknown, "X", "Unknown Variable"},
    {id::kStopTalk, "Stop", "Stop talking[Ctrl+Shift+S]"},
    {id::kStyleMenu, "Menu", "Select the different style"},
    {id::kFormula, "Form", "Formula manager"},
    {id::kConverter, "Conv", "Unit converter"},
    {id::kBatch, "Batch", "Batch calculation"},
    {id::kLast1, "Last1", "The first lastest result of calculation:last1=0"},
    {id::kLast1 + 1, "Last2", "The second lastest result of calculation:last2=0"},
    {id::kLast1 + 2, "Last3", "The third lastest result of calculation:last3=0"},
    {id::kLast1 + 3, "Last4", "The forth lastest result of calculation:last4=0"},
    {id::kLast1 + 4, "Last5", "The fifth lastest result of calculation:last5=0"},
    {id::kBackspace, "\u2190", "Delete the one of input character[Shortcut key - Backspace]"},
};

const Named* named(int command) {
    for (const Named& n : kNamed) {
        if (n.id == command) return &n;
    }
    return nullptr;
}

std::string caption(int command) {
    if (const Named* n = named(command)) return n->caption;
    if (const std::optional<char> c = typedCharacter(command)) return std::string(1, *c);
    return {};
}

// The tooltips that differ between the styles; every other one is the detail window's.
std::string tooltip(WindowStyle style, int command) {
    const bool detail = style == WindowStyle::Detail;
    switch (command) {
        case id::kCopy:
            return detail ? "Copy into the clipboard[Ctrl+C]" : "Copy into the clipboard [Ctrl+C]";
        case id::kPaste:
            return style == WindowStyle::Mini ? "Input from the clipboard (Paste) [Ctrl+P]"
                                              : "Input from the clipboard (Paste) [Ctrl+V]";
        case id::kStopTalk:
            if (style == WindowStyle::Standard) return "Stop talking [Ctrl+Shift+S]";
            return detail ? "Stop talking[Ctrl+Shift+S]" : std::string();
        case id::kStyleMenu:
            return style == WindowStyle::Cartoon ? "Menu for resize,help,exit"
                                                 : "Select the different style";
        default:
            break;
    }
    const Named* n = named(command);
    return n ? n->tooltip : std::string();
}

std::string accessibleName(int command, const std::string& tip) {
    if (!tip.empty()) return tip;
    if (command == id::kStopTalk) return "Stop talking";
    return caption(command);
}

ControlLook naturalLook(int command) {
    if (command == id::kEqual || command == id::kCalculate) return ControlLook::Accent;
    if (command >= id::kAdd && command <= id::kPower) return ControlLook::Accent;
    if (typedCharacter(command)) return ControlLook::Key;
    return ControlLook::Word;
}

// Menu texts of commands a style moves off its face.
std::string menuText(int command) {
    if (const std::optional<int> i = recentIndex(command)) {
        return "Insert last" + std::to_string(*i + 1);
    }
    switch (command) {
        case id::kCopy:
            return "Copy";
        case id::kPaste:
            return "Paste";
        case id::kMinimize:
            return "Minimize";
        case id::kStopTalk:
            return "Stop talking";
        case id::kFormula:
        case id::kConverter:
        case id::kBatch:
        case id::kTalkInput:
        case id::kTalkInputResult:
        case id::kTalkResult:
        case id::kExercise:
        case id::kHelp:
        case id::kExit:
        case id::kSettings:
        case id::kFunction:
        case id::kParameters:
        case id::kLog:
            return tooltip(WindowStyle::Detail, command);
        default:
            return caption(command);
    }
}

const char* styleTitle(int code) {
    switch (code) {
        case 1:
            return "Standard style";
        case 2:
            return "Cartoon style";
        case 3:
            return "Mini style";
        default:
            return "Detail style";
    }
}

class Builder {
public:
    explicit Builder(StyleLayout& layout) : m_layout(layout) {}

    // A row of controls from (x, y), `pitch` apart; 0 leaves a gap.
    void row(int x, int y, int pitch, std::initializer_list<int> commands,
             std::optional<ControlLook> look = std::nullopt) {
        for (int command : commands) {
            if (command != 0) add(command, x, y, look.value_or(naturalLook(command)));
            x += pitch;
        }
    }

    void styleItems(std::initializer_list<std::pair<int, int>> items) {
        for (const auto& [menuId, code] : items) {
            m_layout.menu.push_back({menuId, styleTitle(code), code, 0, false});
        }
    }

    // Menu items for commands: the item id is the command's own unless given.
    void menuItems(std::initializer_list<int> commands, bool separatorBefore = true) {
        for (int command : commands) {
            m_layout.menu.push_back({command, menuText(command), 0, command, separatorBefore});
            separatorBefore = false;
        }
    }

    // The tool windows, a group of their own in every menu that lists them.
    void toolItems() {
        menuItems({id::kSettings, id::kFunction, id::kParameters, id::kLog, id::kExercise,
                   id::kFormula, id::kBatch, id::kConverter});
    }

    void menuItem(int menuId, int command, bool separatorBefore) {
        m_layout.menu.push_back({menuId, menuText(command), 0, command, separatorBefore});
    }

private:
    void add(int command, int x, int y, ControlLook look) {
        StyleControl entry;
        entry.id = command;
        entry.caption = caption(command);
        entry.tooltip = tooltip(m_layout.style, command);
        entry.look = look;
        entry.rect = {x, y,
                      look == ControlLook::Mini      ? 32
                      : look == ControlLook::Cartoon ? 42
                                                     : 40,
                      look == ControlLook::Mini      ? 24
                      : look == ControlLook::Cartoon ? 36
                                                     : 30};
        entry.accessibleName = accessibleName(command, entry.tooltip);
        m_layout.controls.push_back(std::move(entry));
    }

    StyleLayout& m_layout;
};

int digit(int d) { return id::kDigit0 + d; }
int letter(char c) { return c == 'y' ? id::kLetterY : id::kLetterA + (c - 'a'); }
int last(int n) { return id::kLast1 + n - 1; }

// What every style shares: the banner and the shortcuts.
StyleLayout newLayout(WindowStyle style, const char* skin, int width, int height) {
    StyleLayout l;
    l.style = style;
    l.skin = skin;
    l.width = width;
    l.height = height;
    l.menuBanner = "Quorvel";
    l.shortcuts = {{"Ctrl+C", id::kCopy},
                   {"Ctrl+V", id::kPaste},
                   {"Ctrl+Shift+S", id::kStopTalk},
                   {"Backspace", id::kBackspace},
                   {"Return", id::kEqual},
                   {"Enter", id::kEqual},
                   {"F1", id::kHelp}};
    return l;
}

StyleLayout standardLayout() {
    StyleLayout l = newLayout(WindowStyle::Standard, ":/skins/main_standard.png", 670, 150);
    l.area = {{4, 4, 662, 142}, 17};
    l.reserved = {{0, 0, 670, 24}};
    l.input = {16, 28, 236, 78};
    Builder b(l);
    b.row(16, 112, 40, {last(1), last(2), last(3), last(4), last(5), id::kHelp}, ControlLook::Mini);
    b.row(260, 28, 44,
          {digit(7), digit(8), digit(9), id::kAdd, id::kMinus, id::kOpenBracket, id::kCloseBracket,
           id::kBackspace, id::kTalkResult});
    b.row(260, 64, 44,
          {digit(4), digit(5), digit(6), id::kTime, id::kDivide, id::kPower, id::kUnknown,
           id::kCalculate, id::kStopTalk});
    b.row(260, 100, 44,
          {digit(1), digit(2), digit(3), digit(0), id::kPoint, id::kEqual, id::kCopy, id::kPaste,
           id::kStyleMenu});
    b.styleItems({{32795, 4}, {32796, 2}, {32797, 3}});
    b.menuItems({id::kTalkInput, id::kTalkInputResult, id::kMinimize});
    b.toolItems();
    b.menuItems({id::kExit});
    return l;
}

StyleLayout cartoonLayout() {
    StyleLayout l = newLayout(WindowStyle::Cartoon, ":/skins/main_cartoon.png", 550, 190);
    // The bubble's inner panel; the scallops and the tail around it are cut or drawn on.
    l.area = {{18, 34, 514, 122}, 24};
    l.input = {30, 40, 200, 78};
    Builder b(l);
    b.row(30, 122, 34, {last(1), last(2), last(3), id::kTalkResult, id::kStopTalk, id::kStyleMenu},
          ControlLook::Mini);
    const ControlLook round = ControlLook::Cartoon;
    b.row(240, 40, 46, {digit(7), digit(8), digit(9), id::kAdd, id::kMinus, id::kBackspace}, round);
    b.row(240, 78, 46, {digit(4), digit(5), digit(6), id::kTime, id::kDivide, id::kEqual}, round);
    b.row(240, 116, 46, {digit(1), digit(2), digit(3), digit(0), id::kPoint, id::kCalculate},
          round);
    b.styleItems({{32869, 1}, {32868, 3}, {32867, 4}});
    b.menuItems({last(4), last(5), id::kTalkInput, id::kTalkInputResult, id::kCopy, id::kPaste,
                 id::kMinimize});
    b.toolItems();
    b.menuItem(32871, id::kHelp, true);
    b.menuItem(32873, id::kExit, false);
    return l;
}

StyleLayout miniLayout() {
    StyleLayout l = newLayout(WindowStyle::Mini, ":/skins/main_mini.png", 590, 70);
    l.area = {{4, 4, 582, 62}, 31};
    l.reserved = {{10, 18, 34, 34}, {548, 14, 36, 42}};  // the icon and the grille
    l.input = {46, 8, 190, 54};
    Builder b(l);
    const ControlLook mini = ControlLook::Mini;
    b.row(244, 10, 36,
          {id::kEqual, id::kCalculate, id::kBackspace, last(1), last(2), last(3), last(4), last(5)},
          mini);
    b.row(244, 36, 36,
          {id::kTalkInput, id::kTalkResult, id::kTalkInputResult, id::kStopTalk, id::kCopy,
           id::kPaste, id::kMinimize, id::kStyleMenu},
          mini);
    b.styleItems({{32806, 1}, {32808, 2}, {32809, 4}});
    b.toolItems();
    b.menuItems({id::kHelp, id::kExit});
    // The mini window's paste tooltip names Ctrl+P, so Ctrl+P pastes there as well.
    l.shortcuts.push_back({"Ctrl+P", id::kPaste});
    return l;
}

StyleLayout detailLayout() {
    StyleLayout l = newLayout(WindowStyle::Detail, ":/skins/main_detail.png", 670, 300);
    l.area = {{4, 4, 662, 292}, 17};
    l.reserved = {{0, 0, 670, 24}};
    l.input = {16, 30, 638, 80};
    Builder b(l);
    // Three blocks side by side, read row by row: letters, numbers, named commands.
    const std::array<std::array<int, 14>, 5> rows{{
        {letter('a'), letter('b'), letter('c'), letter('d'), letter('e'), letter('f'), digit(7),
         digit(8), digit(9), id::kDivide, id::kCalculate, id::kTalkInput, id::kTalkResult,
         id::kTalkInputResult},
        {letter('g'), letter('h'), letter('i'), letter('j'), letter('k'), letter('l'), digit(4),
         digit(5), digit(6), id::kTime, id::kStopTalk, id::kCopy, id::kPaste, id::kMinimize},
        {letter('m'), letter('n'), letter('o'), letter('p'), letter('q'), letter('r'), digit(1),
         digit(2), digit(3), id::kMinus, id::kStyleMenu, id::kSettings, id::kFunction,
         id::kParameters},
        {letter('s'), letter('t'), letter('u'), letter('v'), letter('w'), letter('y'), digit(0),
         id::kPoint, id::kPower, id::kAdd, id::kLog, id::kExercise, id::kFormula, id::kBatch},
        {id::kUnknown, last(1), last(2), last(3), last(4), last(5), id::kOpenBracket,
         id::kCloseBracket, id::kBackspace, id::kEqual, id::kConverter, id::kHelp, id::kExit, 0},
    }};
    constexpr int kBlockX[] = {16, 288, 472};  // letters, numbers, named commands
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int y = 118 + static_cast<int>(r) * 34;
        const auto& cells = rows[r];
        b.row(kBlockX[0], y, 44, {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
        b.row(kBlockX[1], y, 44, {cells[6], cells[7], cells[8], cells[9]});
        b.row(kBlockX[2], y, 44, {cells[10], cells[11], cells[12], cells[13]});
    }
    b.styleItems({{32801, 1}, {32802, 2}, {32803, 3}});
    return l;
}

}  // namespace

bool opensTool(int command) {
    switch (command) {
        case id::kExercise:
        case id::kSettings:
        case id::kFunction:
        case id::kParameters:
        case id::kLog:
        case id::kFormula:
        case id::kConverter:
        case id::kBatch:
            return true;
        default:
            return false;
    }
}

std::optional<char> typedCharacter(int command) {
    if (command >= id::kDigit0 && command <= id::kDigit0 + 9) {
        return static_cast<char>('0' + (command - id::kDigit0));
    }
    if (command >= id::kAdd && command <= id::kPower) {
        return kTypedOperators[static_cast<std::size_t>(command - id::kAdd)];
    }
    if (command == id::kUnknown) return 'x';
    if (command >= id::kLetterA && command <= id::kLetterA + ('w' - 'a')) {
        return static_cast<char>('a' + (command - id::kLetterA));
    }
    if (command == id::kLetterY) return 'y';
    return std::nullopt;
}

std::optional<int> recentIndex(int command) {
    if (command >= id::kLast1 && command < id::kLast1 + 5) return command - id::kLast1;
    return std::nullopt;
}

const std::vector<int>& windowCommands() {
    static const std::vector<int> commands = [] {
        std::vector<int> all;
        for (const Named& n : kNamed) all.push_back(n.id);
        for (int i = id::kDigit0; i <= id::kLetterY; ++i) {
            if (typedCharacter(i)) all.push_back(i);
        }
        std::sort(all.begin(), all.end());
        all.erase(std::unique(all.begin(), all.end()), all.end());
        return all;
    }();
    return commands;
}

bool Rect::intersects(const Rect& o) const {
    return x < o.right() && o.x < right() && y < o.bottom() && o.y < bottom();
}

bool RoundedArea::contains(int px, int py) const {
    if (px < rect.x || px > rect.right() || py < rect.y || py > rect.bottom()) return false;
    // Inside the rectangle; near a corner the point must also lie within the corner's circle.
    const int cx = std::clamp(px, rect.x + radius, rect.right() - radius);
    const int cy = std::clamp(py, rect.y + radius, rect.bottom() - radius);
    const int dx = px - cx;
    const int dy = py - cy;
    return dx * dx + dy * dy <= radius * radius;
}

bool RoundedArea::contains(const Rect& r) const {
    return contains(r.x, r.y) && contains(r.right(), r.y) && contains(r.x, r.bottom()) &&
           contains(r.right(), r.bottom());
}

const StyleControl* StyleLayout::control(int command) const {
    for (const StyleControl& c : controls) {
        if (c.id == command) return &c;
    }
    return nullptr;
}

const StyleMenuItem* StyleLayout::menuItem(int command) const {
    for (const StyleMenuItem& m : menu) {
        if (m.styleCode == 0 && m.command == command) return &m;
    }
    return nullptr;
}

const StyleShortcut* StyleLayout::shortcut(int command) const {
    for (const StyleShortcut& s : shortcuts) {
        if (s.command == command) return &s;
    }
    return nullptr;
}

bool StyleLayout::reaches(int command) const {
    return typedCharacter(command).has_value() || control(command) || menuItem(command) ||
           shortcut(command);
}

const StyleLayout& styleLayout(WindowStyle style) {
    static const std::array<StyleLayout, 4> layouts{standardLayout(), cartoonLayout(), miniLayout(),
                                                    detailLayout()};
    switch (style) {
        case WindowStyle::Cartoon:
            return layouts[1];
        case WindowStyle::Mini:
            return layouts[2];
        case WindowStyle::Detail:
            return layouts[3];
        default:
            return layouts[0];
    }
}

const std::vector<WindowStyle>& windowStyles() {
    static const std::vector<WindowStyle> styles{WindowStyle::Standard, WindowStyle::Cartoon,
                                                 WindowStyle::Mini, WindowStyle::Detail};
    return styles;
}

}  // namespace quorvel
