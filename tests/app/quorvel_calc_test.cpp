// quorvel-calc through the real binary: what lands on standard output and standard error,
// and the exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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
