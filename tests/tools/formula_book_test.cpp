#include "tools/formula_book.h"

#include <gtest/gtest.h>

#include <fstream>

#include "data/sys_data_holder.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/temp_data_folder.h"
#include "tools/manager_messages.h"

namespace quorvel {
namespace {

using testing::RecordingClipboard;
using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TempDataFolder;
using Rows = std::vector<std::size_t>;

std::string message(std::string_view text) { return "Quorvel Message: " + std::string(text); }

class FormulaBookTest : public ::testing::Test {
protected:
    std::vector<CFormula>& formulas() { return holder.data().formulas; }
    std::vector<std::string> shown(const FormulaBook& book) const {
        std::vector<std::string> out;
        for (std::size_t row = 0; row < book.rowCount(); ++row) {
            out.push_back(book.cells(row).first);
        }
        return out;
    }
    CSysData reread() const {
        SysDataHolder again(folder.path());
        EXPECT_EQ(again.Load().outcome, LoadOutcome::Read);
        return again.data();
    }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    SysDataHolder holder{folder.path()};
    RecordingSpeaker speaker;
    RecordingPrompter prompter;
    RecordingClipboard clipboard;
};

TEST_F(FormulaBookTest, FirstOpeningBringsTheDemonstrationFormulas) {
    FormulaBook book(holder, speaker, prompter);
    ASSERT_EQ(formulas().size(), 180u);
    struct Case {
        const char* catalog;
        std::size_t rows;
        const char* first;
        const char* second;
        const char* last;
    };
    const Case kCases[] = {
        {"add", 45, "1+1=2", "1+2=3", "9+9=18"},    {"time", 45, "1*1=1", "1*2=2", "9*9=81"},
        {"minus", 45, "2-1=1", "3-1=2", "18-9=9"},  {"divide", 45, "1/1=1", "2/1=2", "81/9=9"},
        {"function", 0, nullptr, nullptr, nullptr}, {"other", 0, nullptr, nullptr, nullptr},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.catalog);
        book.setCatalog(c.catalog);
        EXPECT_EQ(book.columnHeading(), std::string("Formula for ") + c.catalog);
        ASSERT_EQ(book.rowCount(), c.rows);
        if (c.rows == 0) continue;
        EXPECT_EQ(book.cells(0), (ListCells{c.first, "Demo"}));
        EXPECT_EQ(book.cells(1).first, c.second);
        EXPECT_EQ(book.cells(c.rows - 1).first, c.last);
    }
    // The order of the catalogs in the stored list: add, time, minus, divide.
    EXPECT_EQ(formulas()[44].formula, "9+9=18");
    EXPECT_EQ(formulas()[45].formula, "1*1=1");
    EXPECT_EQ(formulas()[90].formula, "2-1=1");
    EXPECT_EQ(formulas()[135].formula, "1/1=1");
    // Row i, j of each table, e.g. 3,7: 3+7=10, 3*7=21, 10-3=7, 21/3=7.
    const auto at = [&](std::size_t table, int i, int j) {
        std::size_t index = table * 45;
        for (int k = 1; k < i; ++k) index += static_cast<std::size_t>(10 - k);
        return formulas()[index + static_cast<std::size_t>(j - i)].formula;
    };
    EXPECT_EQ(at(0, 3, 7), "3+7=10");
    EXPECT_EQ(at(1, 3, 7), "3*7=21");
    EXPECT_EQ(at(2, 3, 7), "10-3=7");
    EXPECT_EQ(at(3, 3, 7), "21/3=7");
    EXPECT_EQ(folder.bytes("SysData.dat"), "") << "the demonstration must wait for a store";
}

TEST_F(FormulaBookTest, DemonstrationFormulasComeOnlyIntoAnEmptyList) {
    formulas() = {{"other", "2^3=8", "mine"}};
    FormulaBook book(holder, speaker, prompter);
    EXPECT_EQ(formulas().size(), 1u);
    EXPECT_EQ(book.rowCount(), 0u);

    formulas().clear();
    FormulaBook first(holder, speaker, prompter);
    FormulaBook second(holder, speaker, prompter);
    EXPECT_EQ(formulas().size(), 180u);
}

TEST_F(FormulaBookTest, CatalogsCompareWithoutCaseEverywhere) {
    formulas() = {{"Add", "1+1=2", "x"},
                  {"add", "2+2=4", "y"},
                  {"ADD", "3+3=6", "z"},
                  {"time", "2*2=4", "t"}};
    FormulaBook book(holder, speaker, prompter);
    EXPECT_EQ(shown(book), (std::vector<std::string>{"1+1=2", "2+2=4", "3+3=6"}));

    // The first row shows the "Add" record: removing it removes that record, not "add"'s.
    book.removeSelected({0});
    EXPECT_EQ(shown(book), (std::vector<std::string>{"2+2=4", "3+3=6"}));
    ASSERT_EQ(formulas().size(), 3u);
    EXPECT_EQ(formulas()[0].formula, "2+2=4");

    book.clearCatalog();
    EXPECT_EQ(book.rowCount(), 0u);
    ASSERT_EQ(formulas().size(), 1u);
    EXPECT_EQ(formulas()[0].catalog, "time");
}

TEST_F(FormulaBookTest, RemoveTakesExactlyTheSelectedRecords) {
    struct Case {
        const char* name;
        Rows rows;
        std::vector<std::string> left;  // the add catalog
    };
    const Case kCases[] = {
        {"two adjacent", {1, 2}, {"a0", "a3"}},
        {"first and last", {3, 0}, {"a1", "a2"}},
        {"repeats and past the end", {2, 2, 9}, {"a0", "a1", "a3"}},
        {"nothing", {}, {"a0", "a1", "a2", "a3"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        formulas() = {{"add", "a0", ""}, {"time", "t0", ""}, {"add", "a1", ""},
                      {"add", "a2", ""}, {"time", "t1", ""}, {"add", "a3", ""}};
        FormulaBook book(holder, speaker, prompter);
        book.removeSelected(c.rows);
        EXPECT_EQ(shown(book), c.left);
        book.setCatalog("time");
        EXPECT_EQ(shown(book), (std::vector<std::string>{"t0", "t1"}));
        EXPECT_EQ(formulas().size(), c.left.size() + 2);
    }
    EXPECT_EQ(folder.bytes("SysData.dat"), "") << "Remove must not write the file";
}

TEST_F(FormulaBookTest, ClearInTimeLeavesTheOtherCatalogs) {
    FormulaBook book(holder, speaker, prompter);
    book.setCatalog("time");
    book.clearCatalog();
    EXPECT_EQ(book.rowCount(), 0u);
    EXPECT_EQ(formulas().size(), 135u);
    for (std::string_view other : {"add", "minus", "divide"}) {
        SCOPED_TRACE(other);
        book.setCatalog(other);
        EXPECT_EQ(book.rowCount(), 45u);
    }
}

TEST_F(FormulaBookTest, CopyAndTalk) {
    formulas() = {{"add", "1+1=2", "one"}, {"add", "2+2=4", "two"}, {"add", "3+3=6", "three"}};
    FormulaBook book(holder, speaker, prompter);

    book.copySelected({2, 0}, clipboard);
    book.copyAll(clipboard);
    ASSERT_EQ(clipboard.texts.size(), 2u);
    EXPECT_EQ(clipboard.texts[0], "1+1=2   one\r\n3+3=6   three\r\n");
    EXPECT_EQ(clipboard.texts[1], "1+1=2   one\r\n2+2=4   two\r\n3+3=6   three\r\n");
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[0].text, msg::kSelectionCopied);
    EXPECT_EQ(prompter.messages[1].text, msg::kLogInformationCopied);

    book.talkAll("2");
    book.talkSelected({2, 1}, "1");
    EXPECT_EQ(speaker.requests,
              (std::vector<SpeechRequest>{{SpeechKind::ExprList, "2:1+1=2|2+2=4|3+3=6|"},
                                          {SpeechKind::ExprList, "1:2+2=4|3+3=6|"}}));
}

TEST_F(FormulaBookTest, TalkAllOfAnEmptyCatalogAsksToSelect) {
    FormulaBook book(holder, speaker, prompter);
    book.setCatalog("other");
    book.talkAll("1");
    EXPECT_EQ(prompter.only(), message(msg::kSelectFirst));
    prompter.messages.clear();
    book.talkAll("51");
    EXPECT_EQ(prompter.only(), message(msg::kRepeatRange));
    EXPECT_TRUE(speaker.requests.empty());
}

TEST(CatalogEntryIndex, FirstMatchWithoutCaseElseTheFirstEntry) {
    const std::vector<std::string> entries = {"Add", "minus", "Time", "add"};
    EXPECT_EQ(CatalogEntryIndex(entries, "add"), 0);
    EXPECT_EQ(CatalogEntryIndex(entries, "TIME"), 2);
    EXPECT_EQ(CatalogEntryIndex(entries, "other"), 0);
    EXPECT_EQ(CatalogEntryIndex({}, "add"), -1);
}

TEST_F(FormulaBookTest, CalculateShowsTheWholeCalculation) {
    holder.data().decimalPlaces = 3;
    holder.data().paramM = "5";
    struct Case {
        const char* typed;
        const char* shown;  // nullptr: nothing calculated
        std::size_t told;   // messages the user saw
    };
    const Case kCases[] = {
        {"3+4", "3+4=7", 0},   {" 2*M ", "2*M=10", 0}, {"1/3", "1/3=0.333", 0},
        {"3+4=7", "3+4=7", 0},  // a shown calculation is calculated again
        {"", nullptr, 0},      {"   ", nullptr, 0},    {"1/0", nullptr, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.typed);
        prompter.messages.clear();
        prompter.inputMessages.clear();
        const std::optional<std::string> shown = CalculateFormula(c.typed, holder.data(), prompter);
        ASSERT_EQ(shown.has_value(), c.shown != nullptr);
        if (c.shown) {
            EXPECT_EQ(*shown, c.shown);
        }
        EXPECT_EQ(prompter.messages.size() + prompter.inputMessages.size(), c.told);
    }
}

TEST_F(FormulaBookTest, SaveStoresTheFormulaAsShownAtOnce) {
    EXPECT_FALSE(SaveFormula(holder, prompter, "add", "  ", "empty"));
    EXPECT_EQ(prompter.only(), message(msg::kInputAndCalculate));
    EXPECT_TRUE(formulas().empty());
    EXPECT_EQ(folder.bytes("SysData.dat"), "");

    prompter.messages.clear();
    EXPECT_TRUE(SaveFormula(holder, prompter, "Add", " 3+4=7 ", "sum"));
    EXPECT_EQ(prompter.only(), message(msg::kFormulaSaved));
    const std::vector<CFormula> expected = {{"Add", "3+4=7", "sum"}};
    EXPECT_EQ(formulas(), expected);
    EXPECT_EQ(reread().formulas, expected);
}

TEST_F(FormulaBookTest, ExportNeedsACatalogAndStoresItLowerCased) {
    EXPECT_FALSE(ExportFormula(holder, prompter, std::nullopt, "2+3=5", "d"));
    EXPECT_EQ(prompter.only(), message(msg::kSelectCatalogFirst));
    EXPECT_TRUE(formulas().empty());
    EXPECT_EQ(folder.bytes("SysData.dat"), "");

    prompter.messages.clear();
    EXPECT_TRUE(ExportFormula(holder, prompter, std::string("Minus"), "5-3=2", "diff"));
    EXPECT_EQ(prompter.only(), message(msg::kFormulaExported));
    const std::vector<CFormula> expected = {{"minus", "5-3=2", "diff"}};
    EXPECT_EQ(reread().formulas, expected);
}

TEST_F(FormulaBookTest, AFailedStoreIsReportedNotCelebrated) {
    std::filesystem::remove_all(folder.path());
    {
        std::ofstream blocker(folder.path());  // a file where the folder should be
    }
    EXPECT_FALSE(SaveFormula(holder, prompter, "add", "1+1=2", ""));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_NE(prompter.messages[0].text, msg::kFormulaSaved);
    std::filesystem::remove(folder.path());
    std::filesystem::create_directories(folder.path());
}

}  // namespace
}  // namespace quorvel
