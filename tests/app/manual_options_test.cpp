// The manual's command-line page keeps up with the programs: every option either program's
// --help names is described there.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <regex>
#include <set>
#include <string>

#include "support/file_text.h"

namespace {

using quorvel::testing::readFile;

std::string output(const std::string& command) {
    std::string text;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe.get())) text.append(buffer, n);
    return text;
}

std::set<std::string> optionsIn(const std::string& text) {
    std::set<std::string> options;
    static const std::regex option(R"((^|[\s,\[(])(--[a-z][a-z-]*|-[a-z])\b)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it) {
        options.insert((*it)[2].str());
    }
    return options;
}

TEST(ManualOptions, EveryOptionOfBothProgramsIsOnTheCommandLinePage) {
    const std::string html = readFile(QUORVEL_HELP_SOURCE_DIR "/command_line.html");
    ASSERT_FALSE(html.empty());
    const struct {
        const char* program;
        std::size_t atLeast;
    } kPrograms[] = {{QUORVEL_CALC, 15}, {QUORVEL_PROGRAM, 4}};
    for (const auto& p : kPrograms) {
        SCOPED_TRACE(p.program);
        const std::set<std::string> options = optionsIn(
            output(std::string("QT_QPA_PLATFORM=offscreen '") + p.program + "' --help 2>&1"));
        EXPECT_GE(options.size(), p.atLeast);
        for (const std::string& option : options) {
            EXPECT_NE(html.find("<code>" + option), std::string::npos) << option;
        }
    }
}

}  // namespace
