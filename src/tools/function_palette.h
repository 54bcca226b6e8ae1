#pragma once

// The function palette and its argument dialog, without widgets. A palette button either puts
// a fixed text at the caret ("10^", "^2") or names a function whose argument the argument
// dialog asks for; the main window then inserts name, "(", argument and ")".

#include <span>
#include <string>
#include <string_view>

namespace quorvel {

class Prompter;
struct CSysData;

struct PaletteButton {
    int id;
    std::string_view tooltip;
    int message;            // what the palette sends the main window
    std::string_view name;  // the function table's name, or the text inserted directly
    bool insertedDirectly;  // "10^" and "^2" need no argument
};

// The nineteen buttons in palette order; every function of the function table once.
std::span<const PaletteButton> FunctionPalette();

// The button that sends `name` ("sin", "^2"), or nullptr.
const PaletteButton* FindPaletteButton(std::string_view name);

// The palette's close button says what a log window's button says, but closes the palette.
inline constexpr std::string_view kPaletteCloseTooltip = "Clear the log information";
inline constexpr std::string_view kPaletteCloseName = "Close";

// True for the nine names whose argument dialog offers the angle unit.
bool OffersAngleUnit(std::string_view name);

// The argument dialog of one function: it changes the shared angle-unit setting directly.
class FunctionArgument {
public:
    // `name` is lower-cased and trimmed.
    FunctionArgument(std::string_view name, CSysData& data);

    const std::string& name() const { return m_name; }
    std::string label() const { return m_name + "("; }
    bool showsAngleUnit() const { return m_showsAngleUnit; }

    bool radians() const;
    void setRadians(bool on);

    // OK with the argument box's text: false after telling the user why the dialog stays open.
    bool accept(std::string_view argument, Prompter& prompter) const;
    // What the main window inserts at the caret: "sin(30)", "ln()".
    std::string call(std::string_view argument) const;

private:
    std::string m_name;
    bool m_showsAngleUnit;
    CSysData& m_data;
};

}  // namespace quorvel
