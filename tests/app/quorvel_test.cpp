// The program quorvel as a user starts it, offscreen: the style it opens, --style, the
// message of style 5, and one window per data folder with two real processes.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/sys_data_holder.h"
#include "tools/start_up.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using quorvel::SysDataHolder;

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// One run of quorvel with its standard error in a file and its probe file.
class Process {
public:
    Process(const std::vector<std::string>& args, const fs::path& dir, const std::string& name,
            bool quitWhenSettled)
        : m_err(dir / (name + ".err")), m_probe(dir / (name + ".probe")) {
        m_pid = ::fork();
        if (m_pid != 0) return;
        const int err = ::open(m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("QUORVEL_STARTUP_PROBE", m_probe.c_str(), 1);
        if (quitWhenSettled) ::setenv("QUORVEL_PROBE_QUIT", "1", 1);
        ::setenv("QUORVEL_LOCK_WAIT_MS", "200", 1);
        std::vector<char*> argv{const_cast<char*>("quorvel")};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(QUORVEL_PROGRAM, argv.data());
        ::_exit(127);
    }
    ~Process() {
        if (m_pid > 0 && !m_status) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    // The exit status, or nullopt when the program still runs after `timeout`.
    std::optional<int> wait(std::chrono::milliseconds timeout = 15s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!m_status) {
            int raw = 0;
            if (::waitpid(m_pid, &raw, WNOHANG) == m_pid) {
                m_status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            } else if (std::chrono::steady_clock::now() >= deadline) {
                return std::nullopt;
            } else {
                std::this_thread::sleep_for(10ms);
            }
        }
        return m_status;
    }

    // True once the probe file holds `word`, false after `timeout`.
    bool awaitProbe(const std::string& word, std::chrono::milliseconds timeout = 15s) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (slurp(m_probe).find(word) == std::string::npos) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    void kill(int signal) {
        ::kill(m_pid, signal);
        wait();
    }

    std::string err() const { return slurp(m_err); }
    std::string probe() const { return slurp(m_probe); }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
    fs::path m_err;
    fs::path m_probe;
};

class QuorvelProgram : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("quorvel_test_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_data = m_dir / "data";
    }
    // A killed window leaves its socket in the temporary folder.
    void TearDown() override {
        for (const fs::path& data : {m_data, m_dir / "one", m_dir / "two"}) {
            std::error_code error;
            const fs::path canonical = fs::canonical(data, error);
            if (error) continue;
            fs::remove(fs::temp_directory_path() /
                           quorvel::InstanceServerName(canonical.string(), ::getuid()),
                       error);
        }
        fs::remove_all(m_dir);
    }

    int storedStyle() {
        SysDataHolder holder(m_data);
        EXPECT_EQ(holder.Load().outcome, quorvel::LoadOutcome::Read);
        return holder.data().windowStyle;
    }

    fs::path m_dir;
    fs::path m_data;
};

TEST_F(QuorvelProgram, StyleFiveEndsWithTheMessage) {
    fs::create_directories(m_data);
    SysDataHolder holder(m_data);
    holder.data().windowStyle = 5;
    ASSERT_TRUE(holder.Store().stored);

    Process run({"--data", m_data.string()}, m_dir, "run", true);
    EXPECT_EQ(run.wait(), 0);
    EXPECT_NE(run.err().find(quorvel::NoWindowMessage(m_data / "SysData.dat")), std::string::npos)
        << run.err();
    EXPECT_EQ(run.probe().find("painted_ns"), std::string::npos);
    EXPECT_EQ(storedStyle(), 5);
}

TEST_F(QuorvelProgram, StyleOptionRecordsTheStyleAndOpensIt) {
    struct Case {
        const char* name;
        int code;
    };
    for (const Case c : {Case{"mini", 3}, Case{"detail", 4}, Case{"standard", 1}}) {
        SCOPED_TRACE(c.name);
        Process run({"--data", m_data.string(), "--style", c.name}, m_dir, c.name, true);
        EXPECT_EQ(run.wait(), 0) << run.err();
        EXPECT_NE(run.probe().find("painted_ns"), std::string::npos) << run.err();
        EXPECT_EQ(run.err().find("style override"), std::string::npos) << run.err();
        EXPECT_EQ(storedStyle(), c.code);
    }
}

TEST_F(QuorvelProgram, CommandLineMistakesEndWithStatusTwo) {
    for (const char* bad : {"--style=mini", "--places", "2+3"}) {
        Process run({bad}, m_dir, "bad", true);
        EXPECT_EQ(run.wait(), 2) << bad;
        EXPECT_NE(run.err().find("Try 'quorvel --help'."), std::string::npos) << run.err();
    }
    EXPECT_FALSE(fs::exists(m_data));
}

// A second start on the same folder, spelt differently, wakes the first and ends; after the
// first is killed outright, its socket is left behind and the next start still opens.
TEST_F(QuorvelProgram, SecondStartWakesTheFirstWindow) {
    Process first({"--data", m_data.string()}, m_dir, "first", false);
    ASSERT_TRUE(first.awaitProbe("painted_ns")) << first.err();

    Process second({"--data", (m_data / "." / "").string(), "--style", "mini"}, m_dir, "second",
                   false);
    EXPECT_EQ(second.wait(), 0) << second.err();
    EXPECT_NE(second.err().find("is already open; it was brought to the front"), std::string::npos)
        << second.err();
    EXPECT_TRUE(first.awaitProbe("activated")) << first.probe();
    EXPECT_EQ(second.probe().find("painted_ns"), std::string::npos);
    EXPECT_EQ(first.wait(0ms), std::nullopt);  // still running

    first.kill(SIGKILL);
    Process third({"--data", m_data.string()}, m_dir, "third", false);
    EXPECT_TRUE(third.awaitProbe("painted_ns")) << third.err();
    Process fourth({"--data", m_data.string()}, m_dir, "fourth", false);
    EXPECT_EQ(fourth.wait(), 0) << fourth.err();
    EXPECT_TRUE(third.awaitProbe("activated")) << third.probe();
}

TEST_F(QuorvelProgram, OtherFoldersOpenTheirOwnWindows) {
    Process one({"--data", (m_dir / "one").string()}, m_dir, "one", false);
    Process two({"--data", (m_dir / "two").string()}, m_dir, "two", false);
    EXPECT_TRUE(one.awaitProbe("painted_ns")) << one.err();
    EXPECT_TRUE(two.awaitProbe("painted_ns")) << two.err();
    EXPECT_EQ(one.probe().find("activated"), std::string::npos);
}

}  // namespace
