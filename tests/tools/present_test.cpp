#include "tools/present.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/calculate.h"
#include "support/recording_prompter.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

TEST(Present, ShowsEveryRowOfTheTableAsItsKindSays) {
    for (const MessageEntry& entry : MessageTable()) {
        SCOPED_TRACE(static_cast<int>(entry.id));
        RecordingPrompter prompter;
        present(Failure(entry.id, {"2+x\x01", "a", "b"}, 3), prompter);
        if (entry.kind == MessageKind::Input) {
            ASSERT_EQ(prompter.inputMessages.size(), 1u);
            EXPECT_TRUE(prompter.messages.empty());
            const testing::ShownInputMessage& shown = prompter.inputMessages[0];
            EXPECT_EQ(shown.expression, "2+x\\x01");
            EXPECT_EQ(shown.position, 3);
            EXPECT_FALSE(shown.message.empty());
            EXPECT_FALSE(shown.advice.empty());
        } else {
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_TRUE(prompter.inputMessages.empty());
            const testing::ShownMessage& shown = prompter.messages[0];
            EXPECT_EQ(shown.title, entry.title);
            EXPECT_EQ(shown.icon, entry.kind == MessageKind::Information
                                      ? MessageIcon::Information
                                      : MessageIcon::Exclamation);
            EXPECT_EQ(shown.text,
                      FormatMessage(entry.text, std::vector<std::string>{"2+x\x01", "a", "b"}));
        }
        EXPECT_TRUE(prompter.questions.empty());
    }
}

TEST(Present, ShowsNothingForASuccessOrAQuietFailure) {
    const RecentResults zeros = {"0", "0", "0", "0", "0"};
    for (const char* input : {"2+3", "", "2=3"}) {
        SCOPED_TRACE(input);
        RecordingPrompter prompter;
        present(CalculateExpression(input, zeros, {}), prompter);
        EXPECT_EQ(prompter.messages.size() + prompter.inputMessages.size(), 0u);
    }
}

// What a calculation reports reaches the user as the windows have always shown it.
TEST(Present, ShowsWhatACalculationReports) {
    struct Case {
        std::string input;
        std::string shown;  // RecordingPrompter::only()
    };
    const Case kCases[] = {
        {"5/0", "Quorvel Warning Message: Sorry,the denominator cannot be zero."},
        {"(2+3", "Warning Message: The number of ) is not equal with the number of ( ."},
        {"sqrt(-4)",
         "Quorvel Warning Message: Sorry,the parameter for the function Sqrt(x) should be "
         "larger than or equal to zero."},
        {std::string(4001, '1'),
         "Warning Message: Sorry, the expression is too long. It may hold at most 4000 "
         "characters."},
    };
    const RecentResults zeros = {"0", "0", "0", "0", "0"};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.input.substr(0, 20));
        RecordingPrompter prompter;
        present(CalculateExpression(c.input, zeros, {}), prompter);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(Present, SyntaxFailuresGoToTheInputMessageWithTheirPosition) {
    RecordingPrompter prompter;
    const CalcOutcome outcome = CalculateExpression("2+*3", {"0", "0", "0", "0", "0"}, {});
    ASSERT_EQ(outcome.error, MessageId::Syntax);
    present(outcome, prompter);
    ASSERT_EQ(prompter.inputMessages.size(), 1u);
    EXPECT_TRUE(prompter.messages.empty());
    const testing::ShownInputMessage& shown = prompter.inputMessages[0];
    EXPECT_EQ(shown.expression, "2+*3");
    EXPECT_EQ(shown.position, 2);
    EXPECT_EQ(shown.message, outcome.message());
    EXPECT_FALSE(shown.message.empty());
    EXPECT_EQ(shown.advice, outcome.advice());
    EXPECT_FALSE(shown.advice.empty());
}

TEST(PresentToolMessage, ShowsEveryRowAsItsKindSays) {
    for (const ToolMessageEntry& entry : ToolMessageTable()) {
        SCOPED_TRACE(entry.text);
        const ToolMessage message(entry.id, {"a\nb", "1", "2"});
        RecordingPrompter prompter;
        present(message, prompter);
        EXPECT_TRUE(prompter.inputMessages.empty());
        const bool asked = entry.kind == MessageKind::Question;
        ASSERT_EQ(prompter.questions.size(), asked ? 1u : 0u);
        ASSERT_EQ(prompter.messages.size(), asked ? 0u : 1u);
        const testing::ShownMessage& shown = asked ? prompter.questions[0] : prompter.messages[0];
        EXPECT_EQ(shown.title, entry.title);
        EXPECT_EQ(shown.text, message.text());
        const MessageIcon icon = asked ? MessageIcon::Question
                                 : entry.kind == MessageKind::Exclamation
                                     ? MessageIcon::Exclamation
                                     : MessageIcon::Information;
        EXPECT_EQ(shown.icon, icon);
    }
}

TEST(PresentToolMessage, AskAnswersWhatTheUserChose) {
    for (const bool answer : {true, false}) {
        RecordingPrompter prompter;
        prompter.answer = answer;
        EXPECT_EQ(ask(ToolMessageId::ExitQuestion, prompter), answer);
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0].title, "Quorvel Message");
        EXPECT_EQ(prompter.questions[0].text, "Would you exit Quorvel?");
        EXPECT_TRUE(prompter.messages.empty());
    }
    // A message that asks nothing cannot be cancelled.
    RecordingPrompter prompter;
    prompter.answer = false;
    EXPECT_TRUE(ask(ToolMessageId::SelectFirst, prompter));
    EXPECT_EQ(prompter.only(), "Quorvel Message: Please select first.Thank you.");
    EXPECT_TRUE(prompter.questions.empty());
}

TEST(PresentToolMessage, ShowsWhatTheWindowsHaveAlwaysShown) {
    struct Case {
        ToolMessage message;
        std::string shown;  // RecordingPrompter::only()
    };
    const Case kCases[] = {
        {ToolMessageId::SelectInputUnitName,
         "Quorvel: Please select the input unit name from the input unit list"},
        {ToolMessageId::LogCopied,
         "Quorvel: the log  information has been copied to the clipboard."},
        {{ToolMessageId::SettingOutOfRange, {"decimal places", "0", "10000"}},
         "Quorvel Message: The decimal places must be a whole number from 0 to 10000."},
        {msg::fileError(ToolMessageId::FailedToRead, "sums.txt", msg::kReasonNoSuchFile),
         "Quorvel: Failed to open and read the file:sums.txt (no such file)"},
        {{ToolMessageId::UnitsNotMatched, {"\"parsec\" is not a unit"}},
         "Quorvel Message: \"parsec\" is not a unit; convert with --convert CATEGORY VALUE FROM TO "
         "(quorvel-calc --units lists the categories and their units)"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.shown);
        RecordingPrompter prompter;
        present(c.message, prompter);
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST(PresentToolMessage, NoneShowsNothing) {
    RecordingPrompter prompter;
    present(ToolMessageId::None, prompter);
    EXPECT_TRUE(ask(ToolMessageId::None, prompter));
    EXPECT_EQ(prompter.messages.size() + prompter.questions.size() + prompter.inputMessages.size(),
              0u);
}

}  // namespace
}  // namespace quorvel
