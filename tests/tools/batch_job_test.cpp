#include "tools/batch_job.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "support/temp_data_folder.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

using testing::RecordingPrompter;
using testing::TempDataFolder;

// What the job reported, waited for from the test's thread.
struct Reports {
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t calculations = 0;
    std::size_t notes = 0;
    std::optional<BatchOutcome> outcome;
    std::thread::id finishedOn;

    BatchJob::Listener listener() {
        BatchJob::Listener l;
        l.onCalculation = [this](const BatchEntry&) {
            std::lock_guard lock(mutex);
            ++calculations;
            changed.notify_all();
        };
        l.onLogLine = [this](std::string_view) {
            std::lock_guard lock(mutex);
            ++notes;
        };
        l.onFinished = [this](BatchOutcome o) {
            std::lock_guard lock(mutex);
            outcome = std::move(o);
            finishedOn = std::this_thread::get_id();
            changed.notify_all();
        };
        return l;
    }
    bool waitFor(const std::function<bool()>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(30), done);
    }
};

class BatchJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        options.source = (folder.path() / "sums.txt").string();
        options.clock = [] { return LogTime{2026, 12, 8, 9, 5}; };
    }
    void writeSource(std::size_t lines) {
        std::ofstream out(options.source, std::ios::binary);
        for (std::size_t i = 0; i < lines; ++i) out << "Row " << i << ": 12*34+" << i << "\n";
    }
    std::string result() const {
        std::ifstream in(folder.path() / "sums.rob", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    BatchOptions options;
    RecordingPrompter prompter;
    Reports reports;
};

TEST_F(BatchJobTest, ARunFinishesOnItsOwnThreadAndReportsItsOutcome) {
    writeSource(3);
    BatchJob job;
    EXPECT_FALSE(job.active());
    ASSERT_TRUE(job.start(options, prompter, reports.listener()));
    ASSERT_TRUE(reports.waitFor([&] { return reports.outcome.has_value(); }));
    EXPECT_TRUE(job.finished());
    EXPECT_TRUE(job.active()) << "active until waited for";
    job.wait();
    EXPECT_FALSE(job.active());
    EXPECT_NE(reports.finishedOn, std::this_thread::get_id());
    EXPECT_EQ(reports.outcome->status, BatchStatus::Done);
    EXPECT_EQ(reports.outcome->calculated, 3u);
    EXPECT_EQ(reports.calculations, 3u);
    EXPECT_EQ(result(), "Row 0: 12*34+0=408\r\nRow 1: 12*34+1=409\r\nRow 2: 12*34+2=410\r\n\r\n");
    // The last progress is the whole source.
    const BatchProgress progress = job.progress();
    EXPECT_EQ(progress.lines, 4u);
    EXPECT_EQ(progress.bytes, fs::file_size(options.source));
    EXPECT_EQ(progress.sourceBytes, fs::file_size(options.source));
    EXPECT_EQ(prompter.only(), "");
}

TEST_F(BatchJobTest, AStopEndsTheRunAfterTheCurrentLine) {
    writeSource(100000);
    BatchJob job;
    BatchJob::Listener listener = reports.listener();
    // Asked from the run's own thread at the second calculation: nothing after that line.
    listener.onCalculation = [&job, count = 0](const BatchEntry&) mutable {
        if (++count == 2) job.requestStop();
    };
    ASSERT_TRUE(job.start(options, prompter, listener));
    ASSERT_TRUE(reports.waitFor([&] { return reports.outcome.has_value(); }));
    job.wait();
    EXPECT_EQ(reports.outcome->status, BatchStatus::Stopped);
    EXPECT_EQ(reports.outcome->lines, 2u);
    EXPECT_TRUE(result().ends_with(msg::batchStopped(2) + "\r\n"));
}

TEST_F(BatchJobTest, AJobRunsOneRunAtATimeAndThenTheNext) {
    writeSource(400000);
    BatchJob job;
    ASSERT_TRUE(job.start(options, prompter, reports.listener()));
    ASSERT_TRUE(reports.waitFor([&] { return reports.calculations > 0; }));
    Reports second;
    EXPECT_FALSE(job.start(options, prompter, second.listener())) << "one is still going";
    job.stopAndWait();
    ASSERT_TRUE(reports.outcome.has_value());
    EXPECT_EQ(reports.outcome->status, BatchStatus::Stopped);
    EXPECT_FALSE(second.outcome.has_value());

    // A new run starts afresh: a new stop, new progress.
    writeSource(2);
    ASSERT_TRUE(job.start(options, prompter, second.listener()));
    job.wait();
    ASSERT_TRUE(second.outcome.has_value());
    EXPECT_EQ(second.outcome->status, BatchStatus::Done);
    EXPECT_EQ(second.calculations, 2u);
    EXPECT_EQ(job.progress().lines, 3u);
}

TEST_F(BatchJobTest, AJobThatGoesAwayStopsItsRunAndWaitsForIt) {
    writeSource(400000);
    {
        BatchJob job;
        ASSERT_TRUE(job.start(options, prompter, reports.listener()));
        ASSERT_TRUE(reports.waitFor([&] { return reports.calculations > 0; }));
    }
    // The run reported before the job was gone, and stopped short of the end.
    ASSERT_TRUE(reports.outcome.has_value());
    EXPECT_EQ(reports.outcome->status, BatchStatus::Stopped);
    EXPECT_LT(reports.outcome->lines, 400000u);
    EXPECT_TRUE(result().ends_with(msg::batchStopped(reports.outcome->lines) + "\r\n"));
}

}  // namespace
}  // namespace quorvel
