#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calc/syntax_checker.h"
#include "reference/syntax_checker_reference.h"

namespace quorvel {
namespace {

void expectSameVerdict(const SyntaxVerdict& now, const SyntaxVerdict& before) {
    EXPECT_EQ(now.accepted, before.accepted);
    EXPECT_EQ(now.position, before.position);
    EXPECT_EQ(now.message, before.message);
    EXPECT_EQ(now.advice, before.advice);
}

// Texts that break several rules, where the rule that decides is not the one whose violation
// comes first in the text.
TEST(SyntaxCheckerOrder, EarlierRuleWinsOverEarlierPosition) {
    struct Case {
        const char* text;
        const char* message;
    };
    constexpr Case kCases[] = {
        {"2+*3", "The char [position:2] just before operator * cannot be acceptted"},
        // A rule on the character before beats the function-name rule further left.
        {"sin 1+*2", "The char [position:6] just before operator * cannot be acceptted"},
        // The function-name rule beats a rule on the character after further left.
        {"(2).5+sin 1", "The function name sin must be followed by ("},
        // Among the rules on the character before, "(" comes before ")".
        {"2+)(x=(1)", "The char [position:6] just before ( cannot be acceptted"},
        // A rule on the character before beats one on the character after further left.
        {"(2).5+*1", "The char [position:6] just before operator * cannot be acceptted"},
        {"(+)*sin", "The char [position:2] just before ) cannot be acceptted"},
        {"(2).5", "The char [position:4] just after ) cannot be acceptted"},
        {"3=last1", ""},
    };
    const SyntaxChecker checker;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        const SyntaxVerdict now = checker.Check(c.text);
        EXPECT_EQ(now.message, c.message);
        expectSameVerdict(now, reference::ReferenceCheck(c.text));
    }
}

std::string randomText(std::mt19937& rng) {
    static const std::vector<std::string> kPieces = {
        "1", "23", ".",   "+",   "-",      "*",     "/",     "^",     "(",    ")",  "x",
        "m", "K",  "pi",  "PI",  "last",   "last3", "last9", "sin",   "sinh", "ln", "=",
        " ", "e",  "int", "arc", "arcsin", "log",   "sqrt(", "abs(-", "w",    "%",  "exp",
    };
    std::string s;
    const unsigned n = 1 + rng() % 10;
    for (unsigned i = 0; i < n; ++i) s += kPieces[rng() % kPieces.size()];
    return s;
}

// The one-walk checker and the rule-by-rule walk it replaced agree on every verdict.
TEST(SyntaxCheckerOrder, AgreesWithTheRuleByRuleWalk) {
    const SyntaxChecker checker;
    std::mt19937 rng(11);
    int rejected = 0;
    for (int i = 0; i < 60000; ++i) {
        const std::string text = randomText(rng);
        const CheckScope scope = i % 3 == 0 ? CheckScope::CharacterRules : CheckScope::AllRules;
        const SyntaxVerdict now = checker.Check(text, scope);
        const SyntaxVerdict before = reference::ReferenceCheck(text, scope);
        if (now.accepted != before.accepted || now.position != before.position ||
            now.message != before.message || now.advice != before.advice) {
            ADD_FAILURE() << '"' << text << "\": " << now.message << " @" << now.position
                          << " instead of " << before.message << " @" << before.position;
        }
        if (!before.accepted) ++rejected;
    }
    // Both outcomes are well represented, or the comparison proves little.
    EXPECT_GT(rejected, 20000);
    EXPECT_LT(rejected, 58000);
}

// Texts of digits, points, operators and brackets alone take a shorter way through the
// checker; it must come to the verdict of the rule-by-rule walk.
TEST(SyntaxCheckerOrder, AgreesWithoutWords) {
    const SyntaxChecker checker;
    std::mt19937 rng(37);
    const std::string_view kChars = "0123456789.+-*/^()";
    int accepted = 0;
    for (int i = 0; i < 60000; ++i) {
        std::string text;
        const unsigned n = 1 + rng() % 12;
        for (unsigned k = 0; k < n; ++k) text += kChars[rng() % kChars.size()];
        const CheckScope scope = i % 2 == 0 ? CheckScope::CharacterRules : CheckScope::AllRules;
        const SyntaxVerdict now = checker.Check(text, scope);
        const SyntaxVerdict before = reference::ReferenceCheck(text, scope);
        if (now.accepted != before.accepted || now.position != before.position ||
            now.message != before.message || now.advice != before.advice) {
            ADD_FAILURE() << '"' << text << "\": " << now.message << " @" << now.position
                          << " instead of " << before.message << " @" << before.position;
        }
        if (before.accepted) ++accepted;
    }
    EXPECT_GT(accepted, 2000);
}

// The batch run checks the character rules itself and leaves only the argument rule to the
// calculation; the two steps must give the verdict of the whole check.
TEST(SyntaxCheckerOrder, ArgumentRuleAfterCharacterRulesIsTheWholeCheck) {
    const SyntaxChecker checker;
    std::mt19937 rng(29);
    std::vector<std::string> texts = {"sin(3*4)", "SIN(2+1)", "sqrt(16)*2",     "2+3",
                                      "(2+3",     "abs(-3)",  "log(10)+ln(2^3)"};
    for (int i = 0; i < 30000; ++i) texts.push_back(randomText(rng));
    int argumentRejects = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const SyntaxVerdict whole = checker.Check(text);
        const SyntaxVerdict characters = checker.Check(text, CheckScope::CharacterRules);
        const SyntaxVerdict split =
            characters.accepted ? checker.Check(text, CheckScope::ArgumentRule) : characters;
        expectSameVerdict(split, whole);
        if (characters.accepted && !split.accepted) ++argumentRejects;
    }
    // The argument rule alone must have rejected often enough for the comparison to count.
    EXPECT_GT(argumentRejects, 100);
    EXPECT_FALSE(checker.Check("sin(3*4)", CheckScope::ArgumentRule).accepted);
    EXPECT_FALSE(checker.Check("SIN(2+1)", CheckScope::ArgumentRule).accepted);
    EXPECT_TRUE(checker.Check("2+*3", CheckScope::ArgumentRule).accepted);
}

}  // namespace
}  // namespace quorvel
