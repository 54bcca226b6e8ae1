#include "calc/keyword_scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calc/text_util.h"

namespace quorvel {
namespace {

TEST(KeywordScanner, HoldsTheTypableWords) {
    const std::vector<std::string> kFunctions = {
        "sin",    "cos", "tan", "sinh", "cosh", "tanh", "arcsin", "arccos",
        "arctan", "ln",  "log", "exp",  "abs",  "sqrt", "rad",    "deg"};
    const std::vector<std::string> kOthers = {"last1", "last2", "last3", "last4", "last5", "pi"};
    std::vector<std::string> functions;
    std::vector<std::string> others;
    const KeywordScanner scanner;
    for (const Keyword& word : scanner.words()) {
        (word.isFunction ? functions : others).emplace_back(word.text);
    }
    EXPECT_EQ(functions, kFunctions);
    EXPECT_EQ(others, kOthers);
}

struct LookupCase {
    const char* text;
    std::size_t at;
    const char* keyword;  // nullptr: nothing found
    std::size_t start;
    bool isFunction;
};

void expectMatch(const std::optional<KeywordMatch>& found, const LookupCase& c) {
    if (c.keyword == nullptr) {
        EXPECT_FALSE(found.has_value());
        return;
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->keyword.text, c.keyword);
    EXPECT_EQ(found->start, c.start);
    EXPECT_EQ(found->keyword.isFunction, c.isFunction);
}

TEST(KeywordScanner, FindsLongestKeywordEndingAtCaret) {
    constexpr LookupCase kCases[] = {
        {"2+Sin", 5, "sin", 2, true},     {"2+Arcsin", 8, "arcsin", 2, true},
        {"Arctan", 6, "arctan", 0, true}, {"Sinh", 4, "sinh", 0, true},
        {"Sinh", 3, "sin", 0, true},      {"Ln", 2, "ln", 0, true},
        {"2*Exp", 5, "exp", 2, true},     {"3*Pi", 4, "pi", 2, false},
        {"Last5", 5, "last5", 0, false},  {"Last6", 5, nullptr, 0, false},
        {"Last", 4, nullptr, 0, false},   {"Int", 3, nullptr, 0, false},
        {"Sin(", 4, nullptr, 0, false},   {"2+Sin", 9, nullptr, 0, false},
        {"", 0, nullptr, 0, false},
    };
    const KeywordScanner scanner;
    for (const LookupCase& c : kCases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.at));
        expectMatch(scanner.findEndingAt(c.text, c.at), c);
    }
}

TEST(KeywordScanner, FindsLongestKeywordStartingAtPosition) {
    constexpr LookupCase kCases[] = {
        {"sinh(1)", 0, "sinh", 0, true},  {"arccos(1)", 0, "arccos", 0, true},
        {"Sqrt(4)", 0, "sqrt", 0, true},  {"2last3", 1, "last3", 1, false},
        {"2*pi", 2, "pi", 2, false},      {"last", 0, nullptr, 0, false},
        {"int(2)", 0, nullptr, 0, false}, {"pi", 2, nullptr, 0, false},
        {"pi", 7, nullptr, 0, false},
    };
    const KeywordScanner scanner;
    for (const LookupCase& c : kCases) {
        SCOPED_TRACE(std::string(c.text) + " at " + std::to_string(c.at));
        expectMatch(scanner.findStartingAt(c.text, c.at), c);
    }
}

// The longest keyword the text begins with, by a walk over the whole word list.
std::string_view longestByWalk(const KeywordScanner& scanner, std::string_view text) {
    std::string_view best;
    for (const Keyword& word : scanner.words()) {
        if (word.text.size() <= text.size() && word.text.size() > best.size() &&
            std::equal(word.text.begin(), word.text.end(), text.begin(),
                       [](char w, char t) { return w == LowerAscii(t); })) {
            best = word.text;
        }
    }
    return best;
}

// Every keyword, in either case and with what may follow it, is found as the longest keyword
// that the text begins with, as a walk over the whole word list finds it.
TEST(KeywordScanner, StartingLookupAgreesWithTheWholeWordList) {
    const KeywordScanner scanner;
    auto longest = [&](std::string_view text) { return longestByWalk(scanner, text); };
    ASSERT_GT(scanner.words().size(), 10u);
    for (const Keyword& word : scanner.words()) {
        std::string upper(word.text);
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        for (const std::string& text :
             {std::string(word.text), std::string(word.text) + "h(", upper + "(", upper + "5",
              std::string(word.text).substr(0, word.text.size() - 1)}) {
            SCOPED_TRACE(text);
            const auto found = scanner.findStartingAt("2*" + text, 2);
            const std::string_view expected = longest(text);
            ASSERT_EQ(found.has_value(), !expected.empty());
            if (found) {
                EXPECT_EQ(found->keyword.text, expected);
                EXPECT_EQ(found->start, 2u);
            }
        }
    }
}

// Words of prose are turned away on their first two letters; every pair of first letters,
// either case, with the endings of the keywords after them, must still give what the whole
// word list gives, and a text of one letter gives nothing.
TEST(KeywordScanner, TwoLetterFilterLosesNoKeyword) {
    const KeywordScanner scanner;
    auto longest = [&](std::string_view text) { return longestByWalk(scanner, text); };
    std::string firsts = "0(_ ";
    for (char c = 'a'; c <= 'z'; ++c) {
        firsts += c;
        firsts += static_cast<char>(c - 'a' + 'A');
    }
    const std::vector<std::string> kEndings = {"", "n", "h", "st1", "t(2)", "nh(", "cos", "sin"};
    int found = 0;
    for (char a : firsts) {
        for (char b : firsts) {
            for (const std::string& ending : kEndings) {
                const std::string text = std::string("=") + a + b + ending;
                SCOPED_TRACE(text);
                const auto match = scanner.findStartingAt(text, 1);
                const std::string_view expected = longest(std::string_view(text).substr(1));
                EXPECT_EQ(match ? match->keyword.text : std::string_view(), expected);
                found += match ? 1 : 0;
            }
        }
        EXPECT_FALSE(scanner.findStartingAt(std::string(1, a), 0));
    }
    EXPECT_GT(found, 20);  // the pairs above do begin keywords: ln, pi, sinh, tanh, ...
}

}  // namespace
}  // namespace quorvel
