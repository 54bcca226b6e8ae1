#pragma once

// The formula manager without its dialogs: six catalogs of formulas kept in the data file,
// the demonstration formulas a first opening brings, and the rules of the new-formula and
// export dialogs. A catalog is matched without regard to case everywhere (listing, removal,
// clearing), so a row always stands for the record it shows.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/formula.h"
#include "tools/list_manager.h"

namespace quorvel {

struct CSysData;
class SysDataHolder;

// In the order of the catalog buttons.
inline constexpr std::array<std::string_view, 6> kCatalogs = {"add",    "minus",    "time",
                                                              "divide", "function", "other"};
inline constexpr std::string_view kDemoDescription = "Demo";

bool SameCatalog(std::string_view a, std::string_view b);

// add, time, minus, divide: 45 each, every pair 1 <= i <= j <= 9.
std::vector<CFormula> DemonstrationFormulas();
// Only into a list with no formula at all. True when added.
bool AddDemonstrationFormulas(std::vector<CFormula>& formulas);

class FormulaBook final : public ManagerList {
public:
    // Brings the demonstration formulas into an empty list (not stored) and shows "add".
    FormulaBook(SysDataHolder& holder, Speaker& speaker, Prompter& prompter);

    const std::string& catalog() const { return m_catalog; }
    void setCatalog(std::string_view catalog);
    // "Formula for add".
    std::string columnHeading() const;
    // Reads the rows again, after another dialog added formulas.
    void refill();

    std::size_t rowCount() const override { return m_records.size(); }
    // Formula and description.
    ListCells cells(std::size_t row) const override;
    // The index in the stored list of the record a row shows.
    std::size_t recordOf(std::size_t row) const { return m_records.at(row); }

    // No question, and the file is written by the next store.
    void removeSelected(const std::vector<std::size_t>& rows);
    void clearCatalog();

protected:
    std::string spokenText(std::size_t row) const override { return cells(row).first; }
    ToolMessageId emptyListMessage() const override;

private:
    void removeRecords(const std::vector<std::size_t>& records);

    SysDataHolder& m_holder;
    std::string m_catalog;
    std::vector<std::size_t> m_records;  // row -> stored record
};

// The entry of a catalog box to select for `catalog`: the first whose lower-cased text is the
// catalog's, or the first entry; -1 for an empty box.
int CatalogEntryIndex(const std::vector<std::string>& entries, std::string_view catalog);

// Calculate in the new-formula dialog: the box text (up to an "=" of a calculation already
// shown) calculated with the data's settings, as the whole calculation "3+4=7". Nothing when
// the text is empty or the calculation failed (the user was told why).
std::optional<std::string> CalculateFormula(std::string_view text, const CSysData& data,
                                            Prompter& prompter);

// Save in the new-formula dialog: the catalog as shown in its box, the trimmed expression.
// Stores the file at once. True when saved.
bool SaveFormula(SysDataHolder& holder, Prompter& prompter, std::string_view catalog,
                 std::string_view expression, std::string_view description);

// Export from the log: `catalog` is the chosen entry, nothing when none is chosen; stored
// lower-cased. Stores the file at once. True when exported.
bool ExportFormula(SysDataHolder& holder, Prompter& prompter,
                   const std::optional<std::string>& catalog, std::string_view formula,
                   std::string_view description);

}  // namespace quorvel
