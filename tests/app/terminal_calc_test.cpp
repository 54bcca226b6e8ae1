// quorvel-calc as a person uses it at a terminal: the answers to lines that are not sums, a
// strict command line, unit names as typed, files, and the prompt with its history.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "app/calc_process.h"
#include "support/pty_reading.h"

namespace {

namespace fs = std::filesystem;
using quorvel::test::Outcome;
using quorvel::test::QuorvelCalc;
using quorvel::testing::readFile;

constexpr const char* kNothing =
    "Quorvel Message: There is nothing to calculate: type an expression such as 2+3, an "
    "assignment such as (M)=5 or an equation such as 2*x+3=7.\n";
constexpr const char* kEquation =
    "Quorvel Message: An equation needs \"=\" and a right-hand side, such as 2*x+3=7.\n";

struct Answer {
    const char* input;
    const char* out;
    const char* err;
    int status;
};

TEST_F(QuorvelCalc, AnswersWhatATerminalUserTypes) {
    const Answer kAnswers[] = {
        {"5", "5\n", "", 0},
        {"1.50", "1.5\n", "", 0},
        {"+5", "5\n", "", 0},
        {"-0.250", "-0.25\n", "", 0},
        {"12345678901", "1.2345678901E+10\n", "", 0},
        {"1.5E+20*2", "3E+20\n", "", 0},
        {"2e-3+1", "1.002\n", "", 0},
        {"1.2345678901E+10", "1.2345678901E+10\n", "", 0},
        {"hello", "\n", kNothing, 1},
        {"+", "\n", kNothing, 1},
        {"x", "\n", kEquation, 1},
        {"2*x+3", "\n", kEquation, 1},
        {"(M)", "\n", "Quorvel Message: An assignment needs a value after \"=\", such as (M)=5.\n",
         1},
        {"2*x+3=7", "2\n", "", 0},
    };
    for (const Answer& a : kAnswers) {
        SCOPED_TRACE(a.input);
        const Outcome r = run({a.input});
        EXPECT_EQ(r.out, a.out);
        EXPECT_EQ(r.err, a.err);
        EXPECT_EQ(r.status, a.status);
    }
}

TEST_F(QuorvelCalc, RefusesWhatItWouldOtherwiseDrop) {
    struct Refusal {
        std::vector<std::string> args;
        const char* err;
    };
    const Refusal kRefusals[] = {
        {{"--words", "result", "5", "6", "7"}, "unexpected argument 6 after a speech option"},
        {{"--batch", "notes.txt", "2+2"}, "unexpected argument 2+2 after --batch"},
        {{"--units", "length", "--convert", "length", "1", "inch", "yard"},
         "--units and --convert cannot be combined"},
        {{"--words", "shout", "5"}, "unknown speech command shout"},
        {{"--steps=yes", "1+1"}, "--steps takes no value"},
        {{"--places=many", "1+1"}, "--places takes a whole number from 0 to 10000"},
        {{"-f", "a.txt", "1+1"}, "give expressions or --file, not both"},
        {{"--speak-to", "x.wav", "result"}, "--speak-to needs a value"},
    };
    for (const Refusal& r : kRefusals) {
        SCOPED_TRACE(r.args.front());
        const Outcome o = run(r.args);
        EXPECT_EQ(o.status, 2);
        EXPECT_EQ(o.out, "");
        EXPECT_EQ(o.err.rfind(std::string("quorvel-calc: ") + r.err, 0), 0u) << o.err;
    }
}

TEST_F(QuorvelCalc, OptionValuesMayFollowAnEqualsSign) {
    EXPECT_EQ(run({"--places=3", "1/3"}).out, "0.333\n");
    EXPECT_EQ(run({"--digits=3", "--places", "1", "1234.56"}).out, "1.2E+3\n");
    EXPECT_EQ(run({"--units=speed"}).out, run({"--units", "speed"}).out);
}

TEST_F(QuorvelCalc, UnitNamesAsPeopleTypeThem) {
    struct Case {
        std::vector<std::string> args;
        const char* out;
        const char* err;
    };
    const Case kCases[] = {
        {{"--convert", "length", "5", "foot", "metre"}, "1.524\n", ""},
        {{"--convert", "LENGTH", "1", "Yard", "FOOT"}, "3\n", ""},
        {{"--convert", "speed", "36", "kilometre/hour", "m/s"}, "10\n", ""},
        {{"--convert", "mass", "2", "kg", "gram"}, "2000\n", ""},
        {{"--convert", "length", "1", "furl", "yard"}, "220\n", ""},
        {{"--convert", "length", "1", "mi", "yard"}, "1760\n", ""},
        {{"--convert", "length", "1", "mil", "yard"},
         "",
         "quorvel-calc: unit \"mil\" is ambiguous in length: it may be "
         "mile(international,UK,US), mile(nautical)\n"},
        {{"--convert", "length", "1", "fooot", "yard"},
         "",
         "quorvel-calc: unit \"fooot\" is not known in length; closest: foot(UK and US), "
         "foot(US survey)\n"},
        {{"--convert", "lenth", "1", "foot", "yard"},
         "",
         "quorvel-calc: category \"lenth\" is not known; closest: length"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.args[3]);
        const Outcome o = run(c.args);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err.rfind(c.err, 0), 0u) << o.err;
        EXPECT_EQ(o.status, o.err.empty() ? 0 : 1);
    }
}

TEST_F(QuorvelCalc, UnitsWithoutACategoryListsTheCategories) {
    const Outcome o = run({"--units"});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(std::count(o.out.begin(), o.out.end(), '\n'), 13);
    EXPECT_NE(o.out.find("length\n"), std::string::npos);
}

TEST_F(QuorvelCalc, FileLinesAreNumberedInMessages) {
    std::ofstream(m_dir / "sums.txt", std::ios::binary) << "\xEF\xBB\xBF"
                                                           "2+2\n1/0\nhello\n";
    const Outcome o = run({"-f", (m_dir / "sums.txt").string()});
    EXPECT_EQ(o.out, "4\n\n\n");
    EXPECT_EQ(o.err,
              "Line 2: Quorvel Warning Message: Sorry,the denominator cannot be zero.\n"
              "Line 3: " +
                  std::string(kNothing));
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(run({"--file=" + (m_dir / "sums.txt").string()}).out, "4\n\n\n");
    const Outcome missing = run({"--file", (m_dir / "none.txt").string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

TEST_F(QuorvelCalc, SpeakToWithoutRecordingsSaysWhereItLooked) {
    // A copy of the program in a folder without recordings beside it.
    fs::create_directories(m_dir / "bin");
    fs::copy_file(QUORVEL_CALC, m_dir / "bin" / "quorvel-calc");
    m_program = m_dir / "bin" / "quorvel-calc";
    const Outcome o = run({"--speak-to", (m_dir / "x.wav").string(), "result", "5"});
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err.rfind("quorvel-calc: no recordings found; looked in " +
                              (m_dir / "bin" / "sounds").string(),
                          0),
              0u)
        << o.err;
    EXPECT_FALSE(fs::exists(m_dir / "x.wav"));
}

// quorvel-calc on a pseudo-terminal, typed at as a person would.
class Terminal {
public:
    explicit Terminal(const fs::path& home) {
        m_pid = forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            ::setenv("HOME", home.c_str(), 1);
            ::unsetenv("XDG_STATE_HOME");
            ::setenv("TERM", "dumb", 1);
            ::execl(QUORVEL_CALC, QUORVEL_CALC, static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Terminal() {
        if (m_pid > 0 && !m_waited) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_master >= 0) ::close(m_master);
    }

    void type(const std::string& keys) {
        ASSERT_EQ(::write(m_master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Types `keys` a piece at a time while reading what is shown, so that a long line's echo
    // cannot fill the terminal and stop the program from reading.
    void typeLong(const std::string& keys) {
        for (std::size_t at = 0; at < keys.size();) {
            pollfd p{m_master, POLLIN | POLLOUT, 0};
            ASSERT_GT(::poll(&p, 1, 5000), 0) << "the terminal took nothing for 5 s";
            if (p.revents & POLLIN) {
                char buffer[4096];
                const ssize_t n = ::read(m_master, buffer, sizeof buffer);
                ASSERT_GT(n, 0);
                m_shown.append(buffer, static_cast<std::size_t>(n));
            } else if (p.revents & POLLOUT) {
                const std::size_t piece = std::min<std::size_t>(keys.size() - at, 64);
                const ssize_t n = ::write(m_master, keys.data() + at, piece);
                ASSERT_GT(n, 0);
                at += static_cast<std::size_t>(n);
            }
        }
    }

    // Reads until `text` has appeared `times` times in all that was shown, or 5 s pass.
    bool waitFor(const std::string& text, int times = 1) {
        return quorvel::testing::ReadUntilShown(m_master, m_shown, text, times,
                                                std::chrono::seconds(5));
    }

    // -1 when the program has not ended within 5 s (it is then killed).
    int exitStatus() {
        int raw = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (::waitpid(m_pid, &raw, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) return -1;
            ::usleep(10000);
        }
        m_waited = true;
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    const std::string& shown() const { return m_shown; }

private:
    int m_master = -1;
    pid_t m_pid = -1;
    bool m_waited = false;
    std::string m_shown;
};

// Keys are typed only at a prompt: while an answer is printed the terminal is back in its
// cooked mode, where Ctrl+D would be the line discipline's, not readline's.
TEST_F(QuorvelCalc, PromptRecallsALineWithUpAndKeepsTheHistory) {
    {
        Terminal t(m_dir);
        ASSERT_TRUE(t.waitFor("quorvel> ")) << t.shown();
        t.type("17*3\r");
        ASSERT_TRUE(t.waitFor("\n51\r\n")) << t.shown();
        ASSERT_TRUE(t.waitFor("quorvel> ", 2)) << t.shown();
        t.type("\x1b[A\r");  // Up, Enter: the same line again
        ASSERT_TRUE(t.waitFor("\n51\r\n", 2)) << t.shown();
        ASSERT_TRUE(t.waitFor("quorvel> ", 3)) << t.shown();
        t.type("99\x03");  // Ctrl+C drops the line being typed, not the program
        ASSERT_TRUE(t.waitFor("quorvel> ", 4)) << t.shown();
        t.type("4+4\r");
        ASSERT_TRUE(t.waitFor("\n8\r\n")) << t.shown();
        ASSERT_TRUE(t.waitFor("quorvel> ", 5)) << t.shown();
        t.type("quit\r");
        EXPECT_EQ(t.exitStatus(), 0);
    }
    EXPECT_NE(readFile(m_dir / ".local" / "state" / "quorvel" / "history").find("17*3"),
              std::string::npos);
    {
        // The next run remembers the line.
        Terminal t(m_dir);
        ASSERT_TRUE(t.waitFor("quorvel> ")) << t.shown();
        t.type("\x1b[A\x1b[A\r");
        ASSERT_TRUE(t.waitFor("\n51\r\n")) << t.shown();
        ASSERT_TRUE(t.waitFor("quorvel> ", 2)) << t.shown();
        t.type("\x04");  // Ctrl+D ends
        EXPECT_EQ(t.exitStatus(), 0);
    }
}

TEST_F(QuorvelCalc, PromptDropsALineTypedPastTheLimit) {
    Terminal t(m_dir);
    ASSERT_TRUE(t.waitFor("quorvel> ")) << t.shown();
    t.typeLong(std::string(4500, '7') + "\r");
    ASSERT_TRUE(
        t.waitFor("Warning Message: Sorry, the expression is too long. It may hold at "
                  "most 4000 characters.\r\n"))
        << t.shown().substr(t.shown().size() - std::min<std::size_t>(t.shown().size(), 300));
    ASSERT_TRUE(t.waitFor("quorvel> ", 2));
    t.type("2+2\r");
    ASSERT_TRUE(t.waitFor("\n4\r\n")) << t.shown().substr(t.shown().size() - 300);
    ASSERT_TRUE(t.waitFor("quorvel> ", 3));
    t.type("quit\r");
    EXPECT_EQ(t.exitStatus(), 1);
    // The dropped line is not kept for Up to recall.
    EXPECT_EQ(readFile(m_dir / ".local" / "state" / "quorvel" / "history").find("7777"),
              std::string::npos);
}

TEST_F(QuorvelCalc, PromptSuggestsCommandsConvertsAndSkipsComments) {
    Terminal t(m_dir);
    ASSERT_TRUE(t.waitFor("quorvel> ")) << t.shown();
    t.type("hepl\r");
    ASSERT_TRUE(t.waitFor("did you mean help?\r\n")) << t.shown();
    ASSERT_TRUE(t.waitFor("quorvel> ", 2)) << t.shown();
    t.type("5 feet to m\r");
    ASSERT_TRUE(t.waitFor("\n1.524\r\n")) << t.shown();
    ASSERT_TRUE(t.waitFor("quorvel> ", 3)) << t.shown();
    t.type("2+2 # four\r");
    ASSERT_TRUE(t.waitFor("\n4\r\n")) << t.shown();
    ASSERT_TRUE(t.waitFor("quorvel> ", 4)) << t.shown();
    t.type("quit  # done\r");
    EXPECT_EQ(t.exitStatus(), 1);  // "hepl" had nothing to calculate
}

}  // namespace
