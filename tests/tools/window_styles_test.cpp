#include "tools/window_styles.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace quorvel {
namespace {

namespace id = window_id;

const char* name(WindowStyle style) {
    switch (style) {
        case WindowStyle::Cartoon:
            return "cartoon";
        case WindowStyle::Mini:
            return "mini";
        case WindowStyle::Detail:
            return "detail";
        default:
            return "standard";
    }
}

TEST(TypedCharacter, KeysTypeTheirCharacterOthersNothing) {
    struct Case {
        int id;
        std::optional<char> typed;
    };
    const Case kCases[] = {
        {1008, '0'},          {1017, '9'}, {1018, std::nullopt}, {1019, '+'},
        {1020, '-'},          {1021, '.'}, {1022, '*'},          {1023, '/'},
        {1024, '('},          {1025, ')'}, {1026, '^'},          {1027, std::nullopt},
        {1031, 'x'},          {1032, 'a'}, {1042, 'k'},          {1054, 'w'},
        {1055, std::nullopt}, {1056, 'y'}, {1057, std::nullopt}, {1106, std::nullopt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(typedCharacter(c.id), c.typed);
    }
    EXPECT_EQ(recentIndex(1106), 0);
    EXPECT_EQ(recentIndex(1110), 4);
    EXPECT_EQ(recentIndex(1111), std::nullopt);
    EXPECT_EQ(recentIndex(1105), std::nullopt);
}

// Exactly the eight tool windows open from the calculator's commands; no key or action does.
TEST(WindowCommands, EightCommandsOpenATool) {
    std::vector<int> tools;
    for (int command : windowCommands()) {
        if (opensTool(command)) tools.push_back(command);
    }
    EXPECT_EQ(tools, (std::vector<int>{5, 1003, 1004, 1005, 1007, 1079, 1104, 1105}));
}

TEST(WindowCommands, HoldsEveryCommandOfTheWindowOnce) {
    const std::vector<int>& all = windowCommands();
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), all.size());
    // 10 digits, 8 operators, x, 23 + 1 letters, and 26 named commands (Last1..Last5 five).
    EXPECT_EQ(all.size(), 10u + 8u + 1u + 24u + 26u);
    for (int command : {3,    4,    5,    1001, 1002, 1003, 1004, 1005, 1006, 1007, 1018, 1027,
                        1028, 1029, 1030, 1057, 1078, 1079, 1104, 1105, 1106, 1110, 1111}) {
        EXPECT_NE(std::find(all.begin(), all.end(), command), all.end()) << command;
    }
    EXPECT_EQ(std::find(all.begin(), all.end(), 1055), all.end());
}

TEST(StyleLayout, EveryCommandReachableInEveryStyle) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        const StyleLayout& layout = styleLayout(style);
        EXPECT_EQ(layout.style, style);
        // The menu holds what the face has no room for, so its button must be on the face.
        ASSERT_NE(layout.control(id::kStyleMenu), nullptr);
        for (int command : windowCommands()) {
            SCOPED_TRACE(command);
            EXPECT_TRUE(layout.reaches(command));
            if (!typedCharacter(command)) {
                EXPECT_TRUE(layout.control(command) || layout.menuItem(command) ||
                            layout.shortcut(command));
            }
        }
        // The commands the window's tooltips name a key for keep that key.
        EXPECT_NE(layout.shortcut(id::kCopy), nullptr);
        EXPECT_NE(layout.shortcut(id::kPaste), nullptr);
        EXPECT_NE(layout.shortcut(id::kStopTalk), nullptr);
        EXPECT_NE(layout.shortcut(id::kBackspace), nullptr);
        EXPECT_NE(layout.shortcut(id::kEqual), nullptr);
    }
}

TEST(StyleLayout, DetailShowsEveryCommandAsAButton) {
    const StyleLayout& detail = styleLayout(WindowStyle::Detail);
    for (int command : windowCommands()) {
        EXPECT_NE(detail.control(command), nullptr) << command;
    }
    EXPECT_EQ(detail.controls.size(), windowCommands().size());
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
        std::vector<std::pair<int, Rect>> placed{{id::kInput, layout.input}};
        for (const StyleControl& c : layout.controls) placed.emplace_back(c.id, c.rect);
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

TEST(StyleLayout, ControlIdsAreUnique) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(name(style));
        std::set<int> ids{id::kInput};
        for (const StyleControl& c : styleLayout(style).controls) {
            EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        }
    }
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
            SCOPED_TRACE(c.id);
            EXPECT_EQ(c.tooltip, expectedTooltip(style, c.id));
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(StyleLayout, AccessibleNameIsTheTooltipOrTheCaption) {
    struct Case {
        WindowStyle style;
        int id;
        const char* caption;
        const char* accessibleName;
    };
    const Case kCases[] = {
        {WindowStyle::Standard, 1015, "7", "7"},
        {WindowStyle::Detail, 1032, "a", "a"},
        {WindowStyle::Detail, 1056, "y", "y"},
        {WindowStyle::Detail, 1031, "X", "Unknown Variable"},
        {WindowStyle::Standard, 1019, "+", "Add"},
        {WindowStyle::Mini, 1057, "Stop", "Stop talking"},
        {WindowStyle::Mini, 4, "Paste", "Input from the clipboard (Paste) [Ctrl+P]"},
        {WindowStyle::Detail, 1079, "Form", "Formula manager"},
        {WindowStyle::Detail, 1105, "Batch", "Batch calculation"},
        {WindowStyle::Detail, 1104, "Conv", "Unit converter"},
        {WindowStyle::Cartoon, 1106, "Last1", "The first lastest result of calculation:last1=0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.id);
        const StyleControl* entry = styleLayout(c.style).control(c.id);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->caption, c.caption);
        EXPECT_EQ(entry->accessibleName, c.accessibleName);
    }
    for (WindowStyle style : windowStyles()) {
        for (const StyleControl& c : styleLayout(style).controls) {
            EXPECT_FALSE(c.accessibleName.empty()) << name(style) << " " << c.id;
            EXPECT_FALSE(c.caption.empty()) << name(style) << " " << c.id;
        }
    }
}

TEST(StyleLayout, StyleMenuOffersTheOtherThreeStyles) {
    struct Case {
        WindowStyle style;
        std::vector<std::pair<int, int>> offers;  // menu id, style code
    };
    const Case kCases[] = {
        {WindowStyle::Standard, {{32795, 4}, {32796, 2}, {32797, 3}}},
        {WindowStyle::Cartoon, {{32869, 1}, {32868, 3}, {32867, 4}}},
        {WindowStyle::Mini, {{32806, 1}, {32808, 2}, {32809, 4}}},
        {WindowStyle::Detail, {{32801, 1}, {32802, 2}, {32803, 3}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(name(c.style));
        std::vector<std::pair<int, int>> offered;
        std::set<int> menuIds;
        for (const StyleMenuItem& item : styleLayout(c.style).menu) {
            EXPECT_TRUE(menuIds.insert(item.id).second) << item.id;
            EXPECT_FALSE(item.text.empty());
            EXPECT_NE(item.styleCode != 0, item.command != 0) << item.id;
            if (item.styleCode != 0) offered.emplace_back(item.id, item.styleCode);
        }
        EXPECT_EQ(offered, c.offers);
    }
}

TEST(StyleLayout, CartoonMenuCarriesHelpAndExitInsteadOfAHelpButton) {
    const StyleLayout& cartoon = styleLayout(WindowStyle::Cartoon);
    EXPECT_EQ(cartoon.control(id::kHelp), nullptr);
    const StyleMenuItem* help = cartoon.menuItem(id::kHelp);
    const StyleMenuItem* exit = cartoon.menuItem(id::kExit);
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
                EXPECT_EQ(s.command, id::kPaste);
            }
        }
        EXPECT_EQ(ctrlP, style == WindowStyle::Mini);
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
