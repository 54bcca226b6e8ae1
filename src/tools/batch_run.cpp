#include "tools/batch_run.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <ostream>
#include <system_error>
#include <utility>

#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/file_handle.h"
#include "data/replacement_file.h"
#include "data/result_file.h"
#include "data/source_reader.h"
#include "tools/batch_lines.h"
#include "tools/present.h"
#include "tools/tool_messages.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

constexpr std::array<std::string_view, 5> kModeNames = {"addresult", "replaceresult", "addsteps",
                                                        "genfilter", "detailfilter"};

}  // namespace

std::string_view BatchModeName(BatchMode mode) { return kModeNames[static_cast<int>(mode)]; }

std::optional<BatchMode> ParseBatchMode(std::string_view name) {
    for (std::size_t i = 0; i < kModeNames.size(); ++i) {
        if (kModeNames[i] == name) return static_cast<BatchMode>(i);
    }
    return std::nullopt;
}

fs::path DeriveResultPath(const fs::path& source) {
    fs::path name = source.stem();
    name += ".rob";
    return source.has_parent_path() ? source.parent_path() / name : name;
}

namespace {

// The result file's write: the hooks' seam when a test gives one.
WriteFunction resultWrite(const BatchWriteFunction& write) {
    if (!write) return {};
    return [write](int fd, const void* data, std::size_t size) -> ssize_t {
        return write(fd, static_cast<const char*>(data), size);
    };
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

std::string reasonFor(int error, std::string_view missing) {
    switch (error) {
        case ENOENT:
            return std::string(missing);
        case ENOTDIR:
            return std::string(msg::kReasonNoSuchFolder);
        case EACCES:
        case EPERM:
            return std::string(msg::kReasonPermissionDenied);
        case ENOSPC:
        case EDQUOT:
            return std::string(msg::kReasonDiskFull);
        case EISDIR:
            return std::string(msg::kReasonIsFolder);
        case ENODEV:
            return std::string(msg::kReasonNotAFile);
        case ELOOP:
            return std::string(msg::kReasonIsLink);
        default:
            return std::generic_category().message(error);
    }
}

}  // namespace

BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter, const BatchHooks& hooks) {
    BatchOutcome outcome;
    const std::string source(Trim(options.source));
    if (source.empty()) {
        present(ToolMessageId::SelectSourceFirst, prompter);
        outcome.status = BatchStatus::NoSource;
        return outcome;
    }
    const std::string_view result = Trim(options.result);
    outcome.resultPath = result.empty() ? DeriveResultPath(source) : fs::path(result);
    const std::string resultText = outcome.resultPath.string();
    auto fileError = [&](BatchStatus status, ToolMessageId message, std::string_view path,
                         std::string_view reason) {
        outcome.status = status;
        const ToolMessage shown = msg::fileError(message, path, reason);
        outcome.error = shown.text();
        present(shown, prompter);
        return outcome;
    };

    int openError = 0;
    const FileDescriptor in = OpenSourceFile(source, openError);
    if (!in) {
        return fileError(BatchStatus::SourceUnreadable, ToolMessageId::FailedToRead, source,
                         reasonFor(openError, msg::kReasonNoSuchFile));
    }
    // Replacing the source itself (sums.rob read into sums.rob) would destroy it.
    if (sameFile(source, outcome.resultPath)) {
        return fileError(BatchStatus::ResultUnwritable, ToolMessageId::FailedToWrite, resultText,
                         msg::kReasonOverwritesSource);
    }
    ResultFile out(outcome.resultPath, resultWrite(hooks.write));
    if (!out.open()) {
        return fileError(BatchStatus::ResultUnwritable, ToolMessageId::FailedToWrite, resultText,
                         reasonFor(out.error(), msg::kReasonNoSuchFolder));
    }

    struct stat sourceStat {};
    const std::uint64_t sourceBytes =
        ::fstat(in.get(), &sourceStat) == 0 ? static_cast<std::uint64_t>(sourceStat.st_size) : 0;
    const std::function<std::chrono::steady_clock::time_point()> now =
        hooks.now ? hooks.now : &std::chrono::steady_clock::now;
    SourceReader reader(in.get(), msg::kMaxExpressionLength);
    auto progress = [&] { return BatchProgress{outcome.lines, reader.consumed(), sourceBytes}; };
    auto lastReport = now();
    auto askedToStop = [&] {
        if (hooks.stop.stop_requested()) return true;
        if (!hooks.onProgress) return false;
        const auto time = now();
        if (time - lastReport < BatchHooks::kProgressInterval) return false;
        lastReport = time;
        return hooks.onProgress(progress()) == BatchControl::Stop;
    };
    auto logLine = [&](const std::string& line) {
        if (hooks.onLogLine) hooks.onLogLine(line);
    };

    const bool filter =
        options.mode == BatchMode::GenFilter || options.mode == BatchMode::DetailFilter;
    BatchLineProcessor runner(options, prompter, hooks, outcome);
    bool written = true;
    bool stopped = false;
    SourceReader::Piece piece;
    while (written && !stopped && reader.next(piece)) {
        const std::size_t line = outcome.lines + 1;
        if (!piece.tooLong) {
            runner.setLine(line);
            written = out.write(runner.processLine(piece.text));
        } else {
            // Too long to be a calculation: ordinary text, streamed.
            if (piece.startsLine) {
                ++outcome.longLines;
                if (outcome.firstLongLine == 0) outcome.firstLongLine = line;
                logLine(msg::batchLongLine(line, msg::kMaxExpressionLength));
            }
            if (!filter) written = out.write(piece.text);
        }
        if (written && piece.endsLine) {
            written = out.write("\r\n");
            ++outcome.lines;
        }
        stopped = askedToStop();
        // A long line cut by a stop still ends with a line break.
        if (written && stopped && !piece.endsLine) {
            written = out.write("\r\n");
            ++outcome.lines;
        }
    }
    if (outcome.failed > 0) {
        logLine(msg::batchFailedSummary(outcome.failed, outcome.failures.front().line));
    }
    if (outcome.longLines > 0) {
        logLine(msg::batchLongLineSummary(outcome.longLines, outcome.firstLongLine,
                                          msg::kMaxExpressionLength));
    }
    if (reader.error() != 0) {
        return fileError(BatchStatus::SourceUnreadable, ToolMessageId::FailedToRead, source,
                         reasonFor(reader.error(), msg::kReasonNoSuchFile));
    }
    if (written && stopped) {
        outcome.status = BatchStatus::Stopped;
        written = out.write(msg::batchStopped(outcome.lines) + "\r\n");
    } else if (written) {
        written = out.write("\r\n");
        ++outcome.lines;
    }
    if (!written || !out.commit()) {
        return fileError(BatchStatus::ResultUnwritable, ToolMessageId::FailedToWrite, resultText,
                         reasonFor(out.error(), msg::kReasonNoSuchFolder));
    }
    if (stopped) logLine(msg::batchStopped(outcome.lines));
    if (hooks.onProgress) hooks.onProgress(progress());
    return outcome;
}

BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter,
                      const BatchCallback& onCalculation) {
    BatchHooks hooks;
    hooks.onCalculation = onCalculation;
    return RunBatch(options, prompter, hooks);
}

BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter, std::ostream& log) {
    BatchHooks hooks;
    hooks.onCalculation = [&log](const BatchEntry& entry) { log << entry.logLine << '\n'; };
    hooks.onLogLine = [&log](std::string_view line) { log << line << '\n'; };
    return RunBatch(options, prompter, hooks);
}

void RemoveBatchPartFiles() noexcept { RemoveListedTemporaries(); }

void RobotLog::add(const BatchEntry& entry) {
    m_text += entry.logLine;
    m_text += "\r\n";
    m_runList.push_back(entry.calculation + "=" + entry.result);
}

void RobotLog::addNote(std::string_view line) {
    m_text += line;
    m_text += "\r\n";
}

std::string RobotLog::talkRequest() const {
    std::string request = "1:";
    for (const std::string& entry : m_runList) request += entry + "|";
    return request;
}

}  // namespace quorvel
