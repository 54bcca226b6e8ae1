#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tools/tool_messages.h"

namespace quorvel {
namespace {

using Id = ToolMessageId;

TEST(ToolMessageTable, EveryIdHasItsOwnRowWithTitleKindAndText) {
    const std::set<std::string_view> titles = {msg::kTitleQuorvel, msg::kTitleMessage};
    const auto table = ToolMessageTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(Id::UnitsNotMatched));
    for (int n = 1; n <= static_cast<int>(Id::UnitsNotMatched); ++n) {
        SCOPED_TRACE(n);
        const auto id = static_cast<Id>(n);
        const ToolMessageEntry& entry = MessageFor(id);
        EXPECT_EQ(entry.id, id);
        EXPECT_TRUE(titles.count(entry.title)) << entry.title;
        EXPECT_FALSE(entry.text.empty());
        // The tools show no expression, so none of their messages is an input message.
        EXPECT_NE(entry.kind, MessageKind::Input);
        EXPECT_TRUE(entry.advice.empty());
    }
}

// Two rows that show the same would let callers pick either, and the table would drift.
TEST(ToolMessageTable, NoTwoRowsShowTheSame) {
    std::set<std::tuple<std::string_view, MessageKind, std::string_view>> shown;
    std::set<std::string_view> texts;
    for (const ToolMessageEntry& entry : ToolMessageTable()) {
        SCOPED_TRACE(entry.text);
        EXPECT_TRUE(shown.insert({entry.title, entry.kind, entry.text}).second);
        // A fixed text belongs to one row; only the data folder's pass-through differs by icon.
        if (entry.text != "{0}") {
            EXPECT_TRUE(texts.insert(entry.text).second);
        }
    }
}

TEST(ToolMessageTable, EveryPlaceholderIsFilled) {
    const std::vector<std::string> arguments = {"zero", "one", "two"};
    for (const ToolMessageEntry& entry : ToolMessageTable()) {
        SCOPED_TRACE(entry.text);
        const std::string text = ToolMessage(entry.id, arguments).text();
        EXPECT_EQ(text.find('{'), std::string::npos) << text;
        EXPECT_EQ(text.find('}'), std::string::npos) << text;
    }
}

// The texts as the windows have always shown them, misspellings and double spaces included.
TEST(ToolMessageTable, TextsTitlesAndKindsAsShown) {
    constexpr std::string_view Q = "Quorvel";
    constexpr std::string_view M = "Quorvel Message";
    constexpr MessageKind I = MessageKind::Information;
    constexpr MessageKind E = MessageKind::Exclamation;
    constexpr MessageKind A = MessageKind::Question;
    struct Case {
        Id id;
        std::string_view title;
        MessageKind kind;
        std::string_view text;
    };
    const Case kCases[] = {
        {Id::SelectInputUnitName, Q, E,
         "Please select the input unit name from the input unit list"},
        {Id::SelectOutputUnitName, Q, E,
         "Please select the output unit name from the output unit list"},
        {Id::InputValueFirst, Q, E, "Please input the input value first"},
        {Id::SelectInputUnitFirst, M, I, "Please select input unit first."},
        {Id::SelectOutputUnitFirst, M, I, "Please select output unit first."},
        {Id::FailedToConvert, M, I, "Failed to convert."},
        {Id::SelectItemFromList, M, I, "Please select the item from the list."},
        {Id::SelectListItemFirst, M, I, "Please select the list item first."},
        {Id::SelectRemovedItemFirst, M, I, "Please select the removed item first."},
        {Id::SelectItemFirst, M, I, "Please select the item first."},
        {Id::InputDegreeFirst, M, I, "Please input the degree number first."},
        {Id::InputNumberFirst, M, I, "Please input a number first."},
        {Id::ArcRange, Q, I,
         "Sorry, the value of arcsin or arccos in this calculator cannot be larger than 1."},
        {Id::ExerciseNotAccepted, Q, I,
         "Sorry, the calculation test number,the max value and the operator number are not "
         "accepted.Please decrease the number of calculation test, or increase the max value ,or "
         "increase the operator number.Thank you."},
        {Id::ExerciseListEmpty, M, I, "The list is empty.Please begin test first."},
        {Id::ExerciseCopied, M, I,
         "The Test information has been copied into the clipboard successfully."},
        {Id::SelectFirst, M, I, "Please select first.Thank you."},
        {Id::SelectionCopied, M, I,
         "The selection has been copied into the clipboard successfully."},
        {Id::MaxValueTooSmall, M, I, "The max value should be at least 1."},
        {Id::TestNumberTooSmall, M, I, "The test number should be at least 1."},
        {Id::ParameterNotNumber, M, I,
         "The box {0} does not hold a number. Please type a number such as 2.5 or -3."},
        {Id::SelectSourceFirst, Q, I,
         "Please select the source file first by clicking the browse button."},
        {Id::FailedToRead, Q, I, "Failed to open and read the file:{0} ({1})"},
        {Id::FailedToWrite, Q, I, "Failed to open and write the file:{0} ({1})"},
        {Id::LogEmpty, Q, I, "Sorry,the log is empty.Please calculate first."},
        {Id::LogCopied, Q, I, "the log  information has been copied to the clipboard."},
        {Id::RepeatRange, M, I, "Repeat Times should be between 1 and 50"},
        {Id::LogListEmpty, M, I, "Log list is empty.Please calculate first.Thank you."},
        {Id::LogInformationCopied, M, I,
         "The log information has been copied into the clipboard successfully."},
        {Id::SelectLineToExport, M, I,
         "Please select first by clicking the line  you want to export."},
        {Id::ClearLogQuestion, M, A, "Do you want to clear all the log information?."},
        {Id::InputAndCalculate, M, I, "Please input the expression and calculate."},
        {Id::FormulaSaved, M, I, "Save the new formula successfully."},
        {Id::SelectCatalogFirst, M, I, "Please select the catalog first."},
        {Id::FormulaExported, M, I, "Export to the formula manager successfully"},
        {Id::InputEmpty, Q, I, "Sorry,the input is empty."},
        {Id::ExitQuestion, M, A, "Would you exit Quorvel?"},
        {Id::SettingOutOfRange, M, E, "The {0} must be a whole number from {1} to {2}."},
        {Id::DataFileNotice, M, I, "{0}"},
        {Id::StoreFailed, M, E, "{0}"},
        {Id::NothingToCalculate, M, I,
         "There is nothing to calculate: type an expression such as 2+3, an assignment such as "
         "(M)=5 or an equation such as 2*x+3=7."},
        {Id::EquationNeedsRightSide, M, I,
         "An equation needs \"=\" and a right-hand side, such as 2*x+3=7."},
        {Id::AssignmentNeedsValue, M, I, "An assignment needs a value after \"=\", such as (M)=5."},
        {Id::NeitherAssignmentNorEquation, M, I,
         "A text with \"=\" is calculated only as an assignment such as (M)=5 or an equation in x "
         "such as 2*x+3=7."},
        {Id::PromptWords, M, I,
         "There is nothing to calculate: help, quit and exit are words of the prompt; "
         "quorvel-calc --help lists the options."},
        {Id::DidYouMean, M, I, "There is nothing to calculate: did you mean {0}?"},
        {Id::UnitsNotMatched, M, I,
         "{0}; convert with --convert CATEGORY VALUE FROM TO (quorvel-calc --units lists the "
         "categories and their units)"},
    };
    std::set<Id> seen;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        const ToolMessageEntry& entry = MessageFor(c.id);
        EXPECT_EQ(entry.title, c.title);
        EXPECT_EQ(entry.kind, c.kind);
        EXPECT_EQ(entry.text, c.text);
        seen.insert(c.id);
    }
    // A new row is added here with its words, or this fails.
    EXPECT_EQ(seen.size(), ToolMessageTable().size());
}

TEST(ToolMessageTable, ArgumentsGoInAsGiven) {
    struct Case {
        ToolMessage message;
        std::string text;
    };
    const Case kCases[] = {
        {{Id::ParameterNotNumber, {"Pi"}},
         "The box Pi does not hold a number. Please type a number such as 2.5 or -3."},
        {{Id::SettingOutOfRange, {"zoom", "100", "300"}},
         "The zoom must be a whole number from 100 to 300."},
        {{Id::DidYouMean, {"help"}}, "There is nothing to calculate: did you mean help?"},
        // The data folder's reasons may hold a line break; it stays one.
        {{Id::StoreFailed, {"/data/SysData.dat: disk full\nnothing stored"}},
         "/data/SysData.dat: disk full\nnothing stored"},
        {{Id::SelectFirst, {"unused"}}, "Please select first.Thank you."},
        {{Id::None}, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.message.text(), c.text);
    }
}

TEST(ToolMessageTable, FileErrorsEscapeTheFileNameOnly) {
    EXPECT_EQ(msg::fileError(Id::FailedToWrite, "/data/sums.rob", msg::kReasonDiskFull).text(),
              "Failed to open and write the file:/data/sums.rob (disk full)");
    EXPECT_EQ(msg::fileError(Id::FailedToRead, "/tmp/a\nb\x1b.txt", msg::kReasonNoSuchFile).text(),
              "Failed to open and read the file:/tmp/a\\x0ab\\x1b.txt (no such file)");
    EXPECT_EQ(msg::parameterNotNumber("W"),
              "The box W does not hold a number. Please type a number such as 2.5 or -3.");
}

}  // namespace
}  // namespace quorvel
