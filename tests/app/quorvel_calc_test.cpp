// quorvel-calc through the real binary: what lands on standard output and standard error,
// and the exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "data/sys_data_holder.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::string out;
    std::string err;
    int status;
};

std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class QuorvelCalc : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("quorvel_calc_test_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    Outcome run(const std::vector<std::string>& args, const std::string& input = "") {
        std::ofstream(m_dir / "in") << input;
        std::string command = quoted(QUORVEL_CALC);
        for (const auto& a : args) command += " " + quoted(a);
        command += " <" + quoted((m_dir / "in").string()) + " >" +
                   quoted((m_dir / "out").string()) + " 2>" + quoted((m_dir / "err").string());
        const int raw = std::system(command.c_str());
        return {slurp(m_dir / "out"), slurp(m_dir / "err"), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
    }

    fs::path m_dir;
};

TEST_F(QuorvelCalc, ArgumentsShareTheRecentResults) {
    const Outcome r = run({"2+2", "last1*3"});
    EXPECT_EQ(r.out, "4\n12\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST_F(QuorvelCalc, OneAnswerLinePerInputLine) {
    const Outcome r = run({}, "1+1\n5\n\n5/0\n2+2\r\nlast2*10\n99999999999*99999999999\n");
    EXPECT_EQ(r.out, "2\n\n\n\n4\n20\n9.999999999800000000001E+21\n");
    EXPECT_EQ(r.err, "Quorvel Warning Message: Sorry,the denominator cannot be zero.\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, BlanksAreDroppedAsTheInputBoxDrops) {
    EXPECT_EQ(run({"2 + 3", " 4 *\t(1 + 1) "}).out, "5\n8\n");
}

TEST_F(QuorvelCalc, SyntaxErrorsPrintTheThreeTexts) {
    const Outcome r = run({"2+*3"});
    EXPECT_EQ(r.out, "\n");
    EXPECT_EQ(r.err,
              "Input Message: The char [position:2] just before operator * cannot be acceptted\n"
              "Advice: The char [position:2] should be one of the chars:),(,0-9,X,M,F,K,W.Or the "
              "last char of the following words:Pi,Last1,Last2,Last3,Last4,Last5.\n"
              "Expression: 2+*3\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, OptionsChangePlacesDigitsAngleAndSteps) {
    EXPECT_EQ(run({"--places", "2", "2/3", "1/8"}).out, "0.67\n0.13\n");
    EXPECT_EQ(run({"--digits", "3", "1234"}).out, "\n");
    EXPECT_EQ(run({"--digits", "3", "1234+1"}).out, "1.235E+3\n");
    EXPECT_EQ(run({"--degrees", "2*sin(30)"}).out, "1\n");
    EXPECT_EQ(run({"--steps", "2*(3+4*5)", "7-1"}).out,
              "2*(3+4*5)\n=2*(3+20)\n=2*23\n=46\n\n7-1\n=6\n\n");
}

TEST_F(QuorvelCalc, BadCommandLinesExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--places"}, {"--places", "x"}, {"--digits", "0"}, {"--nonsense"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("quorvel-calc: "), std::string::npos);
    }
    EXPECT_EQ(run({"--help"}).status, 0);
    EXPECT_EQ(run({"--version"}).out.substr(0, 13), "quorvel-calc ");
}

TEST_F(QuorvelCalc, WordsPrintsThePlanWithoutPlaying) {
    const Outcome r = run({"--words", "result", "12"});
    EXPECT_EQ(r.out, "equals.wav\ntwelve.wav\n");
    EXPECT_EQ(r.status, 0);
}

TEST_F(QuorvelCalc, SpeechRequestsAreCheckedBeforeSpeaking) {
    const std::string wav = (m_dir / "out.wav").string();
    const std::string tooLong(4001, '7');
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<Case> kBad = {
        {{"--words", "shout", "12"}, "unknown speech command shout"},
        {{"--speak", "", "12"}, "unknown speech command "},
        {{"--speak-to", wav, "results", "12"}, "unknown speech command results"},
        {{"--words", "input", tooLong}, "the text to speak is too long; it may hold at most 4000"},
        {{"--speak-to", wav, "result", tooLong}, "the text to speak is too long"},
    };
    for (const Case& c : kBad) {
        SCOPED_TRACE(c.args[0] + " " + c.args[c.args.size() - 2]);
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.find(std::string("quorvel-calc: ") + c.message), 0u) << r.err;
        EXPECT_FALSE(fs::exists(wav));
    }
    // The command word is not case-sensitive, and the limit itself is allowed.
    EXPECT_EQ(run({"--words", "KEY", "5"}).out, "five2.wav\n");
    const Outcome longest = run({"--words", "input", std::string(4000, '7')});
    EXPECT_EQ(longest.status, 0);
    EXPECT_EQ(longest.out.size(), 4000 * std::string("seven2.wav\n").size());
}

TEST_F(QuorvelCalc, SpeakToWritesTheWordsOrSaysWhyNot) {
    const fs::path wav = m_dir / "twelve.wav";
    const Outcome written = run({"--speak-to", wav.string(), "result", "12"});
    EXPECT_EQ(written.status, 0);
    EXPECT_EQ(written.err, "");
    EXPECT_EQ(slurp(wav).substr(0, 4), "RIFF");

    struct Case {
        fs::path file;
        const char* reason;
    };
    const Case kUnwritable[] = {
        {m_dir / "missing" / "x.wav", "No such file or directory"},
        {m_dir, "Is a directory"},
    };
    for (const Case& c : kUnwritable) {
        SCOPED_TRACE(c.file);
        const Outcome r = run({"--speak-to", c.file.string(), "result", "12"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "quorvel-calc: cannot write " + c.file.string() + ": " + c.reason + "\n");
    }
}

TEST_F(QuorvelCalc, DataDirectoryKeepsTheLogAndSettings) {
    const Outcome first = run({"--data", m_dir.string(), "1+1", "2*3"});
    EXPECT_EQ(first.out, "2\n6\n");
    EXPECT_EQ(first.status, 0);
    ASSERT_TRUE(fs::exists(m_dir / "SysData.dat"));
    const std::string bytes = slurp(m_dir / "SysData.dat");
    EXPECT_NE(bytes.find("   1+1=2"), std::string::npos);
    EXPECT_NE(bytes.find("   2*3=6"), std::string::npos);

    // A damaged file is reported and left as it is.
    std::ofstream(m_dir / "SysData.dat", std::ios::binary | std::ios::trunc)
        << bytes.substr(0, bytes.size() / 2);
    const Outcome damaged = run({"--data", m_dir.string(), "1+1"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(slurp(m_dir / "SysData.dat"), bytes.substr(0, bytes.size() / 2));
}

TEST_F(QuorvelCalc, AssignmentsAndEquationsAnswerWithTheirValue) {
    const Outcome r = run({}, "(m)=-4\n3*m\n(M)=2+3\nlast1+m\nX=5\n3*(X+1)=9\n2+3=5\n");
    EXPECT_EQ(r.out, "-4\n-12\n5\n10\n5\n2\n\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST_F(QuorvelCalc, DataDirectoryKeepsParametersBetweenRuns) {
    EXPECT_EQ(run({"--data", m_dir.string(), "(w)=7"}).out, "7\n");
    EXPECT_EQ(run({"--data", m_dir.string(), "w*2"}).out, "14\n");
    const Outcome solved = run({"--data", m_dir.string(), "2*X=w+1"});
    EXPECT_EQ(solved.out, "4\n");
    EXPECT_NE(slurp(m_dir / "SysData.dat").find("2*X=w+1 =>  X=4"), std::string::npos);
}

TEST_F(QuorvelCalc, UnitsAndConversions) {
    const Outcome units = run({"--units", "speed"});
    EXPECT_EQ(units.status, 0);
    EXPECT_NE(units.out.find("kilometre/hour\t"), std::string::npos);
    EXPECT_EQ(run({"--units", "nonsense"}).status, 1);
    EXPECT_EQ(run({"--convert", "speed", "36", "kilometre/hour", "metre/second [m/s]"}).out,
              "10\n");
}

TEST_F(QuorvelCalc, BatchWritesTheResultFileAndPrintsTheLog) {
    std::ofstream(m_dir / "sums.txt") << "Total 2+3 apples\nNo sums\n(4+5)*2 boxes\n";
    const Outcome r = run({"--batch", (m_dir / "sums.txt").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(" 2+3=5\n"), std::string::npos);
    EXPECT_NE(r.out.find(" (4+5)*2=18\n"), std::string::npos);
    EXPECT_EQ(slurp(m_dir / "sums.rob"),
              "Total 2+3=5 apples\r\nNo sums\r\n(4+5)*2=18 boxes\r\n\r\n");
    EXPECT_EQ(run({"--batch", (m_dir / "missing.txt").string()}).status, 1);
    EXPECT_EQ(run({"--mode", "addsteps"}).status, 2);
    EXPECT_EQ(run({"--batch", "x", "--mode", "nonsense"}).status, 2);
}

TEST_F(QuorvelCalc, DataFileSettingsOutOfRangeAreCorrectedOnce) {
    constexpr const char* kIntro =
        "quorvel-calc: Settings out of range in the data file were "
        "corrected: ";
    // 1/7 to 10000 places: the 10001st digit is a 5, so the last 8 rounds up.
    std::string longSeventh = "0.";
    for (int i = 0; i < 10000; ++i) longSeventh.push_back("142857"[i % 6]);
    longSeventh.back() = '9';
    struct Case {
        std::int32_t places;
        std::int32_t digits;
        std::string out;
        std::string corrected;
        int filePlaces;
        int fileDigits;
    };
    const Case kCases[] = {
        {-1, 10, "0\n12\n", "decimal places -1 to 0.", 0, 10},
        {std::numeric_limits<std::int32_t>::max(), 10, longSeventh + "\n12\n",
         "decimal places 2147483647 to 10000.", 10000, 10},
        {30, 0, "0.142857142857142857142857142857\n1.2E+1\n", "integer-digits limit 0 to 1.", 30,
         1},
        {-1, 0, "0\n1E+1\n", "decimal places -1 to 0, integer-digits limit 0 to 1.", 0, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.corrected);
        quorvel::SysDataHolder holder(m_dir);
        holder.data().decimalPlaces = c.places;
        holder.data().intDigitsLimit = c.digits;
        ASSERT_TRUE(holder.Store().stored);

        const Outcome first = run({"--data", m_dir.string(), "1/7", "6*2"});
        EXPECT_EQ(first.out, c.out);
        EXPECT_EQ(first.err, kIntro + c.corrected + "\n");
        EXPECT_EQ(first.status, 0);

        // The store after the calculation repaired the file: no second report.
        quorvel::SysDataHolder reread(m_dir);
        ASSERT_EQ(reread.Load().outcome, quorvel::LoadOutcome::Read);
        EXPECT_EQ(reread.data().decimalPlaces, c.filePlaces);
        EXPECT_EQ(reread.data().intDigitsLimit, c.fileDigits);
        const Outcome second = run({"--data", m_dir.string(), "1/7", "6*2"});
        EXPECT_EQ(second.out, c.out);
        EXPECT_EQ(second.err, "");
    }
}

TEST_F(QuorvelCalc, BatchShowsTheFirstFailureAndLogsTheRestOnStandardError) {
    std::ofstream(m_dir / "sums.txt") << "1/0\nfine 1+1\n2/0 and 3/0\n";
    const Outcome r = run({"--batch", (m_dir / "sums.txt").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" 1+1=2\n"), std::string::npos);
    EXPECT_EQ(r.out.find("failed"), std::string::npos);
    EXPECT_EQ(r.err,
              "Quorvel Warning Message: Sorry,the denominator cannot be zero.\n"
              "Line 3: 2/0 failed: Sorry,the denominator cannot be zero.\n"
              "Line 3: 3/0 failed: Sorry,the denominator cannot be zero.\n"
              "3 calculations failed; the first on line 1\n");
    const Outcome full = run({"--batch", (m_dir / "sums.txt").string(), "--output", "/dev/full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("Quorvel: Failed to open and write the file:/dev/full (disk full)\n"),
              std::string::npos);
}

TEST_F(QuorvelCalc, UnwritableDataDirectoryFails) {
    const Outcome r = run({"--data", (m_dir / "missing" / "deeper").string(), "1+1"});
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("quorvel-calc: "), std::string::npos);
}

}  // namespace
