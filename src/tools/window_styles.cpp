#include "tools/window_styles.h"

#include <algorithm>
#include <array>

namespace quorvel {
namespace {

using C = Command;

// Captions of the named commands are short enough for a 32-pixel key; the tooltip says the
// rest. Shortcuts avoid every key the input box types (any printable character) and Enter,
// which the box keeps for the equal command so that a screen reader hears it first.
constexpr CommandInfo kCommands[] = {
    // command, id, caption, tooltip, accessible name, shortcut, menu text, typed, opens a tool
    {C::Equal, 1001, "=", "Equal", "Equal", "", "Equal"},
    {C::Calculate, 1018, "Calc", "Calculate", "Calculate", "", "Calculate"},
    {C::TalkInput, 1028, "Say in", "Talk the input expression", "Speak expression", "",
     "Talk the input expression"},
    {C::TalkResult, 1030, "Say =", "Talk the result", "Speak result", "", "Talk the result"},
    {C::TalkInputResult, 1029, "Both", "Talk the input and result", "Speak expression and result",
     "", "Talk the input and result"},
    {C::StopTalk, 1057, "Stop", "Stop talking[Ctrl+Shift+S]", "Stop talking", "Ctrl+Shift+S",
     "Stop talking"},
    {C::StyleMenu, 1078, "Menu", "Select the different style", "Menu", "F10", "Menu"},
    {C::Settings, 1003, "Set", "Setting", "Settings", "Ctrl+T", "Setting", 0, true},
    {C::Log, 1007, "Log", "Log", "Log", "Ctrl+L", "Log", 0, true},
    {C::Converter, 1104, "Conv", "Unit converter", "Unit converter", "Ctrl+U", "Unit converter", 0,
     true},
    {C::Formula, 1079, "Form", "Formula manager", "Formula manager", "Ctrl+M", "Formula manager", 0,
     true},
    {C::Function, 1004, "Func", "Function", "Functions", "Ctrl+F", "Function", 0, true},
    {C::Parameters, 1005, "Para", "Parameters", "Parameters", "Ctrl+R", "Parameters", 0, true},
    {C::Exercise, 5, "Exer", "Exercise for basic calculation", "Exercises", "Ctrl+E",
     "Exercise for basic calculation", 0, true},
    {C::Batch, 1105, "Batch", "Batch calculation", "Batch calculation", "Ctrl+B",
     "Batch calculation", 0, true},
    {C::Help, 1002, "Help", "Help", "Help", "F1", "Help"},
    {C::Last1, 1106, "Last1", "The first lastest result of calculation:last1=0", "Last result 1",
     "", "Insert last1"},
    {C::Last2, 1107, "Last2", "The second lastest result of calculation:last2=0", "Last result 2",
     "", "Insert last2"},
    {C::Last3, 1108, "Last3", "The third lastest result of calculation:last3=0", "Last result 3",
     "", "Insert last3"},
    {C::Last4, 1109, "Last4", "The forth lastest result of calculation:last4=0", "Last result 4",
     "", "Insert last4"},
    {C::Last5, 1110, "Last5", "The fifth lastest result of calculation:last5=0", "Last result 5",
     "", "Insert last5"},
    {C::Copy, 3, "Copy", "Copy into the clipboard[Ctrl+C]", "Copy", "Ctrl+C", "Copy"},
    {C::Paste, 4, "Paste", "Input from the clipboard (Paste) [Ctrl+V]", "Paste", "Ctrl+V", "Paste"},
    {C::Backspace, 1111, "\u2190", "Delete the one of input character[Shortcut key - Backspace]",
     "Delete last character", "Backspace", "Delete last character"},
    {C::Minimize, 1027, "Min", "Minimize to the system tray", "Minimize", "", "Minimize"},
    {C::Exit, 1006, "Exit", "Exit", "Exit", "", "Exit"},
    {C::Add, 1019, "+", "Add", "Plus", "", "+", '+'},
    {C::Minus, 1020, "-", "Minus [ Substract]", "Minus", "", "-", '-'},
    {C::Time, 1022, "*", "Time [Multiply]", "Multiply", "", "*", '*'},
    {C::Divide, 1023, "/", "Divide", "Divide", "", "/", '/'},
    {C::Power, 1026, "^", "Power", "Power", "", "^", '^'},
    {C::OpenBracket, 1024, "(", "Open Bracket", "Open bracket", "", "(", '('},
    {C::CloseBracket, 1025, ")", "Close Bracket", "Close bracket", "", ")", ')'},
    {C::Point, 1021, ".", "Point", "Point", "", ".", '.'},
    {C::Digit0, 1008, "0", "", "0", "", "0", '0'},
    {C::Digit1, 1009, "1", "", "1", "", "1", '1'},
    {C::Digit2, 1010, "2", "", "2", "", "2", '2'},
    {C::Digit3, 1011, "3", "", "3", "", "3", '3'},
    {C::Digit4, 1012, "4", "", "4", "", "4", '4'},
    {C::Digit5, 1013, "5", "", "5", "", "5", '5'},
    {C::Digit6, 1014, "6", "", "6", "", "6", '6'},
    {C::Digit7, 1015, "7", "", "7", "", "7", '7'},
    {C::Digit8, 1016, "8", "", "8", "", "8", '8'},
    {C::Digit9, 1017, "9", "", "9", "", "9", '9'},
    {C::Unknown, 1031, "X", "Unknown Variable", "Unknown X", "", "X", 'x'},
    {C::LetterA, 1032, "a", "", "a", "", "a", 'a'},
    {C::LetterB, 1033, "b", "", "b", "", "b", 'b'},
    {C::LetterC, 1034, "c", "", "c", "", "c", 'c'},
    {C::LetterD, 1035, "d", "", "d", "", "d", 'd'},
    {C::LetterE, 1036, "e", "", "e", "", "e", 'e'},
    {C::LetterF, 1037, "f", "", "f", "", "f", 'f'},
    {C::LetterG, 1038, "g", "", "g", "", "g", 'g'},
    {C::LetterH, 1039, "h", "", "h", "", "h", 'h'},
    {C::LetterI, 1040, "i", "", "i", "", "i", 'i'},
    {C::LetterJ, 1041, "j", "", "j", "", "j", 'j'},
    {C::LetterK, 1042, "k", "", "k", "", "k", 'k'},
    {C::LetterL, 1043, "l", "", "l", "", "l", 'l'},
    {C::LetterM, 1044, "m", "", "m", "", "m", 'm'},
    {C::LetterN, 1045, "n", "", "n", "", "n", 'n'},
    {C::LetterO, 1046, "o", "", "o", "", "o", 'o'},
    {C::LetterP, 1047, "p", "", "p", "", "p", 'p'},
    {C::LetterQ, 1048, "q", "", "q", "", "q", 'q'},
    {C::LetterR, 1049, "r", "", "r", "", "r", 'r'},
    {C::LetterS, 1050, "s", "", "s", "", "s", 's'},
    {C::LetterT, 1051, "t", "", "t", "", "t", 't'},
    {C::LetterU, 1052, "u", "", "u", "", "u", 'u'},
    {C::LetterV, 1053, "v", "", "v", "", "v", 'v'},
    {C::LetterW, 1054, "w", "", "w", "", "w", 'w'},
    {C::LetterY, 1056, "y", "", "y", "", "y", 'y'},
};

static_assert(std::size(kCommands) == static_cast<std::size_t>(Command::LetterY) + 1,
              "one row per command");

// The tooltips that differ between the styles; every other one is the table's.
struct StyleTooltip {
    WindowStyle style;
    Command command;
    std::string_view tooltip;  // empty: the style shows none
};

constexpr StyleTooltip kStyleTooltips[] = {
    {WindowStyle::Standard, C::Copy, "Copy into the clipboard [Ctrl+C]"},
    {WindowStyle::Cartoon, C::Copy, "Copy into the clipboard [Ctrl+C]"},
    {WindowStyle::Mini, C::Copy, "Copy into the clipboard [Ctrl+C]"},
    {WindowStyle::Mini, C::Paste, "Input from the clipboard (Paste) [Ctrl+P]"},
    {WindowStyle::Standard, C::StopTalk, "Stop talking [Ctrl+Shift+S]"},
    {WindowStyle::Cartoon, C::StopTalk, ""},
    {WindowStyle::Mini, C::StopTalk, ""},
    {WindowStyle::Cartoon, C::StyleMenu, "Menu for resize,help,exit"},
};

ControlLook naturalLook(Command command) {
    if (command == C::Equal || command == C::Calculate) return ControlLook::Accent;
    if (command >= C::Add && command <= C::Point) return ControlLook::Accent;
    if (typedCharacter(command)) return ControlLook::Key;
    return ControlLook::Word;
}

ControlLook contrastLook(Command command) {
    switch (naturalLook(command)) {
        case ControlLook::Accent:
            return ControlLook::ContrastAccent;
        case ControlLook::Key:
            return ControlLook::ContrastKey;
        default:
            return ControlLook::ContrastWord;
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
        case 6:
            return "High-contrast style";
        default:
            return "Detail style";
    }
}

class Builder {
public:
    explicit Builder(StyleLayout& layout) : m_layout(layout) {}

    // A row of controls from (x, y), `pitch` apart; nothing leaves a gap.
    void row(int x, int y, int pitch, std::initializer_list<std::optional<Command>> commands,
             std::optional<ControlLook> look = std::nullopt) {
        for (const std::optional<Command>& command : commands) {
            if (command) add(*command, x, y, look.value_or(naturalLook(*command)));
            x += pitch;
        }
    }

    // A row of the high-contrast window, each key in the colour of its kind.
    void contrastRow(int x, int y, int pitch,
                     std::initializer_list<std::optional<Command>> commands) {
        for (const std::optional<Command>& command : commands) {
            if (command) add(*command, x, y, contrastLook(*command));
            x += pitch;
        }
    }

    void styleItems(std::initializer_list<std::pair<int, int>> items) {
        for (const auto& [menuId, code] : items) {
            m_layout.menu.push_back({menuId, styleTitle(code), code, std::nullopt, false});
        }
    }

    // Menu items for commands: the item id is the command's control id.
    void menuItems(std::initializer_list<Command> commands, bool separatorBefore = true) {
        for (Command command : commands) {
            menuItem(commandInfo(command).id, command, separatorBefore);
            separatorBefore = false;
        }
    }

    // The tool windows, a group of their own in every menu that lists them.
    void toolItems() {
        menuItems({C::Settings, C::Log, C::Converter, C::Formula, C::Function, C::Parameters,
                   C::Exercise, C::Batch});
    }

    void menuItem(int menuId, Command command, bool separatorBefore) {
        m_layout.menu.push_back(
            {menuId, std::string(commandInfo(command).menuText), 0, command, separatorBefore});
    }

    // The controls in Tab order, which is the table's order, whatever the rows' order.
    void finish() {
        std::stable_sort(
            m_layout.controls.begin(), m_layout.controls.end(),
            [](const StyleControl& a, const StyleControl& b) { return a.command < b.command; });
    }

private:
    void add(Command command, int x, int y, ControlLook look) {
        const CommandInfo& info = commandInfo(command);
        StyleControl entry;
        entry.command = command;
        entry.caption = info.caption;
        entry.tooltip = commandTooltip(m_layout.style, command);
        entry.accessibleName = info.accessibleName;
        entry.look = look;
        const bool big = look == ControlLook::Cartoon || isContrastLook(look);
        entry.rect = {x, y,
                      look == ControlLook::Mini ? 32
                      : big                     ? 42
                                                : 40,
                      look == ControlLook::Mini ? 24
                      : big                     ? 36
                                                : 30};
        m_layout.controls.push_back(std::move(entry));
    }

    StyleLayout& m_layout;
};

Command digit(int d) { return digitCommand(d); }
Command letter(char c) { return letterCommand(c); }
Command last(int n) { return recentCommand(n - 1); }

// What every style shares: the banner and the shortcuts of the table.
StyleLayout newLayout(WindowStyle style, const char* skin, int width, int height) {
    StyleLayout l;
    l.style = style;
    l.skin = skin;
    l.width = width;
    l.height = height;
    l.menuBanner = "Quorvel";
    for (const CommandInfo& info : kCommands) {
        if (!info.shortcut.empty())
            l.shortcuts.push_back({std::string(info.shortcut), info.command});
    }
    return l;
}

StyleLayout standardLayout() {
    StyleLayout l = newLayout(WindowStyle::Standard, ":/skins/main_standard.png", 670, 150);
    l.area = {{4, 4, 662, 142}, 17};
    l.reserved = {{0, 0, 670, 24}};
    l.input = {16, 28, 236, 78};
    Builder b(l);
    b.row(16, 112, 40, {last(1), last(2), last(3), last(4), last(5), C::Help}, ControlLook::Mini);
    b.row(260, 28, 44,
          {digit(7), digit(8), digit(9), C::Add, C::Minus, C::OpenBracket, C::CloseBracket,
           C::Backspace, C::TalkResult});
    b.row(260, 64, 44,
          {digit(4), digit(5), digit(6), C::Time, C::Divide, C::Power, C::Unknown, C::Calculate,
           C::StopTalk});
    b.row(260, 100, 44,
          {digit(1), digit(2), digit(3), digit(0), C::Point, C::Equal, C::Copy, C::Paste,
           C::StyleMenu});
    b.styleItems({{32795, 4}, {32796, 2}, {32797, 3}, {32798, 6}});
    b.menuItems({C::TalkInput, C::TalkInputResult, C::Minimize});
    b.toolItems();
    b.menuItems({C::Exit});
    b.finish();
    return l;
}

StyleLayout cartoonLayout() {
    StyleLayout l = newLayout(WindowStyle::Cartoon, ":/skins/main_cartoon.png", 550, 190);
    // The bubble's inner panel; the scallops and the tail around it are cut or drawn on.
    l.area = {{18, 34, 514, 122}, 24};
    l.input = {30, 40, 200, 78};
    Builder b(l);
    b.row(30, 122, 34, {last(1), last(2), last(3), C::TalkResult, C::StopTalk, C::StyleMenu},
          ControlLook::Mini);
    const ControlLook round = ControlLook::Cartoon;
    b.row(240, 40, 46, {digit(7), digit(8), digit(9), C::Add, C::Minus, C::Backspace}, round);
    b.row(240, 78, 46, {digit(4), digit(5), digit(6), C::Time, C::Divide, C::Equal}, round);
    b.row(240, 116, 46, {digit(1), digit(2), digit(3), digit(0), C::Point, C::Calculate}, round);
    b.styleItems({{32869, 1}, {32868, 3}, {32867, 4}, {32870, 6}});
    b.menuItems(
        {last(4), last(5), C::TalkInput, C::TalkInputResult, C::Copy, C::Paste, C::Minimize});
    b.toolItems();
    b.menuItem(32871, C::Help, true);
    b.menuItem(32873, C::Exit, false);
    b.finish();
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
          {C::Equal, C::Calculate, C::Backspace, last(1), last(2), last(3), last(4), last(5)},
          mini);
    b.row(244, 36, 36,
          {C::TalkInput, C::TalkResult, C::TalkInputResult, C::StopTalk, C::Copy, C::Paste,
           C::Minimize, C::StyleMenu},
          mini);
    b.styleItems({{32806, 1}, {32808, 2}, {32809, 4}, {32810, 6}});
    b.toolItems();
    b.menuItems({C::Help, C::Exit});
    // The mini window's paste tooltip names Ctrl+P, so Ctrl+P pastes there as well.
    l.shortcuts.push_back({"Ctrl+P", C::Paste});
    b.finish();
    return l;
}

StyleLayout detailLayout() {
    StyleLayout l = newLayout(WindowStyle::Detail, ":/skins/main_detail.png", 670, 300);
    l.area = {{4, 4, 662, 292}, 17};
    l.reserved = {{0, 0, 670, 24}};
    l.input = {16, 30, 638, 80};
    Builder b(l);
    using Cell = std::optional<Command>;
    // Three blocks side by side, read row by row: letters, numbers, named commands.
    const std::array<std::array<Cell, 14>, 5> rows{{
        {letter('a'), letter('b'), letter('c'), letter('d'), letter('e'), letter('f'), digit(7),
         digit(8), digit(9), C::Divide, C::Calculate, C::TalkInput, C::TalkResult,
         C::TalkInputResult},
        {letter('g'), letter('h'), letter('i'), letter('j'), letter('k'), letter('l'), digit(4),
         digit(5), digit(6), C::Time, C::StopTalk, C::Copy, C::Paste, C::Minimize},
        {letter('m'), letter('n'), letter('o'), letter('p'), letter('q'), letter('r'), digit(1),
         digit(2), digit(3), C::Minus, C::StyleMenu, C::Settings, C::Function, C::Parameters},
        {letter('s'), letter('t'), letter('u'), letter('v'), letter('w'), letter('y'), digit(0),
         C::Point, C::Power, C::Add, C::Log, C::Exercise, C::Formula, C::Batch},
        {C::Unknown, last(1), last(2), last(3), last(4), last(5), C::OpenBracket, C::CloseBracket,
         C::Backspace, C::Equal, C::Converter, C::Help, C::Exit, Cell()},
    }};
    constexpr int kBlockX[] = {16, 288, 472};  // letters, numbers, named commands
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const int y = 118 + static_cast<int>(r) * 34;
        const auto& cells = rows[r];
        b.row(kBlockX[0], y, 44, {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]});
        b.row(kBlockX[1], y, 44, {cells[6], cells[7], cells[8], cells[9]});
        b.row(kBlockX[2], y, 44, {cells[10], cells[11], cells[12], cells[13]});
    }
    b.styleItems({{32801, 1}, {32802, 2}, {32803, 3}, {32804, 6}});
    b.finish();
    return l;
}

// The standard window's keys, larger, in strong colours on black: white on black, yellow
// typing keys, white operators. The window is wider and taller than the standard one so
// that every key grows to 42 x 36 and its caption with it.
StyleLayout contrastLayout() {
    StyleLayout l = newLayout(WindowStyle::Contrast, ":/skins/main_contrast.png", 710, 168);
    l.area = {{4, 4, 702, 160}, 17};
    l.reserved = {{0, 0, 710, 26}};
    l.input = {16, 30, 256, 80};
    Builder b(l);
    b.contrastRow(16, 116, 44, {last(1), last(2), last(3), last(4), last(5), C::Help});
    b.contrastRow(284, 30, 46,
                  {digit(7), digit(8), digit(9), C::Add, C::Minus, C::OpenBracket, C::CloseBracket,
                   C::Backspace, C::TalkResult});
    b.contrastRow(284, 72, 46,
                  {digit(4), digit(5), digit(6), C::Time, C::Divide, C::Power, C::Unknown,
                   C::Calculate, C::StopTalk});
    b.contrastRow(284, 114, 46,
                  {digit(1), digit(2), digit(3), digit(0), C::Point, C::Equal, C::Copy, C::Paste,
                   C::StyleMenu});
    b.styleItems({{32881, 1}, {32882, 2}, {32883, 3}, {32884, 4}});
    b.menuItems({C::TalkInput, C::TalkInputResult, C::Minimize});
    b.toolItems();
    b.menuItems({C::Exit});
    b.finish();
    return l;
}

}  // namespace

bool isContrastLook(ControlLook look) {
    return look == ControlLook::ContrastKey || look == ControlLook::ContrastAccent ||
           look == ControlLook::ContrastWord;
}

CaptionSize captionSize(ControlLook look, bool oneCharacter) {
    struct Row {
        ControlLook look;
        CaptionSize character;
        CaptionSize word;
    };
    static constexpr Row kRows[] = {
        {ControlLook::Key, {16, true}, {11, true}},
        {ControlLook::Accent, {16, true}, {11, true}},
        {ControlLook::Word, {15, false}, {10, false}},
        {ControlLook::Mini, {14, false}, {9, false}},
        {ControlLook::Cartoon, {16, true}, {11, true}},
        {ControlLook::ContrastKey, {24, true}, {13, true}},
        {ControlLook::ContrastAccent, {24, true}, {13, true}},
        {ControlLook::ContrastWord, {22, true}, {13, true}},
    };
    for (const Row& row : kRows) {
        if (row.look == look) return oneCharacter ? row.character : row.word;
    }
    return {};
}

int inputPointSize(WindowStyle style) { return style == WindowStyle::Contrast ? 17 : 14; }

std::span<const CommandInfo> commandTable() { return kCommands; }

const CommandInfo& commandInfo(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

std::optional<Command> commandById(int id) {
    for (const CommandInfo& info : kCommands) {
        if (info.id == id) return info.command;
    }
    return std::nullopt;
}

std::optional<char> typedCharacter(Command command) {
    const char typed = commandInfo(command).typed;
    if (typed == 0) return std::nullopt;
    return typed;
}

std::optional<int> recentIndex(Command command) {
    if (command >= C::Last1 && command <= C::Last5) {
        return static_cast<int>(command) - static_cast<int>(C::Last1);
    }
    return std::nullopt;
}

bool opensTool(Command command) { return commandInfo(command).opensTool; }

Command digitCommand(int d) {
    return static_cast<Command>(static_cast<int>(C::Digit0) + std::clamp(d, 0, 9));
}

Command letterCommand(char c) {
    if (c == 'y') return C::LetterY;
    return static_cast<Command>(static_cast<int>(C::LetterA) + std::clamp(c - 'a', 0, 'w' - 'a'));
}

Command recentCommand(int index) {
    return static_cast<Command>(static_cast<int>(C::Last1) + std::clamp(index, 0, 4));
}

std::string commandTooltip(WindowStyle style, Command command) {
    // The high-contrast window is the standard one drawn differently, tooltips and all.
    if (style == WindowStyle::Contrast) style = WindowStyle::Standard;
    for (const StyleTooltip& t : kStyleTooltips) {
        if (t.style == style && t.command == command) return std::string(t.tooltip);
    }
    return std::string(commandInfo(command).tooltip);
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

const StyleControl* StyleLayout::control(Command command) const {
    for (const StyleControl& c : controls) {
        if (c.command == command) return &c;
    }
    return nullptr;
}

const StyleMenuItem* StyleLayout::menuItem(Command command) const {
    for (const StyleMenuItem& m : menu) {
        if (m.styleCode == 0 && m.command == command) return &m;
    }
    return nullptr;
}

std::vector<std::string> StyleLayout::shortcutKeys(Command command) const {
    std::vector<std::string> keys;
    for (const StyleShortcut& s : shortcuts) {
        if (s.command == command) keys.push_back(s.keys);
    }
    return keys;
}

bool StyleLayout::reaches(Command command) const {
    return typedCharacter(command).has_value() || control(command) || menuItem(command) ||
           !shortcutKeys(command).empty();
}

const StyleLayout& styleLayout(WindowStyle style) {
    static const std::array<StyleLayout, 5> layouts{standardLayout(), cartoonLayout(), miniLayout(),
                                                    detailLayout(), contrastLayout()};
    switch (style) {
        case WindowStyle::Cartoon:
            return layouts[1];
        case WindowStyle::Mini:
            return layouts[2];
        case WindowStyle::Detail:
            return layouts[3];
        case WindowStyle::Contrast:
            return layouts[4];
        default:
            return layouts[0];
    }
}

const std::vector<WindowStyle>& windowStyles() {
    static const std::vector<WindowStyle> styles{WindowStyle::Standard, WindowStyle::Cartoon,
                                                 WindowStyle::Mini, WindowStyle::Detail,
                                                 WindowStyle::Contrast};
    return styles;
}

}  // namespace quorvel
