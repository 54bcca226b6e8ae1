#include "tools/batch_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <ostream>
#include <system_error>
#include <utility>

#include "calc/calculate.h"
#include "calc/decimal_text.h"
#include "calc/keyword_scanner.h"
#include "calc/log_line.h"
#include "calc/messages.h"
#include "calc/syntax_checker.h"
#include "calc/text_util.h"
#include "data/atomic_file.h"
#include "tools/present.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

constexpr std::array<std::string_view, 5> kModeNames = {"addresult", "replaceresult", "addsteps",
                                                        "genfilter", "detailfilter"};

bool isOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }
constexpr unsigned char kLetter = 1;
constexpr unsigned char kWordChar = 2;
constexpr unsigned char kOpensStretch = 4;  // a digit, "(", ".", "+" or "-"
// Bytes of 0x80 and above are letters of some encoding, so they belong to words too. One
// lookup per character: the scanner asks at every byte of every line.
constexpr std::array<unsigned char, 256> makeCharClasses() {
    std::array<unsigned char, 256> table{};
    for (unsigned u = 0; u < 256; ++u) {
        const bool letter =
            (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u >= 0x80;
        const bool digit = u >= '0' && u <= '9';
        const bool opens = digit || u == '(' || u == '.' || u == '+' || u == '-';
        table[u] =
            static_cast<unsigned char>((letter ? kLetter : 0) | (letter || digit ? kWordChar : 0) |
                                       (opens ? kOpensStretch : 0));
    }
    return table;
}
constexpr std::array<unsigned char, 256> kCharClasses = makeCharClasses();
bool isLetter(char c) { return (kCharClasses[static_cast<unsigned char>(c)] & kLetter) != 0; }
bool isWordChar(char c) { return (kCharClasses[static_cast<unsigned char>(c)] & kWordChar) != 0; }

void lowerInto(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

const KeywordScanner& keywords() {
    static const KeywordScanner scanner;
    return scanner;
}

// Length of the name at `pos` if it may stand in a calculation there: a function name only
// with its bracket, "pi" and "last1".."last5" only when no letter or digit goes on. The scanner
// is handed down from the line's start: it is asked at every word.
std::size_t nameLength(const KeywordScanner& scanner, std::string_view line, std::size_t pos) {
    if (!scanner.mayBeginAt(line, pos)) return 0;
    const auto match = scanner.findStartingAt(line, pos);
    if (!match) return 0;
    const std::size_t end = pos + match->keyword.text.size();
    const bool atEnd = end >= line.size();
    if (match->keyword.isFunction) return !atEnd && line[end] == '(' ? end - pos : 0;
    return atEnd || !isWordChar(line[end]) ? end - pos : 0;
}

// A digit, "(", a point before a digit, or a usable name.
bool startsOperand(const KeywordScanner& scanner, std::string_view line, std::size_t pos) {
    if (pos >= line.size()) return false;
    const char c = line[pos];
    if (IsDigit(c) || c == '(') return true;
    if (c == '.') return pos + 1 < line.size() && IsDigit(line[pos + 1]);
    return isLetter(c) && nameLength(scanner, line, pos) > 0;
}

// Not inside a word, nor after the comma of "1,000" or "3,5": those digits are not a number
// of their own.
bool startsStretch(const KeywordScanner& scanner, std::string_view line, std::size_t pos) {
    if (pos > 0 && isWordChar(line[pos - 1])) return false;
    if (pos > 1 && line[pos - 1] == ',' && IsDigit(line[pos - 2])) return false;
    if (line[pos] == '+' || line[pos] == '-') return startsOperand(scanner, line, pos + 1);
    return startsOperand(scanner, line, pos);
}

// 2026-12-08, 2026/12/08, 08-12-2026, 8/12/2026: three digit groups, one kind of separator,
// a four-digit year first or last and one or two digits for the others.
bool looksLikeDate(std::string_view piece) {
    std::array<std::size_t, 3> lengths{};
    std::size_t group = 0;
    char separator = 0;
    for (const char c : piece) {
        if (IsDigit(c)) {
            ++lengths[group];
        } else if ((c == '-' || c == '/') && group < 2 && lengths[group] > 0 &&
                   (separator == 0 || separator == c)) {
            separator = c;
            ++group;
        } else {
            return false;
        }
    }
    if (group != 2) return false;
    const auto small = [](std::size_t n) { return n == 1 || n == 2; };
    return (lengths[0] == 4 && small(lengths[1]) && small(lengths[2])) ||
           (small(lengths[0]) && small(lengths[1]) && lengths[2] == 4);
}

// Worth calculating: an operator that follows an operand, or a function call. A number, a
// number in brackets, a signed number or a lone "pi" is ordinary text.
bool holdsCalculation(const KeywordScanner& scanner, std::string_view piece) {
    bool afterOperand = false;
    for (std::size_t i = 0; i < piece.size();) {
        const char c = piece[i];
        if (isLetter(c)) {
            const std::size_t length = nameLength(scanner, piece, i);
            if (length == 0) return false;
            if (scanner.findStartingAt(piece, i)->keyword.isFunction) return true;
            i += length;
            afterOperand = true;
            continue;
        }
        if (isOperator(c) && afterOperand) return true;
        afterOperand = IsDigit(c) || c == '.' || c == ')';
        ++i;
    }
    return false;
}

struct Stretch {
    std::size_t begin;    // of the calculation, after brackets that never close
    std::size_t end;      // of the calculation, before a trailing operator or point
    std::size_t scanned;  // where the characters a calculation may hold ran out
};

Stretch scanStretch(const KeywordScanner& scanner, std::string_view line, std::size_t begin) {
    std::size_t pos = begin;
    if (line[pos] == '+' || line[pos] == '-') ++pos;
    int depth = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (IsDigit(c) || c == '.' || isOperator(c)) {
            ++pos;
        } else if (c == '(') {
            ++depth;
            ++pos;
        } else if (c == ')') {
            if (depth == 0) break;  // closes something before the stretch
            --depth;
            ++pos;
        } else if (const std::size_t length = isLetter(c) ? nameLength(scanner, line, pos) : 0) {
            pos += length;
        } else {
            break;
        }
    }
    Stretch s{begin, pos, pos};
    auto trimEnd = [&] {
        while (s.end > s.begin) {
            const char c = line[s.end - 1];
            if (c == '(') {
                --depth;
            } else if (!isOperator(c) && c != '.') {
                break;
            }
            --s.end;
        }
    };
    trimEnd();
    while (depth > 0 && s.begin < s.end && line[s.begin] == '(') {
        ++s.begin;
        --depth;
    }
    trimEnd();
    return s;
}

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

// Fills `segments` afresh; the batch run hands in the same vector for every line.
void findCalculations(std::string_view line, std::vector<LineSegment>& segments) {
    const KeywordScanner& scanner = keywords();
    segments.clear();
    std::size_t textBegin = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const unsigned char kind = kCharClasses[static_cast<unsigned char>(line[pos])];
        if ((kind & kLetter) != 0) {
            // Most words begin no name: their first two letters say so without a call.
            if ((pos > 0 && isWordChar(line[pos - 1])) || !scanner.mayBeginAt(line, pos) ||
                nameLength(scanner, line, pos) == 0) {
                while (pos < line.size() && isWordChar(line[pos])) ++pos;
                continue;
            }
        } else if ((kind & kOpensStretch) == 0) {
            // Blanks and punctuation, most of a line of prose: no calculation starts there.
            ++pos;
            continue;
        }
        if (!startsStretch(scanner, line, pos)) {
            ++pos;
            continue;
        }
        const Stretch s = scanStretch(scanner, line, pos);
        if (s.begin >= s.end) {
            pos = s.scanned;
            continue;
        }
        const std::string_view piece = line.substr(s.begin, s.end - s.begin);
        // A number glued to a word ("3x", "10km") or already answered ("2+3=5") is left alone.
        const bool glued = s.end < line.size() && (isWordChar(line[s.end]) || line[s.end] == '=');
        if (!glued && !looksLikeDate(piece) && holdsCalculation(scanner, piece)) {
            if (s.begin > textBegin) {
                segments.push_back({line.substr(textBegin, s.begin - textBegin), false});
            }
            segments.push_back({piece, true});
            textBegin = s.end;
        }
        pos = s.end;
    }
    if (textBegin < line.size()) segments.push_back({line.substr(textBegin), false});
}

}  // namespace

std::vector<LineSegment> FindCalculations(std::string_view line) {
    std::vector<LineSegment> segments;
    findCalculations(line, segments);
    return segments;
}

namespace {

// The value shown with the E-notation switch off: the rounded plain value, which the step
// text holds on the line before an E form.
std::string plainValue(const std::string& result, const std::string& steps, int places) {
    if (result.find('E') == std::string::npos) return RoundToPlaces(result, places);
    const std::size_t eLine = steps.rfind("\r\n=");
    const std::size_t equals = eLine == std::string::npos ? eLine : steps.rfind('=', eLine);
    if (equals == std::string::npos) return result;
    std::string value =
        StripTrailingZeros(RoundToPlaces(steps.substr(equals + 1, eLine - equals - 1), places));
    return value == "-0" ? "0" : value;
}

// A log line holds one line of text whatever the engine's message holds.
std::string oneLine(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

class BatchRunner {
public:
    BatchRunner(const BatchOptions& options, Prompter& prompter, const BatchHooks& hooks,
                BatchOutcome& outcome)
        : m_options(options),
          m_prompter(prompter),
          m_callback(hooks.onCalculation),
          m_onLogLine(hooks.onLogLine),
          m_outcome(outcome) {}

    void setLine(std::size_t line) { m_line = line; }

    // The processed line, valid until the next call: its buffers serve every line of a run.
    std::string_view processLine(std::string_view line) {
        const BatchMode mode = m_options.mode;
        const bool filter = mode == BatchMode::GenFilter || mode == BatchMode::DetailFilter;
        const std::string_view separator = mode == BatchMode::GenFilter ? " " : "\r\n";
        std::string& out = m_out;
        out.clear();
        bool first = true;
        auto emit = [&](std::string_view text) {
            if (filter && !first) out += separator;
            out += text;
            first = false;
        };
        findCalculations(line, m_segments);
        for (const LineSegment& segment : m_segments) {
            if (!segment.isCalculation) {
                if (!filter) out += segment.text;
                continue;
            }
            std::string& value = m_value;
            std::string& steps = m_steps;
            if (!calculate(segment.text, value, steps)) {
                emit(segment.text);
                continue;
            }
            ++m_outcome.calculated;
            switch (mode) {
                case BatchMode::AddResult:
                case BatchMode::GenFilter:
                    emit(segment.text);
                    out += '=';
                    out += value;
                    break;
                case BatchMode::ReplaceResult:
                    emit(value);
                    break;
                case BatchMode::AddSteps:
                    emit(steps + "\r\n");
                    break;
                case BatchMode::DetailFilter:
                    emit(steps);
                    break;
            }
        }
        return out;
    }

private:
    bool calculate(std::string_view text, std::string& value, std::string& steps) {
        std::string& checked = m_lowered;
        lowerInto(text, checked);
        const SyntaxVerdict verdict = m_checker.Check(checked, CheckScope::CharacterRules);
        if (!verdict.accepted) {
            fail(text, verdict.message, SyntaxFailure(verdict, checked));
            return false;
        }
        // The character rules have just passed on the same text; only the argument rule is left.
        CalcOutcome& calculated = m_calculated;
        const bool stepsShown =
            m_options.mode == BatchMode::AddSteps || m_options.mode == BatchMode::DetailFilter;
        CalculateExpression(text, m_recent, m_options.settings, CheckScope::ArgumentRule,
                            calculated, stepsShown ? StepText::Written : StepText::Skipped);
        if (!calculated.ok) {
            fail(text, calculated.message(), calculated);
            return false;
        }
        const std::string& result = calculated.result;
        steps.swap(calculated.steps);
        if (m_options.eNotation || result.find('E') == std::string::npos) {
            value.assign(result);  // a result without E form is already rounded to P places
        } else {
            value = plainValue(result, steps, m_options.settings.places);
        }
        if (m_callback) {
            BatchEntry& entry = m_entry;
            entry.calculation.assign(text);
            entry.result = value;
            // A run of many lines asks the clock for every one, but the minute seldom changes.
            const LogTime time = m_options.clock();
            if (!m_stampTime || *m_stampTime != time) {
                m_stamp = FormatLogStamp(time);
                m_stampTime = time;
            }
            // The robot's log joins stamp and calculation with one space, not the log's three.
            entry.logLine.assign(m_stamp).append(" ").append(text).append("=").append(value);
            m_callback(entry);
        }
        return true;
    }

    // Only the first failure is shown; a long file with many bad lines would otherwise be one
    // modal box after another.
    void fail(std::string_view text, std::string_view message, const CalcOutcome& failure) {
        ++m_outcome.failed;
        if (m_outcome.failures.size() < BatchOutcome::kKeptFailures) {
            m_outcome.failures.push_back({m_line, std::string(text), std::string(message)});
        }
        if (m_outcome.failed == 1) {
            present(failure, m_prompter);
        } else if (m_onLogLine) {
            m_onLogLine(msg::batchLineFailed(m_line, text, oneLine(message)));
        }
    }

    const BatchOptions& m_options;
    Prompter& m_prompter;
    const BatchCallback& m_callback;
    const std::function<void(std::string_view)>& m_onLogLine;
    BatchOutcome& m_outcome;
    std::size_t m_line = 0;
    SyntaxChecker m_checker;
    const RecentResults m_recent = {"0", "0", "0", "0", "0"};
    // Kept from line to line so that a long run does not allocate them anew each time.
    std::vector<LineSegment> m_segments;
    std::string m_out;
    std::string m_value;
    std::string m_steps;
    std::string m_lowered;
    CalcOutcome m_calculated;
    BatchEntry m_entry;
    std::optional<LogTime> m_stampTime;
    std::string m_stamp;
};

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

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    ~FileDescriptor() { reset(); }

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    // The error of closing, which is where some file systems first report a full disk.
    int reset(int fd = -1) {
        const int error = m_fd >= 0 && ::close(m_fd) != 0 ? errno : 0;
        m_fd = fd;
        return error;
    }

private:
    int m_fd;
};

// Hands out a source's lines, never holding more of a line than the limit and one block: a
// longer line comes in pieces of about a block. A line's CR before its LF is dropped.
class LineReader {
public:
    struct Piece {
        std::string_view text;
        bool startsLine;
        bool endsLine;
        bool tooLong;  // the line is longer than the limit; it may come in several pieces
    };

    LineReader(int fd, std::size_t limit) : m_fd(fd), m_limit(limit) {}

    // False at the end of the source or on a read error (error() then says which).
    bool next(Piece& piece) {
        for (;;) {
            const std::string_view rest = std::string_view(m_buffer).substr(m_start);
            if (const std::size_t lf = rest.find('\n'); lf != std::string_view::npos) {
                return hand(piece, withoutCr(rest.substr(0, lf)), lf + 1, true);
            }
            // A CR at the end may be the first half of a line break.
            const std::size_t usable = rest.size() - (!rest.empty() && rest.back() == '\r');
            if (m_atEnd) {
                if (rest.empty() && !m_inLongLine) return false;
                return hand(piece, withoutCr(rest), rest.size(), true);
            }
            if (usable > 0 && (m_inLongLine || usable > m_limit)) {
                return hand(piece, rest.substr(0, usable), usable, false);
            }
            fill();
        }
    }

    std::uint64_t consumed() const { return m_consumed; }
    int error() const { return m_error; }

private:
    static constexpr std::size_t kBlock = 64 * 1024;

    static std::string_view withoutCr(std::string_view text) {
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        return text;
    }

    bool hand(Piece& piece, std::string_view text, std::size_t used, bool endsLine) {
        piece = {text, !m_inLongLine, endsLine, m_inLongLine || !endsLine || text.size() > m_limit};
        m_inLongLine = !endsLine;
        m_start += used;
        m_consumed += used;
        return true;
    }

    void fill() {
        m_buffer.erase(0, m_start);
        m_start = 0;
        const std::size_t held = m_buffer.size();
        m_buffer.resize(held + kBlock);
        ssize_t got;
        do {
            got = ::read(m_fd, m_buffer.data() + held, kBlock);
        } while (got < 0 && errno == EINTR);
        if (got < 0) m_error = errno;
        m_buffer.resize(held + static_cast<std::size_t>(got > 0 ? got : 0));
        if (got <= 0) m_atEnd = true;
    }

    int m_fd;
    std::size_t m_limit;
    std::string m_buffer;
    std::size_t m_start = 0;
    bool m_inLongLine = false;
    bool m_atEnd = false;
    int m_error = 0;
    std::uint64_t m_consumed = 0;
};

long writeToFile(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }

struct PartFileSlot {
    std::atomic<int> state{0};
    char path[4096];
};
static_assert(std::atomic<int>::is_always_lock_free);

// The temporary files of the runs in progress, for a signal handler: it may not allocate or
// lock, so the names sit in fixed slots. A run whose name does not fit is simply not listed;
// its file is then left to the next run's clean-up.
class PartFileSlots {
public:
    static int claim(const fs::path& path) {
        const std::string& text = path.native();
        if (text.size() >= kPathSize) return -1;
        for (int i = 0; i < kSlots; ++i) {
            int expected = kFree;
            if (!s_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
            text.copy(s_slots[i].path, text.size());
            s_slots[i].path[text.size()] = '\0';
            s_slots[i].state.store(kHeld);
            return i;
        }
        return -1;
    }

    static void release(int slot) {
        if (slot >= 0) s_slots[slot].state.store(kFree);
    }

    static void removeAll() noexcept {
        for (PartFileSlot& slot : s_slots) {
            if (slot.state.load() == kHeld) ::unlink(slot.path);
        }
    }

private:
    static constexpr int kSlots = 16;
    static constexpr std::size_t kPathSize = sizeof PartFileSlot::path;
    enum : int { kFree, kFilling, kHeld };
    static inline PartFileSlot s_slots[kSlots];
};

constexpr std::string_view kPartMark = ".part-";
// A part file of a live process is written to at least every block; one untouched for a day
// belongs to a process that is gone, seen from another pid namespace or under a reused pid.
constexpr auto kAbandonedAfter = std::chrono::hours(24);

std::size_t longestName(const fs::path& directory) {
    const long most = ::pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
    return most > 0 ? static_cast<std::size_t>(most) : 255;
}

// "sums.rob.part-PID-N" beside the result. A result name close to the limit is shortened so
// that the mark fits, never inside a UTF-8 character.
fs::path partFileName(const fs::path& target, unsigned serial, std::size_t longest) {
    std::string name = target.filename().string();
    const std::string mark =
        std::string(kPartMark) + std::to_string(::getpid()) + "-" + std::to_string(serial);
    if (name.size() + mark.size() > longest) {
        std::size_t keep = longest > mark.size() ? longest - mark.size() : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        name.resize(keep);
    }
    return target.parent_path() / (name + mark);
}

// The pid in `name` if it is a part file of the result `resultName`, as partFileName makes
// them; 0 otherwise.
long partFileOwner(std::string_view name, std::string_view resultName, std::size_t longest) {
    const std::size_t at = name.rfind(kPartMark);
    if (at == std::string_view::npos || at == 0) return 0;
    const std::string_view kept = name.substr(0, at);
    // A shortened name fills the limit but for the bytes of a UTF-8 character it kept whole.
    const bool shortened = kept.size() < resultName.size() &&
                           resultName.substr(0, kept.size()) == kept && name.size() + 4 > longest;
    if (kept != resultName && !shortened) return 0;
    const std::string_view numbers = name.substr(at + kPartMark.size());
    long pid = 0;
    unsigned serial = 0;
    const char* end = numbers.data() + numbers.size();
    const auto [dash, pidParsed] = std::from_chars(numbers.data(), end, pid);
    if (pidParsed != std::errc() || dash == end || *dash != '-' || pid <= 0) return 0;
    const auto [last, serialParsed] = std::from_chars(dash + 1, end, serial);
    return serialParsed == std::errc() && last == end && dash + 1 != end ? pid : 0;
}

// Part files of runs into the same result whose process was killed before it could remove
// them.
void removeAbandonedPartFiles(const fs::path& target, std::size_t longest) {
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string resultName = target.filename().string();
    std::error_code error;
    fs::directory_iterator it(directory, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const long pid = partFileOwner(it->path().filename().string(), resultName, longest);
        if (pid == 0 || pid == ::getpid()) continue;
        std::error_code ignored;
        if (IsAbandonedTemporary(*it, pid, kAbandonedAfter)) fs::remove(it->path(), ignored);
    }
}

// The result is written to a temporary file beside it that replaces it at commit(), so a run
// that fails part way leaves the previous result as it was. A device or a pipe cannot be
// replaced and is written in place. A link is not written through: anyone who may write the
// source's folder could otherwise point the result at another of the user's files.
class ResultFile {
public:
    ResultFile(fs::path target, BatchWriteFunction write)
        : m_target(std::move(target)), m_write(std::move(write)) {}
    ResultFile(const ResultFile&) = delete;
    ResultFile& operator=(const ResultFile&) = delete;
    ~ResultFile() {
        m_fd.reset();
        if (!m_temp.empty()) ::unlink(m_temp.c_str());
        PartFileSlots::release(m_slot);
    }

    bool open() {
        struct stat entry {};
        if (::lstat(m_target.c_str(), &entry) != 0) {
            if (errno != ENOENT) return failed(errno);
            return openTemporary(std::nullopt);
        }
        if (S_ISDIR(entry.st_mode)) return failed(EISDIR);
        if (S_ISREG(entry.st_mode)) {
            if (::access(m_target.c_str(), W_OK) != 0) return failed(errno);
            return openTemporary(entry.st_mode & 07777);
        }
        if (S_ISLNK(entry.st_mode) && !leadsToOwnStream()) return failed(ELOOP);
        m_fd.reset(::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
        if (!m_fd) return failed(errno);
        // The link may have been turned to an ordinary file since it was looked at.
        struct stat opened {};
        if (::fstat(m_fd.get(), &opened) != 0) return failed(errno);
        if (S_ISREG(opened.st_mode)) {
            m_fd.reset();
            return failed(ELOOP);
        }
        return true;
    }

    bool write(std::string_view bytes) {
        if (m_error != 0) return false;
        m_buffer += bytes;
        return m_buffer.size() < kBlock || flush();
    }

    bool commit() {
        if (!flush()) return false;
        if (!m_temp.empty() && ::fsync(m_fd.get()) != 0) return failed(errno);
        if (const int error = m_fd.reset()) return failed(error);
        if (m_temp.empty()) return true;
        if (::rename(m_temp.c_str(), m_target.c_str()) != 0) return failed(errno);
        m_temp.clear();
        PartFileSlots::release(m_slot);
        m_slot = -1;
        return true;
    }

    int error() const { return m_error; }

private:
    static constexpr std::size_t kBlock = 64 * 1024;

    bool failed(int error) {
        m_error = error;
        return false;
    }

    // /dev/stdout and /dev/stderr are links to whatever the output is, and /dev/null takes
    // anything. A link planted to another device, /dev/tty say, would put the source's bytes
    // on the user's terminal.
    bool leadsToOwnStream() const {
        struct stat named {};
        if (::stat(m_target.c_str(), &named) != 0) return false;
        if (!S_ISCHR(named.st_mode) && !S_ISFIFO(named.st_mode)) return false;
        const auto same = [&named](const struct stat& other) {
            return named.st_dev == other.st_dev && named.st_ino == other.st_ino;
        };
        struct stat other {};
        for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
            if (::fstat(fd, &other) == 0 && same(other)) return true;
        }
        return ::stat("/dev/null", &other) == 0 && same(other);
    }

    // The name is listed for the signal handler before the file exists, so there is no moment
    // in which a killed run leaves it behind.
    bool openTemporary(std::optional<mode_t> mode) {
        static std::atomic<unsigned> serial{0};
        const std::size_t longest = longestName(m_target.parent_path());
        for (;;) {
            m_temp = partFileName(m_target, serial++, longest);
            m_slot = PartFileSlots::claim(m_temp);
            m_fd.reset(::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (m_fd) break;
            const int error = errno;
            PartFileSlots::release(m_slot);
            m_slot = -1;
            if (error != EEXIST) {
                m_temp.clear();
                return failed(error);
            }
        }
        if (mode) ::fchmod(m_fd.get(), *mode);
        removeAbandonedPartFiles(m_target, longest);
        return true;
    }

    bool flush() {
        if (m_error != 0) return false;
        std::size_t done = 0;
        while (done < m_buffer.size()) {
            const long wrote = m_write(m_fd.get(), m_buffer.data() + done, m_buffer.size() - done);
            if (wrote < 0 && errno == EINTR) continue;
            if (wrote <= 0) return failed(wrote < 0 ? errno : ENOSPC);
            done += static_cast<std::size_t>(wrote);
        }
        m_buffer.clear();
        return true;
    }

    fs::path m_target;
    fs::path m_temp;  // "" once renamed, or when the target is written in place
    int m_slot = -1;  // of m_temp among the part files a signal removes
    BatchWriteFunction m_write;
    FileDescriptor m_fd;
    std::string m_buffer;
    int m_error = 0;
};

// Only an ordinary file comes to an end: /dev/zero never does, and a pipe may not. A pipe
// with no writer is opened without waiting for one, and refused at once.
FileDescriptor openSource(const std::string& source, int& error) {
    struct stat named {};
    if (::stat(source.c_str(), &named) != 0) {
        error = errno;
        return FileDescriptor();
    }
    if (!S_ISREG(named.st_mode)) {
        error = S_ISDIR(named.st_mode) ? EISDIR : ENODEV;
        return FileDescriptor();
    }
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!in || ::fstat(in.get(), &opened) != 0) {
        error = errno;
        return FileDescriptor();
    }
    // Swapped for something else since the look.
    if (!S_ISREG(opened.st_mode)) {
        error = S_ISDIR(opened.st_mode) ? EISDIR : ENODEV;
        return FileDescriptor();
    }
    ::fcntl(in.get(), F_SETFL, ::fcntl(in.get(), F_GETFL) & ~O_NONBLOCK);
    return in;
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
    const FileDescriptor in = openSource(source, openError);
    if (!in) {
        return fileError(BatchStatus::SourceUnreadable, ToolMessageId::FailedToRead, source,
                         reasonFor(openError, msg::kReasonNoSuchFile));
    }
    // Replacing the source itself (sums.rob read into sums.rob) would destroy it.
    if (sameFile(source, outcome.resultPath)) {
        return fileError(BatchStatus::ResultUnwritable, ToolMessageId::FailedToWrite, resultText,
                         msg::kReasonOverwritesSource);
    }
    ResultFile out(outcome.resultPath, hooks.write ? hooks.write : BatchWriteFunction(writeToFile));
    if (!out.open()) {
        return fileError(BatchStatus::ResultUnwritable, ToolMessageId::FailedToWrite, resultText,
                         reasonFor(out.error(), msg::kReasonNoSuchFolder));
    }

    struct stat sourceStat {};
    const std::uint64_t sourceBytes =
        ::fstat(in.get(), &sourceStat) == 0 ? static_cast<std::uint64_t>(sourceStat.st_size) : 0;
    const std::function<std::chrono::steady_clock::time_point()> now =
        hooks.now ? hooks.now : &std::chrono::steady_clock::now;
    LineReader reader(in.get(), msg::kMaxExpressionLength);
    auto progress = [&] { return BatchProgress{outcome.lines, reader.consumed(), sourceBytes}; };
    auto lastReport = now();
    auto askedToStop = [&] {
        if (hooks.stop && hooks.stop->load()) return true;
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
    BatchRunner runner(options, prompter, hooks, outcome);
    bool written = true;
    bool stopped = false;
    LineReader::Piece piece;
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

void RemoveBatchPartFiles() noexcept { PartFileSlots::removeAll(); }

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
