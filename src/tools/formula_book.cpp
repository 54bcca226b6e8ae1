#include "tools/formula_book.h"

#include "calc/calculate.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "data/sys_data_holder.h"
#include "tools/present.h"

namespace quorvel {
namespace {

void addTable(std::vector<CFormula>& out, std::string_view catalog, auto&& text) {
    for (int i = 1; i <= 9; ++i) {
        for (int j = i; j <= 9; ++j) {
            out.push_back({std::string(catalog), text(i, j), std::string(kDemoDescription)});
        }
    }
}

std::string str(int n) { return std::to_string(n); }

}  // namespace

bool SameCatalog(std::string_view a, std::string_view b) { return ToLower(a) == ToLower(b); }

std::vector<CFormula> DemonstrationFormulas() {
    std::vector<CFormula> out;
    out.reserve(180);
    addTable(out, "add", [](int i, int j) { return str(i) + "+" + str(j) + "=" + str(i + j); });
    addTable(out, "time", [](int i, int j) { return str(i) + "*" + str(j) + "=" + str(i * j); });
    addTable(out, "minus", [](int i, int j) { return str(i + j) + "-" + str(i) + "=" + str(j); });
    addTable(out, "divide", [](int i, int j) { return str(i * j) + "/" + str(i) + "=" + str(j); });
    return out;
}

bool AddDemonstrationFormulas(std::vector<CFormula>& formulas) {
    if (!formulas.empty()) return false;
    formulas = DemonstrationFormulas();
    return true;
}

FormulaBook::FormulaBook(SysDataHolder& holder, Speaker& speaker, Prompter& prompter)
    : ManagerList(speaker, prompter), m_holder(holder), m_catalog(kCatalogs[0]) {
    AddDemonstrationFormulas(m_holder.data().formulas);
    refill();
}

void FormulaBook::setCatalog(std::string_view catalog) {
    m_catalog = std::string(catalog);
    refill();
}

std::string FormulaBook::columnHeading() const { return "Formula for " + m_catalog; }

void FormulaBook::refill() {
    m_records.clear();
    const std::vector<CFormula>& formulas = m_holder.data().formulas;
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        if (SameCatalog(formulas[i].catalog, m_catalog)) m_records.push_back(i);
    }
}

ListCells FormulaBook::cells(std::size_t row) const {
    const CFormula& f = m_holder.data().formulas.at(recordOf(row));
    return {f.formula, f.description};
}

ToolMessageId FormulaBook::emptyListMessage() const { return ToolMessageId::SelectFirst; }

void FormulaBook::removeRecords(const std::vector<std::size_t>& records) {
    std::vector<CFormula>& formulas = m_holder.data().formulas;
    std::vector<bool> doomed(formulas.size(), false);
    for (std::size_t r : records) doomed[r] = true;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < formulas.size(); ++i) {
        if (doomed[i]) continue;
        if (kept != i) formulas[kept] = std::move(formulas[i]);
        ++kept;
    }
    formulas.resize(kept);
    refill();
}

void FormulaBook::removeSelected(const std::vector<std::size_t>& rows) {
    std::vector<std::size_t> records;
    for (std::size_t row : normalised(rows)) records.push_back(recordOf(row));
    if (!records.empty()) removeRecords(records);
}

void FormulaBook::clearCatalog() { removeRecords(m_records); }

int CatalogEntryIndex(const std::vector<std::string>& entries, std::string_view catalog) {
    if (entries.empty()) return -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (SameCatalog(entries[i], catalog)) return static_cast<int>(i);
    }
    return 0;
}

std::optional<std::string> CalculateFormula(std::string_view text, const CSysData& data,
                                            Prompter& prompter) {
    const std::string_view expression = Trim(Trim(text).substr(0, Trim(text).find('=')));
    if (expression.empty()) return std::nullopt;
    // A formula stands for itself: no earlier result of the calculator enters it.
    const RecentResults noRecent = {"0", "0", "0", "0", "0"};
    const CalcOutcome outcome =
        CalculateExpression(expression, noRecent, ToCalcSettings(data).settings);
    present(outcome, prompter);
    if (!outcome.ok) return std::nullopt;
    return std::string(expression) + "=" + outcome.result;
}

bool SaveFormula(SysDataHolder& holder, Prompter& prompter, std::string_view catalog,
                 std::string_view expression, std::string_view description) {
    const std::string_view trimmed = Trim(expression);
    if (trimmed.empty()) {
        present(ToolMessageId::InputAndCalculate, prompter);
        return false;
    }
    holder.data().formulas.push_back(
        {std::string(catalog), std::string(trimmed), std::string(description)});
    if (!StoreOrTell(holder, prompter)) return false;
    present(ToolMessageId::FormulaSaved, prompter);
    return true;
}

bool ExportFormula(SysDataHolder& holder, Prompter& prompter,
                   const std::optional<std::string>& catalog, std::string_view formula,
                   std::string_view description) {
    if (!catalog) {
        present(ToolMessageId::SelectCatalogFirst, prompter);
        return false;
    }
    holder.data().formulas.push_back(
        {ToLower(*catalog), std::string(formula), std::string(description)});
    if (!StoreOrTell(holder, prompter)) return false;
    present(ToolMessageId::FormulaExported, prompter);
    return true;
}

}  // namespace quorvel
