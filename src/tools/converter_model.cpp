#include "tools/converter_model.h"

#include <array>

#include "calc/exponent_expansion.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "data/sys_data.h"
#include "tools/number_keys.h"
#include "tools/present.h"
#include "tools/unit_converter.h"

namespace quorvel {
namespace {

constexpr std::array kModes = {
    ConverterMode{"Length", "length"},      ConverterMode{"Area", "area"},
    ConverterMode{"Mass", "mass"},          ConverterMode{"Pressure", "press"},
    ConverterMode{"Volume", "volume"},      ConverterMode{"Energy", "energy"},
    ConverterMode{"Speed", "speed"},        ConverterMode{"Quick check", kModeQuickCheck},
    ConverterMode{"History", kModeHistory},
};

bool isListMode(std::string_view mode) { return mode == kModeQuickCheck || mode == kModeHistory; }

}  // namespace

std::span<const ConverterMode> ConverterModes() { return kModes; }

std::optional<std::size_t> ConverterModeIndex(std::string_view mode) {
    const std::string wanted = ToLower(Trim(mode));
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        if (kModes[i].mode == wanted) return i;
    }
    return std::nullopt;
}

ConverterModel::ConverterModel(CSysData& data, Prompter& prompter, ConverterView& view)
    : m_data(data), m_prompter(prompter), m_view(view) {}

CalcSettings ConverterModel::settings() const { return ToCalcSettings(m_data).settings; }

void ConverterModel::open() {
    m_returnMode.clear();
    m_returnValue.clear();
    setMode("length");
}

void ConverterModel::setMode(std::string_view mode) {
    std::string name = ToLower(Trim(mode));
    if (!isListMode(name) && UnitCategoryRows(name).empty()) name = kModeHistory;
    m_mode = std::move(name);
    m_view.showPage(page());
    fill();
}

ConverterPage ConverterModel::page() const {
    return isListMode(m_mode) ? ConverterPage::List : ConverterPage::Units;
}

void ConverterModel::fill() {
    m_listRows.clear();
    m_listSelection.reset();
    if (page() == ConverterPage::List) {
        fillList();
    } else {
        m_view.showListRows(m_listRows);
        fillUnits();
    }
}

void ConverterModel::fillList() {
    const CalcSettings s = settings();
    if (m_mode == kModeHistory) {
        for (const CConverter& record : m_data.conversions) {
            m_listRows.push_back(
                {record.description, DisplayText(record.value, s.places, s.digitsLimit)});
        }
    } else {
        for (const QuickCheckEntry& entry : QuickCheckList()) {
            m_listRows.push_back({std::string(entry.description),
                                  DisplayText(entry.value, s.places, s.digitsLimit)});
        }
    }
    m_view.showListRows(m_listRows);
    m_view.selectListRow(std::nullopt);
}

void ConverterModel::fillUnits() {
    const CalcSettings s = settings();
    m_units.LoadUnitCategory(m_mode);
    m_unitRows.clear();
    for (const UnitRow& row : m_units.rows()) {
        m_unitRows.push_back(
            {std::string(row.name), DisplayText(row.factor, s.places, s.digitsLimit)});
    }
    m_view.showUnitRows(m_unitRows);
    const std::optional<std::size_t> first =
        m_unitRows.empty() ? std::nullopt : std::optional<std::size_t>(0);
    m_input = m_output = first;
    m_view.selectUnitRows(m_input, m_output);
    m_value = m_result = m_resultValue = "1";
    m_resultInput = m_input;
    m_resultOutput = m_output;
    m_view.showValue(m_value);
    m_view.showResult(m_result);
}

std::optional<std::size_t> ConverterModel::recordOfRow(std::size_t row) const {
    // The history lists every record in stored order; quick checks are not records.
    if (m_mode != kModeHistory || row >= m_listRows.size()) return std::nullopt;
    return row;
}

void ConverterModel::valueKeyTyped(char ch, std::string_view textAfter) {
    const ValueKey action = ConvValueKey(ch);
    if (action == ValueKey::Discard) return;
    m_value = textAfter;
    if (action == ValueKey::AcceptAndRecompute) recompute();
}

void ConverterModel::recompute() {
    if (page() != ConverterPage::Units) return;
    if (!m_input || *m_input >= m_units.size()) {
        present(ToolMessageId::SelectInputUnitName, m_prompter);
        return;
    }
    if (!m_output || *m_output >= m_units.size()) {
        present(ToolMessageId::SelectOutputUnitName, m_prompter);
        return;
    }
    const std::optional<std::string> result = ConvertValue(
        m_value, m_units.row(*m_input), m_units.row(*m_output), settings(), m_prompter);
    if (!result) return;
    m_result = *result;
    m_resultValue = m_value;
    m_resultInput = m_input;
    m_resultOutput = m_output;
    m_view.showResult(m_result);
}

bool ConverterModel::resultIsCurrent() const {
    return m_resultValue == m_value && m_resultInput == m_input && m_resultOutput == m_output;
}

void ConverterModel::handBack(std::string value) {
    m_returnValue = std::move(value);
    m_returnMode = kReturnSelect;
    m_view.closeSelected();
}

void ConverterModel::appendHistory(std::string description, std::string value) {
    CConverter record{"", std::move(value), std::move(description), 1};
    std::vector<CConverter>& records = m_data.conversions;
    if (records.size() < kHistoryLimit) {
        records.push_back(std::move(record));
        return;
    }
    // The oldest goes and the new record takes the last place of the kept thirty; records
    // the user added beyond them stay where they are.
    records.erase(records.begin());
    records.insert(records.begin() + (kHistoryLimit - 1), std::move(record));
}

void ConverterModel::select() {
    if (page() == ConverterPage::List) {
        if (!m_listSelection || *m_listSelection >= m_listRows.size()) {
            present(ToolMessageId::SelectItemFromList, m_prompter);
            return;
        }
        handBack(ExpandNumberExponent(Trim(m_listRows[*m_listSelection].value)));
        return;
    }
    if (!m_input || *m_input >= m_units.size()) {
        present(ToolMessageId::SelectInputUnitFirst, m_prompter);
        return;
    }
    if (!m_output || *m_output >= m_units.size()) {
        present(ToolMessageId::SelectOutputUnitFirst, m_prompter);
        return;
    }
    if (!resultIsCurrent()) {
        recompute();
        if (!resultIsCurrent()) return;
    }
    const UnitRow& from = m_units.row(*m_input);
    const UnitRow& to = m_units.row(*m_output);
    std::string returned = ExpandNumberExponent(m_result);
    if (m_data.historyFactor != 0) {
        const std::optional<std::string> factor =
            ConversionFactor(from, to, settings(), m_prompter);
        if (!factor) return;
        appendHistory("1 " + std::string(from.name) + " ->  " + std::string(to.name), *factor);
    } else {
        appendHistory(std::string(Trim(m_value)) + " " + std::string(from.name) + " -> " +
                          std::string(to.name),
                      m_result);
    }
    handBack(std::move(returned));
}

void ConverterModel::doubleClickList() {
    if (!m_listSelection || *m_listSelection >= m_listRows.size()) {
        present(ToolMessageId::SelectListItemFirst, m_prompter);
        return;
    }
    handBack(ExpandNumberExponent(m_listRows[*m_listSelection].value));
}

void ConverterModel::doubleClickHeader() {
    if (m_listSelection && *m_listSelection < m_listRows.size()) doubleClickList();
}

void ConverterModel::newConversion() {
    const std::optional<ConversionFields> fields =
        m_view.askConversion(ConversionFields{m_mode, "", ""}, false);
    if (!fields) return;
    m_data.conversions.push_back(
        CConverter{ToLower(Trim(fields->category)), fields->value, fields->description, 1});
    fill();
}

void ConverterModel::editConversion() {
    if (!m_listSelection || *m_listSelection >= m_listRows.size()) {
        present(ToolMessageId::SelectItemFirst, m_prompter);
        return;
    }
    const std::size_t row = *m_listSelection;
    const std::optional<std::size_t> index = recordOfRow(row);
    ConversionFields initial{m_mode, m_listRows[row].name, m_listRows[row].value};
    // A record is edited as stored, not as its value is shown.
    if (index) initial.value = m_data.conversions[*index].value;
    const std::optional<ConversionFields> fields = m_view.askConversion(initial, true);
    if (!fields) return;
    CConverter record{ToLower(Trim(fields->category)), fields->value, fields->description, 1};
    const std::string category = record.category;
    // A built-in quick check cannot change; editing one keeps the result as a record.
    if (index) {
        m_data.conversions[*index] = std::move(record);
    } else {
        m_data.conversions.push_back(std::move(record));
    }
    setMode(category);
}

void ConverterModel::removeConversion() {
    if (!m_listSelection || *m_listSelection >= m_listRows.size()) {
        present(ToolMessageId::SelectRemovedItemFirst, m_prompter);
        return;
    }
    const std::optional<std::size_t> index = recordOfRow(*m_listSelection);
    if (!index) return;
    m_data.conversions.erase(m_data.conversions.begin() + static_cast<std::ptrdiff_t>(*index));
    fill();
}

}  // namespace quorvel
