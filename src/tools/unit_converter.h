#pragma once

// The converter's rules without its dialog. A conversion is never computed here: it is
// written as an expression, value*(A)/(B) from the two factor texts, and reduced by the
// engine, then formatted as the calculator formats a result.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calc_settings.h"
#include "tools/prompter.h"
#include "tools/tool_messages.h"
#include "tools/unit_table.h"

namespace quorvel {

// Digits computed beyond the shown places. A factor such as 1/3.6 is cut inside its bracket;
// the cut must stay below the last shown place, so 36 km/h shows 10, not 9.99...97.
inline constexpr int kGuardDigits = 10;

// `value` (trimmed; an exponent is expanded) of unit `from` in unit `to`, rounded to
// settings.places and in E form beyond settings.digitsLimit. Temperature rows evaluate the
// source row's formula in x. Nothing, after telling the user why, when the value is empty or
// no number, or the engine fails.
std::optional<std::string> ConvertValue(std::string_view value, const UnitRow& from,
                                        const UnitRow& to, const CalcSettings& settings,
                                        Prompter& prompter);

// The size of one `from` unit in `to` units, rounded to settings.places, in plain digits (it
// is handed back into an expression). Two different temperature rows have no factor.
std::optional<std::string> ConversionFactor(const UnitRow& from, const UnitRow& to,
                                            const CalcSettings& settings, Prompter& prompter);

// A factor or value as the converter's lists show it: exponents expanded, then a number in E
// form beyond the limits; an expression such as "1/3600" or "*1.8+32" is shown as written.
std::string DisplayText(std::string_view text, int places, int digitsLimit);

struct InsertOutcome {
    std::string text;                             // the input text after the insertion
    std::size_t caret = 0;                        // just after the inserted text
    ToolMessageId message = ToolMessageId::None;  // when set: show it, the input unchanged
};

// Puts a value handed back by the converter into the main input at the caret (a caret past
// the end, std::string_view::npos included, means the end). `input` is the box text after a
// shown result was cleared; the rule reads it trimmed. A value with "x" stands behind the
// number typed (its first character is dropped); otherwise a "*" joins the value to what
// stands before the caret unless that is an operator or "(", or the value brings its own "*".
InsertOutcome InsertConvertedValue(std::string_view input, std::size_t caret,
                                   std::string_view value);

// quorvel-calc --units CATEGORY: one "name<TAB>factor\n" line per row, in table order; empty
// for an unknown category.
std::string UnitListing(std::string_view category);

// quorvel-calc --convert CATEGORY VALUE FROM TO: unit names are trimmed and compared without
// case. Nothing, after telling the user why, as ConvertValue, or when a name is not a row of
// the category.
std::optional<std::string> ConvertNamedUnits(std::string_view category, std::string_view value,
                                             std::string_view from, std::string_view to,
                                             const CalcSettings& settings, Prompter& prompter);

}  // namespace quorvel
