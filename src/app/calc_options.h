#pragma once

// quorvel-calc's command line: what it asks for, read strictly so that a mistyped or
// misplaced argument is an error (exit 2) rather than silently read as an expression.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"
#include "tools/batch_run.h"

namespace quorvel {

struct Speech {
    enum class Mode { Words, Speak, SpeakTo } mode = Mode::Words;
    std::string command;
    std::string text;
    std::filesystem::path file;
};

struct Conversion {
    std::string category;
    std::string value;
    std::string from;
    std::string to;
};

struct Options {
    std::optional<int> places;
    std::optional<int> digits;
    std::optional<AngleUnit> angle;
    bool steps = false;
    std::optional<std::filesystem::path> data;
    std::optional<Speech> speech;
    std::optional<std::string> units;  // empty: list the categories
    std::optional<Conversion> conversion;
    std::optional<std::string> batchSource;
    std::optional<BatchMode> batchMode;
    std::optional<std::string> batchOutput;
    bool eNotation = false;
    std::vector<std::string> expressions;
    std::vector<std::filesystem::path> files;  // -f / --file
    bool help = false;
    bool version = false;
    bool precise = false;
};

struct UsageError {
    std::string text;
};

// Throws UsageError for anything it cannot take.
Options ParseOptions(const std::vector<std::string_view>& arguments);

extern const std::string_view kUsage;

}  // namespace quorvel
