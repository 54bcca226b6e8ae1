#include "tools/unit_converter.h"

#include <algorithm>
#include <cctype>

#include "calc/calc_engine.h"
#include "calc/calculate.h"
#include "calc/decimal_text.h"
#include "calc/exponent_expansion.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "tools/present.h"

namespace quorvel {
namespace {

bool isDecimalNumber(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c == '.') {
            if (point) return false;
            point = true;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else {
            return false;
        }
    }
    return digit;
}

bool isFormula(const UnitRow& row) {
    return row.factor.find_first_of("xX") != std::string_view::npos;
}

bool sameRow(const UnitRow& a, const UnitRow& b) {
    return a.name == b.name && a.factor == b.factor;
}

// "(" joins like an operator: a "*" right after it could never be calculated.
bool joinsWithoutProduct(char c) {
    return std::string_view("+-*/^(").find(c) != std::string_view::npos;
}

// Every character of the value and the factors can move a quotient's cut by at most one
// decimal place (a factor text of n characters lies within 10^-n and 10^n), so this many
// digits keep the cut below the guard digits.
std::int32_t workingDigits(const CalcSettings& settings, std::string_view expression) {
    return static_cast<std::int32_t>(settings.places + 1 + kGuardDigits + expression.size());
}

std::optional<std::string> evaluate(const std::string& expression, const CalcSettings& settings,
                                    Prompter& prompter, std::string& steps) {
    CalcEngine engine(workingDigits(settings, expression), settings.angleUnit);
    CalcOutcome outcome = engine.CalculateSteps(expression, 10);
    present(outcome, prompter);
    if (!outcome.ok) return std::nullopt;
    steps = std::move(outcome.steps);
    return std::move(outcome.result);
}

// The value as the engine reads it, or nothing after telling the user why.
std::optional<std::string> readValue(std::string_view value, Prompter& prompter) {
    const std::string_view trimmed = Trim(value);
    if (trimmed.empty()) {
        present(ToolMessageId::InputValueFirst, prompter);
        return std::nullopt;
    }
    std::string plain = ExpandNumberExponent(trimmed);
    if (plain.front() == '+') plain.erase(0, 1);
    if (!isDecimalNumber(plain)) {
        present(Failure(MessageId::InvalidNumber, {std::string(trimmed)}), prompter);
        return std::nullopt;
    }
    return plain;
}

std::string substituteX(std::string_view formula, std::string_view value) {
    std::string out;
    for (char c : ExpandExpressionExponents(formula)) {
        if (c == 'x' || c == 'X') {
            out += '(';
            out += value;
            out += ')';
        } else {
            out += c;
        }
    }
    return out;
}

void failedToConvert(Prompter& prompter) { present(ToolMessageId::FailedToConvert, prompter); }

}  // namespace

std::optional<std::string> ConvertValue(std::string_view value, const UnitRow& from,
                                        const UnitRow& to, const CalcSettings& settings,
                                        Prompter& prompter) {
    const std::optional<std::string> v = readValue(value, prompter);
    if (!v) return std::nullopt;

    std::string expression;
    if (isFormula(from) || isFormula(to)) {
        if (sameRow(from, to)) {
            std::string steps = "=" + *v;
            return FormatResult(*v, steps, settings.places, settings.digitsLimit);
        }
        // A formula converts from its own unit to the other one, never to a factor row.
        if (!isFormula(from) || !isFormula(to)) {
            failedToConvert(prompter);
            return std::nullopt;
        }
        expression = substituteX(from.factor, *v);
    } else {
        expression = *v + "*(" + ExpandExpressionExponents(from.factor) + ")/(" +
                     ExpandExpressionExponents(to.factor) + ")";
    }
    std::string steps;
    const std::optional<std::string> raw = evaluate(expression, settings, prompter, steps);
    if (!raw) return std::nullopt;
    return FormatResult(*raw, steps, settings.places, settings.digitsLimit);
}

std::optional<std::string> ConversionFactor(const UnitRow& from, const UnitRow& to,
                                            const CalcSettings& settings, Prompter& prompter) {
    if (isFormula(from) || isFormula(to)) {
        if (sameRow(from, to)) return "1";
        failedToConvert(prompter);
        return std::nullopt;
    }
    const std::string expression =
        ExpandExpressionExponents(from.factor) + "/(" + ExpandExpressionExponents(to.factor) + ")";
    std::string steps;
    const std::optional<std::string> raw = evaluate(expression, settings, prompter, steps);
    if (!raw) {
        failedToConvert(prompter);
        return std::nullopt;
    }
    // Stripped again after rounding: a round-up such as 0.0999... -> 0.100 leaves zeros.
    std::string factor = StripTrailingZeros(
        RoundToPlaces(StripTrailingZeros(StripLeadingZeros(*raw)), settings.places));
    if (factor == "-0") factor = "0";
    return factor;
}

std::string DisplayText(std::string_view text, int places, int digitsLimit) {
    std::string expanded = ExpandExpressionExponents(text);
    // The E form cuts and strips digits, which would garble an expression such as 366*24*60*60.
    if (!isDecimalNumber(expanded)) return expanded;
    return ENotation(expanded, places, digitsLimit);
}

InsertOutcome InsertConvertedValue(std::string_view input, std::size_t caret,
                                   std::string_view value) {
    const std::string_view trimmed = Trim(input);
    const std::size_t leading = trimmed.empty() ? 0 : trimmed.data() - input.data();
    const std::size_t at = caret <= leading ? 0 : std::min(caret - leading, trimmed.size());
    const std::string v = ToLower(value);

    const auto refuse = [&](ToolMessageId message) {
        return InsertOutcome{std::string(input), std::min(caret, input.size()), message};
    };
    std::string inserted;
    if (v.find('x') != std::string::npos) {
        if (trimmed.empty()) return refuse(ToolMessageId::InputDegreeFirst);
        inserted = v.substr(1);
    } else if (trimmed.empty()) {
        if (!v.empty() && v.front() == '*') return refuse(ToolMessageId::InputNumberFirst);
        inserted = v;
    } else {
        // The character the value will follow decides, so a caret inside the text still
        // gives a well-formed product.
        const std::string_view before = Trim(trimmed.substr(0, at));
        const bool joined = before.empty() || joinsWithoutProduct(before.back()) ||
                            (!v.empty() && v.front() == '*');
        inserted = joined ? v : "*" + v;
    }
    std::string text(trimmed);
    text.insert(at, inserted);
    return InsertOutcome{std::move(text), at + inserted.size(), {}};
}

std::string UnitListing(std::string_view category) {
    std::string out;
    for (const UnitRow& row : UnitCategoryRows(category)) {
        out += row.name;
        out += '\t';
        out += row.factor;
        out += '\n';
    }
    return out;
}

std::optional<std::string> ConvertNamedUnits(std::string_view category, std::string_view value,
                                             std::string_view from, std::string_view to,
                                             const CalcSettings& settings, Prompter& prompter) {
    UnitRows rows;
    rows.LoadUnitCategory(category);
    const std::optional<std::size_t> input = rows.find(from);
    if (!input) {
        present(ToolMessageId::SelectInputUnitName, prompter);
        return std::nullopt;
    }
    const std::optional<std::size_t> output = rows.find(to);
    if (!output) {
        present(ToolMessageId::SelectOutputUnitName, prompter);
        return std::nullopt;
    }
    return ConvertValue(value, rows.row(*input), rows.row(*output), settings, prompter);
}

}  // namespace quorvel
