#pragma once

// The parameter dialog without widgets: the five texts it edits, the check on OK, and the
// round trip through the data file. The file's extra number is not shown and passes through.

#include <array>
#include <string>
#include <string_view>

namespace quorvel {

class Prompter;
class SysDataHolder;
struct CSysData;

// F, K, M, W and the Pi text, in the dialog's order.
inline constexpr std::array<std::string_view, 5> kParameterBoxNames = {"F", "K", "M", "W", "Pi"};
using ParameterTexts = std::array<std::string, 5>;

ParameterTexts ReadParameterTexts(const CSysData& data);
void WriteParameterTexts(const ParameterTexts& texts, CSysData& data);

// The first box that holds no number, or -1. An empty box, a lone "-" or "." would otherwise
// be put into every expression that names the parameter.
int FirstNonNumberBox(const ParameterTexts& texts);

class ParameterForm {
public:
    explicit ParameterForm(SysDataHolder& holder) : m_holder(holder) {}

    // Reads the file again, since another window may have assigned a parameter since, and
    // returns what the boxes show. A damaged file is reported once, as the holder words it.
    ParameterTexts open(Prompter& prompter);
    // OK: refuses a box without a number (naming it, the dialog stays open); otherwise writes
    // the texts back and stores the file, telling the user if the file could not be written.
    bool accept(const ParameterTexts& texts, Prompter& prompter);

private:
    SysDataHolder& m_holder;
};

}  // namespace quorvel
