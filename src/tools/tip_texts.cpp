#include "tools/tip_texts.h"

namespace quorvel {
namespace {

// Every button, shortcut and feature named here exists in all four styles or says where it is.
constexpr std::array<std::string_view, kTipCount> kTips = {
    "Type 2*(3+4) and press Enter: Quorvel shows every step, =2*7 and then =14, and says "
    "the result.",
    "The buttons Last1 to Last5 insert your five most recent results at the caret. You can "
    "also type them: last1*2 doubles the latest result.",
    "Keep a value in a parameter: type (M)=5 and press Calc. After that, 3*M gives 15; F, K "
    "and W work the same way.",
    "The right side of a parameter may be a calculation: (K)=2+3 calculates 5, keeps it in K "
    "and makes it Last1.",
    "Solve an equation in the unknown X: type 2*x+3=7 and press Calc. Quorvel works it out "
    "step by step and ends with X=2.",
    "The Parameters button shows F, K, M, W and the Pi text in one dialog, where you can read "
    "and change them.",
    "Say in speaks the expression, Say = speaks the result, and Both speaks the expression "
    "and then the result.",
    "Quorvel talking too long? Press Ctrl+Shift+S, or the Stop button, and it stops at once.",
    "In the settings (the Set button) choose what Quorvel says by itself: the result, the "
    "expression after each calculation, and every key you press.",
    "Quorvel comes in four styles: Standard, Cartoon, Mini and Detail. Pick one from the style "
    "menu (the Menu button) and start Quorvel again to see it.",
    "The Detail style shows every button at once, the letter keys included, so that function "
    "names and parameters can be typed with the mouse alone.",
    "The Mini style is one slim strip. What it has no button for is on its style menu, and "
    "every keyboard shortcut still works.",
    "Ctrl+C copies the whole box, steps included, when nothing is selected; Ctrl+V pastes "
    "the clipboard at the caret.",
    "Backspace deletes the character before the caret. Tab and Shift+Tab move between the box "
    "and the buttons, and Space or Enter presses the one with the focus.",
    "Press F1 in the calculator window to open the manual. The Help button of each tool "
    "window opens that window's own page.",
    "The Func button opens the function palette: press sin, sqrt or log, type the argument, "
    "and the whole call, such as sin(30), goes in at the caret.",
    "Type pi for the number Pi. The decimal places of the settings decide how much of it is "
    "used: with 2 places, 2pi gives 6.28.",
    "The settings hold the decimal places of results and the integer-digit limit; a result "
    "longer than the limit is shown in E notation, such as 1.5E+12.",
    "The unit converter (Conv) converts length, area, mass, pressure, volume, energy and speed. "
    "Select puts the converted value into your expression.",
    "The converter's Quick check list holds 42 everyday conversions such as Kilometre->Mile: "
    "type a number, choose one, and its factor is put behind your number.",
    "A conversion you need often can be your own: New in the converter keeps it, and the "
    "History page lists it with your recent conversions.",
    "The Batch button calculates every sum written in a text file and writes the results to a "
    "file beside it, ending in .rob.",
    "Batch modes: addresult turns 2+3 into 2+3=5 in the text, replaceresult puts 5 in its "
    "place, and the two filters keep only the calculations.",
    "The exercise generator (Exer) makes random sums and says them aloud; press Enter for the "
    "answer and Enter again for the next sum.",
    "In the exercise generator choose add, minus, time, divide or mix, how many calculations "
    "you want, and the largest number they may use.",
    "The Log button lists every calculation with its date and time, newest first. Talk reads "
    "the selected lines aloud and Copy puts them on the clipboard.",
    "Keep a good calculation: in the log manager select it and press Export to file it in a "
    "catalog of the formula manager.",
    "The formula manager (Form) keeps formulas in six catalogs. Its New window calculates a "
    "formula, takes your description and saves it.",
    "With the tray setting on, Minimize hides Quorvel in the system tray; click the tray icon "
    "to bring it back.",
    "Previous and Next browse these tips. Clear Show tips at start-up and the tip window "
    "stays away next time.",
};

}  // namespace

const std::array<std::string_view, kTipCount>& TipTexts() { return kTips; }

std::string_view TipText(int index) {
    if (index < 0 || index >= kTipCount) return kTips.front();
    return kTips[static_cast<std::size_t>(index)];
}

}  // namespace quorvel
