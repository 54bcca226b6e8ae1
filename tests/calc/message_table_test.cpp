#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "calc/calc_outcome.h"
#include "calc/messages.h"

namespace quorvel {
namespace {

TEST(MessageTable, EveryIdHasItsOwnRowWithTitleKindAndText) {
    const std::set<std::string_view> titles = {msg::kTitleQuorvel, msg::kTitleWarning,
                                               msg::kTitleMalformed};
    const auto table = MessageTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(MessageId::TwoUnknownFactors));
    for (int n = 1; n <= static_cast<int>(MessageId::TwoUnknownFactors); ++n) {
        SCOPED_TRACE(n);
        const auto id = static_cast<MessageId>(n);
        const MessageEntry& entry = MessageFor(id);
        EXPECT_EQ(entry.id, id);
        EXPECT_TRUE(titles.count(entry.title)) << entry.title;
        EXPECT_FALSE(entry.text.empty());
        // Only the input message dialog has an advice line, and it always has one.
        EXPECT_EQ(entry.advice.empty(), entry.kind != MessageKind::Input);
        if (entry.kind == MessageKind::Input) {
            EXPECT_EQ(entry.title, msg::kTitleQuorvel);
        }
    }
}

// A misspelt placeholder would reach the user as "{O}" or "{x}".
TEST(MessageTable, EveryPlaceholderIsFilled) {
    const std::vector<std::string> arguments = {"zero", "one", "two"};
    for (const MessageEntry& entry : MessageTable()) {
        SCOPED_TRACE(static_cast<int>(entry.id));
        for (const std::string_view pattern : {entry.text, entry.advice}) {
            const std::string text = FormatMessage(pattern, arguments);
            EXPECT_EQ(text.find('{'), std::string::npos) << text;
            EXPECT_EQ(text.find('}'), std::string::npos) << text;
        }
    }
}

TEST(MessageTable, ArgumentsFillTheirPlaces) {
    struct Case {
        CalcOutcome outcome;
        const char* message;
        const char* advice;
    };
    const Case kCases[] = {
        {Failure(MessageId::InvalidNumber, {"1.2.3"}), "Sorry, the input number 1.2.3 is invalid.",
         ""},
        {Failure(MessageId::BracketCounts, {"2", "1"}),
         "Sorry, the expression includes 2 ( and 1 ). It is invalid.", ""},
        {Failure(MessageId::FunctionTooLarge, {"Exp"}),
         "Sorry,the result of the function Exp(x) is too large to be calculated.", ""},
        {Failure(MessageId::DenominatorZero), "Sorry,the denominator cannot be zero.", ""},
        {Failure(MessageId::UnknownAsFunctionParameter, {"sin(x)=1", "sin"}),
         "The parameter of function -sin cannot be unknown variable.",
         "Please delete the string sin(x)"},
        {Failure(MessageId::OpenBracketsLeftOver, {"((x=2", "2"}),
         "The number of open bracket is larger than the number of close bracket",
         "Please delete 2 open bracket"},
        // The checker's own texts pass through whole, braces included.
        {Failure(MessageId::Syntax, {"2+*3", "bad {0}", "advice {1}"}), "bad {0}", "advice {1}"},
        {Failure(MessageId::None), "", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(c.outcome.message(), c.message);
        EXPECT_EQ(c.outcome.advice(), c.advice);
    }
}

TEST(MessageTable, ArgumentsShowControlCharactersEscaped) {
    EXPECT_EQ(Failure(MessageId::InvalidNumber, {"1\x1b[2J"}).message(),
              "Sorry, the input number 1\\x1b[2J is invalid.");
    EXPECT_EQ(Failure(MessageId::TanOfDegree, {"9\x7f"}).message(),
              "Sorry, we cannot calculate the Tan of the degree 9\\x7f");
    // A missing argument leaves its place empty rather than reading past the list.
    EXPECT_EQ(Failure(MessageId::InvalidNumber).message(), "Sorry, the input number  is invalid.");
}

TEST(MessageTable, TheTooLongMessageNamesTheLimit) {
    EXPECT_NE(Failure(MessageId::ExpressionTooLong)
                  .message()
                  .find(" " + std::to_string(msg::kMaxExpressionLength) + " "),
              std::string::npos);
}

}  // namespace
}  // namespace quorvel
