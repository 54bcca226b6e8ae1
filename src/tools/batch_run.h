#pragma once

// The batch ("robot") run: a source text file is read line by line, the calculations written
// in each line are found (tools/calculation_finder.h, the rule of docs/batch.md), calculated
// with "0" for Last1..Last5, and a result file is written with one processed line per source
// line plus the final empty read. Nothing is kept per line once it is written, and no line is
// held longer than the expression limit: a longer one is copied through in pieces. The result
// goes to a temporary file beside the result path that replaces it only at the end, so a
// failed run leaves the previous result file as it was. Only an ordinary file is read, and a
// result path that is a link to a file is refused.
//
// RunBatch may run on a worker thread. It calls the Prompter at most twice, both times on the
// running thread: once for the first calculation that fails (the checker's or the engine's own
// report), and once for a file error, which ends the run. Every later failure goes to the
// hooks' log as a line naming its line number. The hooks, too, are called on the running
// thread.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"
#include "calc/calculator_session.h"
#include "tools/prompter.h"
#include "tools/tool_messages.h"

namespace quorvel {

enum class BatchMode { AddResult, ReplaceResult, AddSteps, GenFilter, DetailFilter };

// "addresult", "replaceresult", "addsteps", "genfilter", "detailfilter".
std::string_view BatchModeName(BatchMode mode);
std::optional<BatchMode> ParseBatchMode(std::string_view name);

// An empty result path means the source's folder, its name without the last extension, and
// ".rob": /data/sums.txt -> /data/sums.rob; a bare name stays in the current folder.
std::filesystem::path DeriveResultPath(const std::filesystem::path& source);

// One successful calculation of a run.
struct BatchEntry {
    std::string calculation;  // as written in the source
    std::string result;       // shown by the E-notation switch
    std::string logLine;      // "2026-12-08 09:05 2+3=5"
};

struct BatchOptions {
    std::string source;
    std::string result;  // empty: derived from the source
    BatchMode mode = BatchMode::AddResult;
    bool eNotation = false;
    CalcSettings settings;  // its places and digitsLimit are the run's P and N
    CalculatorSession::Clock clock = LocalLogTime;
};

enum class BatchStatus {
    Done,
    Stopped,           // asked to stop; the result file ends with the line saying so
    NoSource,          // the source path was empty
    SourceUnreadable,  // could not be opened, or a read failed part way
    ResultUnwritable,  // could not be opened, is the source itself, or a write failed
};

// A calculation the checker or the engine rejected; it was copied unchanged.
struct BatchFailure {
    std::size_t line;         // 1-based line of the source
    std::string calculation;  // as written
    std::string message;      // what the checker or the engine said
};

struct BatchOutcome {
    // Enough to find the first few; `failed` counts them all.
    static constexpr std::size_t kKeptFailures = 1000;

    BatchStatus status = BatchStatus::Done;
    std::filesystem::path resultPath;  // the derived one when none was given
    std::size_t lines = 0;             // written, the final empty read included
    std::size_t calculated = 0;
    std::size_t failed = 0;  // rejected by the checker or the engine, copied unchanged
    std::vector<BatchFailure> failures;
    std::size_t longLines = 0;      // longer than the expression limit, never calculated
    std::size_t firstLongLine = 0;  // its line number, 0 for none
    std::string error;              // the file error shown, "" for none
};

struct BatchProgress {
    std::size_t lines = 0;          // written so far
    std::uint64_t bytes = 0;        // of the source read and processed
    std::uint64_t sourceBytes = 0;  // the source's size; 0 when it has none (a pipe)
};

enum class BatchControl { Continue, Stop };

using BatchCallback = std::function<void(const BatchEntry&)>;

// Writes like write(2): the count written, or -1 with errno set.
using BatchWriteFunction = std::function<long(int fd, const char* data, std::size_t size)>;

struct BatchHooks {
    static constexpr std::chrono::milliseconds kProgressInterval{50};

    BatchCallback onCalculation;
    // Lines for the run's log that are not calculations: failures after the first, long
    // lines, the closing summaries and the stop.
    std::function<void(std::string_view line)> onLogLine;
    // At most once per kProgressInterval, and once when the run ends (its answer then
    // ignored). Answering Stop ends the run after the current line.
    std::function<BatchControl(const BatchProgress&)> onProgress;
    // Seen between lines: a stop asked for there ends the run after the current line.
    std::stop_token stop;
    // Seams for tests: the clock that paces onProgress, the write of the result file.
    std::function<std::chrono::steady_clock::time_point()> now;
    BatchWriteFunction write;
};

// Runs the batch; the first failed calculation and a file error have been shown through
// `prompter` before it returns.
BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter, const BatchHooks& hooks);

BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter,
                      const BatchCallback& onCalculation = {});

// The same, writing each log line and "\n" to `log` as it is made.
BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter, std::ostream& log);

// Removes the temporary result files of the runs in progress, with nothing but unlink(2): a
// handler of SIGINT or SIGTERM that ends the process calls it. Part files that a killed
// process left anyway are removed by the next run into the same result.
void RemoveBatchPartFiles() noexcept;

// The log box and the run list of the robot dialog. Unlike the run itself, this keeps every
// line of the log, as the dialog shows them all.
class RobotLog {
public:
    static constexpr std::string_view kHeading = "Robot Log Information:\r\n";

    // Starts a run: the run list empties, the log keeps what earlier runs added.
    void beginRun() { m_runList.clear(); }
    void add(const BatchEntry& entry);
    // A line that is no calculation (a failure, a summary); the run list does not hold it.
    void addNote(std::string_view line);
    void clear() { m_text = kHeading; }

    const std::string& text() const { return m_text; }
    const std::vector<std::string>& runList() const { return m_runList; }

    // The speech request of mode "expr" for the last run: "1:" and every "T=V" with "|".
    std::string talkRequest() const;

private:
    std::string m_text{kHeading};
    std::vector<std::string> m_runList;
};

}  // namespace quorvel
