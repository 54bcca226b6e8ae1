// quorvel-calc: the calculator's engine, speech wording and data file without a window.
// One answer line per expression on standard output, so line N answers input line N;
// messages go to standard error as "Title: text".

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculator_session.h"
#include "calc/messages.h"
#include "calc/prompter.h"
#include "data/data_folder.h"
#include "data/settings_bridge.h"
#include "data/sys_data_holder.h"
#include "speech/audio_player.h"
#include "speech/sound_bank.h"
#include "speech/wav_writer.h"
#include "speech/word_player.h"
#include "speech/wording.h"
#include "tools/batch_run.h"
#include "tools/unit_converter.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

constexpr std::string_view kUsage = R"(Usage: quorvel-calc [OPTIONS] [EXPRESSION ...]

Calculates each EXPRESSION, or each line of standard input when there is none, and prints
one answer line for each: the result, or an empty line when there was nothing to calculate
or the calculation failed (the reason goes to standard error).

Options:
  --places P            decimal places of results (default 30)
  --digits N            integer digits beyond which results are shown in E form (default 10)
  --degrees, --radians  angle unit of the trigonometric functions (default radians)
  --steps               print every reduction step, then an empty line
  --data DIR            read settings, parameters and Pi from DIR/SysData.dat and store
                        log lines back into it; DIR is created when missing, and a run
                        waits up to 5 s for another program using DIR to finish
  --words COMMAND TEXT  print the word files that speaking TEXT would play
  --speak COMMAND TEXT  speak TEXT through the audio device
  --units CATEGORY      list the units of a category, name<TAB>factor a line
  --convert CATEGORY VALUE FROM TO
                        convert VALUE from unit FROM to unit TO of a category
  --batch SOURCE [--mode MODE] [--output RESULT] [--e-notation]
                        calculate the expressions found in a text file and write the result
                        file (MODE: addresult (default), replaceresult, addsteps, genfilter,
                        detailfilter; RESULT: beside SOURCE with ".rob"); prints the log lines,
                        and on standard error the failures and a summary
  --speak-to FILE.wav COMMAND TEXT
                        write the spoken TEXT to a WAV file
                        (COMMAND: key, input, result, inputresult, msg, expr)
  --help, --version
Exit status: 0 all calculated, 1 a calculation failed, 2 bad command line.
)";

class StderrPrompter final : public Prompter {
public:
    void showMessage(std::string_view text, std::string_view title, MessageIcon) override {
        std::cerr << title << ": " << text << '\n';
    }
    bool askOkCancel(std::string_view text, std::string_view title) override {
        std::cerr << title << ": " << text << '\n';
        return false;
    }
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int) override {
        std::cerr << "Input Message: " << message << '\n'
                  << "Advice: " << advice << '\n'
                  << "Expression: " << expression << '\n';
    }
};

struct Speech {
    enum class Mode { Words, Speak, SpeakTo } mode;
    std::string command;
    std::string text;
    fs::path file;
};

struct Conversion {
    std::string category;
    std::string value;
    std::string from;
    std::string to;
};

struct Options {
    std::optional<int> places;
    std::optional<int> digits;
    std::optional<AngleUnit> angle;
    bool steps = false;
    std::optional<fs::path> data;
    std::optional<Speech> speech;
    std::optional<std::string> units;
    std::optional<Conversion> conversion;
    std::optional<std::string> batchSource;
    std::optional<BatchMode> batchMode;
    std::optional<std::string> batchOutput;
    bool eNotation = false;
    std::vector<std::string> expressions;
};

struct UsageError {
    std::string text;
};

int parseNumber(std::string_view option, std::string_view text, SettingRange range) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !range.contains(value)) {
        throw UsageError{std::string(option) + " takes a whole number from " +
                         std::to_string(range.low) + " to " + std::to_string(range.high)};
    }
    return value;
}

// The command line after the program name, read one argument at a time.
class Arguments {
public:
    Arguments(int argc, char** argv) : m_args(argv + 1, argv + argc) {}
    bool done() const { return m_next >= m_args.size(); }
    std::string_view next() { return m_args[m_next++]; }
    // The value that must follow `option`.
    std::string take(std::string_view option) {
        if (done()) throw UsageError{std::string(option) + " needs a value"};
        return std::string(next());
    }

private:
    std::vector<std::string_view> m_args;
    std::size_t m_next = 0;
};

// --places, --digits, --degrees, --radians, --steps and --data; false for any other option.
bool parseCalcOption(std::string_view a, Arguments& args, Options& o) {
    if (a == "--places") {
        o.places = parseNumber(a, args.take(a), kPlacesRange);
    } else if (a == "--digits") {
        o.digits = parseNumber(a, args.take(a), kDigitsLimitRange);
    } else if (a == "--degrees") {
        o.angle = AngleUnit::Degrees;
    } else if (a == "--radians") {
        o.angle = AngleUnit::Radians;
    } else if (a == "--steps") {
        o.steps = true;
    } else if (a == "--data") {
        o.data = fs::path(args.take(a));
    } else {
        return false;
    }
    return true;
}

Speech parseSpeech(std::string_view a, Arguments& args) {
    Speech s;
    s.mode = a == "--words"   ? Speech::Mode::Words
             : a == "--speak" ? Speech::Mode::Speak
                              : Speech::Mode::SpeakTo;
    if (s.mode == Speech::Mode::SpeakTo) s.file = fs::path(args.take(a));
    s.command = args.take(a);
    s.text = args.take(a);
    if (!isSpeechCommand(s.command)) {
        throw UsageError{"unknown speech command " + s.command +
                         " (key, input, result, inputresult, msg, expr)"};
    }
    // Bounded like an expression: a long digit string would make gigabytes of sound.
    if (s.text.size() > msg::kMaxExpressionLength) {
        throw UsageError{"the text to speak is too long; it may hold at most " +
                         std::to_string(msg::kMaxExpressionLength) + " characters"};
    }
    return s;
}

// The speech, unit and batch options; false for any other option.
bool parseToolOption(std::string_view a, Arguments& args, Options& o) {
    if (a == "--words" || a == "--speak" || a == "--speak-to") {
        o.speech = parseSpeech(a, args);
    } else if (a == "--units") {
        o.units = args.take(a);
    } else if (a == "--convert") {
        Conversion c;
        c.category = args.take(a);
        c.value = args.take(a);
        c.from = args.take(a);
        c.to = args.take(a);
        o.conversion = std::move(c);
    } else if (a == "--batch") {
        o.batchSource = args.take(a);
    } else if (a == "--mode") {
        const std::string name = args.take(a);
        o.batchMode = ParseBatchMode(name);
        if (!o.batchMode) throw UsageError{"unknown batch mode " + name};
    } else if (a == "--output") {
        o.batchOutput = args.take(a);
    } else if (a == "--e-notation") {
        o.eNotation = true;
    } else {
        return false;
    }
    return true;
}

// --help and --version answer and end the program; anything else is unknown.
[[noreturn]] void answerInfoOption(std::string_view a) {
    if (a == "--help") {
        std::cout << kUsage;
        std::exit(0);
    }
    if (a == "--version") {
        std::cout << "quorvel-calc " << QUORVEL_VERSION << '\n';
        std::exit(0);
    }
    throw UsageError{"unknown option " + std::string(a)};
}

Options parseOptions(int argc, char** argv) {
    Options o;
    Arguments args(argc, argv);
    bool onlyExpressions = false;
    while (!args.done()) {
        const std::string_view a = args.next();
        if (onlyExpressions || a.size() < 2 || a.substr(0, 2) != "--") {
            o.expressions.emplace_back(a);
        } else if (a == "--") {
            onlyExpressions = true;
        } else if (!parseCalcOption(a, args, o) && !parseToolOption(a, args, o)) {
            answerInfoOption(a);
        }
    }
    if ((o.batchMode || o.batchOutput || o.eNotation) && !o.batchSource) {
        throw UsageError{"--mode, --output and --e-notation go with --batch"};
    }
    return o;
}

fs::path programDirectory() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
}

int speak(const Speech& s) {
    const WordPlan plan = makeWordPlan(s.command, s.text);
    if (s.mode == Speech::Mode::Words) {
        std::cout << formatWordPlan(plan);
        return 0;
    }
    const fs::path sounds = findSoundsDir(programDirectory());
    if (s.mode == Speech::Mode::Speak) {
        AudioPlayer player(sounds, std::cerr);
        playPlan(plan, player);
        return 0;
    }
    SoundBank bank(sounds, std::cerr);
    std::string error;
    if (!writePlanToWav(plan, bank, s.file, &error)) {
        std::cerr << "quorvel-calc: " << error << '\n';
        return 1;
    }
    return 0;
}

// One step a line with "\n" between lines, and no line break after the last.
std::string withNewlines(std::string_view steps) {
    std::string out;
    out.reserve(steps.size());
    for (char c : steps) {
        if (c != '\r') out.push_back(c);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

// The data file's settings, reported when out of range. A damaged file is kept aside by the
// load and reported; the run carries on with what was read.
void loadDataFile(SysDataHolder& holder, CalcSettings& settings) {
    const LoadResult loaded = holder.Load();
    if (loaded.damaged()) std::cerr << "quorvel-calc: " << loaded.notice() << '\n';
    BridgedSettings bridged = ToCalcSettings(holder.data());
    if (!bridged.corrections.empty()) {
        std::cerr << "quorvel-calc: " << CorrectionMessage(bridged.corrections) << '\n';
    }
    settings = std::move(bridged.settings);
}

void applyOverrides(const Options& options, CalcSettings& settings) {
    if (options.places) settings.places = *options.places;
    if (options.digits) settings.digitsLimit = *options.digits;
    if (options.angle) settings.angleUnit = *options.angle;
}

int listUnits(const std::string& category) {
    const std::string listing = UnitListing(category);
    if (listing.empty()) {
        std::cerr << "quorvel-calc: no unit category " << category << '\n';
        return 1;
    }
    std::cout << listing;
    return 0;
}

int runBatch(const Options& options, const CalcSettings& settings, Prompter& prompter) {
    BatchOptions batch;
    batch.source = *options.batchSource;
    batch.result = options.batchOutput.value_or("");
    batch.mode = options.batchMode.value_or(BatchMode::AddResult);
    batch.eNotation = options.eNotation;
    batch.settings = settings;
    // The log lines of calculations are the output; failures and summaries are not.
    BatchHooks hooks;
    hooks.onCalculation = [](const BatchEntry& entry) { std::cout << entry.logLine << '\n'; };
    hooks.onLogLine = [](std::string_view line) { std::cerr << line << '\n'; };
    const BatchOutcome outcome = RunBatch(batch, prompter, hooks);
    return outcome.status == BatchStatus::Done && outcome.failed == 0 ? 0 : 1;
}

int convert(const Conversion& c, const CalcSettings& settings, Prompter& prompter) {
    const auto converted = ConvertNamedUnits(c.category, c.value, c.from, c.to, settings, prompter);
    std::cout << converted.value_or("") << '\n';
    return converted ? 0 : 1;
}

// Calculates input lines through one session, so recent results, parameters and the log carry
// from one line to the next as in the window; with a data file every change is stored.
class Calculator {
public:
    Calculator(const Options& options, SysDataHolder* holder, const CalcSettings& settings,
               Prompter& prompter)
        : m_steps(options.steps),
          m_holder(holder),
          m_session(settings, holder ? holder->data().log : m_log, prompter, [this] { store(); }) {}

    void handle(std::string_view line) {
        // The input box drops blanks as they are typed, so "2 + 3" reaches it as "2+3".
        std::string text;
        text.reserve(line.size());
        for (char c : line) {
            if (c != ' ' && c != '\t' && c != '\r') text.push_back(c);
        }
        const CommandOutcome outcome = m_session.calculateCommand(text);
        // Without a data file nobody reads the log again: keep memory flat on long inputs.
        if (!m_holder) m_log.clear();
        print(outcome);
    }

    int status() const { return m_failed || m_storeFailed ? 1 : 0; }

private:
    void store() {
        if (!m_holder || m_storeFailed) return;
        WriteBackSettings(m_session.settings(), m_holder->data());
        const StoreResult stored = m_holder->Store();
        if (!stored.stored) {
            std::cerr << "quorvel-calc: " << stored.reason << '\n';
            m_storeFailed = true;
        }
    }

    void print(const CommandOutcome& outcome) {
        switch (outcome.kind) {
            case CommandKind::Failed:
                m_failed = true;
                std::cout << '\n';
                break;
            case CommandKind::Calculated:
            case CommandKind::Solved:
                if (m_steps) {
                    std::cout << withNewlines(outcome.shown) << "\n\n";
                } else {
                    std::cout << outcome.value << '\n';
                }
                break;
            case CommandKind::ParameterSet:
                std::cout << outcome.value << '\n';
                break;
            case CommandKind::Nothing:
            case CommandKind::ClearInput:
                std::cout << '\n';
                break;
        }
    }

    bool m_steps;
    SysDataHolder* m_holder;
    std::vector<std::string> m_log;  // the session's log when there is no data file
    CalculatorSession m_session;
    bool m_failed = false;
    bool m_storeFailed = false;
};

int calculateAll(const Options& options, SysDataHolder* holder, const CalcSettings& settings,
                 Prompter& prompter) {
    Calculator calculator(options, holder, settings, prompter);
    if (!options.expressions.empty()) {
        for (const std::string& e : options.expressions) calculator.handle(e);
    } else {
        const bool interactive = ::isatty(STDIN_FILENO);
        if (interactive) {
            std::cerr << "quorvel-calc " << QUORVEL_VERSION
                      << ": type an expression and press Enter; Ctrl+D ends.\n";
        }
        for (std::string line; std::getline(std::cin, line);) {
            calculator.handle(line);
            if (interactive) std::cout.flush();
        }
    }
    std::cout.flush();
    return calculator.status();
}

int run(const Options& options) {
    if (options.speech) return speak(*options.speech);

    std::optional<FolderLock> folderLock;  // held until after the last store
    std::optional<SysDataHolder> holder;
    CalcSettings settings;
    if (options.data) {
        FolderLockResult opened = OpenDataFolder(*options.data, DataFolderWait());
        if (!opened.lock) {
            std::cerr << "quorvel-calc: " << opened.error << '\n';
            return 1;
        }
        folderLock = std::move(opened.lock);
        holder.emplace(*options.data);
        loadDataFile(*holder, settings);
    }
    applyOverrides(options, settings);

    StderrPrompter prompter;
    if (options.units) return listUnits(*options.units);
    if (options.batchSource) return runBatch(options, settings, prompter);
    if (options.conversion) return convert(*options.conversion, settings, prompter);
    return calculateAll(options, holder ? &*holder : nullptr, settings, prompter);
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        return quorvel::run(quorvel::parseOptions(argc, argv));
    } catch (const quorvel::UsageError& e) {
        std::cerr << "quorvel-calc: " << e.text << "\nTry 'quorvel-calc --help'.\n";
        return 2;
    }
}
