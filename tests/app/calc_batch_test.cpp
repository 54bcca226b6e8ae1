// quorvel-calc --batch as a process, against what a real system does to it: devices and pipes
// as sources, planted links, a reader that closes its end, and signals mid-run.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "calc_process.h"

namespace quorvel::test {
namespace {

using quorvel::testing::readFile;

std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string lines(int count, const std::string& text) {
    std::string all;
    for (int i = 0; i < count; ++i) all += text + "\n";
    return all;
}

std::size_t count(std::string_view text, std::string_view part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size())) {
        ++found;
    }
    return found;
}

class CalcBatch : public QuorvelCalc {
protected:
    // Starts a run in the background with its output to files in the folder.
    pid_t start(const std::vector<std::string>& args) {
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = ::open((m_dir / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = ::open((m_dir / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            std::vector<char*> argv{const_cast<char*>(m_program.c_str())};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(m_program.c_str(), argv.data());
            ::_exit(127);
        }
        return child;
    }

    // Waits, up to 20 s, until a part file of the run stands beside `result`.
    bool partFileAppears(const fs::path& result) {
        const std::string prefix = result.filename().string() + ".part-";
        for (int i = 0; i < 2000; ++i) {
            for (const std::string& name : filesIn(result.parent_path())) {
                if (name.rfind(prefix, 0) == 0) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // A batch that takes seconds: every line a long division.
    void writeLongSource() {
        std::ofstream(m_dir / "sums.txt") << lines(20000, "row 1/7+2/3*sqrt(2)");
    }
};

TEST_F(CalcBatch, SourcesWithoutAnEndAreRefusedAtOnce) {
    ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
    for (const std::string& source :
         std::vector<std::string>{"/dev/zero", "/dev/urandom", (m_dir / "fifo").string()}) {
        SCOPED_TRACE(source);
        const Outcome r =
            run({"--batch", source, "--output", (m_dir / "out.rob").string()}, "", "timeout 10 ");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Quorvel: Failed to open and read the file:" + source +
                             " (it is not an ordinary file)\n");
        EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{"err", "fifo", "in", "out"}));
    }
}

// The log is a by-product: `| head` takes what it wants, and the result is still written.
TEST_F(CalcBatch, AClosedStandardOutputStillWritesTheWholeResult) {
    std::ofstream(m_dir / "sums.txt") << lines(30000, "Total 2+3 apples");
    const std::string command = "set -o pipefail; " + quoted(m_program.string()) + " --batch " +
                                quoted((m_dir / "sums.txt").string()) + " 2>" +
                                quoted((m_dir / "err").string()) + " | head -2 >" +
                                quoted((m_dir / "head").string());
    const int raw = std::system(("bash -c " + quoted(command)).c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0);
    EXPECT_EQ(count(readFile(m_dir / "head"), " 2+3=5\n"), 2u);
    EXPECT_EQ(readFile(m_dir / "err"), "");
    const std::string result = readFile(m_dir / "sums.rob");
    EXPECT_EQ(count(result, "Total 2+3=5 apples\r\n"), 30000u);
    EXPECT_EQ(result.size(), 30000 * std::string("Total 2+3=5 apples\r\n").size() + 2);
    EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{"err", "head", "sums.rob", "sums.txt"}));
}

// Ctrl-C or a shutdown mid-run: the previous result stays, no part file is left, and the
// process dies of the signal so that its caller knows.
TEST_F(CalcBatch, ASignalMidRunLeavesThePreviousResultAndNoPartFile) {
    writeLongSource();
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        std::ofstream(m_dir / "sums.rob") << "old result\n";
        const pid_t child = start({"--batch", (m_dir / "sums.txt").string(), "--places", "3000"});
        ASSERT_TRUE(partFileAppears(m_dir / "sums.rob"));
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_EQ(readFile(m_dir / "err"),
                  "quorvel-calc: interrupted; the result file was not written\n");
        EXPECT_EQ(readFile(m_dir / "sums.rob"), "old result\n");
        EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{"err", "out", "sums.rob", "sums.txt"}));
    }
}

// SIGKILL leaves no chance to clean up; the next run into the same result does it.
TEST_F(CalcBatch, TheNextRunRemovesThePartFileOfAKilledRun) {
    writeLongSource();
    const pid_t child = start({"--batch", (m_dir / "sums.txt").string(), "--places", "3000"});
    ASSERT_TRUE(partFileAppears(m_dir / "sums.rob"));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_EQ(filesIn(m_dir).size(), 4u);  // err, out, the part file, sums.txt

    std::ofstream(m_dir / "sums.txt") << "2+3\n";
    EXPECT_EQ(run({"--batch", (m_dir / "sums.txt").string()}).status, 0);
    EXPECT_EQ(readFile(m_dir / "sums.rob"), "2+3=5\r\n\r\n");
    EXPECT_EQ(filesIn(m_dir),
              (std::vector<std::string>{"err", "in", "out", "sums.rob", "sums.txt"}));
}

TEST_F(CalcBatch, AResultThatIsALinkIsRefusedNamingTheLink) {
    std::ofstream(m_dir / "sums.txt") << "2+3\n";
    std::ofstream(m_dir / "profile") << "export PATH\n";
    fs::create_symlink(m_dir / "profile", m_dir / "sums.rob");
    fs::create_symlink(m_dir / "profile", m_dir / "given.rob");
    for (const char* name : {"sums.rob", "given.rob"}) {
        SCOPED_TRACE(name);
        std::vector<std::string> args{"--batch", (m_dir / "sums.txt").string()};
        if (std::string_view(name) == "given.rob") {
            args.insert(args.end(), {"--output", (m_dir / name).string()});
        }
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "Quorvel: Failed to open and write the file:" + (m_dir / name).string() +
                             " (it is a link to another file)\n");
    }
    EXPECT_EQ(readFile(m_dir / "profile"), "export PATH\n");
    EXPECT_TRUE(fs::is_symlink(m_dir / "sums.rob"));
    // /dev/stdout is a link too, here to a pipe: written in place.
    const std::string command =
        quoted(m_program.string()) + " --batch " + quoted((m_dir / "sums.txt").string()) +
        " --output /dev/stdout | cat >" + quoted((m_dir / "piped").string());
    EXPECT_EQ(std::system(("bash -c " + quoted(command)).c_str()), 0);
    const std::string piped = readFile(m_dir / "piped");
    EXPECT_NE(piped.find(" 2+3=5\n"), std::string::npos);                // the log line
    EXPECT_NE(piped.find("2+3=5\r\n\r\n"), std::string::npos) << piped;  // the result
}

TEST_F(CalcBatch, NamesNearTheLengthLimitAndControlCharactersInMessages) {
    const std::string name(241, 'a');
    std::ofstream(m_dir / (name + ".txt")) << "2+3\n";
    const Outcome r = run({"--batch", (m_dir / (name + ".txt")).string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(m_dir / (name + ".rob")), "2+3=5\r\n\r\n");

    const Outcome odd = run({"--batch", (m_dir / "a\x1b]0;owned\a.txt").string()});
    EXPECT_EQ(odd.status, 1);
    EXPECT_EQ(odd.err, "Quorvel: Failed to open and read the file:" + m_dir.string() +
                           "/a\\x1b]0;owned\\x07.txt (no such file)\n");
}

}  // namespace
}  // namespace quorvel::test
