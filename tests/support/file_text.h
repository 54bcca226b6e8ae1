#pragma once

// Whole files as bytes: what a program wrote, or what a test hands it to read.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace quorvel::testing {

// The bytes of `path`, unchanged; empty when there is no such file.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Makes `path` hold exactly `bytes`.
inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace quorvel::testing
