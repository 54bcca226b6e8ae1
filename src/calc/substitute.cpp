#include "calc/substitute.h"

#include "calc/calc_engine.h"
#include "calc/decimal_text.h"
#include "calc/exponent_expansion.h"

namespace quorvel {
namespace {

void appendValue(std::string& out, std::string_view value) {
    const std::string plain = ExpandNumberExponent(value);
    if (!plain.empty() && plain.front() == '-') {
        out.append("(").append(plain).append(")");
    } else {
        out.append(plain);
    }
}

// Whether a name may stand in the text: every one begins with one of these letters. One pass,
// where string_view::find_first_of searches the text once per letter.
bool mayHoldName(std::string_view expression) {
    for (const char c : expression) {
        switch (c) {
            case 'l':
            case 'p':
            case 'f':
            case 'k':
            case 'm':
            case 'w':
                return true;
            default:
                break;
        }
    }
    return false;
}

}  // namespace

void SubstituteValues(std::string_view expression, const RecentResults& recent,
                      const CalcSettings& settings, std::string& out) {
    if (!mayHoldName(expression)) {
        out.assign(expression);  // no name to replace
        return;
    }
    std::string withRecent;
    for (std::size_t i = 0; i < expression.size();) {
        const std::string_view rest = expression.substr(i);
        if (rest.size() >= 5 && rest.substr(0, 4) == "last" && rest[4] >= '1' && rest[4] <= '5') {
            appendValue(withRecent, recent[static_cast<std::size_t>(rest[4] - '1')]);
            i += 5;
        } else {
            withRecent.push_back(expression[i++]);
        }
    }

    std::string withPi;
    std::string pi;
    for (std::size_t i = 0; i < withRecent.size();) {
        if (withRecent.compare(i, 2, "pi") == 0) {
            if (pi.empty()) pi = RoundToPlaces(settings.piText, settings.places);
            withPi.append(pi);
            i += 2;
        } else {
            withPi.push_back(withRecent[i++]);
        }
    }

    const FunctionNameRecogniser functions;
    out.clear();
    out.reserve(withPi.size());
    for (std::size_t i = 0; i < withPi.size(); ++i) {
        const std::string_view rest = std::string_view(withPi).substr(i);
        const int parameter = ParameterIndex(withPi[i]);
        if (parameter < 0 || functions.find(rest, FunctionNameRecogniser::Mode::BeginsWith)) {
            out.push_back(withPi[i]);
        } else {
            appendValue(out, settings.parameters[static_cast<std::size_t>(parameter)]);
        }
    }
}

std::string SubstituteValues(std::string_view expression, const RecentResults& recent,
                             const CalcSettings& settings) {
    std::string out;
    SubstituteValues(expression, recent, settings, out);
    return out;
}

}  // namespace quorvel
