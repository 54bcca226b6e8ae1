#pragma once

// The batch ("robot") run: a source text file is read line by line, the calculations written
// in each line are found (the rule is in docs/batch.md), calculated with "0" for Last1..Last5,
// and a result file is written with one processed line per source line plus the final empty
// read. Nothing is kept per line once it is written: each calculation goes to the caller's
// callback, so memory stays flat however long the file is.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_settings.h"
#include "calc/calculator_session.h"
#include "calc/prompter.h"
#include "tools/tool_messages.h"

namespace quorvel {

enum class BatchMode { AddResult, ReplaceResult, AddSteps, GenFilter, DetailFilter };

// "addresult", "replaceresult", "addsteps", "genfilter", "detailfilter".
std::string_view BatchModeName(BatchMode mode);
std::optional<BatchMode> ParseBatchMode(std::string_view name);

// An empty result path means the source's folder, its name without the last extension, and
// ".rob": /data/sums.txt -> /data/sums.rob; a bare name stays in the current folder.
std::filesystem::path DeriveResultPath(const std::filesystem::path& source);

// One piece of a source line: ordinary text, or a calculation to try.
struct LineSegment {
    std::string_view text;
    bool isCalculation;
};

// Splits a line into ordinary text and calculations; joining the texts gives the line back.
std::vector<LineSegment> FindCalculations(std::string_view line);

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
    NoSource,          // the source path was empty
    SourceUnreadable,  // could not be opened, or a read failed part way
    ResultUnwritable,  // could not be opened, is the source itself, or a write failed
};

struct BatchOutcome {
    BatchStatus status = BatchStatus::Done;
    std::filesystem::path resultPath;  // the derived one when none was given
    std::size_t lines = 0;             // written, the final empty read included
    std::size_t calculated = 0;
    std::size_t failed = 0;  // rejected by the checker or the engine, copied unchanged
};

using BatchCallback = std::function<void(const BatchEntry&)>;

// Runs the batch; every failure has been shown through `prompter` before it returns.
BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter,
                      const BatchCallback& onCalculation = {});

// The same, writing each log line and "\n" to `log` as it is made.
BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter, std::ostream& log);

// The log box and the run list of the robot dialog. Unlike the run itself, this keeps every
// line of the log, as the dialog shows them all.
class RobotLog {
public:
    static constexpr std::string_view kHeading = "Robot Log Information:\r\n";

    // Starts a run: the run list empties, the log keeps what earlier runs added.
    void beginRun() { m_runList.clear(); }
    void add(const BatchEntry& entry);
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
