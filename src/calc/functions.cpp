// The named functions and the power operator. Transcendental values come from double
// precision and are rounded to at most 12 places; angles are reduced modulo 2*pi and converted
// between degrees and radians in decimal arithmetic first, so huge arguments keep their
// fraction and only the final value is rounded.

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "calc/calc_engine.h"
#include "calc/decimal_text.h"
#include "calc/function_table.h"
#include "calc/messages.h"
#include "calc/precise_functions.h"

namespace quorvel {
namespace {

// No fixed buffer: "%.17f" of 1e300 is over 300 characters.
std::string formatDouble(const char* format, double value) {
    const int n = std::snprintf(nullptr, 0, format, value);
    std::string text(static_cast<std::size_t>(n), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value);
    return text;
}

double toDouble(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

std::string_view displayName(std::string_view name) {
    const FunctionEntry* function = FindFunction(name);
    return function != nullptr ? function->shownName : name;
}

bool isNegative(const DecimalNumber& n) { return n.sign() < 0 && !n.isZero(); }

}  // namespace

int CalcEngine::resultPlaces() const {
    return m_precise ? m_workingDigits : std::min(m_workingDigits, 12);
}

DecimalNumber CalcEngine::pi() const {
    const std::string_view text(kPiText);
    const auto length = static_cast<std::size_t>(std::max(m_workingDigits + 3, 1));
    return DecimalNumber(text.substr(0, std::min(length, text.size())));
}

DecimalNumber CalcEngine::toRadians(const DecimalNumber& degrees) const {
    return divide(multiply(degrees, pi(), m_workingDigits), DecimalNumber(180), m_workingDigits);
}

DecimalNumber CalcEngine::toDegrees(const DecimalNumber& radians) const {
    return divide(multiply(radians, DecimalNumber(180), m_workingDigits), pi(), m_workingDigits);
}

bool CalcEngine::power(const DecimalNumber& x, const DecimalNumber& y, DecimalNumber& out) {
    const std::string base = x.toString();
    const std::string exponent = y.toString();
    const double a = toDouble(base);
    if (a < 0.0 && exponent.find('.', 1) != std::string::npos) {
        fail(MessageId::NegativeBase);
        return false;
    }
    if (m_precise && WithoutTrailingZeros(exponent).find('.') != std::string_view::npos) {
        const auto value = PrecisePower(base, exponent, m_workingDigits);
        if (!value) {
            fail(MessageId::PowerNotFinite);
            return false;
        }
        out = DecimalNumber(StripTrailingZeros(RoundToPlaces(*value, m_workingDigits)), 10,
                            m_workingDigits);
        return true;
    }
    const double value = std::pow(a, toDouble(exponent));
    if (!std::isfinite(value)) {
        fail(MessageId::PowerNotFinite);
        return false;
    }
    // Trailing zeros go, so 2^3 reads 8 in the next step line and not 8.000000000000.
    const std::string text =
        StripTrailingZeros(RoundToPlaces(formatDouble("%.17f", value), resultPlaces()));
    out = DecimalNumber(text, 10, m_workingDigits);
    return true;
}

std::optional<std::string> CalcEngine::floatingResult(std::string_view name, double value,
                                                      const char* format) {
    if (!std::isfinite(value)) {
        fail(MessageId::FunctionTooLarge, {displayName(name)});
        return std::nullopt;
    }
    return StripTrailingZeros(formatDouble(format, value));
}

std::optional<std::string> CalcEngine::preciseValue(std::string_view name,
                                                    const std::string& argument) {
    auto value =
        PreciseFunction(name, argument, m_workingDigits, m_angleUnit != AngleUnit::Radians);
    if (!value) {
        fail(MessageId::FunctionTooLarge, {displayName(name)});
    }
    return value;
}

std::optional<std::string> CalcEngine::functionValue(std::string_view name,
                                                     std::string_view argument) {
    const auto operand = ReadOperand(argument);
    const FunctionEntry* function = FindFunction(name);
    if (!operand || function == nullptr) {
        fail(MessageId::InvalidNumber, {argument});
        return std::nullopt;
    }
    const DecimalNumber x(*operand, 10, m_workingDigits);
    const bool inDegrees = m_angleUnit != AngleUnit::Radians;
    const bool argumentInDegrees = inDegrees && function->angle == AngleUse::Argument;
    const bool resultInDegrees = inDegrees && function->angle == AngleUse::Result;

    if (name == "int") {
        const auto point = operand->find('.');
        return operand->substr(0, point);
    }
    if (name == "abs") return operand->front() == '-' ? operand->substr(1) : *operand;
    if (m_precise && (name == "deg" || name == "rad")) return preciseValue(name, *operand);
    if (name == "deg") return toDegrees(x).toString();
    if (name == "rad") return toRadians(x).toString();

    if (name == "sin" || name == "cos" || name == "tan") {
        if (name == "tan" && argumentInDegrees) {
            const std::string whole = StripTrailingZeros(*operand);
            if (whole.find('.') == std::string::npos) {
                const std::string magnitude = whole.front() == '-' ? whole.substr(1) : whole;
                if ((DecimalNumber(magnitude) % DecimalNumber(180)).toString() == "90") {
                    fail(MessageId::TanOfDegree, {argument});
                    return std::nullopt;
                }
            }
        }
        if (m_precise) return preciseValue(name, *operand);
        std::string angle = (argumentInDegrees ? toRadians(x) : x).toString();
        const bool negative = angle.front() == '-';
        if (negative || angle.front() == '+') angle.erase(0, 1);
        const DecimalNumber twoPi = DecimalNumber(2) * pi();
        const double reduced =
            toDouble((negative ? "-" : "") + (DecimalNumber(angle) % twoPi).toString());
        if (name == "sin") return floatingResult(name, std::sin(reduced), "%.17f");
        if (name == "cos") return floatingResult(name, std::cos(reduced), "%.17f");
        return floatingResult(name, std::tan(reduced), "%.15f");
    }

    if (name == "sinh" || name == "cosh" || name == "tanh") {
        if (m_precise) return preciseValue(name, *operand);
        const double v = toDouble((argumentInDegrees ? toRadians(x) : x).toString());
        if (name == "sinh") return floatingResult(name, std::sinh(v), "%.17f");
        if (name == "cosh") return floatingResult(name, std::cosh(v), "%.17f");
        return floatingResult(name, std::tanh(v), "%.15f");
    }

    const double v = toDouble(*operand);
    if (name == "arcsin" || name == "arccos" || name == "arctan") {
        const bool beyondOne =
            m_precise ? x > DecimalNumber(1) || x < DecimalNumber(-1) : std::fabs(v) > 1.0;
        if (name != "arctan" && beyondOne) {
            if (name == "arcsin") {
                fail(MessageId::ArcsinDomain);
            } else {
                fail(MessageId::ArccosDomain);
            }
            return std::nullopt;
        }
        if (m_precise) return preciseValue(name, *operand);
        const double angle = name == "arcsin"   ? std::asin(v)
                             : name == "arccos" ? std::acos(v)
                                                : std::atan(v);
        auto text = floatingResult(name, angle, "%.15f");
        if (text && resultInDegrees)
            text = toDegrees(DecimalNumber(*text, 10, m_workingDigits)).toString();
        return text;
    }
    if (name == "ln" || name == "log") {
        if (x.isZero() || isNegative(x)) {
            if (name == "ln") {
                fail(MessageId::LnDomain);
            } else {
                fail(MessageId::LogDomain);
            }
            return std::nullopt;
        }
        if (m_precise) return preciseValue(name, *operand);
        return floatingResult(name, name == "ln" ? std::log(v) : std::log10(v), "%.17f");
    }
    if (name == "exp" && m_precise) return preciseValue(name, *operand);
    if (name == "exp") return floatingResult(name, std::exp(v), "%.17f");
    if (name == "sqrt") {
        if (isNegative(x)) {
            fail(MessageId::SqrtDomain);
            return std::nullopt;
        }
        if (m_precise) return preciseValue(name, *operand);
        return floatingResult(name, std::sqrt(std::fabs(v)), "%.17f");
    }
    fail(MessageId::InvalidNumber, {argument});
    return std::nullopt;
}

bool CalcEngine::EvaluateFunction(std::string& working, std::size_t nameStart,
                                  std::string_view name, std::string_view argument,
                                  std::size_t closeBracket) {
    const auto value = functionValue(name, argument);
    if (!value) return false;
    std::string text = StripTrailingZeros(RoundToPlaces(*value, resultPlaces()));
    // tan(180) is -1.2e-16 in double precision: a value rounded to nothing has no sign.
    if (text == "-0") text = "0";
    if (text.front() == '-') text = "(" + text + ")";
    if (!fits(working.size() + text.size())) return false;
    working.replace(nameStart, closeBracket + 1 - nameStart, text);
    return true;
}

bool CalcEngine::CheckInverseArguments(std::string_view expression) {
    struct Check {
        std::string_view call;
        MessageId notNumber;
        MessageId outOfRange;
    };
    static constexpr Check kChecks[] = {
        {"arcsin(", MessageId::ArcsinNotNumber, MessageId::ArcsinRange},
        {"arccos(", MessageId::ArccosNotNumber, MessageId::ArccosRange},
    };
    // Most expressions hold no "arc" at all: one search instead of one per function.
    if (expression.find("arc") == std::string_view::npos) return true;
    MessageId message = MessageId::None;
    for (const Check& check : kChecks) {
        for (auto at = expression.find(check.call); at != std::string_view::npos;
             at = expression.find(check.call, at + 1)) {
            const std::size_t open = at + check.call.size() - 1;
            // To the matching bracket, so a substituted negative value "((-0.5))" is one number.
            std::size_t close = open;
            for (int depth = 0; close < expression.size(); ++close) {
                if (expression[close] == '(') ++depth;
                if (expression[close] == ')' && --depth == 0) break;
            }
            const std::string_view argument = expression.substr(open + 1, close - open - 1);
            if (!IsPlainNumber(argument)) {
                message = check.notNumber;
                continue;
            }
            if (const auto value = ReadOperand(argument)) {
                const DecimalNumber n(*value);
                if (n > DecimalNumber(1) || n < DecimalNumber(-1)) message = check.outOfRange;
            }
        }
    }
    if (message != MessageId::None) {
        fail(message);
        return false;
    }
    return true;
}

}  // namespace quorvel
