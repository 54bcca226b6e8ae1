#pragma once

#include <string_view>

#include "calc/syntax_checker.h"

namespace quorvel::reference {

// The checker's verdict as the rule-by-rule walk gave it.
SyntaxVerdict ReferenceCheck(std::string_view expression, CheckScope scope = CheckScope::AllRules);

}  // namespace quorvel::reference
