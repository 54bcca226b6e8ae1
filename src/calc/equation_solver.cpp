#include "calc/equation_solver.h"

#include <array>
#include <cctype>
#include <limits>
#include <optional>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/function_table.h"
#include "calc/messages.h"
#include "calc/solver_messages.h"
#include "calc/substitute.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

// Fraction digits beyond P for partial results: rounded to P, the 1/3 of X/3=1 would make X
// come out as 3.03 with P = 2.
constexpr int kGuardPlaces = 20;

const RecentResults kNoRecent = {"0", "0", "0", "0", "0"};

std::string toUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool isSign(char c) { return c == '+' || c == '-'; }
// The x of "exp" is part of the name, not the unknown.
bool isUnknownAt(std::string_view t, std::size_t i) {
    if (t[i] != 'x' && t[i] != 'X') return false;
    return !(i >= 1 && i + 1 < t.size() && LowerAscii(t[i - 1]) == 'e' &&
             LowerAscii(t[i + 1]) == 'p');
}

bool containsUnknown(std::string_view t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (isUnknownAt(t, i)) return true;
    }
    return false;
}

std::size_t matchingClose(std::string_view t, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < t.size(); ++i) {
        if (t[i] == '(') ++depth;
        if (t[i] == ')' && --depth == 0) return i;
    }
    return std::string_view::npos;
}

bool isEnclosed(std::string_view t) {
    return t.size() >= 2 && t.front() == '(' && matchingClose(t, 0) == t.size() - 1;
}

std::string_view inner(std::string_view t) { return t.substr(1, t.size() - 2); }

struct Piece {
    char op;
    std::string_view body;
};

std::vector<Piece> splitTopLevel(std::string_view text, std::string_view separators, char firstOp) {
    std::vector<Piece> pieces;
    int depth = 0;
    std::size_t start = 0;
    char op = firstOp;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            --depth;
        } else if (depth == 0 && separators.find(c) != std::string_view::npos) {
            pieces.push_back({op, text.substr(start, i - start)});
            op = c;
            start = i + 1;
        }
    }
    pieces.push_back({op, text.substr(start)});
    return pieces;
}

// A leading sign becomes the first term's sign, so "-3*(X+1)" multiplies by 3, not by "-3"
// (which the checker would refuse after the "*" of the multiplier text).
std::vector<Piece> splitTerms(std::string_view text) {
    char first = '+';
    if (!text.empty() && isSign(text.front())) {
        first = text.front();
        text.remove_prefix(1);
    }
    return splitTopLevel(text, "+-", first);
}

bool isNumberMaybeBracketed(std::string_view t) {
    return IsPlainNumber(t) || (isEnclosed(t) && IsPlainNumber(inner(t)));
}

struct SignedDigits {
    bool negative = false;
    std::string_view digits;  // empty for a missing coefficient
};

// A decimal number, optionally signed, optionally in one pair of brackets. Stricter than
// IsPlainNumber on purpose: its "X" and radix letters would make X*X or X+X look linear.
// Without `needDigits` an empty text or a lone sign passes (the coefficient of X and -X).
std::optional<SignedDigits> readNumber(std::string_view t, bool needDigits) {
    const bool bracketed = isEnclosed(t);
    if (bracketed) t = inner(t);
    SignedDigits out;
    if (!t.empty() && isSign(t.front())) {
        out.negative = t.front() == '-';
        t.remove_prefix(1);
    }
    bool digit = false;
    for (char c : t) {
        if (IsDigit(c)) {
            digit = true;
        } else if (c != '.') {
            return std::nullopt;
        }
    }
    if (!digit && (needDigits || bracketed || !t.empty())) return std::nullopt;
    out.digits = t;
    return out;
}

std::string signedText(bool negative, std::string_view digits, bool plusSign) {
    std::string out = negative ? "-" : (plusSign ? "+" : "");
    out += digits.empty() ? std::string_view("1") : digits;
    return out;
}

// The coefficient of X in "X", "-X", "3X", "3*X" or "X*3".
std::optional<SignedDigits> readUnknownPart(std::string_view part) {
    int unknowns = 0;
    for (char c : part) unknowns += (c == 'x' || c == 'X') ? 1 : 0;
    if (unknowns != 1) return std::nullopt;
    if (part.back() == 'x' || part.back() == 'X') {
        std::string_view prefix = part.substr(0, part.size() - 1);
        if (!prefix.empty() && prefix.back() == '*') {
            return readNumber(prefix.substr(0, prefix.size() - 1), true);
        }
        return readNumber(prefix, false);
    }
    if ((part.front() == 'x' || part.front() == 'X') && part.size() >= 2 && part[1] == '*') {
        return readNumber(part.substr(2), true);
    }
    return std::nullopt;
}

struct LinearParts {
    std::string coefficient;
    std::string constant;
};

std::optional<LinearParts> parseLinear(std::string_view text) {
    while (isEnclosed(text)) text = inner(text);
    if (text.empty()) return std::nullopt;
    std::vector<std::size_t> joins;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') ++depth;
        if (text[i] == ')') --depth;
        if (i > 0 && depth == 0 && isSign(text[i])) joins.push_back(i);
    }
    if (joins.size() > 1) return std::nullopt;
    if (joins.empty()) {
        const auto a = readUnknownPart(text);
        if (!a) return std::nullopt;
        return LinearParts{signedText(a->negative, a->digits, false), "0"};
    }
    const std::size_t j = joins.front();
    const bool minus = text[j] == '-';
    const std::string_view left = text.substr(0, j);
    const std::string_view right = text.substr(j + 1);
    if (const auto a = readUnknownPart(left)) {
        const auto b = readNumber(right, true);
        if (!b) return std::nullopt;
        return LinearParts{signedText(a->negative, a->digits, false),
                           signedText(minus != b->negative, b->digits, true)};
    }
    if (const auto a = readUnknownPart(right)) {
        const auto b = readNumber(left, true);
        if (!b) return std::nullopt;
        return LinearParts{signedText(minus != a->negative, a->digits, false),
                           signedText(b->negative, b->digits, false)};
    }
    return std::nullopt;
}

bool evaluate(const SolverContext& context, std::string_view text, std::string& value) {
    CalcSettings partial = context.settings;
    partial.places += kGuardPlaces;
    // No E form: partials go back into expressions, and the E form cuts digits.
    partial.digitsLimit = std::numeric_limits<int>::max();
    CalcOutcome outcome;
    CalculateExpression(text, kNoRecent, partial, CheckScope::AllRules, outcome, StepText::Skipped);
    if (!outcome.ok) {
        context.failure = std::move(outcome);
        return false;
    }
    value = std::move(outcome.result);
    return true;
}

// An input message about the equation; `position`: its offending character (1-based), or -1.
bool problem(const SolverContext& context, MessageId id, std::string argument = {},
             int position = -1) {
    context.failure = Failure(id, {std::string(context.equation), std::move(argument)},
                              msg::escapedPosition(context.equation, position));
    return false;
}

bool notLinear(const SolverContext& context) {
    return problem(context, MessageId::NotLinear, std::string(msg::kSupportAddress));
}

// Adds the contribution of one term that is a product holding X in one factor.
bool reduceProduct(const SolverContext& context, const Piece& term, std::string_view whole,
                   std::string& coefficientSum, std::string& constantSum) {
    const std::vector<Piece> factors = splitTopLevel(term.body, "*/", '*');
    const Piece* unknownFactor = nullptr;
    std::string multiplierText = "1";
    for (const Piece& factor : factors) {
        if (!containsUnknown(factor.body)) {
            multiplierText += factor.op;
            multiplierText += factor.body;
            continue;
        }
        if (unknownFactor) {
            return problem(context, MessageId::TwoUnknownFactors);
        }
        unknownFactor = &factor;
    }
    if (unknownFactor->op == '/') {
        return problem(context, MessageId::UnknownInDenominator);
    }
    // Reducing the whole text again would never end: only a bracket layer makes progress.
    if (unknownFactor->body == whole && !isEnclosed(unknownFactor->body)) {
        const auto function = FunctionNameRecogniser().find(
            unknownFactor->body, FunctionNameRecogniser::Mode::BeginsWith);
        if (function) {
            return problem(context, MessageId::UnknownAsFunctionParameter, std::string(*function));
        }
        return notLinear(context);
    }

    std::string multiplier = "1";
    if (factors.size() > 1 && !evaluate(context, multiplierText, multiplier)) return false;
    std::string reduced;
    if (!ReduceToLinearForm(context, unknownFactor->body, reduced)) return false;
    std::string a;
    std::string b;
    if (!SplitLinearForm(reduced, a, b)) return notLinear(context);
    const std::string scaled = std::string(1, term.op) + "(" + multiplier + ")*(";
    coefficientSum += scaled + a + ")";
    constantSum += scaled + b + ")";
    return true;
}

}  // namespace

bool IsLinearForm(std::string_view text) { return parseLinear(text).has_value(); }

bool SplitLinearForm(std::string_view text, std::string& coefficient, std::string& constant) {
    auto parts = parseLinear(text);
    if (!parts) return false;
    coefficient = std::move(parts->coefficient);
    constant = std::move(parts->constant);
    return true;
}

bool ReduceToLinearForm(const SolverContext& context, std::string_view expression,
                        std::string& linearForm) {
    std::string_view t = expression;
    const bool bracketed = isEnclosed(t);
    if (bracketed) t = inner(t);
    auto finish = [&](std::string text) {
        linearForm = bracketed ? "(" + text + ")" : std::move(text);
        return true;
    };
    if (IsLinearForm(t)) return finish(std::string(t));

    const std::vector<Piece> terms = splitTerms(t);

    // Every sum starts from "0": a lone "-(9)" or an empty text is no expression to evaluate.
    std::string constants = "0";
    for (const Piece& term : terms) {
        if (containsUnknown(term.body)) continue;
        constants += term.op;
        if (isNumberMaybeBracketed(term.body)) {
            constants += term.body;
        } else {
            std::string value;
            if (!evaluate(context, term.body, value)) return false;
            constants += "(" + value + ")";
        }
    }
    std::string c = "0";
    if (constants != "0" && !evaluate(context, constants, c)) return false;

    std::string linearA = "0";
    std::string linearB = "0";
    std::string productA = "0";
    std::string productB = "0";
    for (const Piece& term : terms) {
        if (!containsUnknown(term.body)) continue;
        std::string a;
        std::string b;
        if (SplitLinearForm(term.body, a, b)) {
            linearA += std::string(1, term.op) + "(" + a + ")";
            linearB += std::string(1, term.op) + "(" + b + ")";
        } else if (!reduceProduct(context, term, t, productA, productB)) {
            return false;
        }
    }
    std::string a1 = "0";
    std::string b1 = "0";
    if (linearA != "0" && !evaluate(context, linearA, a1)) return false;
    if (linearB != "0" && !evaluate(context, linearB, b1)) return false;

    std::string a;
    std::string b;
    if (!evaluate(context, productA + "+(" + a1 + ")", a)) return false;
    if (!evaluate(context, productB + "+(" + c + ")+(" + b1 + ")", b)) return false;

    if (!a.empty() && isSign(a.front())) return finish(b + a + "*X");
    if (!b.empty() && isSign(b.front())) return finish(a + "*X" + b);
    return finish(a + "*X+" + b);
}

bool SolveLinear(const SolverContext& context, std::string_view equation,
                 std::string_view expression, std::string& value, std::string& steps) {
    const std::string upperExpression = toUpper(expression);
    std::vector<std::string> lines = {toUpper(equation), upperExpression + "=0"};

    std::string linear;
    if (!ReduceToLinearForm(context, upperExpression, linear)) return false;
    lines.push_back(linear + "=0");
    std::string a;
    std::string b;
    if (!SplitLinearForm(linear, a, b)) return notLinear(context);
    const std::string solution = "-(" + b + ")/(" + a + ")";
    lines.push_back("X=" + solution);

    // Worked out with the guard digits too, then shown the way any result is shown.
    std::string raw;
    if (!evaluate(context, solution, raw)) return false;
    std::string scratch;
    value = FormatResult(raw, scratch, context.settings.places, context.settings.digitsLimit);
    lines.push_back("X=" + value);

    steps.clear();
    for (const std::string& line : lines) steps += line + "\r\n";
    return true;
}

bool SolveEquation(std::string_view equation, const RecentResults& recent,
                   const CalcSettings& settings, SolveResult& out) {
    out.failure.clear();
    equation = Trim(equation);
    if (equation.size() > msg::kMaxExpressionLength) {
        out.failure = Failure(MessageId::ExpressionTooLong);
        return false;
    }
    const SolverContext context{settings, out.failure, equation};

    const std::string lowerEquation = ToLower(equation);
    if (lowerEquation.find("/x") != std::string::npos ||
        lowerEquation.find("/(x") != std::string::npos) {
        return problem(context, MessageId::UnknownInDenominator);
    }
    const std::size_t equals = equation.find('=');
    if (equals == std::string_view::npos) {
        return problem(context, MessageId::NoEqualsSign);
    }
    if (equation.find('=', equals + 1) != std::string_view::npos) {
        return problem(context, MessageId::SecondEqualsSign);
    }
    const std::string rewritten = std::string(equation.substr(0, equals)) + "-(" +
                                  std::string(equation.substr(equals + 1)) + ")";
    if (rewritten.find('^') != std::string::npos) {
        return problem(context, MessageId::PowerInEquation);
    }
    const std::string lowerRewritten = ToLower(rewritten);
    // The names the keyword scanner knows, in its order: the first found is the one named.
    for (const FunctionEntry& function : FunctionTable()) {
        if (!function.keyword) continue;
        const std::string_view name = function.name;
        const std::string call = std::string(name) + "(x)";
        for (std::size_t at = lowerRewritten.find(call); at != std::string::npos;
             at = lowerRewritten.find(call, at + 1)) {
            // The sin(x) inside arcsin(x) is arcsin's, which is named when its turn comes.
            if (at >= 3 && lowerRewritten.compare(at - 3, 3, "arc") == 0) continue;
            return problem(context, MessageId::UnknownAsFunctionParameter, std::string(name));
        }
    }
    int depth = 0;
    for (std::size_t i = 0; i < equation.size(); ++i) {
        if (equation[i] == '(') ++depth;
        if (equation[i] == ')' && --depth < 0) {
            const int position = static_cast<int>(i) + 1;
            return problem(context, MessageId::UnmatchedCloseBracket, std::to_string(position),
                           position);
        }
    }
    if (depth >= 1) {
        return problem(context, MessageId::OpenBracketsLeftOver, std::to_string(depth));
    }

    const std::string expression =
        SubstituteValues(InsertImplicitMultiplication(lowerRewritten), recent, settings);
    if (!SolveLinear(context, equation, expression, out.value, out.steps)) return false;
    out.logExpression = std::string(equation) + " =>  X";
    return true;
}

}  // namespace quorvel
