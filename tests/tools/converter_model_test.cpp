#include "tools/converter_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "calc/messages.h"
#include "data/sys_data.h"
#include "support/recording_prompter.h"
#include "tools/number_keys.h"
#include "tools/tool_messages.h"
#include "tools/unit_converter.h"

namespace quorvel {

// Read by gtest through argument-dependent lookup.
void PrintTo(const ConverterRow& row, std::ostream* os) {
    *os << '"' << row.name << "\" | \"" << row.value << '"';
}

namespace {

using testing::RecordingPrompter;

// Plays the dialog: keeps what the model shows and answers the companion dialog.
class FakeView : public ConverterView {
public:
    void showPage(ConverterPage p) override { page = p; }
    void showUnitRows(const std::vector<ConverterRow>& rows) override { unitRows = rows; }
    void showListRows(const std::vector<ConverterRow>& rows) override { listRows = rows; }
    void selectUnitRows(std::optional<std::size_t> in, std::optional<std::size_t> out) override {
        input = in;
        output = out;
    }
    void selectListRow(std::optional<std::size_t> row) override { listRow = row; }
    void showValue(const std::string& text) override { value = text; }
    void showResult(const std::string& text) override { result = text; }
    std::optional<ConversionFields> askConversion(const ConversionFields& initial,
                                                  bool editing) override {
        asked.push_back(initial);
        askedEditing = editing;
        return answer;
    }
    void closeSelected() override { ++closes; }

    std::optional<ConverterPage> page;
    std::vector<ConverterRow> unitRows;
    std::vector<ConverterRow> listRows;
    std::optional<std::size_t> input;
    std::optional<std::size_t> output;
    std::optional<std::size_t> listRow;
    std::string value;
    std::string result;
    std::vector<ConversionFields> asked;
    bool askedEditing = false;
    std::optional<ConversionFields> answer;
    int closes = 0;
};

CConverter record(std::string category, std::string description, std::string value) {
    return CConverter{std::move(category), std::move(value), std::move(description), 1};
}

struct Converter {
    Converter() { model.open(); }

    std::size_t unit(std::string_view name) const {
        const auto& rows = model.unitRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].name == name) return i;
        }
        throw std::invalid_argument(std::string(name));
    }
    std::size_t listRow(std::string_view name) const {
        const auto& rows = model.listRows();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].name == name) return i;
        }
        throw std::invalid_argument(std::string(name));
    }
    void chooseUnits(std::string_view from, std::string_view to) {
        model.setInputSelection(unit(from));
        model.setOutputSelection(unit(to));
    }
    // Types into a value box whose caret is at the end.
    void type(std::string_view keys) {
        std::string text = model.valueText();
        for (char key : keys) {
            if (ConvValueKey(key) == ValueKey::Discard) continue;
            if (key == kBackspace) {
                if (!text.empty()) text.pop_back();
            } else {
                text += key;
            }
            model.valueKeyTyped(key, text);
        }
    }
    std::vector<std::string> descriptions() const {
        std::vector<std::string> out;
        for (const CConverter& r : data.conversions) out.push_back(r.description);
        return out;
    }

    CSysData data;
    RecordingPrompter prompter;
    FakeView view;
    ConverterModel model{data, prompter, view};
};

TEST(ConverterModel, OpensOnLengthWithTheFirstUnitInBothListsAndOne) {
    Converter c;
    EXPECT_EQ(c.model.mode(), "length");
    EXPECT_EQ(c.view.page, ConverterPage::Units);
    ASSERT_EQ(c.view.unitRows.size(), 30u);
    EXPECT_EQ(c.view.unitRows[0], (ConverterRow{"angstroms", "0.0000000001"}));
    EXPECT_EQ(c.view.unitRows[8], (ConverterRow{"foot(UK and US)", "0.3048"}));
    EXPECT_EQ(c.view.input, 0u);
    EXPECT_EQ(c.view.output, 0u);
    EXPECT_EQ(c.view.value, "1");
    EXPECT_EQ(c.view.result, "1");
    EXPECT_TRUE(c.view.listRows.empty());
    EXPECT_EQ(c.model.returnMode(), "");
    EXPECT_EQ(c.prompter.only(), "");
}

TEST(ConverterModel, ModesChoosePageAndRows) {
    struct Case {
        const char* mode;
        const char* shown;  // the mode the model settles on
        ConverterPage page;
        std::size_t rows;
        const char* first;
    };
    constexpr Case kCases[] = {
        {"length", "length", ConverterPage::Units, 30, "angstroms"},
        {"area", "area", ConverterPage::Units, 14, "acre"},
        {"mass", "mass", ConverterPage::Units, 12, "carat(metric)"},
        {"press", "press", ConverterPage::Units, 31, "atmosphere"},
        {"volume", "volume", ConverterPage::Units, 26, "barrel(oil)"},
        {"energy", "energy", ConverterPage::Units, 26, "British thermal unit(IT)"},
        {"speed", "speed", ConverterPage::Units, 20, "centimetre/minute"},
        {"  MASS ", "mass", ConverterPage::Units, 12, "carat(metric)"},
        {"temperature", "temperature", ConverterPage::Units, 2, "Celsius (C)"},
        {"quickcheck", "quickcheck", ConverterPage::List, 42, "Acre->Square Meter"},
        {"QuickCheck", "quickcheck", ConverterPage::List, 42, "Acre->Square Meter"},
        {"history", "history", ConverterPage::List, 2, "2 inch -> centimetre"},
        {"my own", "history", ConverterPage::List, 2, "2 inch -> centimetre"},
        {"", "history", ConverterPage::List, 2, "2 inch -> centimetre"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.mode);
        Converter c;
        c.data.conversions = {record("", "2 inch -> centimetre", "5.08"),
                              record("length", "mine", "3")};
        c.model.setMode(k.mode);
        EXPECT_EQ(c.model.mode(), k.shown);
        EXPECT_EQ(c.view.page, k.page);
        const auto& rows = k.page == ConverterPage::Units ? c.view.unitRows : c.view.listRows;
        ASSERT_EQ(rows.size(), k.rows);
        EXPECT_EQ(rows[0].name, k.first);
        if (k.page == ConverterPage::List) {
            EXPECT_EQ(c.view.listRow, std::nullopt);
        } else {
            EXPECT_EQ(c.view.input, 0u);
            EXPECT_EQ(c.view.value, "1");
        }
    }
}

TEST(ConverterModel, ListsShowValuesAsResultsAreShown) {
    Converter c;
    c.data.decimalPlaces = 4;
    c.data.intDigitsLimit = 3;
    c.data.conversions = {record("", "big", "123456789012345678"), record("", "small", "1.5e-3"),
                          record("", "tiny", "0.00000000001234")};
    c.model.setMode("history");
    EXPECT_EQ(c.view.listRows,
              (std::vector<ConverterRow>{
                  {"big", "1.2345E+17"}, {"small", "0.0015"}, {"tiny", "1.234E-11"}}));
    c.model.setMode("quickcheck");
    EXPECT_EQ(c.view.listRows[3], (ConverterRow{"Celsius->Fahrenheit", "*1.8+32"}));
    EXPECT_EQ(c.view.listRows[29], (ConverterRow{"Metre->Nautical Mile", "5.3995E-4"}));
    c.model.setMode("time");
    EXPECT_EQ(c.view.unitRows[0], (ConverterRow{"day(24Hour)", "24*60*60"}));
}

TEST(ConverterModel, OnlyDigitsConvertAsTheyAreTyped) {
    struct Case {
        const char* keys;  // typed after the box was emptied
        const char* value;
        const char* result;
    };
    constexpr Case kCases[] = {
        {"5", "5", "12.7"},    {"5.", "5.", "12.7"},   {"5.5", "5.5", "13.97"},
        {"10\b", "1", "25.4"}, {"10\b\b", "", "25.4"}, {"1a-e+", "1", "2.54"},
        {"2.\b", "2", "5.08"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.keys);
        Converter c;
        c.chooseUnits("inch", "centimetre");
        c.model.setValueText("");
        c.type(k.keys);
        EXPECT_EQ(c.model.valueText(), k.value);
        EXPECT_EQ(c.view.result, k.result);
        EXPECT_EQ(c.prompter.only(), "");
    }
}

TEST(ConverterModel, RecomputeRefusals) {
    struct Case {
        const char* name;
        std::optional<std::size_t> input;
        std::optional<std::size_t> output;
        const char* value;
        std::string_view message;
    };
    const Case kCases[] = {
        {"no input unit", std::nullopt, 3, "5", msg::kSelectInputUnitName},
        {"no output unit", 3, std::nullopt, "5", msg::kSelectOutputUnitName},
        {"neither unit", std::nullopt, std::nullopt, "", msg::kSelectInputUnitName},
        {"empty value", 3, 4, "  ", msg::kInputValueFirst},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Converter c;
        c.model.setInputSelection(k.input);
        c.model.setOutputSelection(k.output);
        c.model.setValueText(k.value);
        c.model.recompute();
        EXPECT_EQ(c.prompter.only(), "Quorvel: " + std::string(k.message));
        EXPECT_EQ(c.prompter.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(c.view.result, "1");
    }
}

TEST(ConverterModel, SelectInAUnitCategoryRecordsBySwitch) {
    struct Case {
        int historyFactor;
        const char* description;
        const char* recorded;
    };
    constexpr Case kCases[] = {
        {0, "2 foot(UK and US) -> inch", "24"},
        {1, "1 foot(UK and US) ->  inch", "12"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.historyFactor);
        Converter c;
        c.data.historyFactor = k.historyFactor;
        c.data.conversions = {record("length", "older", "7")};
        c.chooseUnits("foot(UK and US)", "inch");
        c.model.setValueText("");
        c.type("2");
        ASSERT_EQ(c.view.result, "24");
        c.model.select();
        EXPECT_EQ(c.prompter.only(), "");
        EXPECT_EQ(c.model.returnMode(), "select");
        EXPECT_EQ(c.model.returnValue(), "24");
        EXPECT_EQ(c.view.closes, 1);
        ASSERT_EQ(c.data.conversions.size(), 2u);
        EXPECT_EQ(c.data.conversions[1], record("", k.description, k.recorded));
    }
}

TEST(ConverterModel, SelectConvertsAgainWhenTheResultIsBehindTheValue) {
    Converter c;
    c.chooseUnits("foot(UK and US)", "inch");
    c.model.setValueText("");
    c.type("25\b");
    ASSERT_EQ(c.view.result, "300");
    c.model.select();
    EXPECT_EQ(c.model.returnValue(), "24");
    EXPECT_EQ(c.data.conversions.back(), record("", "2 foot(UK and US) -> inch", "24"));

    // A unit picked without a conversion (no click reached the model) is converted too.
    Converter d;
    d.model.setInputSelection(d.unit("yard"));
    d.model.setOutputSelection(d.unit("foot(UK and US)"));
    d.model.select();
    EXPECT_EQ(d.model.returnValue(), "3");
    EXPECT_EQ(d.data.conversions.back(), record("", "1 yard -> foot(UK and US)", "3"));
}

TEST(ConverterModel, SelectReturnsLargeResultsInPlainDigits) {
    Converter c;
    c.chooseUnits("light year", "metre");
    c.model.recompute();
    EXPECT_EQ(c.view.result, "9.454254955488E+15");
    c.model.select();
    EXPECT_EQ(c.model.returnValue(), "9454254955488000");
    EXPECT_EQ(c.data.conversions.back().value, "9.454254955488E+15");
}

TEST(ConverterModel, SelectRefusalsKeepTheDialogOpen) {
    struct Case {
        const char* name;
        const char* mode;
        std::optional<std::size_t> input;
        std::optional<std::size_t> output;
        int historyFactor;
        std::string_view message;
    };
    const Case kCases[] = {
        {"no input unit", "length", std::nullopt, 2, 0, msg::kSelectInputUnitFirst},
        {"no output unit", "length", 2, std::nullopt, 0, msg::kSelectOutputUnitFirst},
        {"no factor between formulas", "temperature", 0, 1, 1, msg::kFailedToConvert},
        {"nothing in the quick checks", "quickcheck", 0, 0, 0, msg::kSelectItemFromList},
        {"nothing in the history", "history", 0, 0, 0, msg::kSelectItemFromList},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.name);
        Converter c;
        c.data.historyFactor = k.historyFactor;
        c.data.conversions = {record("", "kept", "1")};
        c.model.setMode(k.mode);
        c.model.setInputSelection(k.input);
        c.model.setOutputSelection(k.output);
        c.model.select();
        EXPECT_EQ(c.prompter.only(), "Quorvel Message: " + std::string(k.message));
        EXPECT_EQ(c.prompter.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(c.view.closes, 0);
        EXPECT_EQ(c.model.returnMode(), "");
        EXPECT_EQ(c.data.conversions.size(), 1u);
    }
}

TEST(ConverterModel, HistoryKeepsThirtyDroppingTheOldest) {
    struct Case {
        std::size_t before;
        std::size_t after;
        std::size_t newAt;
        const char* first;
    };
    constexpr Case kCases[] = {
        {0, 1, 0, "1 metre -> metre"},
        {29, 30, 29, "r0"},
        {30, 30, 29, "r1"},
        // Records added by New beyond thirty stay where they are.
        {33, 33, 29, "r1"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.before);
        Converter c;
        for (std::size_t i = 0; i < k.before; ++i) {
            c.data.conversions.push_back(record("", "r" + std::to_string(i), "1"));
        }
        c.model.setInputSelection(c.unit("metre"));
        c.model.setOutputSelection(c.unit("metre"));
        c.model.select();
        ASSERT_EQ(c.data.conversions.size(), k.after);
        EXPECT_EQ(c.data.conversions[0].description, k.first);
        EXPECT_EQ(c.data.conversions[k.newAt], record("", "1 metre -> metre", "1"));
        if (k.before > 30) {
            EXPECT_EQ(c.data.conversions.back().description, "r32");
        }
    }
}

TEST(ConverterModel, QuickChecksHandBackTheirTextForTheMainInput) {
    struct Case {
        const char* entry;
        const char* input;
        const char* returned;
        const char* inserted;
    };
    constexpr Case kCases[] = {
        {"Fahrenheit->Celsius", "212", "*0.5556-17.78", "212*0.5556-17.78"},
        {"Foot->Meter", "3", "0.3048", "3*0.3048"},
        {"Foot->Meter", "3+", "0.3048", "3+0.3048"},
        {"Celsius->Fahrenheit", "", "*1.8+32", ""},
        {"Metre->Nautical Mile", "2", "0.00053995680345572", "2*0.00053995680345572"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.entry);
        Converter c;
        c.model.setMode("quickcheck");
        c.model.setListSelection(c.listRow(k.entry));
        c.model.select();
        EXPECT_EQ(c.model.returnMode(), "select");
        EXPECT_EQ(c.model.returnValue(), k.returned);
        EXPECT_EQ(c.view.closes, 1);
        const InsertOutcome outcome =
            InsertConvertedValue(k.input, std::string_view::npos, c.model.returnValue());
        EXPECT_EQ(outcome.text, *k.input ? k.inserted : k.input);
        EXPECT_EQ(outcome.message == ToolMessageId::None, *k.input != '\0');
    }
}

TEST(ConverterModel, ENotationRowsComeBackInPlainDigits) {
    struct Case {
        const char* stored;
        const char* returned;
    };
    constexpr Case kCases[] = {
        {"123456789012345678", "123456789012345678"},
        {"0.00000000001234", "0.00000000001234"},
        {"2.5E+12", "2500000000000"},
        {" 42 ", "42"},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.stored);
        for (int doubleClick = 0; doubleClick < 2; ++doubleClick) {
            Converter c;
            c.data.conversions = {record("", "row", k.stored)};
            c.model.setMode("history");
            c.model.setListSelection(0);
            if (doubleClick) {
                c.model.doubleClickList();
            } else {
                c.model.select();
            }
            EXPECT_EQ(c.model.returnValue(), k.returned);
            EXPECT_EQ(c.view.closes, 1);
        }
    }
}

TEST(ConverterModel, DoubleClicksWithNothingSelected) {
    Converter c;
    c.model.setMode("quickcheck");
    c.model.doubleClickHeader();
    EXPECT_EQ(c.prompter.only(), "");
    EXPECT_EQ(c.view.closes, 0);
    c.model.doubleClickList();
    EXPECT_EQ(c.prompter.only(), "Quorvel Message: " + std::string(msg::kSelectListItemFirst));
    EXPECT_EQ(c.view.closes, 0);

    c.model.setListSelection(c.listRow("Inch->Centimetre"));
    c.model.doubleClickHeader();
    EXPECT_EQ(c.model.returnValue(), "2.54");
    EXPECT_EQ(c.view.closes, 1);
}

TEST(ConverterModel, EditAndRemoveWithNothingSelected) {
    Converter c;
    c.data.conversions = {record("", "kept", "1")};
    c.model.setMode("history");
    c.model.removeConversion();
    c.model.editConversion();
    ASSERT_EQ(c.prompter.messages.size(), 2u);
    EXPECT_EQ(c.prompter.messages[0].text, msg::kSelectRemovedItemFirst);
    EXPECT_EQ(c.prompter.messages[1].text, msg::kSelectItemFirst);
    for (const auto& shown : c.prompter.messages) {
        EXPECT_EQ(shown.title, msg::kTitleMessage);
        EXPECT_EQ(shown.icon, MessageIcon::Information);
    }
    EXPECT_TRUE(c.view.asked.empty());
    EXPECT_EQ(c.data.conversions.size(), 1u);
}

// Records of every category are listed together; each row stays the record it shows.
std::vector<CConverter> mixedRecords() {
    return {record("", "a", "1"), record("length", "b", "2"), record("history", "c", "3"),
            record("", "d", "4"), record("history", "e", "5")};
}

TEST(ConverterModel, RemoveTakesExactlyTheRecordOfTheRow) {
    for (std::size_t row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        Converter c;
        c.data.conversions = mixedRecords();
        c.model.setMode("history");
        c.model.setListSelection(row);
        c.model.removeConversion();
        std::vector<CConverter> expected = mixedRecords();
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(row));
        EXPECT_EQ(c.data.conversions, expected);
        ASSERT_EQ(c.view.listRows.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(c.view.listRows[i].name, expected[i].description);
            EXPECT_EQ(c.model.recordOfRow(i), i);
        }
        EXPECT_EQ(c.model.listSelection(), std::nullopt);
    }
}

TEST(ConverterModel, EditReplacesExactlyTheRecordOfTheRow) {
    for (std::size_t row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        Converter c;
        c.data.conversions = mixedRecords();
        c.model.setMode("history");
        c.model.setListSelection(row);
        c.view.answer = ConversionFields{"History", "edited", "9.5"};
        c.model.editConversion();
        ASSERT_EQ(c.view.asked.size(), 1u);
        EXPECT_TRUE(c.view.askedEditing);
        const CConverter original = mixedRecords()[row];
        EXPECT_EQ(c.view.asked[0],
                  (ConversionFields{"history", original.description, original.value}));
        std::vector<CConverter> expected = mixedRecords();
        expected[row] = record("history", "edited", "9.5");
        EXPECT_EQ(c.data.conversions, expected);
        EXPECT_EQ(c.view.listRows[row], (ConverterRow{"edited", "9.5"}));
    }
}

TEST(ConverterModel, EditShowsThePageOfTheEditedCategory) {
    struct Case {
        const char* category;
        const char* mode;
        ConverterPage page;
        std::size_t rows;
    };
    constexpr Case kCases[] = {
        {"mass", "mass", ConverterPage::Units, 12},
        {"Speed", "speed", ConverterPage::Units, 20},
        {"history", "history", ConverterPage::List, 2},
        {"quickcheck", "quickcheck", ConverterPage::List, 42},
        {"my own", "history", ConverterPage::List, 2},
        {"", "history", ConverterPage::List, 2},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.category);
        Converter c;
        c.data.conversions = {record("", "a", "1"), record("", "b", "2")};
        c.model.setMode("history");
        c.model.setListSelection(1);
        c.view.answer = ConversionFields{k.category, "b2", "22"};
        c.model.editConversion();
        EXPECT_EQ(c.model.mode(), k.mode);
        EXPECT_EQ(c.view.page, k.page);
        const auto& rows = k.page == ConverterPage::Units ? c.view.unitRows : c.view.listRows;
        EXPECT_EQ(rows.size(), k.rows);
        EXPECT_EQ(c.data.conversions[1].description, "b2");
        if (k.mode == kModeHistory) {
            EXPECT_EQ(c.view.listRows[1], (ConverterRow{"b2", "22"}));
        }
    }
}

TEST(ConverterModel, BuiltInQuickChecksAreNeverChanged) {
    Converter c;
    c.data.conversions = {record("quickcheck", "mine", "2")};
    c.model.setMode("quickcheck");
    c.model.setListSelection(c.listRow("Inch->Centimetre"));
    c.model.removeConversion();
    EXPECT_EQ(c.data.conversions, (std::vector<CConverter>{record("quickcheck", "mine", "2")}));
    EXPECT_EQ(c.view.listRows.size(), 42u);

    c.view.answer = ConversionFields{"quickcheck", "Inch->Centimetre", "2.5"};
    c.model.editConversion();
    EXPECT_EQ(c.view.asked.at(0), (ConversionFields{"quickcheck", "Inch->Centimetre", "2.54"}));
    EXPECT_EQ(c.data.conversions,
              (std::vector<CConverter>{record("quickcheck", "mine", "2"),
                                       record("quickcheck", "Inch->Centimetre", "2.5")}));
    EXPECT_EQ(c.view.listRows[13], (ConverterRow{"Inch->Centimetre", "2.54"}));
}

TEST(ConverterModel, NewAppendsWithoutLimitAndRefills) {
    Converter c;
    for (int i = 0; i < 30; ++i) c.data.conversions.push_back(record("", "r", "1"));
    c.view.answer = ConversionFields{" Length ", "cubit", "0.4572"};
    c.model.newConversion();
    ASSERT_EQ(c.view.asked.size(), 1u);
    EXPECT_FALSE(c.view.askedEditing);
    EXPECT_EQ(c.view.asked[0], (ConversionFields{"length", "", ""}));
    ASSERT_EQ(c.data.conversions.size(), 31u);
    EXPECT_EQ(c.data.conversions.back(), record("length", "cubit", "0.4572"));
    EXPECT_EQ(c.model.mode(), "length");

    c.model.setMode("history");
    c.view.answer.reset();
    c.model.newConversion();
    EXPECT_EQ(c.data.conversions.size(), 31u);
    c.view.answer = ConversionFields{"history", "span", "0.2286"};
    c.model.newConversion();
    ASSERT_EQ(c.view.listRows.size(), 32u);
    EXPECT_EQ(c.view.listRows.back(), (ConverterRow{"span", "0.2286"}));
    EXPECT_EQ(c.model.recordOfRow(31), 31u);
}

TEST(ConverterModel, CancelledEditChangesNothing) {
    Converter c;
    c.data.conversions = mixedRecords();
    c.model.setMode("history");
    c.model.setListSelection(2);
    c.model.editConversion();
    EXPECT_EQ(c.view.asked.size(), 1u);
    EXPECT_EQ(c.data.conversions, mixedRecords());
    EXPECT_EQ(c.model.mode(), "history");
}

TEST(ConverterModeIndex, FindsButtonsAndListModes) {
    struct Case {
        const char* mode;
        std::optional<std::size_t> index;
    };
    const Case kCases[] = {
        {"length", 0},          {"area", 1},        {"PRESS", 3},
        {" speed ", 6},         {"quickcheck", 7},  {"history", 8},
        {"time", std::nullopt}, {"", std::nullopt}, {"Pressure", std::nullopt},
    };
    for (const Case& k : kCases) {
        SCOPED_TRACE(k.mode);
        EXPECT_EQ(ConverterModeIndex(k.mode), k.index);
    }
    EXPECT_EQ(ConverterModes().size(), 9u);
}

}  // namespace
}  // namespace quorvel
