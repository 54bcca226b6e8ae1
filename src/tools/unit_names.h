#pragma once

// Unit and category names as people type them on a command line: without case, by the
// abbreviation in brackets ("m/s", "kg"), by the name before its bracket ("foot" for
// "foot(UK and US)", the first such row in table order) or by a prefix that fits one row.

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct NameMatch {
    std::string name;                     // the row's full name; empty when nothing fits
    bool ambiguous = false;               // a prefix fits several rows
    std::vector<std::string> candidates;  // the closest names, for the message
};

NameMatch MatchUnitName(std::string_view category, std::string_view typed);
NameMatch MatchCategoryName(std::string_view typed);

// "no unit "x" in length; closest: a, b, c" or "... is ambiguous: a, b".
std::string NameMatchMessage(std::string_view what, std::string_view typed, std::string_view where,
                             const NameMatch& match);

}  // namespace quorvel
