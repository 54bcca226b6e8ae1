#include "app/calc_options.h"

#include <charconv>
#include <utility>

#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "speech/wording.h"

namespace quorvel {

const std::string_view kUsage = R"(Usage: quorvel-calc [OPTIONS] [EXPRESSION ...]
       quorvel-calc [OPTIONS] -f FILE
       quorvel-calc [OPTIONS] -

Calculates each EXPRESSION, each line of FILE, or each line of standard input ("-" reads it
too), and prints one answer line for each: the result, or an empty line when the calculation
failed (the reason goes to standard error). Typed at a terminal it offers a prompt with line editing and history
(Up and Down); type help for help, and quit, exit or Ctrl+D to end; Ctrl+C drops the line.

Expressions:
  + - * / ^ and brackets; implicit multiplication (2pi, 3(4+5)); numbers in E form (1.5E+20).
  Functions: sin cos tan sinh cosh tanh arcsin arccos arctan ln log exp abs sqrt rad deg int.
  A function's argument is a number, Pi, a recent result or a parameter: sqrt(2+2) is refused
  by design; calculate 2+2 first, then sqrt(last1). Powers and functions carry 12 fraction
  digits, or all decimal places with --precise.
  Last1 .. Last5 are the five most recent results. F, K, M and W are parameters (each 1 until
  set): (M)=5 sets M, and 3*M then gives 15. An equation in x is solved: 2*x+3=7 gives 2.
  A plain number is answered with its shown form: 1.50 gives 1.5.
  A "#" and what follows it on the line is a comment; a line that is all comment gets an
  empty answer line.
  A line "VALUE UNIT to UNIT" (or "in", "->") converts with the unit table: 5 feet to m gives
  1.524; units are named as --convert takes them.
  A line may hold at most 4000 characters, blanks included; a longer one is refused (an empty
  answer line) without being read into memory, and the lines after it are calculated.

Options:
  --places P            decimal places of results, 0 to 10000 (default 30)
  --digits N            integer digits beyond which results are shown in E form, 1 to 10000
                        (default 10)
  --degrees, --radians  angle unit of the trigonometric functions (default radians)
  --steps               print every reduction step, then an empty line
  --precise             functions and non-integer powers to all decimal places, not 12
  -f, --file FILE       calculate the lines of FILE (may be given more than once); "-" is
                        standard input
  --data DIR            read settings, parameters and Pi from DIR/SysData.dat and store log
                        lines back into it; DIR is created when missing, and a run waits up
                        to 5 s for another program using DIR to finish
  --words COMMAND TEXT  print the word files that speaking TEXT would play
  --speak COMMAND TEXT  speak TEXT through the audio device
  --speak-to FILE.wav COMMAND TEXT
                        write the spoken TEXT to a WAV file
                        COMMAND and its TEXT: key 7; input 2+3; result 5;
                        inputresult "2+2----4"; msg welcome (or help, calculate, minimize,
                        talkinput, talkresult, talkinout, paste, function, log, setting, test,
                        exit, copy); expr "1:2+2=4|" (a repeat count from 1 to 50, then items
                        each ended by |). TEXT holds at most 4000 characters and may say at
                        most 10000 words and 1000 pauses.
  --units [CATEGORY]    list the unit categories, or the units of one, name<TAB>factor a line
  --convert CATEGORY VALUE FROM TO
                        convert VALUE from unit FROM to unit TO; a unit may be named without
                        case, by its abbreviation (m/s, kg) or a usual one (ft, in, yd, mi,
                        km, cm, lb, oz, g, kph, mph, l, ml, degC, degF), in the plural (feet,
                        inches), with -er for -re (meter) or by the start of its name (foot
                        for foot(UK and US))
  --batch SOURCE [--mode MODE] [--output RESULT] [--e-notation]
                        calculate the expressions found in a text file and write the result
                        file (MODE: addresult (default), replaceresult, addsteps, genfilter,
                        detailfilter; RESULT: beside SOURCE with ".rob"); prints the log lines,
                        and on standard error the failures and a summary
  -h, --help            print this help
  -V, --version         print the version
An option's value may also follow an equals sign: --places=5. Any other argument that starts
with "-" and a letter is an unknown option; after -- every argument is an expression.

Standard error: command-line errors start with "quorvel-calc:"; a calculation's message
starts with its title ("Quorvel Warning Message: ..."), behind "Line N: " when the
expressions come from a file or a pipe.
Exit status: 0 all calculated, 1 a calculation failed, a line had nothing to calculate, or
the expressions, files or piped input held no line to calculate (empty input, blank lines
only), 2 bad command line (a speech TEXT past its bounds included).
)";

namespace {

// The command line after the program name. "--name=value" is read as "--name" "value"; the
// value must then be taken by the option.
class Arguments {
public:
    explicit Arguments(const std::vector<std::string_view>& args) : m_args(args) {}

    bool done() const { return !m_inline && m_next >= m_args.size(); }
    std::string_view next() {
        std::string_view a = m_args[m_next++];
        const auto equals = a.find('=');
        if (a.starts_with("--") && equals != std::string_view::npos) {
            m_inline = a.substr(equals + 1);
            a = a.substr(0, equals);
        }
        return a;
    }
    // The value that must follow `option`.
    std::string take(std::string_view option) {
        if (m_inline) return std::string(*std::exchange(m_inline, std::nullopt));
        if (m_next >= m_args.size()) throw UsageError{std::string(option) + " needs a value"};
        return std::string(m_args[m_next++]);
    }
    // A value that may follow `option`: the next argument unless it is another option.
    std::optional<std::string> takeOptional() {
        if (m_inline) return std::string(*std::exchange(m_inline, std::nullopt));
        if (m_next >= m_args.size() || m_args[m_next].starts_with("-")) return std::nullopt;
        return std::string(m_args[m_next++]);
    }
    // After an option that takes no value.
    void noValue(std::string_view option) {
        if (m_inline) throw UsageError{std::string(option) + " takes no value"};
    }

private:
    const std::vector<std::string_view>& m_args;
    std::size_t m_next = 0;
    std::optional<std::string_view> m_inline;
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

bool parseSwitch(std::string_view a, Arguments& args, Options& o) {
    if (a == "--degrees") {
        o.angle = AngleUnit::Degrees;
    } else if (a == "--radians") {
        o.angle = AngleUnit::Radians;
    } else if (a == "--steps") {
        o.steps = true;
    } else if (a == "--e-notation") {
        o.eNotation = true;
    } else if (a == "--help" || a == "-h") {
        o.help = true;
    } else if (a == "--version" || a == "-V") {
        o.version = true;
    } else if (a == "--precise") {
        o.precise = true;
    } else {
        return false;
    }
    args.noValue(a);
    return true;
}

bool parseCalcOption(std::string_view a, Arguments& args, Options& o) {
    if (a == "--places") {
        o.places = parseNumber(a, args.take(a), kPlacesRange);
    } else if (a == "--digits") {
        o.digits = parseNumber(a, args.take(a), kDigitsLimitRange);
    } else if (a == "--data") {
        o.data = std::filesystem::path(args.take(a));
    } else if (a == "--file" || a == "-f") {
        o.files.emplace_back(args.take(a));
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
    if (s.mode == Speech::Mode::SpeakTo) s.file = std::filesystem::path(args.take(a));
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
    if (ToLower(s.command) == "msg" && !isButtonWord(s.text)) {
        std::string known;
        for (std::string_view name : buttonWordNames())
            known += (known.empty() ? "" : ", ") + std::string(name);
        throw UsageError{"unknown message " + s.text + " (" + known + ")"};
    }
    // The window cuts such a request short; here it is refused before anything is spoken.
    RequestCut cut = RequestCut::None;
    makeWordPlan(s.command, s.text, &cut);
    switch (cut) {
        case RequestCut::None:
            break;
        case RequestCut::RepeatCount:
            throw UsageError{"the repeat count of an expr text may be at most " +
                             std::to_string(kMaxRepeatCount)};
        case RequestCut::Words:
            throw UsageError{"the text to speak says more than " +
                             std::to_string(kMaxRequestWords) + " words"};
        case RequestCut::Pauses:
            throw UsageError{"the text to speak pauses more than " +
                             std::to_string(kMaxRequestPauses) + " times"};
    }
    return s;
}

bool parseToolOption(std::string_view a, Arguments& args, Options& o) {
    if (a == "--words" || a == "--speak" || a == "--speak-to") {
        o.speech = parseSpeech(a, args);
    } else if (a == "--units") {
        o.units = args.takeOptional().value_or("");
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
    } else {
        return false;
    }
    return true;
}

// One thing at a time: a tool option takes no expressions and no other tool option.
void checkCombination(const Options& o) {
    const std::pair<bool, const char*> tools[] = {{o.speech.has_value(), "a speech option"},
                                                  {o.units.has_value(), "--units"},
                                                  {o.conversion.has_value(), "--convert"},
                                                  {o.batchSource.has_value(), "--batch"}};
    const char* tool = nullptr;
    for (const auto& [given, name] : tools) {
        if (!given) continue;
        if (tool) throw UsageError{std::string(tool) + " and " + name + " cannot be combined"};
        tool = name;
    }
    if ((o.batchMode || o.batchOutput || o.eNotation) && !o.batchSource) {
        throw UsageError{"--mode, --output and --e-notation go with --batch"};
    }
    if (tool && !o.expressions.empty()) {
        throw UsageError{"unexpected argument " + o.expressions.front() + " after " + tool};
    }
    if (tool && !o.files.empty()) throw UsageError{std::string(tool) + " reads no --file"};
    if (!o.files.empty() && !o.expressions.empty()) {
        throw UsageError{"give expressions or --file, not both (unexpected argument " +
                         o.expressions.front() + ")"};
    }
}

// Negative numbers such as -5, -2*3 or -pi are expressions; a dash and letters alone, such as
// -h or -l, is an option, known or not, and "-" names standard input.
bool isOption(std::string_view a) {
    if (a.starts_with("--") || a == "-") return true;
    if (a.size() < 2 || a[0] != '-') return false;
    for (char c : a.substr(1)) {
        if ((c < 'a' || c > 'z') && (c < 'A' || c > 'Z')) return false;
    }
    return ToLower(a.substr(1)) != "pi";
}

}  // namespace

Options ParseOptions(const std::vector<std::string_view>& arguments) {
    Options o;
    Arguments args(arguments);
    bool onlyExpressions = false;
    while (!args.done()) {
        const std::string_view a = args.next();
        if (onlyExpressions || !isOption(a)) {
            o.expressions.emplace_back(a);
        } else if (a == "-") {
            o.files.emplace_back(a);
        } else if (a == "--") {
            onlyExpressions = true;
        } else if (!parseSwitch(a, args, o) && !parseCalcOption(a, args, o) &&
                   !parseToolOption(a, args, o)) {
            throw UsageError{"unknown option " + std::string(a)};
        }
    }
    if (o.help || o.version) return o;
    checkCombination(o);
    return o;
}

}  // namespace quorvel
