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
#include "calc/prompter.h"
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
                        log lines back into it
  --words COMMAND TEXT  print the word files that speaking TEXT would play
  --speak COMMAND TEXT  speak TEXT through the audio device
  --units CATEGORY      list the units of a category, name<TAB>factor a line
  --convert CATEGORY VALUE FROM TO
                        convert VALUE from unit FROM to unit TO of a category
  --batch SOURCE [--mode MODE] [--output RESULT] [--e-notation]
                        calculate the expressions found in a text file and write the result
                        file (MODE: addresult (default), replaceresult, addsteps, genfilter,
                        detailfilter; RESULT: beside SOURCE with ".rob"); prints the log lines
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

int parseNumber(std::string_view option, std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        throw UsageError{std::string(option) + " takes a whole number from " + std::to_string(low) +
                         " to " + std::to_string(high)};
    }
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options o;
    std::vector<std::string_view> args(argv + 1, argv + argc);
    auto take = [&](std::size_t& i, std::string_view option) {
        if (i + 1 >= args.size()) throw UsageError{std::string(option) + " needs a value"};
        return args[++i];
    };
    bool onlyExpressions = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (onlyExpressions || a.size() < 2 || a.substr(0, 2) != "--") {
            o.expressions.emplace_back(a);
        } else if (a == "--") {
            onlyExpressions = true;
        } else if (a == "--places") {
            o.places = parseNumber(a, take(i, a), 0, 10000);
        } else if (a == "--digits") {
            o.digits = parseNumber(a, take(i, a), 1, 10000);
        } else if (a == "--degrees") {
            o.angle = AngleUnit::Degrees;
        } else if (a == "--radians") {
            o.angle = AngleUnit::Radians;
        } else if (a == "--steps") {
            o.steps = true;
        } else if (a == "--data") {
            o.data = fs::path(take(i, a));
        } else if (a == "--words" || a == "--speak" || a == "--speak-to") {
            Speech s;
            s.mode = a == "--words"   ? Speech::Mode::Words
                     : a == "--speak" ? Speech::Mode::Speak
                                      : Speech::Mode::SpeakTo;
            if (s.mode == Speech::Mode::SpeakTo) s.file = fs::path(take(i, a));
            s.command = std::string(take(i, a));
            s.text = std::string(take(i, a));
            o.speech = std::move(s);
        } else if (a == "--units") {
            o.units = std::string(take(i, a));
        } else if (a == "--convert") {
            Conversion c;
            c.category = std::string(take(i, a));
            c.value = std::string(take(i, a));
            c.from = std::string(take(i, a));
            c.to = std::string(take(i, a));
            o.conversion = std::move(c);
        } else if (a == "--batch") {
            o.batchSource = std::string(take(i, a));
        } else if (a == "--mode") {
            const std::string_view name = take(i, a);
            o.batchMode = ParseBatchMode(name);
            if (!o.batchMode) throw UsageError{"unknown batch mode " + std::string(name)};
        } else if (a == "--output") {
            o.batchOutput = std::string(take(i, a));
        } else if (a == "--e-notation") {
            o.eNotation = true;
        } else if (a == "--help") {
            std::cout << kUsage;
            std::exit(0);
        } else if (a == "--version") {
            std::cout << "quorvel-calc " << QUORVEL_VERSION << '\n';
            std::exit(0);
        } else {
            throw UsageError{"unknown option " + std::string(a)};
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

CalcSettings settingsFrom(const CSysData& data) {
    CalcSettings s;
    s.places = data.decimalPlaces;
    s.digitsLimit = data.intDigitsLimit;
    s.angleUnit = data.angleUnit == 1 ? AngleUnit::Radians : AngleUnit::Degrees;
    s.piText = data.piText;
    s.parameters = {data.paramF, data.paramK, data.paramM, data.paramW};
    return s;
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

int run(const Options& options) {
    if (options.speech) return speak(*options.speech);

    std::optional<SysDataHolder> holder;
    std::vector<std::string> log;
    CalcSettings settings;
    if (options.data) {
        holder.emplace(*options.data);
        const LoadResult loaded = holder->Load();
        if (loaded.outcome == LoadOutcome::Failed) {
            // Storing what was read would overwrite the rest of the user's file.
            std::cerr << "quorvel-calc: " << loaded.reason << '\n';
            return 1;
        }
        settings = settingsFrom(holder->data());
    }
    if (options.places) settings.places = *options.places;
    if (options.digits) settings.digitsLimit = *options.digits;
    if (options.angle) settings.angleUnit = *options.angle;

    StderrPrompter prompter;
    if (options.units) {
        const std::string listing = UnitListing(*options.units);
        if (listing.empty()) {
            std::cerr << "quorvel-calc: no unit category " << *options.units << '\n';
            return 1;
        }
        std::cout << listing;
        return 0;
    }
    if (options.batchSource) {
        BatchOptions batch;
        batch.source = *options.batchSource;
        batch.result = options.batchOutput.value_or("");
        batch.mode = options.batchMode.value_or(BatchMode::AddResult);
        batch.eNotation = options.eNotation;
        batch.settings = settings;
        const BatchOutcome outcome = RunBatch(batch, prompter, std::cout);
        return outcome.status == BatchStatus::Done && outcome.failed == 0 ? 0 : 1;
    }
    if (const auto& c = options.conversion) {
        const auto converted =
            ConvertNamedUnits(c->category, c->value, c->from, c->to, settings, prompter);
        std::cout << converted.value_or("") << '\n';
        return converted ? 0 : 1;
    }
    bool storeFailed = false;
    const CalculatorSession* current = nullptr;
    auto store = [&] {
        if (!holder || storeFailed) return;
        CSysData& data = holder->data();
        const auto& p = current->settings().parameters;
        data.paramF = p[0];
        data.paramK = p[1];
        data.paramM = p[2];
        data.paramW = p[3];
        const StoreResult stored = holder->Store();
        if (!stored.stored) {
            std::cerr << "quorvel-calc: " << stored.reason << '\n';
            storeFailed = true;
        }
    };
    CalculatorSession session(settings, holder ? holder->data().log : log, prompter, store);
    current = &session;

    bool failed = false;
    auto handle = [&](std::string_view line) {
        // The input box drops blanks as they are typed, so "2 + 3" reaches it as "2+3".
        std::string text;
        text.reserve(line.size());
        for (char c : line) {
            if (c != ' ' && c != '\t' && c != '\r') text.push_back(c);
        }
        const CommandOutcome outcome = session.calculateCommand(text);
        // Without a data file nobody reads the log again: keep memory flat on long inputs.
        if (!holder) log.clear();
        switch (outcome.kind) {
            case CommandKind::Failed:
                failed = true;
                std::cout << '\n';
                break;
            case CommandKind::Calculated:
            case CommandKind::Solved:
                if (options.steps) {
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
    };
    if (!options.expressions.empty()) {
        for (const std::string& e : options.expressions) handle(e);
    } else {
        const bool interactive = ::isatty(STDIN_FILENO);
        if (interactive) {
            std::cerr << "quorvel-calc " << QUORVEL_VERSION
                      << ": type an expression and press Enter; Ctrl+D ends.\n";
        }
        for (std::string line; std::getline(std::cin, line);) {
            handle(line);
            if (interactive) std::cout.flush();
        }
    }
    std::cout.flush();
    return failed || storeFailed ? 1 : 0;
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
