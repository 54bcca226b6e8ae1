#include "app/terminal.h"

#include <readline/history.h>
#include <readline/readline.h>
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>

#include "app/line_calculator.h"
#include "calc/line_reader.h"
#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/data_folder.h"
#include "speech/shared_library.h"

namespace quorvel {
namespace {

constexpr int kHistoryLines = 1000;
constexpr const char* kPrompt = "quorvel> ";

constexpr std::string_view kTerminalHelp =
    "Type an expression and press Enter: 2*(3+4), sqrt(2), 2pi, last1*3, 1.5E+20*2.\n"
    "(M)=5 sets the parameter M (also F, K, W); 2*x+3=7 solves for x; a number alone is\n"
    "answered in its shown form. Functions: sin cos tan sinh cosh tanh arcsin arccos arctan\n"
    "ln log exp abs sqrt rad deg int; their argument is a number, Pi, Last1..Last5 or a\n"
    "parameter. 5 feet to m converts units; # starts a comment. Up and Down recall earlier\n"
    "lines, Ctrl+C drops the line being typed, and quit, exit or Ctrl+D ends.\n"
    "quorvel-calc --help lists the options.\n";

// GNU readline is opened when a terminal session starts. Linked, it and the terminal library
// under it were the larger part of every start of quorvel-calc, though only this session uses
// them; only their declarations are taken from the headers.
struct Readline {
    decltype(&::history_get) historyGet;
    decltype(&::add_history) addHistory;
    decltype(&::stifle_history) stifleHistory;
    decltype(&::read_history) readHistory;
    decltype(&::write_history) writeHistory;
    decltype(&::rl_free_line_state) freeLineState;
    decltype(&::rl_callback_sigcleanup) callbackSigcleanup;
    decltype(&::rl_replace_line) replaceLine;
    decltype(&::rl_crlf) crlf;
    decltype(&::rl_on_new_line) onNewLine;
    decltype(&::rl_redisplay) redisplay;
    decltype(&::rl_callback_handler_install) callbackHandlerInstall;
    decltype(&::rl_callback_read_char) callbackReadChar;
    decltype(&::rl_callback_handler_remove) callbackHandlerRemove;
    decltype(&::rl_getc) getc;
    decltype(&::rl_variable_bind) variableBind;
    int* historyLength;
    int* historyBase;
    int* catchSignals;
    int* lineEnd;  // the length of the line being typed
    rl_getc_func_t** getcFunction;
};

// Nothing when the library cannot be opened or lacks a name, with the reason in `error`.
const Readline* openReadline(std::string& error) {
    static Readline api{};
    SharedLibrary library(QUORVEL_READLINE_LIBRARY);
    library.bind(api.historyGet, "history_get");
    library.bind(api.addHistory, "add_history");
    library.bind(api.stifleHistory, "stifle_history");
    library.bind(api.readHistory, "read_history");
    library.bind(api.writeHistory, "write_history");
    library.bind(api.freeLineState, "rl_free_line_state");
    library.bind(api.callbackSigcleanup, "rl_callback_sigcleanup");
    library.bind(api.replaceLine, "rl_replace_line");
    library.bind(api.crlf, "rl_crlf");
    library.bind(api.onNewLine, "rl_on_new_line");
    library.bind(api.redisplay, "rl_redisplay");
    library.bind(api.callbackHandlerInstall, "rl_callback_handler_install");
    library.bind(api.callbackReadChar, "rl_callback_read_char");
    library.bind(api.callbackHandlerRemove, "rl_callback_handler_remove");
    library.bind(api.historyLength, "history_length");
    library.bind(api.historyBase, "history_base");
    library.bind(api.catchSignals, "rl_catch_signals");
    library.bind(api.lineEnd, "rl_end");
    library.bind(api.getc, "rl_getc");
    library.bind(api.variableBind, "rl_variable_bind");
    library.bind(api.getcFunction, "rl_getc_function");
    if (library.ok()) return &api;
    error = library.error();
    return nullptr;
}

const Readline* g_readline = nullptr;

// readline's line callback carries no context, so the loop it reports to is kept here for
// the one terminal session a process runs.
struct Session {
    LineCalculator* calculator = nullptr;
    bool done = false;
    bool tooLong = false;  // the line being typed passed the limit and is being dropped
};
Session* g_session = nullptr;
volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }

void rememberLine(const std::string& line) {
    if (line.empty()) return;
    const Readline& rl = *g_readline;
    const HIST_ENTRY* last =
        *rl.historyLength > 0 ? rl.historyGet(*rl.historyBase + *rl.historyLength - 1) : nullptr;
    if (last == nullptr || line != last->line) rl.addHistory(line.c_str());
}

// False for quit and exit.
bool answerLine(const std::string& line, LineCalculator& calculator) {
    const std::string word = ToLower(Trim(std::string_view(line).substr(0, line.find('#'))));
    if (word == "quit" || word == "exit") return false;
    if (word == "help") {
        std::cout << kTerminalHelp;
    } else {
        calculator.handle(line);
    }
    std::cout.flush();
    std::cerr.flush();
    return true;
}

void onLine(char* raw) {
    if (raw == nullptr) {  // Ctrl+D on an empty line
        std::cout << '\n';
        g_session->done = true;
        return;
    }
    const std::string line(raw);
    std::free(raw);
    if (std::exchange(g_session->tooLong, false)) {
        g_session->calculator->refuseTooLong();
        std::cout.flush();
        std::cerr.flush();
        return;
    }
    if (!answerLine(line, *g_session->calculator)) {
        g_session->done = true;
        return;
    }
    rememberLine(line);  // quit and exit are not kept
}

// Every key reaches readline through here, also those it takes in a burst while inserting.
// Once the line being typed is past the limit it is emptied before each further key, so it
// never holds more than the limit; Enter then refuses it.
int boundedGetc(FILE* stream) {
    const Readline& rl = *g_readline;
    if (g_session != nullptr && *rl.lineEnd > 0) {
        if (static_cast<std::size_t>(*rl.lineEnd) > msg::kMaxExpressionLength) {
            g_session->tooLong = true;
        }
        if (g_session->tooLong) rl.replaceLine("", 1);
    }
    return rl.getc(stream);
}

// Ctrl+C drops the line being typed and shows a fresh prompt.
void dropLine() {
    g_interrupted = 0;
    if (g_session != nullptr) g_session->tooLong = false;
    const Readline& rl = *g_readline;
    rl.freeLineState();
    rl.callbackSigcleanup();
    rl.replaceLine("", 0);
    rl.crlf();
    rl.onNewLine();
    rl.redisplay();
}

// Without readline: the same session, without line editing or history.
int runPlain(LineCalculator& calculator) {
    BoundedLineReader reader(std::cin, msg::kMaxExpressionLength);
    for (BoundedLineReader::Line line;;) {
        std::cout << kPrompt << std::flush;
        if (!reader.next(line)) {
            std::cout << '\n';
            break;
        }
        if (line.tooLong) {
            calculator.refuseTooLong();
            std::cout.flush();
            std::cerr.flush();
        } else if (!answerLine(std::string(line.text), calculator)) {
            break;
        }
    }
    return calculator.status();
}

}  // namespace

std::filesystem::path HistoryFile(std::string_view xdgStateHome, std::string_view home) {
    const std::filesystem::path folder = XdgQuorvelFolder(xdgStateHome, home, ".local/state");
    return folder.empty() ? folder : folder / "history";
}

int RunTerminal(LineCalculator& calculator, std::string_view version) {
    std::cerr << "quorvel-calc " << version
              << ": type an expression and press Enter; help for help, quit or Ctrl+D to end.\n";
    std::string error;
    g_readline = openReadline(error);
    if (g_readline == nullptr) {
        std::cerr << "quorvel-calc: no line editing (" << error << ")\n";
        return runPlain(calculator);
    }
    const Readline& rl = *g_readline;
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path history = HistoryFile(state ? state : "", home ? home : "");
    rl.stifleHistory(kHistoryLines);
    if (!history.empty()) rl.readHistory(history.c_str());

    Session session{&calculator};
    g_session = &session;
    *rl.catchSignals = 0;
    struct sigaction interrupt {};
    struct sigaction previous {};
    interrupt.sa_handler = onInterrupt;
    sigemptyset(&interrupt.sa_mask);
    sigaction(SIGINT, &interrupt, &previous);
    // Ctrl+C is let through only while waiting for a key, so it is never missed between the
    // check and the wait.
    sigset_t interruptOnly;
    sigset_t previousMask;
    sigemptyset(&interruptOnly);
    sigaddset(&interruptOnly, SIGINT);
    sigprocmask(SIG_BLOCK, &interruptOnly, &previousMask);
    sigset_t waitMask = previousMask;
    sigdelset(&waitMask, SIGINT);
    *rl.getcFunction = boundedGetc;
    // A paste is then read key by key like typing, through boundedGetc; bracketed, readline
    // would gather all of it first, however long, and its lines are calculated one by one
    // as piped lines are.
    rl.variableBind("enable-bracketed-paste", "off");
    rl.callbackHandlerInstall(kPrompt, onLine);
    while (!session.done) {
        if (g_interrupted) {
            dropLine();
            continue;
        }
        fd_set input;
        FD_ZERO(&input);
        FD_SET(STDIN_FILENO, &input);
        const int ready = pselect(STDIN_FILENO + 1, &input, nullptr, nullptr, nullptr, &waitMask);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        rl.callbackReadChar();
    }
    rl.callbackHandlerRemove();
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGINT, &previous, nullptr);
    g_session = nullptr;

    if (!history.empty()) {
        std::error_code error;
        std::filesystem::create_directories(history.parent_path(), error);
        rl.writeHistory(history.c_str());
    }
    return calculator.status();
}

}  // namespace quorvel
