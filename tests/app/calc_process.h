#pragma once

// Runs quorvel-calc as a process: what lands on standard output and standard error, and the
// exit status.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/file_text.h"

namespace quorvel::test {

namespace fs = std::filesystem;

struct Outcome {
    std::string out;
    std::string err;
    int status;
};

inline std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
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

    Outcome run(const std::vector<std::string>& args, const std::string& input = "",
                const std::string& prefix = "") {
        std::ofstream(m_dir / "in") << input;
        std::string command = prefix + quoted(m_program.string());
        for (const auto& a : args) command += " " + quoted(a);
        command += " <" + quoted((m_dir / "in").string()) + " >" +
                   quoted((m_dir / "out").string()) + " 2>" + quoted((m_dir / "err").string());
        const int raw = std::system(command.c_str());
        return {quorvel::testing::readFile(m_dir / "out"),
                quorvel::testing::readFile(m_dir / "err"), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
    }

    // Runs `script` with bash, where "$CALC" names the program.
    Outcome runScript(const std::string& script) {
        const std::string command = "CALC=" + quoted(m_program.string()) + " bash -c " +
                                    quoted(script) + " >" + quoted((m_dir / "out").string()) +
                                    " 2>" + quoted((m_dir / "err").string());
        const int raw = std::system(command.c_str());
        return {quorvel::testing::readFile(m_dir / "out"),
                quorvel::testing::readFile(m_dir / "err"), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
    }

    fs::path m_dir;
    fs::path m_program = QUORVEL_CALC;
};

}  // namespace quorvel::test
