#include "tools/batch_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calc/messages.h"
#include "support/recording_prompter.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

using testing::RecordingPrompter;

const fs::path kDataDir = fs::path(__FILE__).parent_path() / "data";

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeAll(const fs::path& path, std::string_view text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> splitLines(std::string_view text, std::string_view lineBreak) {
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(lineBreak, start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return lines;
        start = end + lineBreak.size();
    }
}

class BatchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("quorvel_batch_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        options.source = (m_dir / "sums.txt").string();
        options.settings.places = 4;
        options.settings.angleUnit = AngleUnit::Degrees;
        options.clock = [] { return LogTime{2026, 12, 8, 9, 5}; };
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs `source` in `mode` and returns the result file.
    std::string run(std::string_view source, BatchMode mode) {
        writeAll(options.source, source);
        options.mode = mode;
        outcome = RunBatch(options, prompter, [this](const BatchEntry& e) { log.push_back(e); });
        return readAll(outcome.resultPath);
    }

    fs::path m_dir;
    BatchOptions options;
    RecordingPrompter prompter;
    BatchOutcome outcome;
    std::vector<BatchEntry> log;
};

std::string calculationsIn(std::string_view line) {
    std::string found;
    std::string joined;
    for (const LineSegment& s : FindCalculations(line)) {
        joined += s.text;
        if (s.isCalculation) found += (found.empty() ? "" : "|") + std::string(s.text);
    }
    return joined == line ? found : "lost text: " + joined;
}

TEST(FindCalculations, FindsCalculationsAndLeavesWordsAlone) {
    struct Case {
        const char* line;
        const char* found;  // the calculations, joined with "|"
    };
    constexpr Case kCases[] = {
        {"Total 2+3 apples", "2+3"},
        {"(4+5)*2 boxes", "(4+5)*2"},
        {"then sin(30)+1 and 2^10 here", "sin(30)+1|2^10"},
        {"SIN(30)*2 and Last1+2", "SIN(30)*2|Last1+2"},
        {"2+3, 4*5; 6/2", "2+3|4*5|6/2"},
        {"Sum 2+3. Or 2+3+ or 2.5*2.", "2+3|2+3|2.5*2"},
        {"(see 2*3) and ((1+2", "2*3|1+2"},
        {"-2+3 degrees, x=-1+2", "-2+3|-1+2"},
        {"2*pi but not pi alone, 2pi or pie*2", "2*pi"},
        {"Hello world, 5 apples, (3) pears, -7", ""},
        {"Temperature (-5) today", ""},
        {"Meeting on 2026-12-08 at 10:30, 2026/12/08, 8/12/2026", ""},
        {"12/4/2 is no date, 2026-12-08+1 is", "12/4/2|2026-12-08+1"},
        {"pages 10-12, .5+1", "10-12|.5+1"},
        {"mp3+4, A4*2, 10km+5km, 3x+1", ""},
        {"the basin(3) and sinus(2)", ""},
        {"2+3=5 already answered", ""},
        {"1,000+2 and 3,5*2", ""},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(calculationsIn(c.line), c.found);
    }
}

TEST(DeriveResultPath, ReplacesTheLastExtensionWithRob) {
    EXPECT_EQ(DeriveResultPath("/data/sums.txt"), fs::path("/data/sums.rob"));
    EXPECT_EQ(DeriveResultPath("/data/archive.tar.gz"), fs::path("/data/archive.tar.rob"));
    EXPECT_EQ(DeriveResultPath("/data/notes"), fs::path("/data/notes.rob"));
    EXPECT_EQ(DeriveResultPath("sums.txt"), fs::path("sums.rob"));
}

TEST_F(BatchRunTest, EveryLineReadIsWrittenPlusTheFinalEmptyRead) {
    EXPECT_EQ(run("a\r\nb\r\nc\r\n", BatchMode::AddResult), "a\r\nb\r\nc\r\n\r\n");
    EXPECT_EQ(run("a\nb\nc", BatchMode::AddResult), "a\r\nb\r\nc\r\n\r\n");
    EXPECT_EQ(run("", BatchMode::AddResult), "\r\n");
    EXPECT_EQ(outcome.resultPath, m_dir / "sums.rob");
}

// The golden results name every line that differs, with its number.
TEST_F(BatchRunTest, GoldenFilesInEveryMode) {
    options.source = (kDataDir / "batch_sums.txt").string();
    for (std::string_view name :
         {"addresult", "replaceresult", "addsteps", "genfilter", "detailfilter"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ParseBatchMode(name));
        options.mode = *ParseBatchMode(name);
        options.result = (m_dir / (std::string(name) + ".rob")).string();
        RecordingPrompter quiet;
        ASSERT_EQ(RunBatch(options, quiet).status, BatchStatus::Done);
        const auto actual = splitLines(readAll(options.result), "\r\n");
        const auto expected =
            splitLines(readAll(kDataDir / ("batch_sums." + std::string(name) + ".rob")), "\n");
        EXPECT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
            const std::string a = i < actual.size() ? actual[i] : "(missing)";
            const std::string e = i < expected.size() ? expected[i] : "(missing)";
            EXPECT_EQ(a, e) << "line " << i + 1;
        }
    }
}

TEST_F(BatchRunTest, LogsEachCalculationAndTheRunListSpeaksTheLastRun) {
    RobotLog robot;
    auto runInto = [&](std::string_view source) {
        writeAll(options.source, source);
        robot.beginRun();
        RunBatch(options, prompter, [&](const BatchEntry& e) { robot.add(e); });
    };
    runInto("Total 2+3 apples and 2/3\n");
    runInto("Then 7*6\n");
    EXPECT_EQ(robot.text(),
              "Robot Log Information:\r\n"
              "2026-12-08 09:05 2+3=5\r\n"
              "2026-12-08 09:05 2/3=0.6667\r\n"
              "2026-12-08 09:05 7*6=42\r\n");
    EXPECT_EQ(robot.talkRequest(), "1:7*6=42|");
    robot.clear();
    EXPECT_EQ(robot.text(), RobotLog::kHeading);
}

TEST_F(BatchRunTest, ENotationSwitch) {
    struct Case {
        const char* source;
        bool eNotation;
        int places;
        const char* output;
    };
    constexpr Case kCases[] = {
        {"2^50", false, 2, "1125899906842624"},
        {"2^50", true, 2, "1.12E+15"},
        {"1/3000000000000", false, 16, "0.0000000000003333"},
        {"1/3000000000000", true, 16, "3.333E-13"},
        {"-1/8", false, 2, "-0.13"},
        {"1/8000000000000", false, 2, "0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.source) + (c.eNotation ? " on" : " off"));
        options.eNotation = c.eNotation;
        options.settings.places = c.places;
        EXPECT_EQ(run(c.source, BatchMode::ReplaceResult), std::string(c.output) + "\r\n\r\n");
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log.back().logLine, "2026-12-08 09:05 " + std::string(c.source) + "=" + c.output);
        log.clear();
    }
}

TEST_F(BatchRunTest, RejectedAndFailedCalculationsAreCopiedUnchanged) {
    EXPECT_EQ(run("Look 2*-3 and 1/0, then 1+1\n", BatchMode::AddResult),
              "Look 2*-3 and 1/0, then 1+1=2\r\n\r\n");
    ASSERT_EQ(prompter.inputMessages.size(), 1u);
    EXPECT_EQ(prompter.inputMessages[0].message,
              "The char [position:2] just before operator - cannot be acceptted");
    EXPECT_EQ(prompter.inputMessages[0].expression, "2*-3");
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, msg::kDenominatorZero);
    EXPECT_EQ(outcome.calculated, 1u);
    EXPECT_EQ(outcome.failed, 2u);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(BatchRunTest, FailuresToOpenAreReportedAndStopTheRun) {
    struct Case {
        const char* source;  // under the test folder; "" for none
        const char* result;
        BatchStatus status;
        const char* message;  // the folder's path stands for {dir}
    };
    const Case kCases[] = {
        {"", "", BatchStatus::NoSource,
         "Please select the source file first by clicking the browse button."},
        {"missing.txt", "", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/missing.txt"},
        {"folder", "", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/folder"},
        {"sums.txt", "no/such/out.rob", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/no/such/out.rob"},
        {"sums.txt", "folder", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/folder"},
        {"sums.rob", "", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/sums.rob"},
    };
    fs::create_directory(m_dir / "folder");
    writeAll(m_dir / "sums.txt", "2+3\n");
    writeAll(m_dir / "sums.rob", "2+3\n");
    const std::string dir = m_dir.string();
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.result);
        RecordingPrompter shown;
        options.source = *c.source ? dir + "/" + c.source : " ";
        options.result = *c.result ? dir + "/" + c.result : "";
        EXPECT_EQ(RunBatch(options, shown).status, c.status);
        std::string message = c.message;
        if (const auto at = message.find("{dir}"); at != std::string::npos) {
            message.replace(at, 5, dir);
        }
        EXPECT_EQ(shown.only(), "Quorvel: " + message);
    }
    EXPECT_EQ(readAll(m_dir / "sums.rob"), "2+3\n");
}

}  // namespace
}  // namespace quorvel
