#include "tools/unit_names.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "calc/text_util.h"
#include "tools/unit_table.h"

namespace quorvel {
namespace {

constexpr std::size_t kCandidates = 3;

// The bracketed abbreviations of a row: "litre[l or L]" gives "l" and "L".
std::vector<std::string_view> abbreviations(std::string_view name) {
    std::vector<std::string_view> out;
    const auto open = name.find('[');
    const auto close = name.rfind(']');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return out;
    std::string_view inside = name.substr(open + 1, close - open - 1);
    for (std::size_t at = inside.find(" or "); at != std::string_view::npos;
         at = inside.find(" or ")) {
        out.push_back(Trim(inside.substr(0, at)));
        inside.remove_prefix(at + 4);
    }
    out.push_back(Trim(inside));
    return out;
}

// The name before any bracket: "foot(UK and US)" gives "foot".
std::string_view baseName(std::string_view name) {
    return Trim(name.substr(0, name.find_first_of("([")));
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string> closest(const std::vector<std::string_view>& names,
                                 std::string_view typed) {
    std::vector<std::pair<std::size_t, std::string_view>> scored;
    for (std::string_view n : names) {
        // A name is as close as its nearest form: the whole of it or the part before a bracket.
        const std::string lower = ToLower(n);
        const std::size_t whole = editDistance(lower, typed);
        const std::size_t base = editDistance(ToLower(baseName(n)), typed);
        scored.emplace_back(std::min(whole, base), n);
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
            if (ToLower(a) == lower) fits.push_back(n);
        }
    }
    if (fits.size() == 1) return pick(fits.front());
    // Table order puts the common unit first among rows of one base name.
    for (std::string_view n : names) {
        if (ToLower(baseName(n)) == lower) return pick(n);
    }
    fits.clear();
    for (std::string_view n : names) {
        if (ToLower(n).starts_with(lower)) fits.push_back(n);
    }
    if (fits.size() == 1) return pick(fits.front());
    if (fits.size() > 1) {
        m.ambiguous = true;
        for (std::string_view n : fits) m.candidates.emplace_back(n);
        return m;
    }
    m.candidates = closest(names, lower);
    return m;
}

}  // namespace

NameMatch MatchUnitName(std::string_view category, std::string_view typed) {
    std::vector<std::string_view> names;
    for (const UnitRow& row : UnitCategoryRows(category)) names.push_back(row.name);
    return match(names, typed);
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
    }
    return text;
}

}  // namespace quorvel
