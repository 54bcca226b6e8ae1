#pragma once

// Checks an expression character by character against the neighbours each bracket,
// operator, "=" and function name may have, without parsing it. The rules have an order, and
// the verdict is the first violation of the earliest rule that has one, so the order of the
// rules is part of what the user sees; one walk of the text finds it for all of them.

#include <string>
#include <string_view>

#include "calc/keyword_scanner.h"

namespace quorvel {

struct SyntaxVerdict {
    bool accepted = true;
    int position = -1;    // of the offending character, counted from 1; -1 when accepted
    std::string message;  // what is wrong and where
    std::string advice;   // what would have been accepted there
};

enum class CheckScope {
    AllRules,
    CharacterRules,  // without the function-argument rule, for the batch run's stretches
    ArgumentRule,    // only that rule, for a text whose character rules have passed
};

class SyntaxChecker {
public:
    // The caller trims and lower-cases the expression; characters that fit no rule pass.
    SyntaxVerdict Check(std::string_view expression, CheckScope scope = CheckScope::AllRules) const;

private:
    KeywordScanner m_scanner;
};

// True for "last1" to "last5" in any case.
bool IsRecentResultName(std::string_view text);

}  // namespace quorvel
