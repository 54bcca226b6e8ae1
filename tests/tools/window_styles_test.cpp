#include "tools/window_styles.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace quorvel {
namespace {

const char* name(WindowStyle style) {
    switch (style) {
        case WindowStyle::Cartoon:
            return "cartoon";
        case WindowStyle::Mini:
            return "mini";
        case WindowStyle::Detail:
            return "detail";
        case WindowStyle::Contrast:
            return "contrast";
        default:
            return "standard";
    }
}

std::vector<Command> allCommands() {
    std::vector<Command> all;
    for (const CommandInfo& info : commandTable()) all.push_back(info.command);
    return all;
}

Command byId(int id) {
    const std::optional<Command> command = commandById(id);
    EXPECT_TRUE(command.has_value()) << id;
    return command.value_or(Command::Equal);
}

TEST(CommandTable, OneRowPerCommandInCommandOrderWithItsOwnId) {
    std::set<int> ids;
    int row = 0;
    for (const CommandInfo& info : commandTable()) {
        SCOPED_TRACE(info.id);
        EXPECT_EQ(static_cast<int>(info.command), row++);
        EXPECT_EQ(&commandInfo(info.command), &info);
        EXPECT_TRUE(ids.insert(info.id).second);
        EXPECT_FALSE(info.caption.empty());
        EXPECT_FALSE(info.menuText.empty());
    }
    // 10 digits, 8 operators, x, 23 + 1 letters, and 26 named commands (Last1..Last5 five).
    EXPECT_EQ(ids.size(), 10u + 8u + 1u + 24u + 26u);
    EXPECT_EQ(ids.count(kInputId), 0u);
    EXPECT_EQ(commandById(1055), std::nullopt);
}

TEST(CommandTable, TypingKeysTypeTheirCharacterOthersNothing) {
    struct Case {
        int id;
        std::optional<char> typed;
    };
    const Case kCases[] = {
        {1008, '0'}, {1017, '9'},          {1018, std::nullopt}, {1019, '+'},
        {1020, '-'}, {1021, '.'},          {1022, '*'},          {1023, '/'},
        {1024, '('}, {1025, ')'},          {1026, '^'},          {1027, std::nullopt},
        {1031, 'x'}, {1032, 'a'},          {1042, 'k'},          {1054, 'w'},
        {1056, 'y'}, {1057, std::nullopt}, {1106, std::nullopt}, {3, std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(typedCharacter(byId(c.id)), c.typed);
    }
    EXPECT_EQ(recentIndex(byId(1106)), 0);
    EXPECT_EQ(recentIndex(byId(1110)), 4);
    EXPECT_EQ(recentIndex(byId(1111)), std::nullopt);
    EXPECT_EQ(recentIndex(byId(1105)), std::nullopt);
    for (int d = 0; d <= 9; ++d) EXPECT_EQ(commandInfo(digitCommand(d)).id, 1008 + d);
    for (char c = 'a'; c <= 'w'; ++c) EXPECT_EQ(typedCharacter(letterCommand(c)), c);
    EXPECT_EQ(commandInfo(letterCommand('y')).id, 1056);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(commandInfo(recentCommand(i)).id, 1106 + i);
}

// Exactly the eight tool windows open from the calculator's commands; no key or action does.
TEST(CommandTable, EightCommandsOpenATool) {
    std::set<int> tools;
    for (const CommandInfo& info : commandTable()) {
        if (opensTool(info.command)) tools.insert(info.id);
    }
    EXPECT_EQ(tools, (std::set<int>{5, 1003, 1004, 1005, 1007, 1079, 1104, 1105}));
}

// What a listener hears: short words, no shortcut notes, nothing the tooltip's typos carry.
TEST(CommandTable, AccessibleNamesAreShortWords) {
    struct Case {
        int id;
        const char* name;
    };
    const Case kCases[] = {
        {1019, "Plus"},
        {1020, "Minus"},
        {1022, "Multiply"},
        {1111, "Delete last character"},
        {1057, "Stop talking"},
        {1106, "Last result 1"},
        {1110, "Last result 5"},
        {1028, "Speak expression"},
        {1030, "Speak result"},
        {1029, "Speak expression and result"},
        {1003, "Settings"},
        {3, "Copy"},
        {4, "Paste"},
        {1031, "Unknown X"},
        {1015, "7"},
        {1032, "a"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(commandInfo(byId(c.id)).accessibleName, c.name);
    }
    std::set<std::string_view> names;
    for (const CommandInfo& info : commandTable()) {
        SCOPED_TRACE(info.id);
        const std::string_view name = info.accessibleName;
        EXPECT_TRUE(names.insert(name).second) << "two controls sound alike: " << name;
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), 28u);
        EXPECT_EQ(name.find_first_of("[]:="), std::string_view::npos) << name;
        EXPECT_EQ(name.find("Ctrl"), std::string_view::npos) << name;
    }
}

// Tab visits what a calculation needs first: Equal and Calculate, speech, the tools, then the
// rest, and the typing keys last (operators, digits, letters).
TEST(CommandTable, TabOrderPutsCalculationSpeechAndToolsFirst) {
    const std::vector<Command> order = allCommands();
    const auto rank = [&order](int id) {
        return std::find(order.begin(), order.end(), byId(id)) - order.begin();
    };
    const std::vector<int> first = {1001, 1018, 1028, 1030, 1029, 1057};
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(rank(first[i]), i) << first[i];
    for (int tool : {5, 1003, 1004, 1005, 1007, 1079, 1104, 1105, 1002}) {
        EXPECT_LT(rank(tool), rank(1106)) << tool;
    }
    EXPECT_LT(rank(1111), rank(1019));
    for (int op = 1019; op <= 1026; ++op) EXPECT_LT(rank(op), rank(1008));
    EXPECT_LT(rank(1017), rank(1031));
    EXPECT_LT(rank(1031), rank(1032));
    EXPECT_EQ(order.back(), byId(1056));
}

TEST(CommandTable, ShortcutsForTheToolsAndNoneThatTheBoxTypes) {
    struct Case {
        int id;
        const char* keys;
    };
    const Case kCases[] = {
        {1003, "Ctrl+T"},    {1007, "Ctrl+L"}, {1104, "Ctrl+U"}, {1079, "Ctrl+M"},
        {1004, "Ctrl+F"},    {1005, "Ctrl+R"}, {5, "Ctrl+E"},    {1105, "Ctrl+B"},
        {1002, "F1"},        {3, "Ctrl+C"},    {4, "Ctrl+V"},    {1057, "Ctrl+Shift+S"},
        {1111, "Backspace"}, {1078, "F10"},    {1001, ""},       {1018, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(commandInfo(byId(c.id)).shortcut, c.keys);
    }
    std::set<std::string_view> keys;
    for (const CommandInfo& info : commandTable()) {
        if (info.shortcut.empty()) continue;
        SCOPED_TRACE(info.shortcut);
        EXPECT_TRUE(keys.insert(info.shortcut).second);
        // A plain printable key would be typed into the box instead; Enter is the box's own.
        EXPECT_TRUE(info.shortcut.starts_with("Ctrl+") || info.shortcut.starts_with("F") ||
                    info.shortcut == "Backspace");
        EXPECT_EQ(info.shortcut.find("Return"), std::string_view::npos);
        EXPECT_EQ(info.shortcut.find("Enter"), std::string_view::npos);
    }
}

TEST(StyleLayout, EveryCommandReachableInEveryStyle) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        const StyleLayout& layout = styleLayout(style);
        EXPECT_EQ(layout.style, style);
        // The menu holds what the face has no room for, so its button must be on the face.
        ASSERT_NE(layout.control(Command::StyleMenu), nullptr);
        for (const CommandInfo& info : commandTable()) {
            SCOPED_TRACE(info.id);
            EXPECT_TRUE(layout.reaches(info.command));
            if (!typedCharacter(info.command)) {
                EXPECT_TRUE(layout.control(info.command) || layout.menuItem(info.command) ||
                            !layout.shortcutKeys(info.command).empty());
            }
            // Every style has the table's shortcut, first among the command's keys.
            if (!info.shortcut.empty()) {
                ASSERT_FALSE(layout.shortcutKeys(info.command).empty());
                EXPECT_EQ(layout.shortcutKeys(info.command).front(), info.shortcut);
            }
        }
    }
}

TEST(StyleLayout, DetailShowsEveryCommandAsAButton) {
    const StyleLayout& detail = styleLayout(WindowStyle::Detail);
    for (const CommandInfo& info : commandTable()) {
        EXPECT_NE(detail.control(info.command), nullptr) << info.id;
    }
    EXPECT_EQ(detail.controls.size(), commandTable().size());
}

TEST(StyleLayout, SizesAndSkinsOfTheFourStyles) {
    struct Case {
        WindowStyle style;
        int width;
        int height;
        const char* skin;
    };
    const Case kCases[] = {
        {WindowStyle::Standard, 670, 150, ":/skins/main_standard.png"},
        {WindowStyle::Cartoon, 550, 190, ":/skins/main_cartoon.png"},
        {WindowStyle::Mini, 590, 70, ":/skins/main_mini.png"},
        {WindowStyle::Detail, 670, 300, ":/skins/main_detail.png"},
        {WindowStyle::Contrast, 710, 168, ":/skins/main_contrast.png"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(name(c.style));
        const StyleLayout& layout = styleLayout(c.style);
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height);
        EXPECT_EQ(layout.skin, c.skin);
    }
    EXPECT_EQ(&styleLayout(WindowStyle::None), &styleLayout(WindowStyle::Standard));
}

TEST(StyleLayout, ControlsInsideTheAreaApartAndOffTheSkinsMarks) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        const StyleLayout& layout = styleLayout(style);
        const Rect client{0, 0, layout.width, layout.height};
        std::vector<std::pair<int, Rect>> placed{{kInputId, layout.input}};
        for (const StyleControl& c : layout.controls) {
            placed.emplace_back(commandInfo(c.command).id, c.rect);
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            const auto& [command, rect] = placed[i];
            SCOPED_TRACE(command);
            EXPECT_GT(rect.width, 0);
            EXPECT_GT(rect.height, 0);
            EXPECT_TRUE(rect.x >= 0 && rect.y >= 0 && rect.right() <= client.right() &&
                        rect.bottom() <= client.bottom());
            EXPECT_TRUE(layout.area.contains(rect));
            for (const Rect& mark : layout.reserved) EXPECT_FALSE(rect.intersects(mark));
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                EXPECT_FALSE(rect.intersects(placed[j].second)) << "overlaps " << placed[j].first;
            }
        }
    }
}

TEST(StyleLayout, EachCommandOnceAndInTabOrder) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        const std::vector<StyleControl>& controls = styleLayout(style).controls;
        for (std::size_t i = 1; i < controls.size(); ++i) {
            EXPECT_LT(controls[i - 1].command, controls[i].command)
                << commandInfo(controls[i].command).id;
        }
    }
    // In the standard window Tab reaches the Menu button, the only way to the tools, early.
    const StyleLayout& standard = styleLayout(WindowStyle::Standard);
    std::vector<int> firstSix;
    for (std::size_t i = 0; i < 6; ++i)
        firstSix.push_back(commandInfo(standard.controls[i].command).id);
    EXPECT_EQ(firstSix, (std::vector<int>{1001, 1018, 1030, 1057, 1078, 1002}));
}

// The tooltips as the window registers them; "-" marks a control the style shows without one.
struct TooltipRow {
    int id;
    const char* standard;
    const char* cartoon;
    const char* mini;
    const char* detail;
};

const TooltipRow kDifferingTooltips[] = {
    {3, "Copy into the clipboard [Ctrl+C]", "Copy into the clipboard [Ctrl+C]",
     "Copy into the clipboard [Ctrl+C]", "Copy into the clipboard[Ctrl+C]"},
    {4, "Input from the clipboard (Paste) [Ctrl+V]", "Input from the clipboard (Paste) [Ctrl+V]",
     "Input from the clipboard (Paste) [Ctrl+P]", "Input from the clipboard (Paste) [Ctrl+V]"},
    {1057, "Stop talking [Ctrl+Shift+S]", "-", "-", "Stop talking[Ctrl+Shift+S]"},
    {1078, "Select the different style", "Menu for resize,help,exit", "Select the different style",
     "Select the different style"},
};

const std::map<int, std::string> kSharedTooltips = {
    {1019, "Add"},
    {1020, "Minus [ Substract]"},
    {1021, "Point"},
    {1022, "Time [Multiply]"},
    {1023, "Divide"},
    {1024, "Open Bracket"},
    {1025, "Close Bracket"},
    {1026, "Power"},
    {1031, "Unknown Variable"},
    {1111, "Delete the one of input character[Shortcut key - Backspace]"},
    {1001, "Equal"},
    {1018, "Calculate"},
    {1106, "The first lastest result of calculation:last1=0"},
    {1107, "The second lastest result of calculation:last2=0"},
    {1108, "The third lastest result of calculation:last3=0"},
    {1109, "The forth lastest result of calculation:last4=0"},
    {1110, "The fifth lastest result of calculation:last5=0"},
    {1028, "Talk the input expression"},
    {1030, "Talk the result"},
    {1029, "Talk the input and result"},
    {1027, "Minimize to the system tray"},
    {1003, "Setting"},
    {1004, "Function"},
    {1005, "Parameters"},
    {1007, "Log"},
    {5, "Exercise for basic calculation"},
    {1002, "Help"},
    {1006, "Exit"},
    {1079, "Formula manager"},
    {1105, "Batch calculation"},
    {1104, "Unit converter"},
};

std::string expectedTooltip(WindowStyle style, int command) {
    // The high-contrast window registers the standard window's tooltips.
    if (style == WindowStyle::Contrast) style = WindowStyle::Standard;
    for (const TooltipRow& row : kDifferingTooltips) {
        if (row.id != command) continue;
        const char* text = style == WindowStyle::Standard  ? row.standard
                           : style == WindowStyle::Cartoon ? row.cartoon
                           : style == WindowStyle::Mini    ? row.mini
                                                           : row.detail;
        return std::string(text) == "-" ? std::string() : text;
    }
    const auto it = kSharedTooltips.find(command);
    return it == kSharedTooltips.end() ? std::string() : it->second;
}

TEST(StyleLayout, TooltipsExactlyAsTheStyleRegistersThem) {
    int checked = 0;
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        for (const StyleControl& c : styleLayout(style).controls) {
            const int id = commandInfo(c.command).id;
            SCOPED_TRACE(id);
            EXPECT_EQ(c.tooltip, expectedTooltip(style, id));
            EXPECT_EQ(commandTooltip(style, c.command), c.tooltip);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(StyleLayout, ControlsCarryTheTablesCaptionAndName) {
    for (WindowStyle style : windowStyles()) {
        for (const StyleControl& c : styleLayout(style).controls) {
            const CommandInfo& info = commandInfo(c.command);
            SCOPED_TRACE(std::string(name(style)) + " " + std::to_string(info.id));
            EXPECT_EQ(c.caption, info.caption);
            EXPECT_EQ(c.accessibleName, info.accessibleName);
        }
    }
}

TEST(StyleLayout, StyleMenuOffersTheOtherStyles) {
    struct Case {
        WindowStyle style;
        std::vector<std::pair<int, int>> offers;  // menu id, style code
    };
    const Case kCases[] = {
        {WindowStyle::Standard, {{32795, 4}, {32796, 2}, {32797, 3}, {32798, 6}}},
        {WindowStyle::Cartoon, {{32869, 1}, {32868, 3}, {32867, 4}, {32870, 6}}},
        {WindowStyle::Mini, {{32806, 1}, {32808, 2}, {32809, 4}, {32810, 6}}},
        {WindowStyle::Detail, {{32801, 1}, {32802, 2}, {32803, 3}, {32804, 6}}},
        {WindowStyle::Contrast, {{32881, 1}, {32882, 2}, {32883, 3}, {32884, 4}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(name(c.style));
        std::vector<std::pair<int, int>> offered;
        std::set<int> menuIds;
        for (const StyleMenuItem& item : styleLayout(c.style).menu) {
            EXPECT_TRUE(menuIds.insert(item.id).second) << item.id;
            EXPECT_FALSE(item.text.empty());
            EXPECT_NE(item.styleCode != 0, item.command.has_value()) << item.id;
            if (item.styleCode != 0) offered.emplace_back(item.id, item.styleCode);
        }
        EXPECT_EQ(offered, c.offers);
    }
}

TEST(StyleLayout, CartoonMenuCarriesHelpAndExitInsteadOfAHelpButton) {
    const StyleLayout& cartoon = styleLayout(WindowStyle::Cartoon);
    EXPECT_EQ(cartoon.control(Command::Help), nullptr);
    const StyleMenuItem* help = cartoon.menuItem(Command::Help);
    const StyleMenuItem* exit = cartoon.menuItem(Command::Exit);
    ASSERT_NE(help, nullptr);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(help->id, 32871);
    EXPECT_EQ(help->text, "Help");
    EXPECT_EQ(exit->id, 32873);
    EXPECT_EQ(exit->text, "Exit");
}

TEST(StyleLayout, ShortcutsOnePerKeyAndCtrlPPastesOnlyInMini) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        std::set<std::string> keys;
        bool ctrlP = false;
        for (const StyleShortcut& s : styleLayout(style).shortcuts) {
            EXPECT_TRUE(keys.insert(s.keys).second) << s.keys;
            if (s.keys == "Ctrl+P") {
                ctrlP = true;
                EXPECT_EQ(s.command, Command::Paste);
            }
        }
        EXPECT_EQ(ctrlP, style == WindowStyle::Mini);
    }
}

// The high-contrast window is the standard one: the same controls in the same order, the
// same menu commands, every key larger and in the colour of its kind, captions larger.
TEST(StyleLayout, ContrastIsTheStandardWindowLarger) {
    const StyleLayout& standard = styleLayout(WindowStyle::Standard);
    const StyleLayout& contrast = styleLayout(WindowStyle::Contrast);
    ASSERT_EQ(contrast.controls.size(), standard.controls.size());
    for (std::size_t i = 0; i < contrast.controls.size(); ++i) {
        const StyleControl& c = contrast.controls[i];
        SCOPED_TRACE(commandInfo(c.command).id);
        EXPECT_EQ(c.command, standard.controls[i].command);
        EXPECT_EQ(c.tooltip, standard.controls[i].tooltip);
        EXPECT_TRUE(isContrastLook(c.look));
        EXPECT_GE(c.rect.width, 42);
        EXPECT_GE(c.rect.height, 36);
        const ControlLook expected =
            typedCharacter(c.command) && c.command < Command::Digit0 ? ControlLook::ContrastAccent
            : typedCharacter(c.command)                              ? ControlLook::ContrastKey
            : c.command == Command::Equal || c.command == Command::Calculate
                ? ControlLook::ContrastAccent
                : ControlLook::ContrastWord;
        EXPECT_EQ(c.look, expected);
    }
    for (const StyleMenuItem& item : contrast.menu) {
        if (item.command) {
            EXPECT_NE(standard.menuItem(*item.command), nullptr) << item.id;
        }
    }
    for (WindowStyle style :
         {WindowStyle::Standard, WindowStyle::Cartoon, WindowStyle::Mini, WindowStyle::Detail}) {
        for (const StyleControl& c : styleLayout(style).controls) {
            EXPECT_FALSE(isContrastLook(c.look));
        }
    }
}

TEST(CaptionSize, ContrastCaptionsAreLargerThanEveryOtherLook) {
    struct Case {
        ControlLook look;
        CaptionSize character;
        CaptionSize word;
    };
    const Case kCases[] = {
        {ControlLook::Key, {16, true}, {11, true}},
        {ControlLook::Accent, {16, true}, {11, true}},
        {ControlLook::Word, {15, false}, {10, false}},
        {ControlLook::Mini, {14, false}, {9, false}},
        {ControlLook::Cartoon, {16, true}, {11, true}},
        {ControlLook::ContrastKey, {24, true}, {13, true}},
        {ControlLook::ContrastAccent, {24, true}, {13, true}},
        {ControlLook::ContrastWord, {22, true}, {13, true}},
    };
    int largestOther = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.look));
        EXPECT_EQ(captionSize(c.look, true), c.character);
        EXPECT_EQ(captionSize(c.look, false), c.word);
        if (!isContrastLook(c.look)) largestOther = std::max(largestOther, c.character.pixels);
    }
    for (WindowStyle style : windowStyles()) {
        EXPECT_EQ(inputPointSize(style), style == WindowStyle::Contrast ? 17 : 14);
    }
    for (ControlLook look :
         {ControlLook::ContrastKey, ControlLook::ContrastAccent, ControlLook::ContrastWord}) {
        EXPECT_GT(captionSize(look, true).pixels, largestOther);
        EXPECT_TRUE(captionSize(look, false).bold);
    }
}

TEST(RoundedArea, CornersAreRoundEdgesAreStraight) {
    const RoundedArea area{{0, 0, 100, 60}, 20};
    struct Case {
        int x;
        int y;
        bool inside;
    };
    const Case kCases[] = {
        {50, 30, true},   {0, 30, true},   {100, 30, true}, {50, 0, true},
        {50, 60, true},   {0, 0, false},   {100, 0, false}, {0, 60, false},
        {100, 60, false}, {5, 5, false},   {6, 6, true},    {20, 0, true},
        {101, 30, false}, {50, -1, false}, {94, 54, true},  {95, 55, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        EXPECT_EQ(area.contains(c.x, c.y), c.inside);
    }
    EXPECT_TRUE(area.contains(Rect{10, 10, 80, 40}));
    EXPECT_FALSE(area.contains(Rect{0, 10, 40, 40}));
    EXPECT_TRUE(Rect({0, 0, 10, 10}).intersects(Rect{9, 9, 5, 5}));
    EXPECT_FALSE(Rect({0, 0, 10, 10}).intersects(Rect{10, 0, 5, 5}));
}

}  // namespace
}  // namespace quorvel
