// quorvel-calc as someone who knows bc and qalc types at it: short options, "-" for standard
// input, comments, near-miss commands, "5 feet to m", usual unit abbreviations, and an "=" that
// is neither an assignment nor an equation refused every time.

#include <string>
#include <vector>

#include "app/calc_process.h"

namespace {

using quorvel::test::Outcome;
using quorvel::test::QuorvelCalc;

constexpr const char* kNeither =
    "Quorvel Message: A text with \"=\" is calculated only as an assignment such as (M)=5 or an "
    "equation in x such as 2*x+3=7.\n";

TEST_F(QuorvelCalc, EveryEqualsWithoutParameterOrXIsRefusedAlike) {
    for (const char* line : {"a=5", "hello=5", "b=7", "ab=2+3", "m=5", "5=5", "2+3=5"}) {
        SCOPED_TRACE(line);
        const Outcome r = run({line});
        EXPECT_EQ(r.out, "\n");
        EXPECT_EQ(r.err, kNeither);
        EXPECT_EQ(r.status, 1);
    }
    // What "=" is for still works, and a refused line does not stop the lines after it.
    const Outcome r = run({}, "(M)=5\na=5\n2*x=M+1\n");
    EXPECT_EQ(r.out, "5\n\n3\n");
    EXPECT_EQ(r.err, std::string("Line 2: ") + kNeither);
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, ShortOptionsAndADashForStandardInput) {
    EXPECT_EQ(run({"-h"}).out, run({"--help"}).out);
    EXPECT_EQ(run({"-h"}).status, 0);
    EXPECT_EQ(run({"-V"}).out, run({"--version"}).out);
    const Outcome dash = run({"-"}, "2+3\n1/0\n");
    EXPECT_EQ(dash.out, "5\n\n");
    EXPECT_EQ(dash.err, "Line 2: Quorvel Warning Message: Sorry,the denominator cannot be zero.\n");
    EXPECT_EQ(dash.status, 1);
    EXPECT_EQ(run({"-f", "-"}, "7*6\n").out, "42\n");
    EXPECT_EQ(run({"--places", "2", "-"}, "2/3\n").out, "0.67\n");
    // Unknown options, short or long, are a bad command line, never an expression.
    for (const char* option : {"-x", "-l", "-q", "-hV", "--nonsense", "--Help"}) {
        SCOPED_TRACE(option);
        const Outcome r = run({option, "2+2"});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, std::string("quorvel-calc: unknown option ") + option +
                             "\nTry 'quorvel-calc --help'.\n");
    }
    // A leading minus that starts a number or an expression is still one.
    EXPECT_EQ(run({"-5", "-2*3", "-(1+1)"}).out, "-5\n-6\n-2\n");
    EXPECT_EQ(run({"--places", "2", "-pi"}).out, "-3.14\n");
    EXPECT_EQ(run({"--", "-m"}).out, "-1\n");
}

TEST_F(QuorvelCalc, CommentsKeepLineNForLineN) {
    const Outcome r = run({}, "# weekly totals\n2+3  # monday\n\n4*4#tuesday\n  # end\n1/0 # x\n");
    EXPECT_EQ(r.out, "\n5\n\n16\n\n\n");
    EXPECT_EQ(r.err, "Line 6: Quorvel Warning Message: Sorry,the denominator cannot be zero.\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(run({"2*(3+4) # a week"}).out, "14\n");
    // Comments only are input with nothing to calculate, as blank lines are.
    EXPECT_EQ(run({}, "# nothing here\n# nor here\n").status, 1);
}

TEST_F(QuorvelCalc, NearCommandsAreSuggested) {
    struct Case {
        const char* line;
        const char* message;
    };
    const Case kCases[] = {
        {"hepl", "There is nothing to calculate: did you mean help?"},
        {"qiut", "There is nothing to calculate: did you mean quit?"},
        {"Quti", "There is nothing to calculate: did you mean quit?"},
        {"exti", "There is nothing to calculate: did you mean exit?"},
        {"hel", "There is nothing to calculate: did you mean help?"},
        {"helpp", "There is nothing to calculate: did you mean help?"},
        {"help",
         "There is nothing to calculate: help, quit and exit are words of the prompt; "
         "quorvel-calc --help lists the options."},
        {"hello",
         "There is nothing to calculate: type an expression such as 2+3, an assignment "
         "such as (M)=5 or an equation such as 2*x+3=7."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const Outcome r = run({}, std::string(c.line) + "\n");
        EXPECT_EQ(r.out, "\n");
        EXPECT_EQ(r.err, std::string("Line 1: Quorvel Message: ") + c.message + "\n");
        EXPECT_EQ(r.status, 1);
    }
}

// One line per category of the unit table, typed as qalc takes it.
TEST_F(QuorvelCalc, UnitLinesConvertInEveryCategory) {
    struct Case {
        const char* line;
        const char* out;
    };
    const Case kCases[] = {
        {"5 feet to m", "1.524"},
        {"5 ft in in", "60"},
        {"5 in to cm", "12.7"},
        {"1 ha to acres", "2.4711"},
        {"1 ha in sq km", "0.01"},
        {"2 lbs to oz", "32"},
        {"10 lb to kg", "4.5359"},
        {"1 cu ft to l", "28.3168"},
        {"1 l -> ml", "1000"},
        {"1 kN to lbf", "224.8089"},
        {"1 hp to W", "746"},
        {"1 kWh to MJ", "3.6"},
        {"90 min to h", "1.5"},
        {"-40 degC to degF", "-40"},
        {"212 F to C", "100"},
        {"1 atm to psi", "14.6959"},
        {"100 kph to mph", "62.1371"},
        {"36 km/h to m/s", "10"},
        {"36 kilometres per hour to metres per second", "10"},
        {"1 kilo to milli", "1000000"},
        {"1.5E+3 m to km", "1.5"},
    };
    std::string input;
    std::string want;
    for (const Case& c : kCases) {
        input += std::string(c.line) + "\n";
        want += std::string(c.out) + "\n";
    }
    const Outcome r = run({"--places", "4"}, input);
    EXPECT_EQ(r.out, want);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST_F(QuorvelCalc, UnitLinesThatCannotConvertSayHow) {
    constexpr const char* kHow =
        "; convert with --convert CATEGORY VALUE FROM TO (quorvel-calc --units lists the "
        "categories and their units)\n";
    struct Case {
        const char* line;
        const char* why;
    };
    const Case kCases[] = {
        {"5 fet to m", "unit \"fet\" is not known in length; closest: foot(UK and US)"},
        {"5 ft to kg",
         "\"ft\" is a unit of length and \"kg\" one of mass; a unit converts only within its "
         "category"},
        {"1 gal to l",
         "unit \"gal\" is ambiguous in volume: it may be gallon(UK), gallon,dry(US), "
         "gallon,liquid(US)"},
        {"5 qq to zz", "\"qq\" and \"zz\" are not units quorvel-calc knows"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        const Outcome r = run({c.line});
        EXPECT_EQ(r.out, "\n");
        EXPECT_EQ(r.err, std::string("Quorvel Message: ") + c.why + kHow);
        EXPECT_EQ(r.status, 1);
    }
}

TEST_F(QuorvelCalc, ConvertTakesUsualAbbreviations) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
    };
    const Case kCases[] = {
        {{"length", "5", "ft", "m"}, "1.524"},
        {{"length", "2", "feet", "inches"}, "24"},
        {{"length", "1", "yd", "ft"}, "3"},
        {{"length", "1", "mi", "km"}, "1.609344"},
        {{"length", "1", "km", "cm"}, "100000"},
        {{"mass", "1", "lbs", "oz"}, "16"},
        {{"mass", "1", "lb", "g"}, "453.59237"},
        {{"mass", "1", "kg", "g"}, "1000"},
        {{"speed", "36", "km/h", "m/s"}, "10"},
        {{"speed", "1", "mph", "kph"}, "1.609344"},
        {{"volume", "2", "l", "ml"}, "2000"},
        {{"temperature", "100", "degC", "degF"}, "212"},
        {{"temperature", "32", "degF", "degC"}, "0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.args[2] + " " + c.args[3]);
        std::vector<std::string> args{"--convert"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const Outcome r = run(args);
        EXPECT_EQ(r.out, std::string(c.out) + "\n");
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.status, 0);
    }
    // "lbs" once suggested a ton; a hint now is close in spelling, or there is none.
    EXPECT_EQ(run({"--convert", "mass", "1", "lbz", "kg"}).err,
              "quorvel-calc: unit \"lbz\" is not known in mass; closest: pound\n");
    EXPECT_EQ(run({"--convert", "mass", "1", "stone", "kg"}).err,
              "quorvel-calc: unit \"stone\" is not known in mass (quorvel-calc --units mass lists "
              "them)\n");
}

// The table's own spellings are the system's and stay; the usual spellings reach them.
TEST_F(QuorvelCalc, TheTableKeepsItsOwnSpelling) {
    const Outcome area = run({"--units", "area"});
    EXPECT_NE(area.out.find("square jard\t0.83612736\n"), std::string::npos);
    EXPECT_NE(run({"--units", "mass"}).out.find("ounce(avoirdupoi)\t"), std::string::npos);
    EXPECT_EQ(run({"--convert", "area", "9", "sq ft", "square yard"}).out, "1\n");
    EXPECT_EQ(run({"--convert", "mass", "16", "ounces", "pound"}).out, "1\n");
}

}  // namespace
