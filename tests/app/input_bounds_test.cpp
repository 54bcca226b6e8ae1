// quorvel-calc's inputs are bounded while they are read: a line longer than an expression may
// be is refused in every input path without being held, speech requests are bounded before
// anything is spoken, and input with nothing in it fails as --help says.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/calc_process.h"

namespace {

namespace fs = std::filesystem;
using quorvel::test::Outcome;
using quorvel::test::QuorvelCalc;
using quorvel::testing::readFile;

constexpr const char* kTooLong =
    "Warning Message: Sorry, the expression is too long. It may hold at most 4000 characters.\n";
constexpr const char* kNothing =
    "Quorvel Message: There is nothing to calculate: type an expression such as 2+3, an "
    "assignment such as (M)=5 or an equation such as 2*x+3=7.\n";

// "ulimit -v KB; ", or nothing in a sanitizer build, whose shadow memory alone is far larger
// than any such limit; there the refusals are still checked, only the memory bound is not.
std::string addressLimit(const char* kb) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    (void)kb;
    return {};
#else
    return std::string("ulimit -v ") + kb + "; ";
#endif
}

// SIZE bytes of digits and no line break, then a line to calculate, through a pipe. The
// address space is held well below the line's size, so holding the line at all fails.
std::string hugeLineInto(const char* size, const char* calc) {
    return addressLimit("150000") + "{ head -c " + size +
           " /dev/zero | tr '\\0' 1; printf '\\n2+2\\n'; } | " + calc;
}

TEST_F(QuorvelCalc, AHugePipedLineIsRefusedWhileRead) {
    const Outcome r = runScript(hugeLineInto("300000000", "\"$CALC\""));
    EXPECT_EQ(r.out, "\n4\n");
    EXPECT_EQ(r.err, std::string("Line 1: ") + kTooLong);
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, AHugeLineOfAFileIsRefusedWhileRead) {
    const Outcome r = runScript(hugeLineInto("100000000", "\"$CALC\" --steps -f /dev/stdin"));
    EXPECT_EQ(r.out, "\n2+2\n=4\n\n");
    EXPECT_EQ(r.err, std::string("Line 1: ") + kTooLong);
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, TheLimitHoldsForArgumentsFilesAndPipes) {
    const std::string longest(4000, '1');
    const std::string over(4001, '1');
    const std::string shown = run({longest}).out;
    ASSERT_EQ(shown.substr(0, 4), "1.11");  // a plain number at the limit is answered

    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string out;
        std::string err;
    };
    const Case kCases[] = {
        {{over}, "", "\n", kTooLong},
        {{"2+2", std::string(100000, '9'), "last1*2"}, "", "4\n\n8\n", kTooLong},
        {{std::string(4001, ' ') + "5"}, "", "\n", kTooLong},  // blanks count as read
        {{}, "2+2\n" + over + "\r\n5*5\n", "4\n\n25\n", std::string("Line 2: ") + kTooLong},
        {{}, over, "\n", std::string("Line 1: ") + kTooLong},
        {{}, longest + "\r\n" + over + "\r", shown + "\n", std::string("Line 2: ") + kTooLong},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.args.empty() ? c.input.substr(0, 10) : c.args.front().substr(0, 10));
        const Outcome r = run(c.args, c.input);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.status, 1);
    }
}

// quorvel-calc reading a pipe we write to, and its standard output as a pipe we read.
class Conversation {
public:
    Conversation() {
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(in[0], STDIN_FILENO);
            ::dup2(out[1], STDOUT_FILENO);
            const int quiet = ::open("/dev/null", O_WRONLY);
            ::dup2(quiet, STDERR_FILENO);
            ::execl(QUORVEL_CALC, QUORVEL_CALC, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_input = in[1];
        m_output = out[0];
    }
    ~Conversation() {
        if (m_input >= 0) ::close(m_input);
        if (m_output >= 0) ::close(m_output);
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    void say(const std::string& text) {
        ASSERT_EQ(::write(m_input, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    // What has been answered once `text` has arrived, or all there was after 5 s.
    std::string waitFor(const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (m_heard.find(text) == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd p{m_output, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char buffer[256];
            const ssize_t n = ::read(m_output, buffer, sizeof buffer);
            if (n <= 0) break;
            m_heard.append(buffer, static_cast<std::size_t>(n));
        }
        return m_heard;
    }

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
    std::string m_heard;
};

TEST_F(QuorvelCalc, PipedLinesAreAnsweredAsTheyArrive) {
    Conversation c;
    c.say("2+2\n");
    EXPECT_EQ(c.waitFor("4\n"), "4\n");
    c.say(std::string(5000, '3'));  // a long line's start, then its end and a line after it
    c.say("3\n3*3\n");
    EXPECT_EQ(c.waitFor("9\n"), "4\n\n9\n");
    // Answered line by line, the answers keep their places among the messages.
    EXPECT_EQ(runScript("printf '2+2\\n1/0\\n3\\n' | \"$CALC\" 2>&1").out,
              "4\nLine 2: Quorvel Warning Message: Sorry,the denominator cannot be zero.\n\n3\n");
}

TEST_F(QuorvelCalc, InputWithNothingToCalculateFails) {
    std::ofstream(m_dir / "empty.txt").flush();
    struct Case {
        std::vector<std::string> args;
        std::string input;
        std::string out;
        int status;
    };
    const Case kCases[] = {
        {{}, "", "", 1},
        {{}, "\n \r\n\t\n", "\n\n\n", 1},
        {{""}, "", "\n", 1},
        {{"", "  "}, "", "\n\n", 1},
        {{"-f", (m_dir / "empty.txt").string()}, "", "", 1},
        {{"", "2+2"}, "", "\n4\n", 0},
        {{}, "\n5\n", "\n5\n", 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + " " + testing::PrintToString(c.input));
        const Outcome r = run(c.args, c.input);
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, c.status == 0 ? "" : kNothing);
        EXPECT_EQ(r.status, c.status);
    }
}

TEST_F(QuorvelCalc, SpeechRequestsOverTheirBoundsAreRefusedAtOnce) {
    const std::string wav = (m_dir / "out.wav").string();
    const std::string tooManyWords = "50:" + std::string(300, '7') + "|";  // 15,000 words
    const std::string tooManyPauses = "50:" + std::string(30, '|');        // 1,549 pauses
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case kCases[] = {
        {{"--words", "expr", "999999999:2+2=4|"},
         "the repeat count of an expr text may be at most 50"},
        {{"--speak-to", wav, "expr", "51:2+2=4|"},
         "the repeat count of an expr text may be at most 50"},
        {{"--speak", "expr", tooManyWords}, "the text to speak says more than 10000 words"},
        {{"--speak-to", wav, "expr", tooManyPauses},
         "the text to speak pauses more than 1000 times"},
        {{"--speak-to", wav, "msg", "nosuchmessage"},
         "unknown message nosuchmessage (welcome, help, calculate, minimize, talkinput, "
         "talkresult, talkinout, paste, function, log, setting, test, exit, copy)"},
        {{"--words", "msg", "Welcome"}, "unknown message Welcome ("},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.args[c.args.size() - 2] + " " + c.args.back().substr(0, 20));
        // Unbounded, such a request grows its plan until memory runs out, or speaks for hours.
        const Outcome r = run(c.args, "", addressLimit("1000000") + "timeout 10 ");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("quorvel-calc: " + c.message, 0), 0u) << r.err;
        EXPECT_FALSE(fs::exists(wav));
    }
    // At the bounds themselves.
    const Outcome most = run({"--words", "expr", "50:" + std::string(200, '7') + "|"});
    EXPECT_EQ(most.status, 0);
    EXPECT_EQ(std::count(most.out.begin(), most.out.end(), '\n'), 10000 + 99);
    EXPECT_EQ(run({"--words", "expr", "1:" + std::string(1000, '|')}).status, 0);
    EXPECT_EQ(run({"--words", "msg", "welcome"}).out, "welcome.wav\n");
}

TEST_F(QuorvelCalc, WordFilesThatCannotBeReadAreReportedAndSkipped) {
    // A copy of the program beside a sounds folder holding the two words of "result 5", a
    // FIFO, a folder and a dangling link, each named like a word.
    const fs::path sounds = m_dir / "bin" / "sounds";
    fs::create_directories(sounds);
    fs::copy_file(QUORVEL_CALC, m_dir / "bin" / "quorvel-calc");
    m_program = m_dir / "bin" / "quorvel-calc";
    const fs::path built = fs::path(QUORVEL_CALC).parent_path() / "sounds";
    for (const char* word : {"equals.wav", "five2.wav"}) fs::copy_file(built / word, sounds / word);
    ASSERT_EQ(::mkfifo((sounds / "zero.wav").c_str(), 0644), 0);
    fs::create_directory(sounds / "a.wav");
    fs::create_symlink(m_dir / "gone.wav", sounds / "b.wav");

    const fs::path wav = m_dir / "five.wav";
    const Outcome r = run({"--speak-to", wav.string(), "result", "5"}, "", "timeout 10 ");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(wav).substr(0, 4), "RIFF");
    for (const char* line : {"a.wav: not a regular file", "b.wav: No such file or directory",
                             "zero.wav: not a regular file"}) {
        EXPECT_NE(r.err.find(line), std::string::npos) << line << " in " << r.err;
    }
}

}  // namespace
