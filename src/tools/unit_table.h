#pragma once

// The converter's built-in knowledge: thirteen unit categories, each an ordered list of units
// with the size of one unit in the category's reference unit, and the 42 quick-check entries.
// Every text here is constant data with static storage, so the views never dangle.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace quorvel {

struct UnitRow {
    std::string_view name;    // as shown to the user, "foot(US survey)"
    std::string_view factor;  // an expression the engine accepts, "1/3.6"; in x for temperature
};

struct QuickCheckEntry {
    std::string_view description;  // "Kilometre->Mile"
    std::string_view value;        // inserted behind a number in the main input, not a factor
};

// The thirteen names in the order they are matched.
std::span<const std::string_view> UnitCategoryNames();

// The rows of a category; the name is trimmed and lower-cased first, an unknown name has none.
std::span<const UnitRow> UnitCategoryRows(std::string_view category);

std::span<const QuickCheckEntry> QuickCheckList();

// The rows of one category at a time, addressed by position as the converter's two unit
// lists show them.
class UnitRows {
public:
    // Replaces the rows; an unknown or empty name leaves none.
    void LoadUnitCategory(std::string_view category);

    std::size_t size() const { return m_rows.size(); }
    bool empty() const { return m_rows.empty(); }
    // Throws std::out_of_range past the end.
    const UnitRow& row(std::size_t position) const;
    std::span<const UnitRow> rows() const { return m_rows; }

    // The position of the row named `name`, trimmed and compared without case.
    std::optional<std::size_t> find(std::string_view name) const;

private:
    std::span<const UnitRow> m_rows;
};

}  // namespace quorvel
