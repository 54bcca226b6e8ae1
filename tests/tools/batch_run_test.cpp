#include "tools/batch_run.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "calc/messages.h"
#include "support/dead_pid.h"
#include "support/file_text.h"
#include "support/recording_prompter.h"
#include "support/temp_data_folder.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

using testing::readFile;
using testing::RecordingPrompter;
using testing::TempDataFolder;
using testing::writeFile;

const fs::path kDataDir = QUORVEL_TOOLS_TEST_DATA;

std::vector<std::string> splitLines(std::string_view text, std::string_view lineBreak) {
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(lineBreak, start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return lines;
        start = end + lineBreak.size();
    }
}

std::vector<std::string> filesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class BatchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        options.source = (m_dir / "sums.txt").string();
        options.settings.places = 4;
        options.settings.angleUnit = AngleUnit::Degrees;
        options.clock = [] { return LogTime{2026, 12, 8, 9, 5}; };
    }

    // Runs `source` in `mode` and returns the result file.
    std::string run(std::string_view source, BatchMode mode) {
        writeFile(options.source, source);
        options.mode = mode;
        outcome = RunBatch(options, prompter, [this](const BatchEntry& e) { log.push_back(e); });
        return readFile(outcome.resultPath);
    }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const fs::path m_dir = folder.path();
    BatchOptions options;
    RecordingPrompter prompter;
    BatchOutcome outcome;
    std::vector<BatchEntry> log;
};

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
        const auto actual = splitLines(readFile(options.result), "\r\n");
        const auto expected =
            splitLines(readFile(kDataDir / ("batch_sums." + std::string(name) + ".rob")), "\n");
        EXPECT_EQ(actual.size(), expected.size());
        for (std::size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
            const std::string a = i < actual.size() ? actual[i] : "(missing)";
            const std::string e = i < expected.size() ? expected[i] : "(missing)";
            EXPECT_EQ(a, e) << "line " << i + 1;
        }
    }
}

// Runs on worker threads at once must not share anything: each matches its golden file.
TEST_F(BatchRunTest, RunsOnWorkerThreadsAtOnce) {
    const std::vector<std::string> modes = {"addresult", "addsteps", "genfilter", "detailfilter"};
    std::vector<BatchOutcome> outcomes(modes.size());
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < modes.size(); ++i) {
        workers.emplace_back([&, i] {
            BatchOptions own = options;
            own.source = (kDataDir / "batch_sums.txt").string();
            own.result = (m_dir / (modes[i] + ".rob")).string();
            own.mode = *ParseBatchMode(modes[i]);
            RecordingPrompter quiet;
            outcomes[i] = RunBatch(own, quiet);
        });
    }
    for (std::thread& worker : workers) worker.join();
    for (std::size_t i = 0; i < modes.size(); ++i) {
        SCOPED_TRACE(modes[i]);
        EXPECT_EQ(outcomes[i].status, BatchStatus::Done);
        std::string expected = readFile(kDataDir / ("batch_sums." + modes[i] + ".rob"));
        for (std::size_t at = 0; (at = expected.find('\n', at)) != std::string::npos; at += 2) {
            expected.insert(at, "\r");
        }
        EXPECT_EQ(readFile(outcomes[i].resultPath), expected);
    }
}

TEST_F(BatchRunTest, LogsEachCalculationAndTheRunListSpeaksTheLastRun) {
    RobotLog robot;
    auto runInto = [&](std::string_view source) {
        writeFile(options.source, source);
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
    robot.addNote("1 calculation failed, on line 3");
    EXPECT_EQ(robot.talkRequest(), "1:7*6=42|");
    EXPECT_TRUE(robot.text().ends_with("7*6=42\r\n1 calculation failed, on line 3\r\n"));
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
    EXPECT_EQ(prompter.only(),
              "input: The char [position:2] just before operator - cannot be acceptted");
    ASSERT_EQ(prompter.inputMessages.size(), 1u);
    EXPECT_EQ(prompter.inputMessages[0].expression, "2*-3");
    EXPECT_EQ(outcome.calculated, 1u);
    EXPECT_EQ(outcome.failed, 2u);
    EXPECT_EQ(log.size(), 1u);
}

// Only the first failure is shown; the rest go to the log by line, then one summary.
TEST_F(BatchRunTest, LaterFailuresGoToTheLogWithTheirLines) {
    struct Case {
        const char* source;
        std::string shown;  // the one thing the prompter showed
        std::vector<std::size_t> lines;
        std::vector<std::string> logLines;
    };
    const std::string zero(msg::kDenominatorZero);
    const std::string warning = std::string(msg::kTitleWarning) + ": ";
    const std::string minus = "The char [position:2] just before operator - cannot be acceptted";
    const Case kCases[] = {
        {"fine 1+1\n", "", {}, {}},
        {"a\n1/0 here\n", warning + zero, {2}, {"1 calculation failed, on line 2"}},
        {"1/0\n2*-3\nok 1+1\n1/0 and 1/0\n",
         warning + zero,
         {1, 2, 4, 4},
         {"Line 2: 2*-3 failed: " + minus, "Line 4: 1/0 failed: " + zero,
          "Line 4: 1/0 failed: " + zero, "4 calculations failed; the first on line 1"}},
        {"x\r\ny\r\nsee 2*-3\r\n4/0",
         "input: " + minus,
         {3, 4},
         {"Line 4: 4/0 failed: " + zero, "2 calculations failed; the first on line 3"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.source);
        RecordingPrompter shown;
        std::vector<std::string> logLines;
        writeFile(options.source, c.source);
        BatchHooks hooks;
        hooks.onLogLine = [&](std::string_view line) { logLines.emplace_back(line); };
        const BatchOutcome result = RunBatch(options, shown, hooks);
        EXPECT_EQ(result.status, BatchStatus::Done);
        EXPECT_EQ(shown.only(), c.shown);
        std::vector<std::size_t> lines;
        for (const BatchFailure& f : result.failures) lines.push_back(f.line);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(result.failed, c.lines.size());
        EXPECT_EQ(logLines, c.logLines);
    }
}

TEST_F(BatchRunTest, FailuresToOpenAreReportedAndStopTheRun) {
    struct Case {
        const char* source;  // under the test folder unless it starts with "/"; "" for none
        const char* result;
        BatchStatus status;
        const char* message;  // the folder's path stands for {dir}
    };
    const Case kCases[] = {
        {"", "", BatchStatus::NoSource,
         "Please select the source file first by clicking the browse button."},
        {"missing.txt", "", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/missing.txt (no such file)"},
        {"folder", "", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/folder (it is a folder)"},
        // Without an end, or waiting for a writer that never comes: refused before a read.
        {"/dev/zero", "out.rob", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:/dev/zero (it is not an ordinary file)"},
        {"/dev/urandom", "out.rob", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:/dev/urandom (it is not an ordinary file)"},
        {"fifo", "out.rob", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/fifo (it is not an ordinary file)"},
        {"zero-link", "out.rob", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/zero-link (it is not an ordinary file)"},
        // A file name may hold any byte; the message must not steer the terminal.
        {"clear\x1b[2J\nnext.txt", "", BatchStatus::SourceUnreadable,
         "Failed to open and read the file:{dir}/clear\\x1b[2J\\x0anext.txt (no such file)"},
        {"sums.txt", "no/such/out.rob", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/no/such/out.rob (no such folder)"},
        {"sums.txt", "sums.txt/out.rob", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/sums.txt/out.rob (no such folder)"},
        {"sums.txt", "folder", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/folder (it is a folder)"},
        {"sums.txt", "bell\a.rob/x", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/bell\\x07.rob/x (no such folder)"},
        {"sums.rob", "", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:{dir}/sums.rob (the result would overwrite the "
         "source)"},
        {"sums.txt", "/dev/full", BatchStatus::ResultUnwritable,
         "Failed to open and write the file:/dev/full (disk full)"},
    };
    fs::create_directory(m_dir / "folder");
    ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", m_dir / "zero-link");
    writeFile(m_dir / "sums.txt", "2+3\n");
    writeFile(m_dir / "sums.rob", "2+3\n");
    const std::string dir = m_dir.string();
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.result);
        RecordingPrompter shown;
        options.source = *c.source == '/' ? c.source : *c.source ? dir + "/" + c.source : " ";
        options.result = *c.result == '/' ? c.result : *c.result ? dir + "/" + c.result : "";
        EXPECT_EQ(RunBatch(options, shown).status, c.status);
        std::string message = c.message;
        if (const auto at = message.find("{dir}"); at != std::string::npos) {
            message.replace(at, 5, dir);
        }
        EXPECT_EQ(shown.only(), "Quorvel: " + message);
    }
    EXPECT_EQ(readFile(m_dir / "sums.rob"), "2+3\n");
    EXPECT_EQ(filesIn(m_dir),
              (std::vector<std::string>{"fifo", "folder", "sums.rob", "sums.txt", "zero-link"}));
}

// A line longer than the expression limit is streamed through unread, whatever its size.
TEST_F(BatchRunTest, LongLinesAreCopiedInPiecesAndReported) {
    const std::string limit(4000, ' ');
    const std::string over(4001, 'x');
    const std::string block(65535, 'y');  // its CR ends the reader's first block
    struct Case {
        std::string source;
        BatchMode mode;
        std::string result;
        std::size_t longLines;
        std::size_t firstLongLine;
    };
    const Case kCases[] = {
        {limit.substr(3) + "1+1\n", BatchMode::AddResult, limit.substr(3) + "1+1=2\r\n\r\n", 0, 0},
        {limit.substr(3) + "1+1\r\n", BatchMode::AddResult, limit.substr(3) + "1+1=2\r\n\r\n", 0,
         0},
        {"1+1\n" + limit.substr(2) + "2+3\n", BatchMode::AddResult,
         "1+1=2\r\n" + limit.substr(2) + "2+3\r\n\r\n", 1, 2},
        {block + "\r\n2+3\r\n", BatchMode::AddResult, block + "\r\n2+3=5\r\n\r\n", 1, 1},
        {block + "\r", BatchMode::AddResult, block + "\r\n\r\n", 1, 1},
        {over + "\n" + over + "\n2*4", BatchMode::GenFilter, "\r\n\r\n2*4=8\r\n\r\n", 2, 1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.source.size());
        std::vector<std::string> logLines;
        BatchHooks hooks;
        hooks.onLogLine = [&](std::string_view line) { logLines.emplace_back(line); };
        writeFile(options.source, c.source);
        options.mode = c.mode;
        const BatchOutcome result = RunBatch(options, prompter, hooks);
        EXPECT_EQ(result.status, BatchStatus::Done);
        EXPECT_TRUE(readFile(result.resultPath) == c.result);
        EXPECT_EQ(result.longLines, c.longLines);
        EXPECT_EQ(result.firstLongLine, c.firstLongLine);
        if (c.longLines > 0) {
            ASSERT_FALSE(logLines.empty());
            EXPECT_EQ(logLines.front(), "Line " + std::to_string(c.firstLongLine) +
                                            " is longer than 4000 characters and was copied "
                                            "without calculating.");
            EXPECT_EQ(logLines.size(), c.longLines + 1);
        }
    }
    EXPECT_EQ(prompter.only(), "");
}

TEST_F(BatchRunTest, ASourceOfNulBytesStreams) {
    const std::string nuls(3 * 1024 * 1024 + 7, '\0');
    std::vector<std::string> logLines;
    BatchHooks hooks;
    hooks.onLogLine = [&](std::string_view line) { logLines.emplace_back(line); };
    writeFile(options.source, nuls);
    const BatchOutcome result = RunBatch(options, prompter, hooks);
    EXPECT_EQ(result.status, BatchStatus::Done);
    EXPECT_EQ(result.lines, 2u);
    EXPECT_EQ(result.longLines, 1u);
    EXPECT_TRUE(readFile(result.resultPath) == nuls + "\r\n\r\n");
    EXPECT_EQ(logLines.back(),
              "1 line longer than 4000 characters was copied without calculating: line 1");
    EXPECT_EQ(prompter.only(), "");
}

// A clock that moves 20 ms each time it is read.
struct SteppingClock {
    std::chrono::steady_clock::time_point time{};
    std::chrono::milliseconds step{20};
    std::chrono::steady_clock::time_point operator()() { return time += step; }
};

TEST_F(BatchRunTest, ProgressIsPacedAndEndsWithTheWholeSource) {
    std::string source;
    for (int i = 1; i <= 40; ++i) source += std::to_string(i) + "+1\n";
    writeFile(options.source, source);
    auto clock = std::make_shared<SteppingClock>();
    std::vector<std::pair<std::chrono::steady_clock::time_point, BatchProgress>> reports;
    BatchHooks hooks;
    hooks.now = [clock] { return (*clock)(); };
    hooks.onProgress = [&](const BatchProgress& p) {
        reports.emplace_back(clock->time, p);
        return BatchControl::Continue;
    };
    const BatchOutcome result = RunBatch(options, prompter, hooks);
    ASSERT_EQ(result.status, BatchStatus::Done);
    ASSERT_GE(reports.size(), 3u);
    for (std::size_t i = 1; i + 1 < reports.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(reports[i].first - reports[i - 1].first, BatchHooks::kProgressInterval);
        EXPECT_GT(reports[i].second.lines, reports[i - 1].second.lines);
        EXPECT_GT(reports[i].second.bytes, reports[i - 1].second.bytes);
        EXPECT_EQ(reports[i].second.sourceBytes, source.size());
    }
    EXPECT_LT(reports.size(), 40u / 2);
    const BatchProgress& last = reports.back().second;
    EXPECT_EQ(last.lines, 41u);
    EXPECT_EQ(last.bytes, source.size());
    EXPECT_EQ(last.sourceBytes, source.size());
}

TEST_F(BatchRunTest, AStopEndsTheRunBetweenLinesAndSaysSo) {
    const std::string source = "1+1\n2+2\n3+3\n4+4\n";
    struct Case {
        const char* how;
        std::size_t stopAfter;  // lines
    };
    constexpr Case kCases[] = {{"flag", 1}, {"flag", 3}, {"answer", 2}, {"answer", 4}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.how) + " " + std::to_string(c.stopAfter));
        writeFile(options.source, source);
        writeFile(m_dir / "sums.rob", "old result\n");
        std::stop_source stop;
        std::vector<std::string> logLines;
        BatchHooks hooks;
        hooks.onLogLine = [&](std::string_view line) { logLines.emplace_back(line); };
        hooks.now = [clock = std::make_shared<SteppingClock>(
                         SteppingClock{{}, std::chrono::milliseconds(60)})] { return (*clock)(); };
        if (std::string_view(c.how) == "flag") {
            std::size_t seen = 0;
            hooks.stop = stop.get_token();
            hooks.onCalculation = [&, seen](const BatchEntry&) mutable {
                if (++seen == c.stopAfter) stop.request_stop();
            };
        } else {
            hooks.onProgress = [&](const BatchProgress& p) {
                return p.lines == c.stopAfter ? BatchControl::Stop : BatchControl::Continue;
            };
        }
        const BatchOutcome result = RunBatch(options, prompter, hooks);
        EXPECT_EQ(result.status, BatchStatus::Stopped);
        EXPECT_EQ(result.lines, c.stopAfter);
        std::string expected;
        for (std::size_t i = 1; i <= c.stopAfter; ++i) {
            expected +=
                std::to_string(i) + "+" + std::to_string(i) + "=" + std::to_string(2 * i) + "\r\n";
        }
        const std::string stopped =
            "Stopped by the user after line " + std::to_string(c.stopAfter) + ".";
        EXPECT_EQ(readFile(m_dir / "sums.rob"), expected + stopped + "\r\n");
        EXPECT_EQ(logLines, std::vector<std::string>{stopped});
    }
    EXPECT_EQ(prompter.only(), "");
}

TEST_F(BatchRunTest, AStopInsideALongLineCutsIt) {
    writeFile(options.source, std::string(1024 * 1024, 'z') + "\n1+1\n");
    BatchHooks hooks;
    hooks.now = [clock = std::make_shared<SteppingClock>(
                     SteppingClock{{}, std::chrono::milliseconds(60)})] { return (*clock)(); };
    hooks.onProgress = [](const BatchProgress&) { return BatchControl::Stop; };
    const BatchOutcome result = RunBatch(options, prompter, hooks);
    EXPECT_EQ(result.status, BatchStatus::Stopped);
    const std::string written = readFile(result.resultPath);
    const std::string end = "\r\nStopped by the user after line 1.\r\n";
    ASSERT_GT(written.size(), end.size());
    EXPECT_LT(written.size(), 1024u * 1024u);
    EXPECT_EQ(written.substr(written.size() - end.size()), end);
    EXPECT_EQ(written.find_first_not_of('z'), written.size() - end.size());
}

// The old result survives any run that does not finish, and no temporary is left behind.
TEST_F(BatchRunTest, AFullDiskLeavesThePreviousResultIntact) {
    struct Case {
        std::size_t lines;
        std::size_t room;  // bytes the disk takes before it is full
    };
    constexpr Case kCases[] = {{3, 0}, {3, 10}, {20000, 70000}, {20000, 1000000}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines, room " + std::to_string(c.room));
        std::string source;
        for (std::size_t i = 0; i < c.lines; ++i) source += "line 2*3 of text\n";
        writeFile(options.source, source);
        writeFile(m_dir / "sums.rob", "old result\n");
        std::size_t room = c.room;
        BatchHooks hooks;
        hooks.write = [&room](int fd, const char* data, std::size_t size) -> long {
            const std::size_t now = std::min(size, room);
            if (now == 0) {
                errno = ENOSPC;
                return -1;
            }
            room -= now;
            return ::write(fd, data, now);
        };
        RecordingPrompter shown;
        const BatchOutcome result = RunBatch(options, shown, hooks);
        const bool fits = source.size() + 3 * c.lines + 2 <= c.room;
        EXPECT_EQ(result.status, fits ? BatchStatus::Done : BatchStatus::ResultUnwritable);
        EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{"sums.rob", "sums.txt"}));
        if (fits) {
            EXPECT_EQ(shown.only(), "");
            EXPECT_EQ(readFile(m_dir / "sums.rob").size(), source.size() + 3 * c.lines + 2);
        } else {
            EXPECT_EQ(shown.only(), "Quorvel: Failed to open and write the file:" +
                                        (m_dir / "sums.rob").string() + " (disk full)");
            EXPECT_EQ(result.error, shown.messages.at(0).text);
            EXPECT_EQ(readFile(m_dir / "sums.rob"), "old result\n");
        }
    }
}

// Whoever may write beside the source could plant report.rob -> ~/.profile: a link is not
// written through, but a link to the run's own output (/dev/stdout) or /dev/null still is.
TEST_F(BatchRunTest, AResultThatIsALinkToAFileIsRefused) {
    fs::create_directory(m_dir / "real");
    writeFile(m_dir / "real" / "profile", "old\n");
    fs::create_symlink(m_dir / "real" / "profile", m_dir / "sums.rob");
    fs::create_symlink(m_dir / "real" / "profile", m_dir / "given.rob");
    fs::create_symlink(m_dir / "real" / "missing", m_dir / "dangling.rob");
    fs::create_symlink(m_dir / "real", m_dir / "folder.rob");
    for (const char* name : {"", "given.rob", "dangling.rob", "folder.rob"}) {
        SCOPED_TRACE(name);
        options.result = *name ? (m_dir / name).string() : "";
        RecordingPrompter shown;
        writeFile(options.source, "2+3\n");
        const BatchOutcome result = RunBatch(options, shown);
        EXPECT_EQ(result.status, BatchStatus::ResultUnwritable);
        EXPECT_EQ(shown.only(), "Quorvel: Failed to open and write the file:" +
                                    (m_dir / (*name ? name : "sums.rob")).string() +
                                    " (it is a link to another file)");
    }
    EXPECT_EQ(readFile(m_dir / "real" / "profile"), "old\n");
    EXPECT_EQ(filesIn(m_dir / "real"), std::vector<std::string>{"profile"});
    EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{"dangling.rob", "folder.rob", "given.rob",
                                                        "real", "sums.rob", "sums.txt"}));
    EXPECT_TRUE(fs::is_symlink(m_dir / "sums.rob"));

    // A device that is not this run's own output: its bytes could reach the user's terminal.
    fs::create_symlink("/dev/zero", m_dir / "device.rob");
    options.result = (m_dir / "device.rob").string();
    RecordingPrompter refused;
    EXPECT_EQ(RunBatch(options, refused).status, BatchStatus::ResultUnwritable);
    EXPECT_EQ(refused.only(), "Quorvel: Failed to open and write the file:" + options.result +
                                  " (it is a link to another file)");

    fs::create_symlink("/dev/null", m_dir / "null.rob");
    options.result = (m_dir / "null.rob").string();
    RecordingPrompter shown;
    EXPECT_EQ(RunBatch(options, shown).status, BatchStatus::Done);
    EXPECT_EQ(shown.only(), "");
    EXPECT_TRUE(fs::is_symlink(m_dir / "null.rob"));
}

// A name near the limit of 255 bytes still leaves room for the temporary file's mark.
TEST_F(BatchRunTest, ANameNearTheLengthLimitWorks) {
    for (const std::size_t length : {245u, 251u, 255u}) {
        SCOPED_TRACE(length);
        // "é" is two bytes: the shortened temporary name must not cut it in half.
        std::string name;
        while (name.size() + 4 < length) name += name.size() % 3 == 0 ? "\xc3\xa9" : "s";
        name.resize(length - 4);
        if ((static_cast<unsigned char>(name.back()) & 0xE0) == 0xC0) name.back() = 's';
        options.source = (m_dir / (name + ".txt")).string();
        writeFile(options.source, "Total 2+3 apples\n");
        RecordingPrompter shown;
        const BatchOutcome result = RunBatch(options, shown);
        EXPECT_EQ(shown.only(), "");
        EXPECT_EQ(result.status, BatchStatus::Done);
        EXPECT_EQ(readFile(m_dir / (name + ".rob")), "Total 2+3=5 apples\r\n\r\n");
        EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{name + ".rob", name + ".txt"}));
        fs::remove(m_dir / (name + ".rob"));
        fs::remove(m_dir / (name + ".txt"));
    }
}

// Part files of killed runs into the same result go at the next run; nothing else does.
TEST_F(BatchRunTest, TheNextRunRemovesPartFilesOfDeadRuns) {
    const std::string dead = std::to_string(testing::DeadPid());
    const std::string longName(241, 'n');
    const std::string longMark = ".part-" + dead + "-0";
    struct Case {
        std::string name;
        bool stale;
    };
    const Case kCases[] = {
        {"sums.rob.part-" + dead + "-0", true},
        {"sums.rob.part-" + dead + "-17", true},
        {"sums.rob.part-1-0", false},  // a live process, still writing
        {"sums.rob.part-" + dead + "-", false},
        {"sums.rob.part-" + dead, false},
        {"sums.rob.part-x-0", false},
        {"sums.rob.part-" + dead + "-0.txt", false},
        {"other.rob.part-" + dead + "-0", false},
        {"sums.ro.part-" + dead + "-0", false},  // too short to be a shortened name
        {"sums.rob.tmp-" + dead + "-0", false},
        // A shortened name of the long result, as long as a name may be.
        {longName.substr(0, 255 - longMark.size()) + longMark, true},
        {longName.substr(0, 200) + longMark, false},
    };
    writeFile(options.source, "2+3\n");
    for (const Case& c : kCases) writeFile(m_dir / c.name, "left\n");
    fs::create_directory(m_dir / ("sums.rob.part-" + dead + "-99"));
    // Untouched for two days: its process, pid 1 or not, writes no more.
    writeFile(m_dir / "sums.rob.part-1-5", "old\n");
    fs::last_write_time(m_dir / "sums.rob.part-1-5",
                        fs::file_time_type::clock::now() - std::chrono::hours(48));

    ASSERT_EQ(RunBatch(options, prompter).status, BatchStatus::Done);
    options.result = (m_dir / (longName + ".rob")).string();
    ASSERT_EQ(RunBatch(options, prompter).status, BatchStatus::Done);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fs::exists(m_dir / c.name), !c.stale);
    }
    EXPECT_TRUE(fs::is_directory(m_dir / ("sums.rob.part-" + dead + "-99")));
    EXPECT_FALSE(fs::exists(m_dir / "sums.rob.part-1-5"));
    EXPECT_EQ(readFile(m_dir / "sums.rob"), "2+3=5\r\n\r\n");
}

// What a signal handler calls: the part file of the run in progress goes, and the run that
// finds it gone fails without touching the previous result.
TEST_F(BatchRunTest, RemovingPartFilesMidRunKeepsThePreviousResult) {
    std::string source;
    for (int i = 0; i < 20000; ++i) source += "line 2*3 of text\n";
    writeFile(options.source, source);
    writeFile(m_dir / "sums.rob", "old result\n");
    std::vector<std::string> during;
    BatchHooks hooks;
    hooks.now = [clock = std::make_shared<SteppingClock>(
                     SteppingClock{{}, std::chrono::milliseconds(60)})] { return (*clock)(); };
    hooks.onProgress = [&](const BatchProgress& p) {
        if (p.lines == 100) {
            during = filesIn(m_dir);
            RemoveBatchPartFiles();
        }
        return BatchControl::Continue;
    };
    RecordingPrompter shown;
    EXPECT_EQ(RunBatch(options, shown, hooks).status, BatchStatus::ResultUnwritable);
    ASSERT_EQ(during.size(), 3u);
    EXPECT_EQ(during[1].rfind("sums.rob.part-" + std::to_string(::getpid()) + "-", 0), 0u);
    EXPECT_EQ(filesIn(m_dir), (std::vector<std::string>{"sums.rob", "sums.txt"}));
    EXPECT_EQ(readFile(m_dir / "sums.rob"), "old result\n");
}

// The log's stamp is the clock's at each calculation, even when the minute turns mid-run.
TEST_F(BatchRunTest, LogStampFollowsTheClock) {
    auto reads = std::make_shared<std::size_t>(0);
    options.clock = [reads] {
        const LogTime times[] = {
            {2026, 12, 8, 9, 5}, {2026, 12, 8, 9, 5}, {2026, 12, 8, 9, 6}, {2026, 12, 8, 10, 0}};
        return times[std::min<std::size_t>((*reads)++, 3)];
    };
    run("2+3 and 4*5\r\n6-1\r\nnone\r\n7/7\r\n", BatchMode::AddResult);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].logLine, "2026-12-08 09:05 2+3=5");
    EXPECT_EQ(log[1].logLine, "2026-12-08 09:05 4*5=20");
    EXPECT_EQ(log[2].logLine, "2026-12-08 09:06 6-1=5");
    EXPECT_EQ(log[3].logLine, "2026-12-08 10:00 7/7=1");
    EXPECT_EQ(log[3].calculation, "7/7");
    EXPECT_EQ(log[3].result, "1");
}

}  // namespace
}  // namespace quorvel
