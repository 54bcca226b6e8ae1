// Differential test against GNU bc: seeded random operands through DecimalNumber and through
// one bc process, compared after both sides are written in one canonical form.
// QUORVEL_SEED=n reruns a reported failure.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calc/decimal_number.h"

namespace quorvel {
namespace {

// "-.50" and "-0.5" both become "-0.5"; "-0" becomes "0".
std::string canonical(std::string text) {
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.erase(0, 1);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    const auto first = text.find_first_not_of('0');
    text = first == std::string::npos ? "0" : text.substr(first);
    if (text[0] == '.') text.insert(0, "0");
    if (text == "0") negative = false;
    return negative ? "-" + text : text;
}

std::string randomOperand(std::mt19937& rng) {
    std::uniform_int_distribution<int> length(1, 40);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> kind(0, 9);
    std::string digits;
    const int n = length(rng);
    for (int i = 0; i < n; ++i) digits.push_back(static_cast<char>('0' + digit(rng)));
    std::string text;
    switch (kind(rng)) {
        case 0:  // small fractions with leading zeros, such as 0.000123
            text = "0." + std::string(static_cast<std::size_t>(digit(rng)), '0') + digits;
            break;
        case 1:
        case 2:
        case 3:
            text = digits;
            break;
        default: {
            std::uniform_int_distribution<std::size_t> at(0, digits.size());
            const std::size_t point = at(rng);
            text = (point == 0 ? "0" : digits.substr(0, point)) + "." + digits.substr(point);
            if (text.back() == '.') text.push_back('5');
        }
    }
    if (digit(rng) < 5) text.insert(0, "-");
    return text;
}

struct Sample {
    std::string a;
    std::string b;
    std::string ours;
    std::string bcExpression;
};

std::vector<std::string> runBc(const std::vector<Sample>& samples) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto script = dir / ("quorvel_bc_" + std::to_string(::getpid()) + ".bc");
    {
        std::ofstream out(script);
        for (const Sample& s : samples) out << s.bcExpression << "\n";
        out << "quit\n";
    }
    const std::string command = "BC_LINE_LENGTH=0 bc -q " + script.string();
    std::vector<std::string> lines;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::string line;
        int c;
        while ((c = std::fgetc(pipe)) != EOF) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line.push_back(static_cast<char>(c));
            }
        }
        ::pclose(pipe);
    }
    std::filesystem::remove(script);
    return lines;
}

unsigned seedFromEnvironment() {
    if (const char* s = std::getenv("QUORVEL_SEED")) return static_cast<unsigned>(std::stoul(s));
    return static_cast<unsigned>(std::time(nullptr));
}

class AgainstBc : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v bc >/dev/null 2>&1") != 0) {
            FAIL() << "GNU bc is not installed; scripts/install-deps.sh installs it";
        }
        m_seed = seedFromEnvironment();
        m_rng.seed(m_seed);
    }

    using Compute = std::function<std::string(const DecimalNumber&, const DecimalNumber&)>;

    // `bcFormat` turns the two operands into one bc statement printing the expected value.
    void compare(const char* name, int count, const Compute& compute,
                 const std::function<std::string(const std::string&, const std::string&)>& bcFormat,
                 bool nonZeroDivisor = false) {
        std::vector<Sample> samples;
        while (static_cast<int>(samples.size()) < count) {
            Sample s{randomOperand(m_rng), randomOperand(m_rng), {}, {}};
            const DecimalNumber a{std::string_view(s.a)};
            const DecimalNumber b{std::string_view(s.b)};
            if (nonZeroDivisor && b.isZero()) continue;
            s.ours = compute(a, b);
            s.bcExpression = bcFormat(s.a, s.b);
            samples.push_back(std::move(s));
        }
        const std::vector<std::string> expected = runBc(samples);
        ASSERT_EQ(expected.size(), samples.size()) << "bc did not answer every line";
        int mismatches = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (canonical(samples[i].ours) != canonical(expected[i])) {
                ++mismatches;
                ADD_FAILURE() << name << " seed " << m_seed << ": a=" << samples[i].a
                              << " b=" << samples[i].b << " ours=" << samples[i].ours
                              << " bc=" << expected[i];
            }
        }
        EXPECT_EQ(mismatches, 0) << "rerun with QUORVEL_SEED=" << m_seed;
    }

    unsigned m_seed = 0;
    std::mt19937 m_rng;
};

std::string bcAt(int scale, const std::string& a, const char* op, const std::string& b) {
    return "scale=" + std::to_string(scale) + "; (" + a + ")" + op + "(" + b + ")";
}

TEST_F(AgainstBc, AddSubtractMultiplyExactly) {
    compare(
        "add", 400,
        [](const DecimalNumber& a, const DecimalNumber& b) { return add(a, b, 200).toString(); },
        [](const std::string& a, const std::string& b) { return bcAt(100, a, "+", b); });
    compare(
        "subtract", 400,
        [](const DecimalNumber& a, const DecimalNumber& b) {
            return subtract(a, b, 200).toString();
        },
        [](const std::string& a, const std::string& b) { return bcAt(100, a, "-", b); });
    compare(
        "multiply", 400,
        [](const DecimalNumber& a, const DecimalNumber& b) {
            return multiply(a, b, 200).toString();
        },
        [](const std::string& a, const std::string& b) { return bcAt(100, a, "*", b); });
    compare(
        "plain +", 200,
        [](const DecimalNumber& a, const DecimalNumber& b) { return (a + b).toString(); },
        [](const std::string& a, const std::string& b) { return bcAt(100, a, "+", b); });
}

TEST_F(AgainstBc, DivideTruncatesLikeBcScale) {
    for (int p : {1, 5, 31, 120}) {
        SCOPED_TRACE(p);
        compare(
            "divide", 250,
            [p](const DecimalNumber& a, const DecimalNumber& b) {
                return divide(a, b, p).toString();
            },
            [p](const std::string& a, const std::string& b) { return bcAt(p, a, "/", b); }, true);
    }
}

TEST_F(AgainstBc, RemainderOfLargeAndFractionalOperands) {
    compare(
        "remainder", 600,
        [](const DecimalNumber& a, const DecimalNumber& b) { return (a % b).toString(); },
        [](const std::string& a, const std::string& b) { return bcAt(0, a, "%", b); }, true);
}

}  // namespace
}  // namespace quorvel
