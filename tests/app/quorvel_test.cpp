// The program quorvel as a user starts it, offscreen: the style it opens, --style, the
// message of style 5, and one window per data folder with two real processes.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "data/sys_data_holder.h"
#include "support/file_text.h"
#include "tools/start_up.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using quorvel::SysDataHolder;
using quorvel::testing::readFile;

constexpr uid_t kNobody = 65534;

// How a run starts besides its arguments: environment variables to set (a null value unsets
// one), and whether it runs as the account nobody. XDG_RUNTIME_DIR is dir/run unless set here.
struct Setting {
    std::vector<std::pair<std::string, const char*>> env;
    bool asNobody = false;
};

// One run of quorvel with its standard error in a file and its probe file.
class Process {
public:
    Process(const std::vector<std::string>& args, const fs::path& dir, const std::string& name,
            bool quitWhenSettled, const Setting& setting = {})
        : m_err(dir / (name + ".err")), m_probe(dir / (name + ".probe")) {
        m_pid = ::fork();
        if (m_pid != 0) return;
        ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
        for (const auto& [key, value] : setting.env) {
            if (value != nullptr) {
                ::setenv(key.c_str(), value, 1);
            } else {
                ::unsetenv(key.c_str());
            }
        }
        if (setting.asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            ::_exit(126);
        }
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
        while (readFile(m_probe).find(word) == std::string::npos) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    void kill(int signal) {
        ::kill(m_pid, signal);
        wait();
    }
    // Sends `signal` and answers the exit status, or nullopt while it still runs after 15 s.
    std::optional<int> end(int signal) {
        ::kill(m_pid, signal);
        return wait();
    }
    pid_t pid() const { return m_pid; }

    std::string err() const { return readFile(m_err); }
    std::string probe() const { return readFile(m_probe); }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
    fs::path m_err;
    fs::path m_probe;
};

class QuorvelProgram : public ::testing::Test {
protected:
    void SetUp() override {
        // Short: a socket's path inside it may not exceed 107 bytes.
        static int count = 0;
        m_dir = fs::temp_directory_path() /
                ("qvt-" + std::to_string(::getpid()) + "-" + std::to_string(count++));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_data = m_dir / "data";
        // Where the windows' sockets go, and a killed one's stays.
        fs::create_directory(m_dir / "run");
        fs::permissions(m_dir / "run", fs::perms::owner_all);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Every socket below `folder`.
    static std::vector<fs::path> sockets(const fs::path& folder) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_socket()) found.push_back(entry.path());
        }
        return found;
    }
    // The socket of the window on `data` inside `folder`.
    static fs::path socketIn(const fs::path& folder, const fs::path& data, uid_t uid) {
        return folder / quorvel::InstanceServerName(fs::canonical(data).string(), uid);
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

// A request to end from outside ends the window as its Exit button does: the data is stored
// and the socket removed, and the exit status is 0.
TEST_F(QuorvelProgram, TermAndIntEndTheWindowCleanly) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        fs::remove_all(m_data);
        Process window({"--data", m_data.string()}, m_dir, "window" + std::to_string(signal),
                       false);
        ASSERT_TRUE(window.awaitProbe("painted_ns")) << window.err();
        const fs::path socket = socketIn(m_dir / "run", m_data, ::getuid());
        EXPECT_TRUE(fs::is_socket(socket)) << socket;
        EXPECT_FALSE(fs::exists(m_data / "SysData.dat"));  // a first run stores on its end

        EXPECT_EQ(window.end(signal), 0) << window.err();
        EXPECT_FALSE(fs::exists(socket));
        SysDataHolder stored(m_data);
        EXPECT_EQ(stored.Load().outcome, quorvel::LoadOutcome::Read);
    }
}

// Without a private $XDG_RUNTIME_DIR the socket goes into a folder of the user's own in the
// temporary folder, which nobody else may enter, and a second start still finds it there.
TEST_F(QuorvelProgram, SocketStaysOutOfTheSharedTemporaryFolder) {
    const fs::path tmp = m_dir / "tmp";
    const fs::path open = m_dir / "open";
    fs::create_directories(tmp);
    fs::create_directories(open);
    fs::permissions(open, fs::perms::all);  // 0777: anyone could put a socket there
    struct Case {
        const char* name;
        const char* runtime;  // nullptr: unset
    };
    const Case cases[] = {{"unset", nullptr}, {"open to everyone", open.c_str()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Setting setting{{{"XDG_RUNTIME_DIR", c.runtime}, {"TMPDIR", tmp.c_str()}}};
        const std::string name = c.runtime ? "open" : "unset";
        Process first({"--data", m_data.string()}, m_dir, name + "-first", false, setting);
        ASSERT_TRUE(first.awaitProbe("painted_ns")) << first.err();
        const fs::path folder = tmp / ("quorvel-" + std::to_string(::getuid()));
        const fs::path socket = socketIn(folder, m_data, ::getuid());
        struct stat info {};
        ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        EXPECT_EQ(sockets(m_dir), std::vector<fs::path>{socket});

        Process second({"--data", m_data.string()}, m_dir, name + "-second", false, setting);
        EXPECT_EQ(second.wait(), 0) << second.err();
        EXPECT_TRUE(first.awaitProbe("activated")) << first.probe();
        EXPECT_EQ(first.end(SIGTERM), 0);
        EXPECT_TRUE(sockets(m_dir).empty());
    }
}

// A data file this account may not read is no first run and is never stored over: the
// window says so and runs, --style is refused, and the file stays as it was.
TEST_F(QuorvelProgram, UnreadableDataFileIsNeitherReplacedNorTakenForAFirstRun) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another account";
    fs::create_directories(m_data);
    SysDataHolder holder(m_data);
    holder.data().windowStyle = 4;
    holder.data().log = {"6*7=42"};
    ASSERT_TRUE(holder.Store().stored);
    const std::string bytes = readFile(holder.path());
    fs::permissions(holder.path(), fs::perms::owner_read | fs::perms::owner_write);  // root's
    for (const fs::path& mine : {m_dir, m_data, m_dir / "run"}) {
        ASSERT_EQ(::chown(mine.c_str(), kNobody, kNobody), 0);
    }
    const std::string said = holder.path().string() + " cannot be opened: Permission denied";
    const Setting nobody{{}, true};

    Process styled({"--data", m_data.string(), "--style", "mini"}, m_dir, "styled", true, nobody);
    EXPECT_EQ(styled.wait(), 1);
    EXPECT_NE(styled.err().find("quorvel: nothing is stored: " + said), std::string::npos)
        << styled.err();
    EXPECT_EQ(styled.probe().find("painted_ns"), std::string::npos);

    Process window({"--data", m_data.string()}, m_dir, "window", false, nobody);
    ASSERT_TRUE(window.awaitProbe("painted_ns")) << window.err();
    EXPECT_NE(window.err().find("quorvel: " + said +
                                "; it is left as it is and nothing is stored over it"),
              std::string::npos)
        << window.err();
    EXPECT_EQ(window.end(SIGTERM), 0) << window.err();
    EXPECT_EQ(readFile(holder.path()), bytes);
    EXPECT_EQ(fs::status(holder.path()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

// quorvel-calc, waiting for the folder in vain, names the window that holds it.
TEST_F(QuorvelProgram, WindowHoldingTheFolderIsNamedWithItsPid) {
    Process window({"--data", m_data.string()}, m_dir, "window", false);
    ASSERT_TRUE(window.awaitProbe("painted_ns")) << window.err();
    const std::string command = "QUORVEL_LOCK_WAIT_MS=100 '" + std::string(QUORVEL_CALC) +
                                "' --data '" + m_data.string() + "' 1+1 >/dev/null 2>'" +
                                (m_dir / "calc.err").string() + "'";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
    EXPECT_EQ(readFile(m_dir / "calc.err"), "quorvel-calc: the data folder " + m_data.string() +
                                                " is in use by quorvel (pid " +
                                                std::to_string(window.pid()) + ")\n");
    EXPECT_EQ(window.end(SIGTERM), 0);
}

}  // namespace
