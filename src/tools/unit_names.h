#pragma once

// Unit and category names as people type them on a command line: without case, by the
// abbreviation in brackets ("m/s", "kg") or a conventional one ("ft", "mph", "lbs"), in the
// plural ("feet", "kilometres per hour") or with -er for -re ("meter"), by the name before its
// bracket ("foot" for "foot(UK and US)", the first such row in table order) or by a prefix that
// fits one row. The unit table itself stays as it is; these are only other ways to name a row.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct NameMatch {
    std::string name;                     // the row's full name; empty when nothing fits
    bool ambiguous = false;               // a prefix fits several rows
    bool byPrefix = false;                // found only as the start of a row's name
    std::vector<std::string> candidates;  // names close in spelling, for the message
};

NameMatch MatchUnitName(std::string_view category, std::string_view typed);

// The conventional abbreviations known beside the table's own, as (row name, abbreviation).
struct UnitAbbreviation {
    std::string_view row;
    std::string_view abbreviation;
};
std::vector<UnitAbbreviation> ConventionalUnitAbbreviations();
NameMatch MatchCategoryName(std::string_view typed);

// "no unit "x" in length; closest: a, b, c" or "... is ambiguous: a, b".
std::string NameMatchMessage(std::string_view what, std::string_view typed, std::string_view where,
                             const NameMatch& match);

// A line such as "5 feet to m", "2.5 km in mi" or "100 degC -> degF": a number, a unit, "to",
// "in" or "->", and a unit. Nothing when the line is not of that form.
struct ConversionRequest {
    std::string value;
    std::string from;
    std::string to;
};
std::vector<ConversionRequest> ReadConversionLine(std::string_view line);

// The category holding both units, and their rows. A category where both are named outright
// (not only by a prefix) is preferred; then the first in table order.
struct UnitPair {
    std::string category;
    std::string from;
    std::string to;
};
struct UnitPairMatch {
    std::optional<UnitPair> pair;
    std::string message;  // why there is none: an unknown unit, or units of two categories
};
UnitPairMatch MatchUnitPair(std::string_view from, std::string_view to);

}  // namespace quorvel
