#include "tools/batch_run.h"

#include <array>
#include <fstream>
#include <ostream>
#include <system_error>

#include "calc/calculate.h"
#include "calc/decimal_text.h"
#include "calc/keyword_scanner.h"
#include "calc/messages.h"
#include "calc/syntax_checker.h"
#include "calc/text_util.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

constexpr std::array<std::string_view, 5> kModeNames = {"addresult", "replaceresult", "addsteps",
                                                        "genfilter", "detailfilter"};

bool isOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }
// Bytes of 0x80 and above are letters of some encoding, so they belong to words too.
bool isLetter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == '_' || u >= 0x80;
}
bool isWordChar(char c) { return isLetter(c) || IsDigit(c); }

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

const KeywordScanner& keywords() {
    static const KeywordScanner scanner;
    return scanner;
}

// Length of the name at `pos` if it may stand in a calculation there: a function name only
// with its bracket, "pi" and "last1".."last5" only when no letter or digit goes on.
std::size_t nameLength(std::string_view line, std::size_t pos) {
    const auto match = keywords().findStartingAt(line, pos);
    if (!match) return 0;
    const std::size_t end = pos + match->keyword.text.size();
    const bool atEnd = end >= line.size();
    if (match->keyword.isFunction) return !atEnd && line[end] == '(' ? end - pos : 0;
    return atEnd || !isWordChar(line[end]) ? end - pos : 0;
}

// A digit, "(", a point before a digit, or a usable name.
bool startsOperand(std::string_view line, std::size_t pos) {
    if (pos >= line.size()) return false;
    const char c = line[pos];
    if (IsDigit(c) || c == '(') return true;
    if (c == '.') return pos + 1 < line.size() && IsDigit(line[pos + 1]);
    return isLetter(c) && nameLength(line, pos) > 0;
}

// Not inside a word, nor after the comma of "1,000" or "3,5": those digits are not a number
// of their own.
bool startsStretch(std::string_view line, std::size_t pos) {
    if (pos > 0 && isWordChar(line[pos - 1])) return false;
    if (pos > 1 && line[pos - 1] == ',' && IsDigit(line[pos - 2])) return false;
    if (line[pos] == '+' || line[pos] == '-') return startsOperand(line, pos + 1);
    return startsOperand(line, pos);
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
bool holdsCalculation(std::string_view piece) {
    bool afterOperand = false;
    for (std::size_t i = 0; i < piece.size();) {
        const char c = piece[i];
        if (isLetter(c)) {
            const std::size_t length = nameLength(piece, i);
            if (length == 0) return false;
            if (keywords().findStartingAt(piece, i)->keyword.isFunction) return true;
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

Stretch scanStretch(std::string_view line, std::size_t begin) {
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
        } else if (const std::size_t length = isLetter(c) ? nameLength(line, pos) : 0) {
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

std::vector<LineSegment> FindCalculations(std::string_view line) {
    std::vector<LineSegment> segments;
    std::size_t textBegin = 0;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (isLetter(c) && ((pos > 0 && isWordChar(line[pos - 1])) || nameLength(line, pos) == 0)) {
            while (pos < line.size() && isWordChar(line[pos])) ++pos;
            continue;
        }
        if (!startsStretch(line, pos)) {
            ++pos;
            continue;
        }
        const Stretch s = scanStretch(line, pos);
        if (s.begin >= s.end) {
            pos = s.scanned;
            continue;
        }
        const std::string_view piece = line.substr(s.begin, s.end - s.begin);
        // A number glued to a word ("3x", "10km") or already answered ("2+3=5") is left alone.
        const bool glued = s.end < line.size() && (isWordChar(line[s.end]) || line[s.end] == '=');
        if (!glued && !looksLikeDate(piece) && holdsCalculation(piece)) {
            if (s.begin > textBegin) {
                segments.push_back({line.substr(textBegin, s.begin - textBegin), false});
            }
            segments.push_back({piece, true});
            textBegin = s.end;
        }
        pos = s.end;
    }
    if (textBegin < line.size()) segments.push_back({line.substr(textBegin), false});
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

// The log's time stamp is the calculator log line's, without its three-space separator.
std::string timeStamp(const LogTime& time) {
    std::string line = MakeLogLine(time, "", "");
    line.resize(line.size() - std::string_view("   =").size());
    return line;
}

class BatchRunner {
public:
    BatchRunner(const BatchOptions& options, Prompter& prompter, const BatchCallback& callback,
                BatchOutcome& outcome)
        : m_options(options), m_prompter(prompter), m_callback(callback), m_outcome(outcome) {}

    std::string processLine(std::string_view line) {
        const BatchMode mode = m_options.mode;
        const bool filter = mode == BatchMode::GenFilter || mode == BatchMode::DetailFilter;
        const std::string_view separator = mode == BatchMode::GenFilter ? " " : "\r\n";
        std::string out;
        bool first = true;
        auto emit = [&](std::string_view text) {
            if (filter && !first) out += separator;
            out += text;
            first = false;
        };
        for (const LineSegment& segment : FindCalculations(line)) {
            if (!segment.isCalculation) {
                if (!filter) out += segment.text;
                continue;
            }
            std::string value;
            std::string steps;
            if (!calculate(segment.text, value, steps)) {
                ++m_outcome.failed;
                emit(segment.text);
                continue;
            }
            ++m_outcome.calculated;
            switch (mode) {
                case BatchMode::AddResult:
                case BatchMode::GenFilter:
                    emit(std::string(segment.text) + "=" + value);
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
        const std::string checked = lowered(text);
        const SyntaxVerdict verdict = m_checker.Check(checked, CheckScope::CharacterRules);
        if (!verdict.accepted) {
            ReportSyntaxError(m_prompter, verdict, checked);
            return false;
        }
        CalcOutcome calculated =
            CalculateExpression(text, m_recent, m_options.settings, m_prompter);
        if (!calculated.ok) return false;
        const std::string& result = calculated.result;
        steps = std::move(calculated.steps);
        value = m_options.eNotation ? result : plainValue(result, steps, m_options.settings.places);
        if (m_callback) {
            BatchEntry entry{std::string(text), value, {}};
            entry.logLine = timeStamp(m_options.clock()) + " " + entry.calculation + "=" + value;
            m_callback(entry);
        }
        return true;
    }

    const BatchOptions& m_options;
    Prompter& m_prompter;
    const BatchCallback& m_callback;
    BatchOutcome& m_outcome;
    SyntaxChecker m_checker;
    const RecentResults m_recent = {"0", "0", "0", "0", "0"};
};

void tell(Prompter& prompter, std::string_view message, std::string_view path) {
    prompter.showMessage(std::string(message) + std::string(path), msg::kTitleQuorvel,
                         MessageIcon::Information);
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}

}  // namespace

BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter,
                      const BatchCallback& onCalculation) {
    BatchOutcome outcome;
    const std::string source(Trim(options.source));
    if (source.empty()) {
        prompter.showMessage(msg::kSelectSourceFirst, msg::kTitleQuorvel, MessageIcon::Information);
        outcome.status = BatchStatus::NoSource;
        return outcome;
    }
    const std::string_view result = Trim(options.result);
    outcome.resultPath = result.empty() ? DeriveResultPath(source) : fs::path(result);
    const std::string resultText = outcome.resultPath.string();

    std::error_code error;
    std::ifstream in;
    if (!fs::is_directory(source, error)) in.open(source, std::ios::binary);
    if (!in.is_open()) {
        tell(prompter, msg::kFailedToRead, source);
        outcome.status = BatchStatus::SourceUnreadable;
        return outcome;
    }
    // Truncating the source itself (sums.rob read into sums.rob) would destroy it.
    if (sameFile(source, outcome.resultPath)) {
        tell(prompter, msg::kFailedToWrite, resultText);
        outcome.status = BatchStatus::ResultUnwritable;
        return outcome;
    }
    std::ofstream out(outcome.resultPath, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
        tell(prompter, msg::kFailedToWrite, resultText);
        outcome.status = BatchStatus::ResultUnwritable;
        return outcome;
    }

    BatchRunner runner(options, prompter, onCalculation, outcome);
    auto writeLine = [&](std::string_view line) {
        out << runner.processLine(line) << "\r\n";
        ++outcome.lines;
        return static_cast<bool>(out);
    };
    bool written = true;
    for (std::string line; written && std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        written = writeLine(line);
    }
    const bool readFailed = in.bad();
    if (written && !readFailed) written = writeLine("");
    out.close();
    if (readFailed) {
        tell(prompter, msg::kFailedToRead, source);
        outcome.status = BatchStatus::SourceUnreadable;
    } else if (!written || out.fail()) {
        tell(prompter, msg::kFailedToWrite, resultText);
        outcome.status = BatchStatus::ResultUnwritable;
    }
    return outcome;
}

BatchOutcome RunBatch(const BatchOptions& options, Prompter& prompter, std::ostream& log) {
    return RunBatch(options, prompter,
                    [&log](const BatchEntry& entry) { log << entry.logLine << '\n'; });
}

void RobotLog::add(const BatchEntry& entry) {
    m_text += entry.logLine;
    m_text += "\r\n";
    m_runList.push_back(entry.calculation + "=" + entry.result);
}

std::string RobotLog::talkRequest() const {
    std::string request = "1:";
    for (const std::string& entry : m_runList) request += entry + "|";
    return request;
}

}  // namespace quorvel
