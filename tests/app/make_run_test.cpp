// `make run` on a console, typed at as a person would: it builds only the two programs, then
// the terminal calculator takes the terminal, and Ctrl+C drops the line being typed instead of
// ending the run.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/pty_reading.h"

namespace {

namespace fs = std::filesystem;

class MakeRun : public ::testing::Test {
protected:
    void SetUp() override {
        // make run configures its build folder as the Makefile does; any other tree (a
        // sanitizer preset's) would be reconfigured by it.
        if (std::string(QUORVEL_BUILD_TYPE) != "RelWithDebInfo" ||
            !std::string(QUORVEL_SANITIZE).empty()) {
            GTEST_SKIP() << "not a build folder of the Makefile";
        }
        m_home = fs::temp_directory_path() / ("quorvel_make_run_" + std::to_string(::getpid()));
        fs::create_directories(m_home);
    }
    void TearDown() override {
        if (m_pid > 0) {
            ::kill(-m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_master >= 0) ::close(m_master);
        if (!m_home.empty()) fs::remove_all(m_home);
    }

    void start() {
        m_pid = forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_pid == 0) {
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            ::unsetenv("XDG_STATE_HOME");
            ::unsetenv("MAKEFLAGS");
            ::unsetenv("MFLAGS");
            ::setenv("HOME", m_home.c_str(), 1);
            ::setenv("TERM", "dumb", 1);
            ::execlp("make", "make", "--no-print-directory", "-C", QUORVEL_SOURCE_DIR, "run",
                     "BUILD=" QUORVEL_BUILD_DIR, "JOBS=1", "QUORVEL_WERROR=" QUORVEL_WERROR_VALUE,
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }

    // Reads until `text` has been shown `times` times, or `seconds` pass.
    bool waitFor(const std::string& text, int times = 1, int seconds = 60) {
        return quorvel::testing::ReadUntilShown(m_master, m_shown, text, times,
                                                std::chrono::seconds(seconds));
    }
    void type(const std::string& keys) {
        ASSERT_EQ(::write(m_master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    // False when make has not ended within 10 s.
    bool ended() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) return false;
            // Keep reading, so that what make prints last cannot block it.
            char buffer[512];
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0 || ::read(m_master, buffer, sizeof buffer) <= 0) {
                ::usleep(10000);
            }
        }
        m_pid = -1;
        return true;
    }

    fs::path m_home;
    pid_t m_pid = -1;
    int m_master = -1;
    std::string m_shown;
};

TEST_F(MakeRun, BuildsTheTwoProgramsAndCtrlCDropsTheLine) {
    start();
    ASSERT_TRUE(waitFor("quorvel> ", 1, 300)) << m_shown;
    EXPECT_NE(m_shown.find("starting quorvel-calc in this terminal"), std::string::npos);
    // Only the programs and what they are made of: no test or benchmark target.
    EXPECT_NE(m_shown.find("Built target quorvel-calc"), std::string::npos) << m_shown;
    EXPECT_EQ(m_shown.find("Built target app_tests"), std::string::npos) << m_shown;
    EXPECT_EQ(m_shown.find("Built target bench_"), std::string::npos) << m_shown;
    type("99");
    ASSERT_TRUE(waitFor("quorvel> 99"));
    type("\x03");
    ASSERT_TRUE(waitFor("quorvel> ", 2)) << m_shown;
    type("2+2\r");
    ASSERT_TRUE(waitFor("\n4\r\n")) << m_shown;  // the dropped 99 is not part of it
    ASSERT_TRUE(waitFor("quorvel> ", 3)) << m_shown;
    type("quit\r");
    EXPECT_TRUE(ended()) << m_shown;
}

}  // namespace
