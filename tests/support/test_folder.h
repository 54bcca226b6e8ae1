#pragma once

// A folder of its own for each test, so tests running side by side never share files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel::testing {

// An empty folder for the running test, named after it; the caller removes it.
inline std::filesystem::path FreshTestFolder(std::string_view prefix) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() /
                         (std::string(prefix) + std::to_string(::getpid()) + "-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

}  // namespace quorvel::testing
