// Writes the golden step file: a fixed, seeded mix of expressions and what the engine makes of
// each. Run only to renew the file on purpose; the golden test checks the engine against it.
// Usage: calc_golden_gen [COUNT] > golden_steps.txt
//        calc_golden_gen long > golden_long_steps.txt

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "golden/golden_long.h"
#include "golden/golden_record.h"

namespace quorvel::golden {
namespace {

// std::mt19937's sequence is fixed by the standard; the distributions are not, so the
// mapping to ranges is done here.
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_engine(seed) {}
    int below(int n) { return static_cast<int>(m_engine() % static_cast<std::uint32_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }

private:
    std::mt19937 m_engine;
};

const std::vector<std::string> kOps = {"+", "-", "*", "/"};
const std::vector<std::string> kAllOps = {"+", "-", "*", "/", "^"};
const std::vector<std::string> kFunctions = {"sin",    "cos",    "tan",    "sinh", "cosh", "tanh",
                                             "arcsin", "arccos", "arctan", "ln",   "log",  "exp",
                                             "abs",    "sqrt",   "rad",    "deg",  "int"};
const std::vector<std::string> kNames = {"pi",    "last1", "last2", "last3", "last4",
                                         "last5", "m",     "f",     "k",     "w"};

std::string integer(Dice& d) { return std::to_string(d.between(1, 999)); }

std::string decimal(Dice& d) {
    std::string s = std::to_string(d.between(0, 999));
    if (d.chance(60)) {
        s += '.';
        const int places = d.between(1, 6);
        for (int i = 0; i < places; ++i) s += static_cast<char>('0' + d.below(10));
    }
    return s;
}

std::string operand(Dice& d) {
    const int kind = d.below(10);
    if (kind < 5) return decimal(d);
    if (kind < 7) return "(-" + decimal(d) + ")";
    if (kind < 8) return d.pick(kNames);
    if (kind < 9) return "(" + decimal(d) + ")";
    return "-(-" + integer(d) + ")";
}

std::string nested(Dice& d, int depth, const std::vector<std::string>& ops) {
    const int n = d.between(2, 4);
    std::string s;
    for (int i = 0; i < n; ++i) {
        if (i > 0) s += d.pick(ops);
        if (depth > 0 && d.chance(35)) {
            s += "(" + nested(d, depth - 1, ops) + ")";
        } else {
            s += operand(d);
        }
    }
    return s;
}

std::string integerLine(Dice& d) {
    std::string s = integer(d);
    const int n = d.between(2, 6);
    for (int k = 1; k < n; ++k) s += d.pick(kOps) + integer(d);
    return s;
}

std::string functionArgument(Dice& d) {
    switch (d.below(6)) {
        case 0:
            return d.pick(kNames);
        case 1:
            return "-" + decimal(d);
        case 2:
            return std::to_string(d.between(1, 9)) + "pi";
        case 3:
            return "0." + std::to_string(d.between(1, 99));
        default:
            return decimal(d);
    }
}

std::string functionLine(Dice& d) {
    std::string s;
    const int n = d.between(1, 3);
    for (int i = 0; i < n; ++i) {
        if (i > 0) s += d.pick(kAllOps);
        if (d.chance(25)) s += std::to_string(d.between(2, 9));  // implicit product
        s += d.pick(kFunctions) + "(" + functionArgument(d) + ")";
        if (d.chance(15)) s += "(" + decimal(d) + "+1)";
    }
    return s;
}

std::string powerLine(Dice& d) {
    const std::vector<std::string> bases = {std::to_string(d.between(0, 20)), decimal(d),
                                            "(-" + std::to_string(d.between(1, 9)) + ")",
                                            "(" + nested(d, 0, kOps) + ")"};
    const std::vector<std::string> exponents = {
        std::to_string(d.between(0, 12)), "(-" + std::to_string(d.between(1, 5)) + ")",
        "0." + std::to_string(d.between(1, 9)), "(1/" + std::to_string(d.between(2, 5)) + ")"};
    std::string s = d.pick(bases) + "^" + d.pick(exponents);
    if (d.chance(40)) s += d.pick(kOps) + d.pick(bases) + "^" + std::to_string(d.between(1, 4));
    return s;
}

std::string eFormLine(Dice& d) {
    std::string s;
    if (d.chance(50)) {
        s = std::to_string(d.between(100000, 999999));
        const int n = d.between(2, 5);
        for (int i = 0; i < n; ++i) s += "*" + std::to_string(d.between(1000, 99999999));
        if (d.chance(30)) s += "+0." + std::to_string(d.between(1, 999));
    } else {
        s = std::to_string(d.between(1, 99)) + "/" + std::to_string(d.between(1000, 999999));
        const int n = d.between(1, 3);
        for (int i = 0; i < n; ++i) s += "/" + std::to_string(d.between(10, 99999));
    }
    if (d.chance(20)) s = "-" + s;
    return s;
}

std::string garbage(Dice& d) {
    const std::vector<std::string> pieces = {"1", "23", ".", "+",  "-",   "*",    "/",   "^",
                                             "(", ")",  "x", "m",  "pi",  "last", "sin", "ln",
                                             "=", " ",  "e", "k(", "2.5", "int",  "arc", "log"};
    std::string s;
    const int n = d.between(2, 9);
    for (int i = 0; i < n; ++i) s += d.pick(pieces);
    return s;
}

std::string failingLine(Dice& d) {
    switch (d.below(10)) {
        case 0:
            return integer(d) + "/(" + std::to_string(d.between(1, 9)) + "-" + "0" + "*1-" +
                   "0)";  // reaches a zero only through its brackets
        case 1:
            return "(-" + decimal(d) + ")^0." + std::to_string(d.between(1, 9));
        case 2:
            return nested(d, 1, kOps) + "((" + integer(d);
        case 3:
            return decimal(d) + "." + decimal(d) + "+" + integer(d);
        case 4:
            return d.pick(std::vector<std::string>{"ln", "log", "sqrt"}) + "(-" + decimal(d) + ")";
        case 5:
            return "arcsin(" + std::to_string(d.between(2, 50)) + ")";
        case 6:
            return integer(d) + "/0";
        default:
            return garbage(d);
    }
}

std::string longLine(Dice& d) {
    std::string s = nested(d, 2, kOps);
    const int target = d.between(100, 400);
    while (static_cast<int>(s.size()) < target) s += d.pick(kOps) + "(" + nested(d, 1, kOps) + ")";
    return s;
}

// Spaces at the ends and capitals, which the engine trims and lower-cases.
std::string dressed(Dice& d, std::string s) {
    if (d.chance(10)) {
        for (char& c : s) {
            if (c >= 'a' && c <= 'z' && d.chance(50)) c = static_cast<char>(c - 'a' + 'A');
        }
    }
    if (d.chance(10)) s = "  " + s + " ";
    return s;
}

Input nextInput(Dice& d, int index) {
    Input in;
    const std::vector<int> places = {0, 2, 5, 10, 30, 30, 30, 50};
    in.places = d.pick(places);
    in.digitsLimit = d.pick(std::vector<int>{1, 3, 10, 10, 10, 20});
    in.angle = d.chance(30) ? AngleUnit::Degrees : AngleUnit::Radians;
    switch (index % 8) {
        case 0:
        case 1:
            in.expression = integerLine(d);
            break;
        case 2:
            in.expression = nested(d, 3, kOps);
            break;
        case 3:
            in.expression = functionLine(d);
            break;
        case 4:
            in.expression = powerLine(d);
            break;
        case 5:
            in.expression = eFormLine(d);
            break;
        case 6:
            in.expression = failingLine(d);
            break;
        default:
            in.expression = d.chance(20) ? longLine(d) : nested(d, 2, kAllOps);
            break;
    }
    in.expression = dressed(d, in.expression);
    return in;
}

}  // namespace
}  // namespace quorvel::golden

int main(int argc, char** argv) {
    using namespace quorvel::golden;
    if (argc > 1 && std::string_view(argv[1]) == "long") {
        for (const Input& in : longInputs()) std::cout << longRecord(in) << '\n';
        return 0;
    }
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    Dice dice(20260423);
    for (int i = 0; i < count; ++i) std::cout << record(nextInput(dice, i)) << '\n';
    return 0;
}
