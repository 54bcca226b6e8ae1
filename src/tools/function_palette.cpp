#include "tools/function_palette.h"

#include <array>
#include <cassert>

#include "calc/function_table.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/sys_data.h"
#include "tools/number_keys.h"
#include "tools/present.h"

namespace quorvel {
namespace {

struct Row {
    int id;
    std::string_view tooltip;
    int message;
    std::string_view name;
};

// "hyperbolic cosine " keeps its trailing space: it is the tooltip users have always seen.
constexpr Row kRows[] = {
    {106, "sine", 2126, "sin"},
    {107, "inverse sine", 2127, "arcsin"},
    {108, "hyperbolic sine", 1128, "sinh"},
    {110, "cosine", 1130, "cos"},
    {111, "inverse cosine", 2131, "arccos"},
    {112, "hyperbolic cosine ", 1132, "cosh"},
    {114, "tangent", 1134, "tan"},
    {115, "inverse tangent", 2135, "arctan"},
    {116, "hyperbolic tangent", 2136, "tanh"},
    {118, "exponent", 2138, "exp"},
    {119, "natural logarithm", 2139, "ln"},
    {120, "convert the float number into integer", 2140, "int"},
    {121, "absolute value", 2141, "abs"},
    {122, "10 power", 2142, "10^"},
    {123, "logarithm base 10", 2143, "log"},
    {124, "convert the degree into radian", 2144, "rad"},
    {125, "convert the radian into degree", 2145, "deg"},
    {126, "square", 2146, "^2"},
    {127, "the square root of a number", 2147, "sqrt"},
};

constexpr std::string_view kAngleNames[] = {"sin",  "cos",    "tan",    "sinh",  "cosh",
                                            "tanh", "arcsin", "arccos", "arctan"};

std::array<PaletteButton, std::size(kRows)> buildPalette() {
    std::array<PaletteButton, std::size(kRows)> buttons{};
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const Row& row = kRows[i];
        // A function's name is the function table's own, so the two never drift apart.
        const FunctionEntry* function = FindFunction(row.name);
        assert(function != nullptr || row.name == "10^" || row.name == "^2");
        buttons[i] = {row.id, row.tooltip, row.message, function ? function->name : row.name,
                      function == nullptr};
    }
    return buttons;
}

}  // namespace

std::span<const PaletteButton> FunctionPalette() {
    static const auto kButtons = buildPalette();
    return kButtons;
}

const PaletteButton* FindPaletteButton(std::string_view name) {
    for (const PaletteButton& button : FunctionPalette()) {
        if (button.name == name) return &button;
    }
    return nullptr;
}

bool OffersAngleUnit(std::string_view name) {
    for (std::string_view angle : kAngleNames) {
        if (angle == name) return true;
    }
    return false;
}

FunctionArgument::FunctionArgument(std::string_view name, CSysData& data)
    : m_name(ToLower(Trim(name))), m_showsAngleUnit(OffersAngleUnit(m_name)), m_data(data) {}

bool FunctionArgument::radians() const { return m_data.angleUnit == 1; }

void FunctionArgument::setRadians(bool on) { m_data.angleUnit = on ? 1 : 0; }

bool FunctionArgument::accept(std::string_view argument, Prompter& prompter) const {
    if (m_name == "arcsin" || m_name == "arccos") {
        const double value = LeadingNumber(argument);
        if (value > 1.0 || value < -1.0) {
            present(ToolMessageId::ArcRange, prompter);
            return false;
        }
    }
    return true;
}

std::string FunctionArgument::call(std::string_view argument) const {
    return label() + std::string(argument) + ")";
}

}  // namespace quorvel
