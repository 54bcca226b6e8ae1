#include "calc/calculate.h"

#include <algorithm>
#include <cctype>

#include "calc/calc_engine.h"
#include "calc/decimal_text.h"
#include "calc/messages.h"
#include "calc/substitute.h"
#include "calc/syntax_checker.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

// Texts whose capacity is kept from one calculation to the next on the same thread.
struct Scratch {
    std::string lowered;
    std::string explicitProducts;
    std::string substituted;
    std::string unrounded;
    std::string value;
};

Scratch& scratch() {
    thread_local Scratch buffers;
    return buffers;
}

}  // namespace

namespace {

// StripLeadingZeros(WithoutTrailingZeros(raw)) of a plain decimal ("-", digits, "." digits),
// read in one walk and as a view into `raw` where it can be one; false for any other text.
// `rounds` tells whether more than `places` fraction digits are left.
bool unroundedPlain(std::string_view raw, int places, std::string& buffer,
                    std::string_view& unrounded, bool& rounds) {
    const std::size_t n = raw.size();
    const bool negative = n > 0 && raw[0] == '-';
    const std::size_t digitsFrom = negative ? 1 : 0;
    std::size_t i = digitsFrom;
    while (i < n && IsDigit(raw[i])) ++i;
    if (i == digitsFrom) return false;
    std::size_t point = std::string_view::npos;
    if (i < n) {
        if (raw[i] != '.') return false;
        point = i++;
        while (i < n && IsDigit(raw[i])) ++i;
        if (i != n) return false;
    }
    std::size_t end = n;
    if (point != std::string_view::npos) {
        while (end > point + 1 && raw[end - 1] == '0') --end;
        if (end == point + 1) end = point;
    }
    const bool hasPoint = point != std::string_view::npos && end > point;
    std::size_t start = digitsFrom;
    if (!hasPoint) {
        while (start < end && raw[start] == '0') ++start;
        if (start == end) start = digitsFrom;  // zeros only stay as they are
    } else {
        while (start + 1 < point && raw[start] == '0') ++start;
    }
    if (start == digitsFrom) {
        unrounded = raw.substr(0, end);
    } else {
        buffer.assign(negative ? "-" : "");
        buffer.append(raw.substr(start, end - start));
        unrounded = buffer;
    }
    rounds = hasPoint && end - point - 1 > static_cast<std::size_t>(std::max(places, 0));
    return true;
}

}  // namespace

void FormatResult(std::string_view rawResult, std::string& steps, int places, int digitsLimit,
                  std::string& result) {
    Scratch& buffers = scratch();
    std::string& value = buffers.value;
    // Every result passes here, so the usual one, a plain decimal, is read once and copied
    // only where it changes.
    std::string_view unrounded;
    bool rounds = true;
    const bool plain = unroundedPlain(rawResult, places, buffers.unrounded, unrounded, rounds);
    if (!plain) {
        StripLeadingZeros(WithoutTrailingZeros(rawResult), buffers.unrounded);
        unrounded = buffers.unrounded;
    }
    if (rounds) RoundToPlaces(unrounded, places, value);
    // Without rounding the text has no trailing zeros left to strip.
    const std::string_view shown = rounds ? std::string_view(value) : unrounded;
    // The last line is "=" and the raw result, which holds no "=" when it is plain.
    const std::size_t tail = rawResult.size() + 1;
    const std::size_t afterEquals =
        plain && steps.size() >= tail && steps[steps.size() - tail] == '=' &&
                std::string_view(steps).substr(steps.size() - rawResult.size()) == rawResult
            ? steps.size() - rawResult.size()
            : steps.rfind('=') + 1;
    // The E form's line ends the line before it as the other lines end.
    const bool bareLf = afterEquals >= 2 && steps[afterEquals - 2] == '\n' &&
                        (afterEquals < 3 || steps[afterEquals - 3] != '\r');
    steps.resize(afterEquals);
    steps += shown;
    if (NeedsENotation(shown, digitsLimit)) {
        const std::string eForm = ENotation(shown, places, digitsLimit);
        steps.append(bareLf ? "\n=" : "\r\n=").append(eForm);
        result.assign(WithoutTrailingZeros(eForm));
    } else {
        result.assign(rounds ? WithoutTrailingZeros(shown) : shown);
    }
    if (result == "-0") result.erase(0, 1);
}

std::string FormatResult(std::string_view rawResult, std::string& steps, int places,
                         int digitsLimit) {
    std::string result;
    FormatResult(rawResult, steps, places, digitsLimit, result);
    return result;
}

CalcOutcome SyntaxFailure(const SyntaxVerdict& verdict, std::string_view expression) {
    return Failure(MessageId::Syntax, {std::string(expression), verdict.message, verdict.advice},
                   msg::escapedPosition(expression, verdict.position));
}

namespace {

void failWith(MessageId id, CalcOutcome& outcome) {
    outcome.clear();
    outcome.error = id;
}

void calculate(std::string_view input, const RecentResults& recent, const CalcSettings& settings,
               CheckScope rules, CalcOutcome& outcome, StepText stepText) {
    if (input.size() > msg::kMaxExpressionLength) {
        failWith(MessageId::ExpressionTooLong, outcome);
        return;
    }
    Scratch& buffers = scratch();
    std::string& text = buffers.lowered;
    ToLower(Trim(input), text);
    if (text.empty() || text.find('=') != std::string::npos) {
        outcome.clear();
        return;
    }
    std::ptrdiff_t depth = 0;  // "(" less ")", in one walk
    for (const char c : text) depth += (c == '(') - (c == ')');
    if (depth != 0) {
        failWith(MessageId::BracketCountsDiffer, outcome);
        return;
    }
    static const SyntaxChecker checker;
    const SyntaxVerdict verdict = checker.Check(text, rules);
    if (!verdict.accepted) {
        outcome = SyntaxFailure(verdict, text);
        return;
    }
    InsertImplicitMultiplication(text, buffers.explicitProducts);
    SubstituteValues(buffers.explicitProducts, recent, settings, buffers.substituted);
    const std::string& substituted = buffers.substituted;

    CalcEngine engine(settings.places + 1, settings.angleUnit);
    engine.setPreciseFunctions(settings.preciseFunctions);
    if (!engine.CheckInverseArguments(substituted)) {
        outcome = engine.failure();
        return;
    }
    engine.CalculateSteps(substituted, 10, outcome, stepText);
    if (!outcome.ok) return;
    FormatResult(outcome.result, outcome.steps, settings.places, settings.digitsLimit,
                 outcome.result);
}

}  // namespace

void CalculateExpression(std::string_view input, const RecentResults& recent,
                         const CalcSettings& settings, CheckScope rules, CalcOutcome& outcome,
                         StepText stepText) {
    if (const auto caught = CatchNumberErrors(
            [&] { calculate(input, recent, settings, rules, outcome, stepText); })) {
        failWith(caught->id, outcome);
    }
}

CalcOutcome CalculateExpression(std::string_view input, const RecentResults& recent,
                                const CalcSettings& settings, CheckScope rules) {
    CalcOutcome outcome;
    CalculateExpression(input, recent, settings, rules, outcome);
    return outcome;
}

}  // namespace quorvel
