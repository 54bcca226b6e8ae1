#include "calc/syntax_checker.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

// Advice texts after "The char [position:" P, as the user reads them.
constexpr const char* kBeforeFunction =
    "] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,F,K,W.Or the last char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr const char* kBeforeOpen =
    "] should be one of the chars:),(,0-9,+,-,*,/,^,X,M,F,K,W.Or the last char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.Or the last letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kBeforeCloseOrEquals =
    "] should be one of the chars:),0-9,X,M,F,K,W.Or the last char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr const char* kBeforeOperator =
    "] should be one of the chars:),(,0-9,X,M,F,K,W.Or the last char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.";
constexpr const char* kAfterOpen =
    "] should be one of the chars:(,0-9,+,-,*,/,^,X,M,F,K,W.Or the first char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.Or the first letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kAfterClose =
    "] should be one of the chars:(,),0-9,+,-,*,/,^,X,M,F,K,W.Or the first char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.Or the first letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kAfterOperator =
    "] should be one of the chars:(,0-9,X,M,F,K,W.Or the first char of the following "
    "words:Pi,Last1,Last2,Last3,Last4,Last5.Or the first letter of the function "
    "name:Sin,Cos,Tan,ArcSin,ArcSin,ArcCos,ArcTan,Log,Ln,Exp,Abs,Sqrt,Int";
constexpr const char* kArgumentAdvice =
    "Do not use the expression as the parameter of the function.";

std::string at(int position, const char* tail) {
    return "The char [position:" + std::to_string(position) + tail;
}

std::string argumentMessage(const char* argument, const char* name) {
    return std::string("The expression - ") + argument +
           " cannot be used as the parameter of the function -- " + name +
           ". The parameter of the function must be float number or integer.";
}

struct Case {
    const char* expression;
    int position;  // -1: accepted
    std::string message;
    std::string advice;
};

Case accepted(const char* expression) { return {expression, -1, "", ""}; }

const Case kCases[] = {
    accepted("2+3"),
    accepted("2*(3+4)"),
    accepted("sin(-30)"),
    accepted("(2)(3)"),
    accepted("2last4"),
    accepted("last1+last2*last3-last4/last5"),
    accepted("pi(2)"),
    accepted("sin(2pi)"),
    accepted("(x)sin(x)"),
    accepted("m+f*k/w"),
    accepted("-5+3"),
    accepted("2+"),
    accepted("2#3"),
    accepted("2x+1=7-x"),
    accepted("2=pi"),
    accepted("2+last"),
    accepted("arcsin(0.5)+arccos(1)-arctan(1)"),
    accepted("2sinh(1)*cosh(1)/tanh(1)"),
    accepted("ln(2)+log(3)-exp(1)*abs(-2)^sqrt(4)/int(2.5)+rad(180)-deg(pi)"),
    accepted("(int(2))"),

    // What may stand before a function name.
    {"2.sin(30)", 2, "The char [position:2] just before the string -- sin cannot be acceptted",
     at(2, kBeforeFunction)},
    {"2=sin(30)", 2, "The char [position:2] just before the string -- sin cannot be acceptted",
     at(2, kBeforeFunction)},
    {"asqrt(4)", 1, "The char [position:1] just before the string -- sqrt cannot be acceptted",
     at(1, kBeforeFunction)},
    {"sinsin(1)", 3, "The char [position:3] just before the string -- sin cannot be acceptted",
     at(3, kBeforeFunction)},

    // Before "(".
    {"2.(3)", 2, "The char [position:2] just before ( cannot be acceptted", at(2, kBeforeOpen)},
    {"sin (30)", 4, "The char [position:4] just before ( cannot be acceptted", at(4, kBeforeOpen)},

    // Before ")".
    {"(2+)", 3, "The char [position:3] just before ) cannot be acceptted",
     at(3, kBeforeCloseOrEquals)},
    {"()", 1, "The char [position:1] just before ) cannot be acceptted",
     at(1, kBeforeCloseOrEquals)},
    {"(sin)", 4, "The char [position:4] just before ) cannot be acceptted",
     at(4, kBeforeCloseOrEquals)},
    // The ")" rule runs over the whole text before the operator rule starts.
    {"2+*3+)", 5, "The char [position:5] just before ) cannot be acceptted",
     at(5, kBeforeCloseOrEquals)},

    // Before an operator.
    {"2+*3", 2, "The char [position:2] just before operator * cannot be acceptted",
     at(2, kBeforeOperator)},
    {"2*-3", 2, "The char [position:2] just before operator - cannot be acceptted",
     at(2, kBeforeOperator)},
    {"2 + 3", 2, "The char [position:2] just before operator + cannot be acceptted",
     at(2, kBeforeOperator)},
    {"sin+3", 3, "The char [position:3] just before operator + cannot be acceptted",
     at(3, kBeforeOperator)},
    {"2=-3", 2, "The char [position:2] just before operator - cannot be acceptted",
     at(2, kBeforeOperator)},

    // Before "=".
    {"2+=3", 2, "The char [position:2] just before = cannot be acceptted",
     at(2, kBeforeCloseOrEquals)},
    {"(=2)", 1, "The char [position:1] just before = cannot be acceptted",
     at(1, kBeforeCloseOrEquals)},

    // A function name must be followed by "(".
    {"sin 30", 4, "The function name sin must be followed by (",
     "Please input as the following:sin(number)"},
    {"arcsin30", 7, "The function name arcsin must be followed by (",
     "Please input as the following:arcsin(number)"},
    {"int 2", 4, "The function name int must be followed by (",
     "Please input as the following:int(number)"},
    {"2*sqrt", 7, "The functiona name must be followed by (",
     "Please input as the following:sqrt(number)"},
    {"sinh", 5, "The functiona name must be followed by (",
     "Please input as the following:sinh(number)"},
    // This rule comes before the rules on the character after.
    {"2+(.5)sin 3", 10, "The function name sin must be followed by (",
     "Please input as the following:sin(number)"},

    // After "(".
    {"(.5)", 2, "The char [position:2] just after ( cannot be acceptted", at(2, kAfterOpen)},

    // After ")".
    {"(2).5", 4, "The char [position:4] just after ) cannot be acceptted", at(4, kAfterClose)},
    {"2*(x+1)=4", 8, "The char [position:8] just after ) cannot be acceptted", at(8, kAfterClose)},

    // After an operator.
    {"2+.5", 3, "The char [position:3] just after the operator + cannot be acceptted",
     at(3, kAfterOperator)},

    // After "=": only the keyword scanner's words start a word here.
    {"2=.5", 3, "The char [position:3] just after the operator = cannot be acceptted",
     at(3, kAfterOperator)},
    {"2=last", 3, "The char [position:3] just after the operator = cannot be acceptted",
     at(3, kAfterOperator)},

    // Function arguments; the position is the first operator or bracket inside.
    {"sin(30+1)", 7, argumentMessage("30+1", "sin"), kArgumentAdvice},
    {"sqrt(-4*2)", 8, argumentMessage("-4*2", "sqrt"), kArgumentAdvice},
    {"cos((30))", 5, argumentMessage("(30)", "cos"), kArgumentAdvice},
    {"abs(2)+ln(2-1)", 12, argumentMessage("2-1", "ln"), kArgumentAdvice},
    {"arcsin(1+1)", 9, argumentMessage("1+1", "arcsin"), kArgumentAdvice},
    {"sin(30+1", 7, argumentMessage("30+1", "sin"), kArgumentAdvice},
};

TEST(SyntaxChecker, ReportsFirstViolationInRuleOrder) {
    const SyntaxChecker checker;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expression);
        const SyntaxVerdict verdict = checker.Check(c.expression);
        EXPECT_EQ(verdict.accepted, c.position == -1);
        EXPECT_EQ(verdict.position, c.position);
        EXPECT_EQ(verdict.message, c.message);
        EXPECT_EQ(verdict.advice, c.advice);
    }
}

TEST(SyntaxChecker, CharacterRulesLeaveArgumentsAlone) {
    const SyntaxChecker checker;
    EXPECT_TRUE(checker.Check("sin(30+1)", CheckScope::CharacterRules).accepted);
    const SyntaxVerdict verdict = checker.Check("sin 30", CheckScope::CharacterRules);
    EXPECT_FALSE(verdict.accepted);
    EXPECT_EQ(verdict.message, "The function name sin must be followed by (");
}

TEST(IsRecentResultName, AcceptsAllFiveInAnyCase) {
    struct NameCase {
        const char* text;
        bool expected;
    };
    constexpr NameCase kNames[] = {
        {"last1", true},   {"last2", true},   {"last3", true},  {"last4", true},  {"last5", true},
        {"LAST3", true},   {"Last5", true},   {"last0", false}, {"last6", false}, {"last", false},
        {"last12", false}, {" last1", false}, {"", false},      {"lest1", false},
    };
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsRecentResultName(c.text), c.expected);
    }
}

}  // namespace
}  // namespace quorvel
