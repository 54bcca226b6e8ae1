#include "tools/unit_names.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "calc/text_util.h"
#include "tools/unit_table.h"

namespace quorvel {
namespace {

constexpr std::size_t kCandidates = 3;

// Conventional abbreviations of rows whose names carry none, as a bc, qalc or units user types
// them. Keyed by the row's name; a name that is in several categories (the prefixes) means the
// same in each.
struct Alias {
    std::string_view row;
    std::initializer_list<std::string_view> names;
};
const Alias kAliases[] = {
    // length
    {"metre", {"m"}},
    {"kilometre", {"km"}},
    {"centimetre", {"cm"}},
    {"micrometre", {"um", "\xC2\xB5m"}},
    {"foot(UK and US)", {"ft"}},
    {"inch", {"in"}},
    {"yard", {"yd"}},
    {"mile(international,UK,US)", {"mi"}},
    {"mile(nautical)", {"nmi", "NM", "nautical mile"}},
    {"astronomical unit", {"au", "AU"}},
    {"light year", {"ly", "lightyear"}},
    {"parsec", {"pc"}},
    {"angstroms", {"\xC3\x85"}},
    // area
    {"hectare", {"ha"}},
    {"acre", {"ac"}},
    {"square centimeter", {"cm2", "cm^2", "sq cm"}},
    {"square foot(US,UK)", {"ft2", "ft^2", "sq ft", "sqft"}},
    {"square inch", {"in2", "in^2", "sq in"}},
    {"square jard", {"yd2", "yd^2", "sq yd", "square yard"}},
    {"square kilometer", {"km2", "km^2", "sq km"}},
    {"square mile", {"mi2", "mi^2", "sq mi"}},
    {"square millimeter", {"mm2", "mm^2", "sq mm"}},
    {"square nanometer", {"nm2", "nm^2"}},
    // mass
    {"gram", {"g", "gm"}},
    {"pound", {"lb", "lbs"}},
    {"ounce(avoirdupoi)", {"oz", "ounce"}},
    {"ounce(troy)", {"ozt", "oz t"}},
    {"carat(metric)", {"ct"}},
    {"grain", {"gr"}},
    {"ton(metric)", {"t", "tonne"}},
    // volume
    {"millilitre", {"ml", "mL"}},
    {"centilitre", {"cl", "cL"}},
    {"decilitre", {"dl", "dL"}},
    {"cubic centimetre", {"cm3", "cm^3", "cc"}},
    {"cubic decimetre", {"dm3", "dm^3"}},
    {"cubic metre", {"m3", "m^3"}},
    {"cubic millimetre", {"mm3", "mm^3"}},
    {"cubic foot", {"ft3", "ft^3", "cu ft"}},
    {"cubic inch", {"in3", "in^3", "cu in"}},
    {"cubic yard", {"yd3", "yd^3", "cu yd"}},
    {"barrel(oil)", {"bbl"}},
    // force
    {"dyne", {"dyn"}},
    {"kilogram force", {"kgf"}},
    {"pound force", {"lbf"}},
    {"poundal", {"pdl"}},
    // power
    {"horsepower(electric)", {"hp"}},
    {"horsepower(metric)", {"PS"}},
    {"Btu/hour", {"Btu/h", "BTU/h"}},
    {"joules/second", {"J/s"}},
    // energy
    {"British thermal unit(IT)", {"Btu", "BTU"}},
    {"calorie-cal(IT)", {"cal"}},
    {"kilocalorie(IT)", {"kcal"}},
    {"therms", {"thm"}},
    // time
    {"second", {"s", "sec"}},
    {"millisecond", {"ms"}},
    {"microsecond", {"us", "\xC2\xB5s"}},
    {"nanosecond", {"ns"}},
    {"minute", {"min"}},
    {"hour", {"h", "hr"}},
    {"day(24Hour)", {"d", "day"}},
    {"week(7days)", {"wk", "week"}},
    {"year(365days)", {"yr", "year"}},
    // temperature
    {"Celsius (C)",
     {"C", "degC",
      "\xC2\xB0"
      "C",
      "celsius", "centigrade"}},
    {"Fahrenheit (F)",
     {"F", "degF",
      "\xC2\xB0"
      "F",
      "fahrenheit"}},
    // press
    {"atmosphere", {"atm"}},
    {"millibar", {"mbar", "mb"}},
    {"pound-force/sq.inch", {"psi", "lbf/in2"}},
    {"millimetre of mercury", {"mmHg", "torr"}},
    {"inch of mercury", {"inHg"}},
    {"centimetre of mercury", {"cmHg"}},
    {"inch of water", {"inH2O"}},
    {"millimetre of water", {"mmH2O"}},
    {"meganewton/sq.metre", {"MPa"}},
    {"newton/sq.metre", {"N/m2"}},
    // speed
    {"kilometre/hour", {"km/h", "kph", "kmh", "km/hr"}},
    {"kilometre/second", {"km/s"}},
    {"mile/hour", {"mph", "mi/h"}},
    {"foot/second", {"ft/s", "fps"}},
    {"foot/minute", {"ft/min"}},
    {"centimetre/second", {"cm/s"}},
    {"metre/minute", {"m/min"}},
    {"metre/hour", {"m/h"}},
    {"knot", {"kn", "kt", "kts"}},
    {"Mach number", {"mach", "Ma"}},
};

// The bracketed abbreviations of a row ("litre[l or L]" gives "l" and "L"), then its
// conventional ones.
std::vector<std::string_view> abbreviations(std::string_view name) {
    std::vector<std::string_view> out;
    const auto open = name.find('[');
    const auto close = name.rfind(']');
    if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
        std::string_view inside = name.substr(open + 1, close - open - 1);
        for (std::size_t at = inside.find(" or "); at != std::string_view::npos;
             at = inside.find(" or ")) {
            out.push_back(Trim(inside.substr(0, at)));
            inside.remove_prefix(at + 4);
        }
        out.push_back(Trim(inside));
    }
    for (const Alias& alias : kAliases) {
        if (alias.row == name) out.insert(out.end(), alias.names.begin(), alias.names.end());
    }
    return out;
}

// The name before any bracket: "foot(UK and US)" gives "foot".
std::string_view baseName(std::string_view name) {
    return Trim(name.substr(0, name.find_first_of("([")));
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// One word in the singular, the -re spelling of -er: "feet" and "foot", "inches" and "inch",
// "meters" and "metre" read alike. Short words are abbreviations and stay as they are.
std::string singular(std::string word) {
    if (word == "feet") return "foot";
    if (word.size() > 4 &&
        (word.ends_with("ches") || word.ends_with("shes") || word.ends_with("xes"))) {
        word.resize(word.size() - 2);
    } else if (word.size() > 3 && word.ends_with('s') && !word.ends_with("ss")) {
        word.pop_back();
    }
    if (word.ends_with("meter") || word.ends_with("liter")) {
        word.replace(word.size() - 2, 2, "re");
    }
    return word;
}

// A name as compared once the spelling differences above are set aside: lower case, one
// blank between words, every word singular, "per" as "/".
std::string normalForm(std::string_view text) {
    const std::string lower = ToLower(Trim(text));
    std::string out;
    for (std::size_t i = 0; i < lower.size();) {
        if (isLetter(lower[i])) {
            std::size_t end = i;
            while (end < lower.size() && isLetter(lower[end])) ++end;
            std::string word = singular(lower.substr(i, end - i));
            if (word == "per") {
                while (!out.empty() && out.back() == ' ') out.pop_back();
                out += '/';
                i = end;
                while (i < lower.size() && lower[i] == ' ') ++i;
                continue;
            }
            out += word;
            i = end;
        } else if (lower[i] == ' ') {
            if (!out.empty() && out.back() != ' ') out += ' ';
            ++i;
        } else {
            out += lower[i++];
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// How many edits still count as close in spelling: one for a short word, two for a longer one.
std::size_t closeness(std::string_view typed) { return typed.size() <= 5 ? 1 : 2; }

// The rows a typed name is close to, nearest first (ties in table order). A row is as close as
// its nearest form: the whole name, the part before a bracket or an abbreviation.
std::vector<std::string> closest(const std::vector<std::string_view>& names,
                                 std::string_view typed) {
    const std::string lower = ToLower(Trim(typed));
    const std::string normal = normalForm(typed);
    std::vector<std::pair<std::size_t, std::string_view>> scored;
    for (std::string_view n : names) {
        std::size_t best = std::min(EditDistance(normalForm(n), normal),
                                    EditDistance(normalForm(baseName(n)), normal));
        for (std::string_view a : abbreviations(n)) {
            best = std::min(best, EditDistance(ToLower(a), lower));
        }
        if (best <= closeness(lower)) scored.emplace_back(best, n);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (std::size_t i = 0; i < scored.size() && i < kCandidates; ++i) {
        out.emplace_back(scored[i].second);
    }
    return out;
}

NameMatch match(const std::vector<std::string_view>& names, std::string_view typedText) {
    const std::string_view typed = Trim(typedText);
    const std::string lower = ToLower(typed);
    NameMatch m;
    if (typed.empty()) return m;
    const auto pick = [&m](std::string_view n) {
        m.name = std::string(n);
        return m;
    };
    for (std::string_view n : names) {
        if (ToLower(Trim(n)) == lower) return pick(n);
    }
    // Abbreviations tell kN from KN-less rows by case; without case only when one row fits.
    for (std::string_view n : names) {
        for (std::string_view a : abbreviations(n)) {
            if (a == typed) return pick(n);
        }
    }
    std::vector<std::string_view> fits;
    for (std::string_view n : names) {
        for (std::string_view a : abbreviations(n)) {
            if (ToLower(a) == lower && std::find(fits.begin(), fits.end(), n) == fits.end())
                fits.push_back(n);
        }
    }
    if (fits.size() == 1) return pick(fits.front());
    // Plurals and spellings: the whole name, then the part before a bracket, where table order
    // puts the common unit first among rows of one base name.
    const std::string normal = normalForm(typed);
    for (std::string_view n : names) {
        if (normalForm(n) == normal) return pick(n);
    }
    for (std::string_view n : names) {
        if (normalForm(baseName(n)) == normal) return pick(n);
    }
    for (std::string_view n : names) {
        for (std::string_view a : abbreviations(n)) {
            if (a.size() > 3 && normalForm(a) == normal) return pick(n);
        }
    }
    fits.clear();
    for (std::string_view n : names) {
        if (ToLower(n).starts_with(lower) || normalForm(n).starts_with(normal)) fits.push_back(n);
    }
    if (fits.size() == 1) {
        m.byPrefix = true;
        return pick(fits.front());
    }
    if (fits.size() > 1) {
        m.ambiguous = true;
        for (std::string_view n : fits) m.candidates.emplace_back(n);
        return m;
    }
    m.candidates = closest(names, typed);
    return m;
}

bool isNumberStart(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// The unit text of a conversion line: it begins as a unit name or symbol does.
bool looksLikeUnit(std::string_view text) {
    if (text.empty()) return false;
    const unsigned char first = static_cast<unsigned char>(text.front());
    return isLetter(text.front()) || first >= 0x80;
}

}  // namespace

NameMatch MatchUnitName(std::string_view category, std::string_view typed) {
    std::vector<std::string_view> names;
    for (const UnitRow& row : UnitCategoryRows(category)) names.push_back(row.name);
    return match(names, typed);
}

std::vector<UnitAbbreviation> ConventionalUnitAbbreviations() {
    std::vector<UnitAbbreviation> out;
    for (const Alias& alias : kAliases) {
        for (std::string_view name : alias.names) out.push_back({alias.row, name});
    }
    return out;
}

NameMatch MatchCategoryName(std::string_view typed) {
    const auto categories = UnitCategoryNames();
    return match({categories.begin(), categories.end()}, typed);
}

std::string NameMatchMessage(std::string_view what, std::string_view typed, std::string_view where,
                             const NameMatch& match) {
    std::string text = std::string(what) + " \"" + std::string(Trim(typed)) + "\"";
    text += match.ambiguous ? " is ambiguous" : " is not known";
    if (!where.empty()) text += " in " + std::string(where);
    if (!match.candidates.empty()) {
        text += match.ambiguous ? ": it may be " : "; closest: ";
        for (std::size_t i = 0; i < match.candidates.size(); ++i) {
            if (i > 0) text += ", ";
            text += match.candidates[i];
        }
    } else if (!match.ambiguous && what == "unit" && !where.empty()) {
        text += " (quorvel-calc --units " + std::string(where) + " lists them)";
    }
    return text;
}

std::vector<ConversionRequest> ReadConversionLine(std::string_view line) {
    std::vector<ConversionRequest> out;
    // Most lines are sums: they are passed over at the first character after their first
    // number, before anything is trimmed or copied.
    std::string_view text = line;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    // The value: a number with an optional sign and exponent.
    std::size_t end = 0;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
    const std::size_t digits = end;
    while (end < text.size() && (isNumberStart(text[end]))) ++end;
    if (end == digits) return out;
    if (end + 1 < text.size() && (text[end] == 'e' || text[end] == 'E') &&
        (isNumberStart(text[end + 1]) || text[end + 1] == '-' || text[end + 1] == '+')) {
        std::size_t exponent = end + 1;
        if (text[exponent] == '-' || text[exponent] == '+') ++exponent;
        const std::size_t start = exponent;
        while (exponent < text.size() && text[exponent] >= '0' && text[exponent] <= '9') ++exponent;
        if (exponent > start) end = exponent;
    }
    std::size_t unit = end;
    while (unit < text.size() && (text[unit] == ' ' || text[unit] == '\t')) ++unit;
    if (!looksLikeUnit(text.substr(unit))) return out;
    const std::string value(text.substr(0, end));
    const std::string_view rest = Trim(text.substr(unit));
    const std::string lower = ToLower(rest);
    // "to" and "->" first, since "in" is also a unit: "5 in to cm", "5 ft in in".
    for (std::string_view separator : {" to ", " -> ", "->", " in "}) {
        for (std::size_t at = lower.find(separator); at != std::string::npos;
             at = lower.find(separator, at + 1)) {
            const std::string_view from = Trim(rest.substr(0, at));
            const std::string_view to = Trim(rest.substr(at + separator.size()));
            if (looksLikeUnit(from) && looksLikeUnit(to)) {
                out.push_back({value, std::string(from), std::string(to)});
            }
        }
    }
    return out;
}

UnitPairMatch MatchUnitPair(std::string_view from, std::string_view to) {
    UnitPairMatch result;
    std::optional<UnitPair> loose;
    std::string firstKnown;  // a category that knows `from`
    std::string toKnown;     // one that knows `to`
    for (std::string_view category : UnitCategoryNames()) {
        const NameMatch a = MatchUnitName(category, from);
        const NameMatch b = MatchUnitName(category, to);
        if (!a.name.empty() && firstKnown.empty()) firstKnown = category;
        if (!b.name.empty() && toKnown.empty()) toKnown = category;
        if (a.name.empty() || b.name.empty()) continue;
        UnitPair pair{std::string(category), a.name, b.name};
        if (!a.byPrefix && !b.byPrefix) {
            result.pair = std::move(pair);
            return result;
        }
        if (!loose) loose = std::move(pair);
    }
    if (loose) {
        result.pair = std::move(loose);
        return result;
    }
    // Say what is wrong where the user most likely meant it.
    if (!firstKnown.empty() && !toKnown.empty()) {
        result.message = "\"" + std::string(Trim(from)) + "\" is a unit of " + firstKnown +
                         " and \"" + std::string(Trim(to)) + "\" one of " + toKnown +
                         "; a unit converts only within its category";
    } else if (!firstKnown.empty()) {
        result.message = NameMatchMessage("unit", to, firstKnown, MatchUnitName(firstKnown, to));
    } else if (!toKnown.empty()) {
        result.message = NameMatchMessage("unit", from, toKnown, MatchUnitName(toKnown, from));
    } else {
        result.message = "\"" + std::string(Trim(from)) + "\" and \"" + std::string(Trim(to)) +
                         "\" are not units quorvel-calc knows";
    }
    return result;
}

}  // namespace quorvel
