#pragma once

// The unit converter window without its widgets. It has three kinds of page (modes): a unit
// category, with an input and an output list of the same units, a value box and a live
// result; the 42 quick checks; and the history of conversion records kept in the data file.
// Whatever the page, the window exists to hand one value back to the main input: select()
// sets the return value and asks the view to close. Every list row of the history is tied to
// the index of the record it shows, so Edit and Remove change exactly that record.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"
#include "tools/prompter.h"
#include "tools/unit_table.h"

namespace quorvel {

struct CSysData;

inline constexpr std::string_view kModeQuickCheck = "quickcheck";
inline constexpr std::string_view kModeHistory = "history";
inline constexpr std::string_view kReturnSelect = "select";
// Select keeps at most this many records in the history.
inline constexpr std::size_t kHistoryLimit = 30;

// A mode as the user picks it: a category button, or an entry of the companion dialog's
// category box.
struct ConverterMode {
    std::string_view caption;
    std::string_view mode;
};

// The seven unit categories with a button, then the two list modes, in button order.
std::span<const ConverterMode> ConverterModes();
// The entry of ConverterModes() for `mode` (trimmed, without case), if it has one.
std::optional<std::size_t> ConverterModeIndex(std::string_view mode);

enum class ConverterPage { Units, List };

// One row of a list: a unit name and its factor, or a description and its value, as shown.
struct ConverterRow {
    std::string name;
    std::string value;
    bool operator==(const ConverterRow&) const = default;
};

// The companion dialog's three texts. `category` is a mode name, not a caption.
struct ConversionFields {
    std::string category;
    std::string description;
    std::string value;
    bool operator==(const ConversionFields&) const = default;
};

class ConverterView {
public:
    virtual ~ConverterView() = default;
    virtual void showPage(ConverterPage page) = 0;
    // Both unit lists show the same rows.
    virtual void showUnitRows(const std::vector<ConverterRow>& rows) = 0;
    virtual void showListRows(const std::vector<ConverterRow>& rows) = 0;
    // Selections the model makes; nothing clears.
    virtual void selectUnitRows(std::optional<std::size_t> input,
                                std::optional<std::size_t> output) = 0;
    virtual void selectListRow(std::optional<std::size_t> row) = 0;
    virtual void showValue(const std::string& text) = 0;
    virtual void showResult(const std::string& text) = 0;
    // Runs the companion dialog; nothing when the user cancels.
    virtual std::optional<ConversionFields> askConversion(const ConversionFields& initial,
                                                          bool editing) = 0;
    // The user chose a value: close as confirmed.
    virtual void closeSelected() = 0;
};

class ConverterModel {
public:
    // `data` supplies the records, which are changed in place (the owner stores the file),
    // the decimal places, the integer-digits limit and the history-factor switch.
    ConverterModel(CSysData& data, Prompter& prompter, ConverterView& view);

    // The first page: "length".
    void open();
    // A unit category shows its units; "quickcheck" and "history" their lists. Any other
    // name shows the history, where every record is listed.
    void setMode(std::string_view mode);
    const std::string& mode() const { return m_mode; }
    ConverterPage page() const;

    // What the user did to the view.
    void setInputSelection(std::optional<std::size_t> row) { m_input = row; }
    void setOutputSelection(std::optional<std::size_t> row) { m_output = row; }
    void setListSelection(std::optional<std::size_t> row) { m_listSelection = row; }
    void setValueText(std::string_view text) { m_value = text; }

    // The value box saw `ch` (kBackspace for Backspace) and now holds `textAfter`; converts
    // at once for a digit only.
    void valueKeyTyped(char ch, std::string_view textAfter);
    // Converts the value box into the result box, or tells the user what is missing.
    void recompute();
    void select();
    void doubleClickList();
    // A double click on a column header hands back the selected row, if there is one.
    void doubleClickHeader();
    void newConversion();
    void editConversion();
    void removeConversion();

    const std::string& returnMode() const { return m_returnMode; }
    const std::string& returnValue() const { return m_returnValue; }

    const std::string& valueText() const { return m_value; }
    const std::string& resultText() const { return m_result; }
    const std::vector<ConverterRow>& unitRows() const { return m_unitRows; }
    const std::vector<ConverterRow>& listRows() const { return m_listRows; }
    std::optional<std::size_t> listSelection() const { return m_listSelection; }
    // The stored record list row `row` shows; nothing for a built-in quick check.
    std::optional<std::size_t> recordOfRow(std::size_t row) const;

private:
    CalcSettings settings() const;
    void fill();
    void fillUnits();
    void fillList();
    bool resultIsCurrent() const;
    void selectListRow();
    void handBack(std::string value);
    void appendHistory(std::string description, std::string value);

    CSysData& m_data;
    Prompter& m_prompter;
    ConverterView& m_view;
    std::string m_mode;
    UnitRows m_units;
    std::vector<ConverterRow> m_unitRows;
    std::vector<ConverterRow> m_listRows;
    std::optional<std::size_t> m_input;
    std::optional<std::size_t> m_output;
    std::optional<std::size_t> m_listSelection;
    std::string m_value;
    std::string m_result;
    // What the result box was computed from; Select converts again when any differs, so a
    // record never pairs a value with the result of another.
    std::string m_resultValue;
    std::optional<std::size_t> m_resultInput;
    std::optional<std::size_t> m_resultOutput;
    std::string m_returnMode;
    std::string m_returnValue;
};

}  // namespace quorvel
