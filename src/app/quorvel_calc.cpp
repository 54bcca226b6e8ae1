// quorvel-calc: the calculator's engine, speech wording and data file without a window.
// One answer line per expression on standard output, so line N answers input line N;
// messages go to standard error as "Title: text".

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "app/calc_options.h"
#include "app/line_calculator.h"
#include "app/terminal.h"
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
#include "tools/unit_names.h"
#include "tools/unit_table.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

int speak(const Speech& s) {
    const WordPlan plan = makeWordPlan(s.command, s.text);
    if (s.mode == Speech::Mode::Words) {
        std::cout << formatWordPlan(plan);
        return 0;
    }
    const fs::path program = ProgramDirectory();
    const fs::path sounds = findSoundsDir(program);
    std::error_code error;
    if (!fs::is_directory(sounds, error)) {
        std::cerr << "quorvel-calc: no recordings found; looked in";
        for (const fs::path& place : soundsDirCandidates(program)) {
            std::cerr << ' ' << place.string();
        }
        std::cerr << '\n';
        return 1;
    }
    if (s.mode == Speech::Mode::Speak) {
        AudioPlayer player(sounds, std::cerr);
        playPlan(plan, player);
        return 0;
    }
    SoundBank bank(sounds, std::cerr);
    std::string failure;
    if (!writePlanToWav(plan, bank, s.file, &failure)) {
        std::cerr << "quorvel-calc: " << failure << '\n';
        return 1;
    }
    return 0;
}

// The data file's settings, reported when out of range. A damaged file is kept aside by the
// load and reported; the run carries on with what was read. A file that cannot be read is
// reported and left alone: the run answers with the usual settings, stores nothing, and the
// answer is false, so that it ends with status 1.
bool loadDataFile(SysDataHolder& holder, CalcSettings& settings) {
    const LoadResult loaded = holder.Load();
    if (loaded.damaged() || loaded.unreadable()) {
        std::cerr << "quorvel-calc: " << loaded.notice() << '\n';
    }
    BridgedSettings bridged = ToCalcSettings(holder.data());
    if (!bridged.corrections.empty()) {
        std::cerr << "quorvel-calc: " << CorrectionMessage(bridged.corrections) << '\n';
    }
    settings = std::move(bridged.settings);
    return !loaded.unreadable();
}

void applyOverrides(const Options& options, CalcSettings& settings) {
    if (options.places) settings.places = *options.places;
    if (options.digits) settings.digitsLimit = *options.digits;
    if (options.angle) settings.angleUnit = *options.angle;
    if (options.precise) settings.preciseFunctions = true;
}

// A category as typed, or after saying why there is none.
std::optional<std::string> category(std::string_view typed) {
    const NameMatch match = MatchCategoryName(typed);
    if (match.name.empty()) {
        std::cerr << "quorvel-calc: " << NameMatchMessage("category", typed, "", match) << '\n';
        return std::nullopt;
    }
    return match.name;
}

int listUnits(const std::string& typed) {
    if (typed.empty()) {
        for (std::string_view name : UnitCategoryNames()) std::cout << name << '\n';
        return 0;
    }
    const auto name = category(typed);
    if (!name) return 1;
    std::cout << UnitListing(*name);
    return 0;
}

// A batch killed from the keyboard or by the system leaves the previous result as it was and
// no temporary file beside it, then dies of the signal as its caller expects.
void endBatchOnSignal(int signal) {
    RemoveBatchPartFiles();
    static constexpr char kNote[] = "quorvel-calc: interrupted; the result file was not written\n";
    [[maybe_unused]] const ssize_t ignored = ::write(STDERR_FILENO, kNote, sizeof kNote - 1);
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// A signal ignored when the program started (SIGINT of a background job) stays ignored.
void catchBatchSignals(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) sigaddset(&action.sa_mask, signal);
    for (const int signal : kEndingSignals) {
        struct sigaction current {};
        ::sigaction(signal, nullptr, &current);
        if (current.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
    }
    // The printed log is a by-product: a reader that has had enough (`| head`) must not cost
    // the result file. A write to a closed pipe then fails instead.
    ::signal(SIGPIPE, SIG_IGN);
}

int runBatch(const Options& options, const CalcSettings& settings, Prompter& prompter) {
    BatchOptions batch;
    batch.source = *options.batchSource;
    batch.result = options.batchOutput.value_or("");
    batch.mode = options.batchMode.value_or(BatchMode::AddResult);
    batch.eNotation = options.eNotation;
    batch.settings = settings;
    // The log lines of calculations are the output; failures and summaries are not. Once
    // standard output is closed they are no longer printed.
    BatchHooks hooks;
    hooks.onCalculation = [](const BatchEntry& entry) {
        // Straight into the stream's buffer: an insertion with its sentry costs a good part of
        // a short calculation. A failed write marks the stream as the insertion would.
        if (!std::cout) return;
        std::streambuf& out = *std::cout.rdbuf();
        const auto size = static_cast<std::streamsize>(entry.logLine.size());
        if (out.sputn(entry.logLine.data(), size) != size ||
            out.sputc('\n') == std::streambuf::traits_type::eof()) {
            std::cout.setstate(std::ios::badbit);
        }
    };
    hooks.onLogLine = [](std::string_view line) { std::cerr << line << '\n'; };
    catchBatchSignals(endBatchOnSignal);
    try {
        const BatchOutcome outcome = RunBatch(batch, prompter, hooks);
        catchBatchSignals(SIG_DFL);  // the result is in place: nothing left to undo
        return outcome.status == BatchStatus::Done && outcome.failed == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        // Unwound: the temporary file is gone and the previous result kept.
        std::cerr << "quorvel-calc: the batch ended early: " << e.what() << '\n';
        return 1;
    }
}

int convert(const Conversion& c, const CalcSettings& settings, Prompter& prompter) {
    const auto name = category(c.category);
    if (!name) return 1;
    std::string units[2];
    const std::string_view typed[2] = {c.from, c.to};
    for (int i = 0; i < 2; ++i) {
        const NameMatch match = MatchUnitName(*name, typed[i]);
        if (match.name.empty()) {
            std::cerr << "quorvel-calc: " << NameMatchMessage("unit", typed[i], *name, match)
                      << '\n';
            return 1;
        }
        units[i] = match.name;
    }
    const auto converted =
        ConvertNamedUnits(*name, c.value, units[0], units[1], settings, prompter);
    std::cout << converted.value_or("") << '\n';
    return converted ? 0 : 1;
}

int calculateAll(const Options& options, SysDataHolder* holder, const CalcSettings& settings,
                 StderrPrompter& prompter) {
    LineCalculator calculator(options.steps, holder, settings, prompter, std::cout);
    if (!options.expressions.empty()) {
        for (const std::string& e : options.expressions) calculator.handle(e);
    } else if (!options.files.empty()) {
        for (const fs::path& file : options.files) {
            if (file == "-") {
                CalculateStream(std::cin, calculator, prompter, true, std::cout);
                continue;
            }
            std::ifstream in(file, std::ios::binary);
            if (!in) {
                std::cerr << "quorvel-calc: cannot read " << file.string() << '\n';
                return 1;
            }
            CalculateStream(in, calculator, prompter, true, std::cout);
        }
    } else if (::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO)) {
        return RunTerminal(calculator, QUORVEL_VERSION);
    } else {
        CalculateStream(std::cin, calculator, prompter, !::isatty(STDIN_FILENO), std::cout);
    }
    calculator.endOfInput();
    std::cout.flush();
    return calculator.status();
}

int run(const Options& options) {
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "quorvel-calc " << QUORVEL_VERSION << '\n';
        return 0;
    }
    if (options.speech) return speak(*options.speech);

    std::optional<FolderLock> folderLock;  // held until after the last store
    std::optional<SysDataHolder> holder;
    CalcSettings settings;
    bool dataRead = true;
    if (options.data) {
        FolderLockResult opened = OpenDataFolder(*options.data, DataFolderWait());
        if (!opened.lock) {
            std::cerr << "quorvel-calc: " << opened.error << '\n';
            return 1;
        }
        folderLock = std::move(opened.lock);
        holder.emplace(*options.data);
        dataRead = loadDataFile(*holder, settings);
    }
    applyOverrides(options, settings);

    StderrPrompter prompter(std::cerr);
    const int status = [&] {
        if (options.units) return listUnits(*options.units);
        if (options.batchSource) return runBatch(options, settings, prompter);
        if (options.conversion) return convert(*options.conversion, settings, prompter);
        return calculateAll(options, holder ? &*holder : nullptr, settings, prompter);
    }();
    return dataRead ? status : std::max(status, 1);
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    try {
        const std::vector<std::string_view> arguments(argv + 1, argv + argc);
        return quorvel::run(quorvel::ParseOptions(arguments));
    } catch (const quorvel::UsageError& e) {
        std::cerr << "quorvel-calc: " << e.text << "\nTry 'quorvel-calc --help'.\n";
        return 2;
    }
}
