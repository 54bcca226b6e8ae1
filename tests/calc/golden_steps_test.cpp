#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "golden/golden_long.h"
#include "golden/golden_record.h"

namespace quorvel {
namespace {

std::vector<std::string> readGzipLines(const char* path) {
    std::vector<std::string> lines;
    gzFile file = gzopen(path, "rb");
    if (file == nullptr) return lines;
    std::string line;
    char buffer[4096];
    while (gzgets(file, buffer, sizeof buffer) != nullptr) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            line.pop_back();
            lines.push_back(std::move(line));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    gzclose(file);
    return lines;
}

// The file was written by the engine before its inner loop was rewritten; any difference in
// a result, a step line or a message is a change the user would see.
TEST(GoldenSteps, EveryRecordStillMatches) {
    const std::vector<std::string> lines = readGzipLines(QUORVEL_GOLDEN_STEPS);
    ASSERT_EQ(lines.size(), 10000u) << QUORVEL_GOLDEN_STEPS;
    int mismatches = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        golden::Input in;
        if (!golden::parseInput(lines[i], in)) {
            ADD_FAILURE() << "line " << i + 1 << " is not a record: " << lines[i];
            ++mismatches;
            continue;
        }
        const std::string now = golden::record(in);
        if (now != lines[i]) {
            ++mismatches;
            ADD_FAILURE() << "line " << i + 1 << "\n  expected: " << lines[i]
                          << "\n  actual:   " << now;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Lines of 1,000 and 3,900 characters, written by the engine before the token reduction.
TEST(GoldenSteps, LongLinesStillMatch) {
    const std::vector<std::string> lines = readGzipLines(QUORVEL_GOLDEN_LONG_STEPS);
    const std::vector<golden::Input> inputs = golden::longInputs();
    ASSERT_EQ(lines.size(), inputs.size()) << QUORVEL_GOLDEN_LONG_STEPS;
    int ok = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        golden::Input in;
        ASSERT_TRUE(golden::parseInput(lines[i], in)) << lines[i].substr(0, 200);
        EXPECT_EQ(in.expression, inputs[i].expression) << "line " << i + 1;
        const std::string now = golden::longRecord(in);
        if (now.find("\tok\t") != std::string::npos) ++ok;
        EXPECT_EQ(now, lines[i]) << "line " << i + 1;
    }
    EXPECT_GE(ok, 20);
}

// A golden file that had drifted into one kind of outcome would guard little.
TEST(GoldenSteps, CoversSuccessFailureAndEForm) {
    const std::vector<std::string> lines = readGzipLines(QUORVEL_GOLDEN_STEPS);
    int ok = 0, syntax = 0, message = 0, eForm = 0, power = 0, function = 0;
    for (const std::string& line : lines) {
        if (line.find("\tok\t") != std::string::npos) ++ok;
        if (line.find("\tinput[") != std::string::npos) ++syntax;
        if (line.find("\tmsg[") != std::string::npos) ++message;
        if (line.find("E+") != std::string::npos || line.find("E-") != std::string::npos) ++eForm;
        if (line.find('^') != std::string::npos) ++power;
        if (line.find("sqrt(") != std::string::npos || line.find("sin(") != std::string::npos) {
            ++function;
        }
    }
    EXPECT_GT(ok, 6000);
    EXPECT_GT(syntax, 300);
    EXPECT_GT(message, 300);
    EXPECT_GT(eForm, 500);
    EXPECT_GT(power, 1000);
    EXPECT_GT(function, 300);
}

TEST(GoldenRecord, EscapingRoundTrips) {
    const char* kTexts[] = {"", "2+3", "a\\b", "x\r\n=5", "tab\there", "end\\"};
    for (const char* text : kTexts) {
        SCOPED_TRACE(text);
        const std::string escaped = golden::escape(text);
        EXPECT_EQ(escaped.find_first_of("\t\r\n"), std::string::npos);
        EXPECT_EQ(golden::unescape(escaped), text);
    }
}

}  // namespace
}  // namespace quorvel
