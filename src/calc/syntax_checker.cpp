#include "calc/syntax_checker.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/function_table.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

// What a neighbouring character may be; one character can be several at once.
enum Neighbour : unsigned {
    kCloseBracket = 1u << 0,
    kOpenBracket = 1u << 1,
    kDigit = 1u << 2,
    kOperator = 1u << 3,
    kUnknown = 1u << 4,
    kParameter = 1u << 5,
    kWordEnd = 1u << 6,       // the last character of "pi" or of "last1" to "last5"
    kFunctionEnd = 1u << 7,   // the last letter of a function name
    kWordStart = 1u << 8,     // "pi", "last" or a function name begins here
    kKeywordStart = 1u << 9,  // a word of the keyword scanner begins here
};

enum class Subject { FunctionName, OpenBracket, CloseBracket, Operator, Equals };

struct NeighbourRule {
    Subject subject;
    unsigned accepted;
    const char* lead;    // message: "The char [position:" P lead subject kCannotAccept
    const char* advice;  // advice: "The char [position:" P advice
};

constexpr const char* kCharAt = "The char [position:";
constexpr const char* kCannotAccept = " cannot be acceptted";

constexpr unsigned kValueEnd = kCloseBracket | kDigit | kUnknown | kParameter | kWordEnd;
constexpr unsigned kValueStart = kOpenBracket | kDigit | kUnknown | kParameter | kWordStart;

constexpr const char* kAdviceBeforeValueOrOperator =
    "] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,F,K,W.Or the last char of the "
    "following words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr const char* kAdviceBeforeOpenBracket =
    "] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,F,K,W.Or the last char of the "
    "following words:Pi,Last1,Last2,Last3,Last4,Last5.Or the last letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kAdviceBeforeClose =
    "] should be one of the chars:),0-9,X,M,F,K,W.Or the last char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr const char* kAdviceBeforeOperator =
    "] should be one of the chars:),(,0-9,X,M,F,K,W.Or the last char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr const char* kAdviceAfterOpenBracket =
    "] should be one of the chars:(,0-9,+,-,*,/,^,X,M,F,K,W.Or the first char of the "
    "following words:Pi,Last1,Last2,Last3,Last4,Last5.Or the first letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kAdviceAfterCloseBracket =
    "] should be one of the chars:(,),0-9,+,-,*,/,^,X,M,F,K,W.Or the first char of the "
    "following words:Pi,Last1,Last2,Last3,Last4,Last5.Or the first letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kAdviceAfterOperator =
    "] should be one of the chars:(,0-9,X,M,F,K,W.Or the first char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.Or the first letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";

constexpr std::array<NeighbourRule, 5> kBeforeRules = {{
    {Subject::FunctionName, kValueEnd | kOpenBracket | kOperator, "] just before the string -- ",
     kAdviceBeforeValueOrOperator},
    {Subject::OpenBracket, kValueEnd | kOpenBracket | kOperator | kFunctionEnd, "] just before ",
     kAdviceBeforeOpenBracket},
    {Subject::CloseBracket, kValueEnd, "] just before ", kAdviceBeforeClose},
    {Subject::Operator, kValueEnd | kOpenBracket, "] just before operator ", kAdviceBeforeOperator},
    {Subject::Equals, kValueEnd, "] just before ", kAdviceBeforeClose},
}};

// After "=" the keyword scanner decides what starts a word, so "int" and a bare "last" do not.
constexpr std::array<NeighbourRule, 4> kAfterRules = {{
    {Subject::OpenBracket, kValueStart | kOperator, "] just after ", kAdviceAfterOpenBracket},
    {Subject::CloseBracket, kValueStart | kOperator | kCloseBracket, "] just after ",
     kAdviceAfterCloseBracket},
    {Subject::Operator, kValueStart, "] just after the operator ", kAdviceAfterOperator},
    {Subject::Equals, (kValueStart & ~kWordStart) | kKeywordStart, "] just after the operator ",
     kAdviceAfterOperator},
}};

constexpr std::string_view kArgumentOperators = "()*+-/^";

bool beginsWith(std::string_view text, std::size_t at, std::string_view word) {
    if (word.size() > text.size() - at) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (LowerAscii(text[at + i]) != word[i]) return false;
    }
    return true;
}

bool isOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }

// The class of every character outside a word, one lookup each.
constexpr std::array<unsigned, 256> makeClassTable() {
    std::array<unsigned, 256> table{};
    table[')'] = kCloseBracket;
    table['('] = kOpenBracket;
    for (char c = '0'; c <= '9'; ++c) table[static_cast<unsigned char>(c)] = kDigit;
    for (char c : {'+', '-', '*', '/', '^'}) table[static_cast<unsigned char>(c)] = kOperator;
    table['x'] = table['X'] = kUnknown;
    for (char c : {'m', 'f', 'k', 'w', 'M', 'F', 'K', 'W'}) {
        table[static_cast<unsigned char>(c)] = kParameter;
    }
    return table;
}
constexpr std::array<unsigned, 256> kClass = makeClassTable();

unsigned characterClass(char c) { return kClass[static_cast<unsigned char>(c)]; }

unsigned subjectBit(Subject s) { return 1u << static_cast<unsigned>(s); }

// The words of the text found from the left, so that the "sin" inside "arcsin" or "sinh"
// never counts as a function name of its own. The buffers are kept per thread between checks.
struct Layout {
    std::vector<unsigned> classes;
    std::vector<std::string_view> functionAt;  // the name beginning at each index, or empty
};

const Layout& layOut(std::string_view text) {
    thread_local Layout layout;
    const std::size_t n = text.size();
    layout.classes.assign(n, 0);
    layout.functionAt.assign(n, std::string_view{});
    std::size_t i = 0;
    while (i < n) {
        const char l = LowerAscii(text[i]);
        if (l < 'a' || l > 'z') {  // every word begins with a letter
            layout.classes[i] |= characterClass(text[i]);
            ++i;
            continue;
        }
        std::size_t length = 0;
        for (const FunctionEntry* function : FunctionsLongestFirst()) {
            const std::string_view name = function->name;
            if (beginsWith(text, i, name)) {
                layout.functionAt[i] = name;
                length = name.size();
                layout.classes[i + length - 1] |= kFunctionEnd;
                break;
            }
        }
        if (length == 0 && beginsWith(text, i, "last")) {
            length = 4;
            if (i + 4 < n && text[i + 4] >= '1' && text[i + 4] <= '5') {
                layout.classes[i + 4] |= kWordEnd;
                length = 5;
            }
        }
        if (length == 0 && beginsWith(text, i, "pi")) {
            length = 2;
            layout.classes[i + 1] |= kWordEnd;
        }
        if (length == 0) {
            layout.classes[i] |= characterClass(text[i]);
            length = 1;
        } else {
            layout.classes[i] |= kWordStart;
        }
        i += length;
    }
    return layout;
}

unsigned subjectsAt(std::string_view text, const Layout& layout, std::size_t k) {
    unsigned bits = 0;
    if (!layout.functionAt[k].empty()) bits |= subjectBit(Subject::FunctionName);
    const char c = text[k];
    if (c == '(') bits |= subjectBit(Subject::OpenBracket);
    if (c == ')') bits |= subjectBit(Subject::CloseBracket);
    if (isOperator(c)) bits |= subjectBit(Subject::Operator);
    if (c == '=') bits |= subjectBit(Subject::Equals);
    return bits;
}

// The text the message names for the rule's subject at `i`.
std::string_view subjectAt(std::string_view text, const Layout& layout, std::size_t i,
                           Subject subject) {
    return subject == Subject::FunctionName ? layout.functionAt[i] : text.substr(i, 1);
}

SyntaxVerdict reject(std::size_t index, std::string message, std::string advice) {
    return SyntaxVerdict{false, static_cast<int>(index) + 1, std::move(message), std::move(advice)};
}

SyntaxVerdict rejectNeighbour(std::size_t index, const NeighbourRule& rule,
                              std::string_view subject) {
    const std::string at = kCharAt + std::to_string(index + 1);
    std::string message = at + rule.lead;
    message += subject;
    message += kCannotAccept;
    return reject(index, std::move(message), at + rule.advice);
}

std::string bracketAdvice(std::string_view name) {
    std::string advice = "Please input as the following:";
    advice += name;
    advice += "(number)";
    return advice;
}

// A name that ends the text is reported at the place just after it, where "(" is missing.
SyntaxVerdict rejectFunctionBracket(std::string_view text, std::string_view name,
                                    std::size_t after) {
    if (after == text.size()) {
        return reject(after, "The functiona name must be followed by (", bracketAdvice(name));
    }
    std::string message = "The function name ";
    message += name;
    message += " must be followed by (";
    return reject(after, std::move(message), bracketAdvice(name));
}

// A character's subjects are bits in the order of the rules on them, so the walk below goes
// from a subject bit straight to its rule.
constexpr bool rulesFollowSubjects() {
    for (std::size_t r = 0; r < kBeforeRules.size(); ++r) {
        if (static_cast<std::size_t>(kBeforeRules[r].subject) != r) return false;
    }
    for (std::size_t r = 0; r < kAfterRules.size(); ++r) {
        if (static_cast<std::size_t>(kAfterRules[r].subject) != r + 1) return false;
    }
    return true;
}
static_assert(rulesFollowSubjects());

// The rules in the order they decide: the five on the character before, the function-name
// bracket, the four on the character after.
constexpr std::size_t kBracketRule = kBeforeRules.size();
constexpr std::size_t kRuleCount = kBeforeRules.size() + 1 + kAfterRules.size();

// One walk for all the character rules. The verdict is the first violation of the earliest
// rule that has one, exactly as walking the text once per rule in that order would find;
// the walk ends early once the first rule has fired, since no other can come before it.
std::optional<SyntaxVerdict> checkCharacters(std::string_view text, const Layout& layout,
                                             const KeywordScanner& scanner) {
    const std::size_t n = text.size();
    std::array<std::size_t, kRuleCount> first{};
    std::size_t best = kRuleCount;  // the earliest rule violated so far
    for (std::size_t i = 0; i < n && best > 0; ++i) {
        const unsigned subjects = subjectsAt(text, layout, i);
        if (subjects == 0) continue;
        if (i > 0) {
            // Only the rules of the character's own subjects, lowest first (see below).
            for (unsigned bits = subjects; bits != 0; bits &= bits - 1) {
                const auto r = static_cast<std::size_t>(__builtin_ctz(bits));
                if (r >= best) break;
                if ((layout.classes[i - 1] & kBeforeRules[r].accepted) == 0) {
                    first[r] = i;
                    best = r;
                }
            }
        }
        if (kBracketRule < best && !layout.functionAt[i].empty()) {
            const std::size_t after = i + layout.functionAt[i].size();
            if (after == n || text[after] != '(') {
                first[kBracketRule] = i;
                best = kBracketRule;
            }
        }
        if (i + 1 < n) {
            unsigned next = layout.classes[i + 1];
            if (text[i] == '=' && scanner.findStartingAt(text, i + 1)) next |= kKeywordStart;
            // The after rules start at the open bracket: a function name has none.
            for (unsigned bits = subjects >> 1; bits != 0; bits &= bits - 1) {
                const auto r = static_cast<std::size_t>(__builtin_ctz(bits));
                if (kBracketRule + 1 + r >= best) break;
                if ((next & kAfterRules[r].accepted) == 0) {
                    first[kBracketRule + 1 + r] = i;
                    best = kBracketRule + 1 + r;
                }
            }
        }
    }
    if (best == kRuleCount) return std::nullopt;
    const std::size_t i = first[best];
    if (best < kBracketRule) {
        const NeighbourRule& rule = kBeforeRules[best];
        return rejectNeighbour(i - 1, rule, subjectAt(text, layout, i, rule.subject));
    }
    if (best == kBracketRule) {
        const std::string_view name = layout.functionAt[i];
        return rejectFunctionBracket(text, name, i + name.size());
    }
    const NeighbourRule& rule = kAfterRules[best - kBracketRule - 1];
    return rejectNeighbour(i + 1, rule, subjectAt(text, layout, i, rule.subject));
}

// Runs after the bracket rule has passed, so every name here is followed by "(". Without a
// matching ")" the argument is the rest of the text.
std::optional<SyntaxVerdict> checkArguments(std::string_view text, const Layout& layout) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view name = layout.functionAt[i];
        if (name.empty()) continue;
        const std::size_t open = i + name.size();
        std::size_t close = open;
        int depth = 0;
        for (; close < text.size(); ++close) {
            if (text[close] == '(') ++depth;
            if (text[close] == ')' && --depth == 0) break;
        }
        const std::string_view argument = text.substr(open + 1, close - open - 1);
        const std::size_t sign =
            (!argument.empty() && (argument[0] == '+' || argument[0] == '-')) ? 1 : 0;
        const std::size_t found = argument.find_first_of(kArgumentOperators, sign);
        if (found == std::string_view::npos) continue;
        std::string message = "The expression - ";
        message += argument;
        message += " cannot be used as the parameter of the function -- ";
        message += name;
        message += ". The parameter of the function must be float number or integer.";
        return reject(open + 1 + found, std::move(message),
                      "Do not use the expression as the parameter of the function.");
    }
    return std::nullopt;
}

}  // namespace

namespace {

enum CharClass : unsigned char {
    kPlainOther,
    kPlainDigit,
    kPlainPoint,
    kPlainOperator,
    kPlainOpen,
    kPlainClose
};

constexpr std::array<CharClass, 256> kClasses = [] {
    std::array<CharClass, 256> table{};
    for (char c = '0'; c <= '9'; ++c) table[static_cast<unsigned char>(c)] = kPlainDigit;
    table['.'] = kPlainPoint;
    for (const char c : {'+', '-', '*', '/', '^'}) {
        table[static_cast<unsigned char>(c)] = kPlainOperator;
    }
    table['('] = kPlainOpen;
    table[')'] = kPlainClose;
    return table;
}();

// Whether a text of digits, points, operators and brackets alone passes every character
// rule: without a letter they are rules on neighbouring pairs only. False for any other text,
// and for one that breaks a rule, which the full walk then finds and words.
constexpr bool pairFits(CharClass before, CharClass c) {
    if (c == kPlainOther) return false;
    if (before == kPlainOther) return true;  // the first character: nothing before it
    bool fits = true;
    switch (c) {
        case kPlainOperator:
            fits = before == kPlainClose || before == kPlainOpen || before == kPlainDigit;
            break;
        case kPlainOpen:
            fits = before != kPlainPoint;
            break;
        case kPlainClose:
            fits = before == kPlainClose || before == kPlainDigit;
            break;
        default:
            break;
    }
    switch (before) {
        case kPlainOpen:
            return fits && (c == kPlainOpen || c == kPlainDigit || c == kPlainOperator);
        case kPlainClose:
            return fits && c != kPlainPoint;
        case kPlainOperator:
            return fits && (c == kPlainOpen || c == kPlainDigit);
        default:
            return fits;
    }
}

constexpr std::array<std::array<bool, 6>, 6> kPairFits = [] {
    std::array<std::array<bool, 6>, 6> table{};
    for (int b = 0; b < 6; ++b) {
        for (int c = 0; c < 6; ++c) {
            table[b][c] = pairFits(static_cast<CharClass>(b), static_cast<CharClass>(c));
        }
    }
    return table;
}();

bool passesWithoutWords(std::string_view text) {
    CharClass before = kPlainOther;
    for (const char ch : text) {
        const CharClass c = kClasses[static_cast<unsigned char>(ch)];
        if (!kPairFits[before][c]) return false;
        before = c;
    }
    return true;
}

}  // namespace

SyntaxVerdict SyntaxChecker::Check(std::string_view expression, CheckScope scope) const {
    // Most expressions are numbers, operators and brackets: no word, so no argument rule, and
    // a valid one needs no layout.
    if (passesWithoutWords(expression)) return SyntaxVerdict{};
    // Without a letter there is no function, so nothing for the argument rule to look at.
    if (scope == CheckScope::ArgumentRule &&
        std::none_of(expression.begin(), expression.end(),
                     [](char c) { return LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z'; })) {
        return SyntaxVerdict{};
    }
    const Layout& layout = layOut(expression);
    if (scope != CheckScope::ArgumentRule) {
        if (auto verdict = checkCharacters(expression, layout, m_scanner)) return *verdict;
    }
    if (scope != CheckScope::CharacterRules) {
        if (auto verdict = checkArguments(expression, layout)) return *verdict;
    }
    return SyntaxVerdict{};
}

bool IsRecentResultName(std::string_view text) {
    return text.size() == 5 && beginsWith(text, 0, "last") && text[4] >= '1' && text[4] <= '5';
}

}  // namespace quorvel
