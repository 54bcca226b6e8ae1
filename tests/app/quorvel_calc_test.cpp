// quorvel-calc through the real binary: what lands on standard output and standard error,
// and the exit status.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/calc_process.h"
#include "data/sys_data_holder.h"

namespace {

namespace fs = std::filesystem;
using quorvel::test::Outcome;
using quorvel::test::QuorvelCalc;
using quorvel::test::quoted;
using quorvel::testing::readFile;
using quorvel::testing::writeFile;

// A quorvel-calc left running, reading its standard input from us.
class Running {
public:
    Running(const std::vector<std::string>& args, const fs::path& out, const char* lockWaitMs) {
        int fds[2];
        // Close-on-exec, so that no other child holds this one's input open.
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(fds[0], STDIN_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            fs::path err = out;
            err += ".err";
            const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(outFd, STDOUT_FILENO);
            ::dup2(errFd, STDERR_FILENO);
            if (lockWaitMs) ::setenv("QUORVEL_LOCK_WAIT_MS", lockWaitMs, 1);
            std::vector<char*> argv{const_cast<char*>(QUORVEL_CALC)};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(QUORVEL_CALC, argv.data());
            ::_exit(127);
        }
        ::close(fds[0]);
        m_input = fds[1];
    }
    ~Running() {
        if (m_pid > 0) finish();
    }
    pid_t pid() const { return m_pid; }
    bool running() const { return ::waitpid(m_pid, nullptr, WNOHANG) == 0; }
    void send(const std::string& text) const {
        ASSERT_EQ(::write(m_input, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void endInput() {
        if (m_input >= 0) ::close(m_input);
        m_input = -1;
    }
    // Ends its input and answers its exit status.
    int finish() {
        endInput();
        int status = 0;
        const pid_t waited = ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        return waited > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_input = -1;
};

TEST_F(QuorvelCalc, ArgumentsShareTheRecentResults) {
    const Outcome r = run({"2+2", "last1*3"});
    EXPECT_EQ(r.out, "4\n12\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
}

TEST_F(QuorvelCalc, OneAnswerLinePerInputLine) {
    const Outcome r = run({}, "1+1\n5\n\n5/0\n2+2\r\nlast2*10\n99999999999*99999999999\n");
    // A plain number is answered in its shown form; piped lines are named by number.
    EXPECT_EQ(r.out, "2\n5\n\n\n4\n20\n9.999999999800000000001E+21\n");
    EXPECT_EQ(r.err, "Line 4: Quorvel Warning Message: Sorry,the denominator cannot be zero.\n");
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
              "Expression: 2+*3\n"
              "             ^\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, OptionsChangePlacesDigitsAngleAndSteps) {
    EXPECT_EQ(run({"--places", "2", "2/3", "1/8"}).out, "0.67\n0.13\n");
    EXPECT_EQ(run({"--digits", "3", "1234"}).out, "1.234E+3\n");
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
    EXPECT_EQ(readFile(wav).substr(0, 4), "RIFF");

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
    const std::string bytes = readFile(m_dir / "SysData.dat");
    EXPECT_NE(bytes.find("   1+1=2"), std::string::npos);
    EXPECT_NE(bytes.find("   2*3=6"), std::string::npos);
}

// A damaged file is copied aside and said so in one line; the run calculates, and its store
// leaves a sound file behind.
TEST_F(QuorvelCalc, DamagedDataFileIsKeptAndTheRunCarriesOn) {
    ASSERT_EQ(run({"--data", m_dir.string(), "(w)=7", "1+1", "2*3"}).status, 0);
    const std::string good = readFile(m_dir / "SysData.dat");
    std::string header = good;
    header[5] = 'x';
    struct Case {
        const char* name;
        std::string bytes;
        const char* w;  // what w*2 answers: 14 when parameter W was read before the fault
    };
    const Case cases[] = {
        {"one header byte changed", header, "2"},
        {"cut in the log", good.substr(0, good.find("2*3=6")), "14"},
        {"cut in half the header", good.substr(0, 15), "2"},
    };
    const std::regex line("quorvel-calc: " + m_dir.string() +
                          "/SysData\\.dat: [^\n]*; the file is kept as (" + m_dir.string() +
                          "/SysData\\.dat\\.damaged-\\d{8}-\\d{6})\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(m_dir / "SysData.dat", c.bytes);
        const Outcome r = run({"--data", m_dir.string(), "w*2", "5+5"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, std::string(c.w) + "\n10\n");
        std::smatch copy;
        ASSERT_TRUE(std::regex_match(r.err, copy, line)) << r.err;
        EXPECT_EQ(readFile(copy[1].str()), c.bytes);

        const Outcome next = run({"--data", m_dir.string(), "1"});
        EXPECT_EQ(next.err, "");  // said once: the store after it wrote a sound file
        EXPECT_NE(readFile(m_dir / "SysData.dat").find("   5+5=10"), std::string::npos);
        fs::remove(copy[1].str());
    }
}

TEST_F(QuorvelCalc, EmptyDataFileIsAMissingOneAndLeftoversGo) {
    std::ofstream(m_dir / "SysData.dat");  // empty
    // A store killed before its rename, by a process that is gone.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const fs::path leftover = m_dir / ("SysData.dat.tmp-" + std::to_string(gone) + "-0");
    std::ofstream(leftover) << std::string(4096, 'x');

    const Outcome r = run({"--data", m_dir.string(), "1+2"});
    EXPECT_EQ(r.out, "3\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(readFile(m_dir / "SysData.dat").find("   1+2=3"), std::string::npos);
    EXPECT_FALSE(fs::exists(leftover));
}

TEST_F(QuorvelCalc, WithoutDataNoFileIsTouched) {
    fs::create_directories(m_dir / "home");
    const std::string prefix = "cd " + quoted(m_dir.string()) +
                               " && HOME=" + quoted((m_dir / "home").string()) + " XDG_DATA_HOME= ";
    EXPECT_EQ(run({"1+1"}, "", prefix).out, "2\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(m_dir)) {
        names.push_back(entry.path().lexically_relative(m_dir).string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"err", "home", "in", "out"}));
}

// Two runs writing one folder at once: every log line of both survives.
TEST_F(QuorvelCalc, TwoRunsOnOneFolderLoseNoLine) {
    constexpr int kLines = 150;
    std::string a;
    std::string b;
    for (int i = 0; i < kLines; ++i) {
        a += "1000+" + std::to_string(i) + "\n";
        b += "2000+" + std::to_string(i) + "\n";
    }
    Running first({"--data", m_dir.string()}, m_dir / "a.out", "60000");
    Running second({"--data", m_dir.string()}, m_dir / "b.out", "60000");
    first.send(a);
    second.send(b);
    // Either may hold the folder first; the other waits for it to read all its input.
    first.endInput();
    second.endInput();
    EXPECT_EQ(first.finish(), 0) << readFile(m_dir / "a.out.err");
    EXPECT_EQ(second.finish(), 0) << readFile(m_dir / "b.out.err");
    const std::string file = readFile(m_dir / "SysData.dat");
    int missing = 0;
    for (int i = 0; i < kLines; ++i) {
        for (const int base : {1000, 2000}) {
            const std::string entry = "   " + std::to_string(base) + "+" + std::to_string(i) + "=" +
                                      std::to_string(base + i);
            if (file.find(entry) == std::string::npos) ++missing;
        }
    }
    EXPECT_EQ(missing, 0);
}

TEST_F(QuorvelCalc, RunWaitsForTheFolderThenGivesUpNamingTheHolder) {
    Running holder({"--data", m_dir.string()}, m_dir / "holder.out", nullptr);
    const std::string pidLine = std::to_string(holder.pid()) + " quorvel-calc\n";
    for (int i = 0; i < 250 && readFile(m_dir / "SysData.lock") != pidLine; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_EQ(readFile(m_dir / "SysData.lock"), pidLine);

    const Outcome refused = run({"--data", m_dir.string(), "1+1"}, "", "QUORVEL_LOCK_WAIT_MS=200 ");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "quorvel-calc: the data folder " + m_dir.string() +
                               " is in use by quorvel-calc (pid " + std::to_string(holder.pid()) +
                               ")\n");

    Running waiter({"--data", m_dir.string(), "6*7"}, m_dir / "waiter.out", "10000");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(waiter.running());
    holder.send("1+1\n");
    EXPECT_EQ(holder.finish(), 0);
    EXPECT_EQ(waiter.finish(), 0);
    EXPECT_EQ(readFile(m_dir / "holder.out"), "2\n");
    EXPECT_EQ(readFile(m_dir / "waiter.out"), "42\n");
    const std::string file = readFile(m_dir / "SysData.dat");
    EXPECT_NE(file.find("   1+1=2"), std::string::npos);
    EXPECT_NE(file.find("   6*7=42"), std::string::npos);
}

// The command prefix that runs quorvel-calc as the account nobody; empty where that cannot
// be done (not root, no setpriv). Root ignores file modes, so only another account meets a
// file it may not read or a folder it may not write.
std::string asNobody() {
    if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null 2>&1") != 0) return {};
    return "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
}

// A data file that is there but cannot be opened is no first run: the run answers with the
// usual settings, says why once at the start and once at the store it refuses, leaves the
// file exactly as it is, and ends with status 1.
TEST_F(QuorvelCalc, UnreadableDataFileIsLeftAloneAndTheRunEndsWithOne) {
    const fs::path data = m_dir / "data";
    const fs::path file = data / "SysData.dat";
    ASSERT_EQ(run({"--data", data.string(), "(m)=3", "1+1"}).status, 0);
    const std::string bytes = readFile(file);
    const std::string prefix = asNobody();
    struct Case {
        const char* name;
        bool needsNobody;
        std::function<void()> make;
        const char* why;
    };
    const Case cases[] = {
        {"mode 000", true,
         [&] {
             ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
             fs::permissions(file, fs::perms::none);
         },
         "Permission denied"},
        {"another account's, after a restore", true,
         [&] {
             ASSERT_EQ(::chown(file.c_str(), 0, 0), 0);
             fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
         },
         "Permission denied"},
        {"a loop of links", false,
         [&] {
             fs::rename(file, m_dir / "kept");
             fs::create_symlink("SysData.dat", file);
         },
         "Too many levels of symbolic links"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsNobody && prefix.empty()) continue;
        // nobody may write the folder, so a store could replace the file.
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(data.c_str(), 65534, 65534), 0);
        }
        c.make();
        struct stat before {};
        ASSERT_EQ(::lstat(file.c_str(), &before), 0);
        const Outcome r =
            run({"--data", data.string(), "2+2", "m*2"}, "", c.needsNobody ? prefix : "");
        EXPECT_EQ(r.out, "4\n2\n");  // M is 1: the file's 3 was never read
        EXPECT_EQ(r.status, 1);
        const std::string reason = file.string() + " cannot be opened: " + c.why;
        EXPECT_EQ(r.err, "quorvel-calc: " + reason +
                             "; it is left as it is and nothing is stored over it\n"
                             "quorvel-calc: nothing is stored: " +
                             reason + "\n");
        struct stat after {};
        ASSERT_EQ(::lstat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        if (!fs::is_symlink(file)) {
            EXPECT_EQ(readFile(file), bytes);
        }
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(data)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"SysData.dat", "SysData.lock"}));
    }
    if (prefix.empty()) GTEST_SKIP() << "the unreadable cases need root and setpriv";
}

TEST_F(QuorvelCalc, ReadOnlyDataFolderIsNamedAsSuch) {
    const std::string prefix = asNobody();
    if (prefix.empty()) GTEST_SKIP() << "needs root and setpriv: root writes anywhere";
    const fs::path data = m_dir / "read-only";
    fs::create_directories(data);  // root's, 0755
    const Outcome r = run({"--data", data.string(), "1+1"}, "", prefix);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "quorvel-calc: the data folder " + data.string() + " is not writable\n");
    EXPECT_TRUE(fs::is_empty(data));
}

// A SysData.dat linked into another folder (a synced one, say) stays a link, and every run
// adds to the file at its end.
TEST_F(QuorvelCalc, LinkedDataFileStaysALink) {
    const fs::path data = m_dir / "data";
    const fs::path synced = m_dir / "synced";
    fs::create_directories(data);
    fs::create_directories(synced);
    fs::create_symlink("../synced/SysData.dat", data / "SysData.dat");
    for (const char* expression : {"1+1", "2*3"}) {
        const Outcome r = run({"--data", data.string(), expression});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        ASSERT_TRUE(fs::is_symlink(data / "SysData.dat"));
        EXPECT_EQ(fs::read_symlink(data / "SysData.dat"), "../synced/SysData.dat");
    }
    const std::string file = readFile(synced / "SysData.dat");
    EXPECT_NE(file.find("   1+1=2"), std::string::npos);
    EXPECT_NE(file.find("   2*3=6"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(synced), {}), 1);
}

// A file far beyond any data file's size is refused before it is read, and kept.
TEST_F(QuorvelCalc, HugeDataFileIsRefusedBeforeItIsRead) {
    const fs::path file = m_dir / "SysData.dat";
    std::ofstream(file) << "x";
    fs::resize_file(file, 4ull << 30);  // sparse: no disk taken
    const auto start = std::chrono::steady_clock::now();
    const Outcome r = run({"--data", m_dir.string(), "2+2"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(r.out, "4\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("quorvel-calc: " + file.string() +
                              " is 4294967296 bytes, more than the 64 MB a data file may hold; "
                              "it is left as it is and nothing is stored over it\n",
                          0),
              0u)
        << r.err;
    EXPECT_EQ(fs::file_size(file), 4ull << 30);
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        EXPECT_EQ(entry.path().filename().string().find("damaged"), std::string::npos);
    }
}

TEST_F(QuorvelCalc, MissingDataFolderIsCreated) {
    const fs::path deeper = m_dir / "missing" / "deeper";
    const Outcome r = run({"--data", deeper.string(), "1+1"});
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(readFile(deeper / "SysData.dat").find("   1+1=2"), std::string::npos);
}

TEST_F(QuorvelCalc, AssignmentsAndEquationsAnswerWithTheirValue) {
    const Outcome r = run({}, "(m)=-4\n3*m\n(M)=2+3\nlast1+m\nX=5\n3*(X+1)=9\n2+3=5\n");
    EXPECT_EQ(r.out, "-4\n-12\n5\n10\n5\n2\n\n");
    // A sum with its result is neither an assignment nor an equation.
    EXPECT_EQ(r.err,
              "Line 7: Quorvel Message: A text with \"=\" is calculated only as an assignment "
              "such as (M)=5 or an equation in x such as 2*x+3=7.\n");
    EXPECT_EQ(r.status, 1);
}

TEST_F(QuorvelCalc, DataDirectoryKeepsParametersBetweenRuns) {
    EXPECT_EQ(run({"--data", m_dir.string(), "(w)=7"}).out, "7\n");
    EXPECT_EQ(run({"--data", m_dir.string(), "w*2"}).out, "14\n");
    const Outcome solved = run({"--data", m_dir.string(), "2*X=w+1"});
    EXPECT_EQ(solved.out, "4\n");
    EXPECT_NE(readFile(m_dir / "SysData.dat").find("2*X=w+1 =>  X=4"), std::string::npos);
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
    EXPECT_EQ(readFile(m_dir / "sums.rob"),
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
    std::ofstream(m_dir / "plain") << "x";
    const Outcome r = run({"--data", (m_dir / "plain" / "deeper").string(), "1+1"});
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("quorvel-calc: cannot create the data folder " +
                              (m_dir / "plain" / "deeper").string() + ": ",
                          0),
              0u)
        << r.err;
}

}  // namespace
