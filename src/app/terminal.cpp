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

#include "app/line_calculator.h"
#include "calc/text_util.h"
#include "data/data_folder.h"

namespace quorvel {
namespace {

constexpr int kHistoryLines = 1000;
constexpr const char* kPrompt = "quorvel> ";

constexpr std::string_view kTerminalHelp =
    "Type an expression and press Enter: 2*(3+4), sqrt(2), 2pi, last1*3, 1.5E+20*2.\n"
    "(M)=5 sets the parameter M (also F, K, W); 2*x+3=7 solves for x; a number alone is\n"
    "answered in its shown form. Functions: sin cos tan sinh cosh tanh arcsin arccos arctan\n"
    "ln log exp abs sqrt rad deg int; their argument is a number, Pi, Last1..Last5 or a\n"
    "parameter. Up and Down recall earlier lines, Ctrl+C drops the line being typed, and\n"
    "quit, exit or Ctrl+D ends. quorvel-calc --help lists the options.\n";

// readline's line callback carries no context, so the loop it reports to is kept here for
// the one terminal session a process runs.
struct Session {
    LineCalculator* calculator = nullptr;
    bool done = false;
};
Session* g_session = nullptr;
volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }

void rememberLine(const std::string& line) {
    if (line.empty()) return;
    const HIST_ENTRY* last =
        history_length > 0 ? history_get(history_base + history_length - 1) : nullptr;
    if (last == nullptr || line != last->line) add_history(line.c_str());
}

void onLine(char* raw) {
    if (raw == nullptr) {  // Ctrl+D on an empty line
        std::cout << '\n';
        g_session->done = true;
        return;
    }
    const std::string line(raw);
    std::free(raw);
    const std::string word = ToLower(Trim(line));
    if (word == "quit" || word == "exit") {
        g_session->done = true;
        return;
    }
    rememberLine(line);
    if (word == "help") {
        std::cout << kTerminalHelp;
    } else {
        g_session->calculator->handle(line);
    }
    std::cout.flush();
    std::cerr.flush();
}

// Ctrl+C drops the line being typed and shows a fresh prompt.
void dropLine() {
    g_interrupted = 0;
    rl_free_line_state();
    rl_callback_sigcleanup();
    rl_replace_line("", 0);
    rl_crlf();
    rl_on_new_line();
    rl_redisplay();
}

}  // namespace

std::filesystem::path HistoryFile(std::string_view xdgStateHome, std::string_view home) {
    const std::filesystem::path folder = XdgQuorvelFolder(xdgStateHome, home, ".local/state");
    return folder.empty() ? folder : folder / "history";
}

int RunTerminal(LineCalculator& calculator, std::string_view version) {
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path history = HistoryFile(state ? state : "", home ? home : "");
    stifle_history(kHistoryLines);
    if (!history.empty()) read_history(history.c_str());

    std::cerr << "quorvel-calc " << version
              << ": type an expression and press Enter; help for help, quit or Ctrl+D to end.\n";

    Session session{&calculator};
    g_session = &session;
    rl_catch_signals = 0;
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
    rl_callback_handler_install(kPrompt, onLine);
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
        rl_callback_read_char();
    }
    rl_callback_handler_remove();
    sigprocmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGINT, &previous, nullptr);
    g_session = nullptr;

    if (!history.empty()) {
        std::error_code error;
        std::filesystem::create_directories(history.parent_path(), error);
        write_history(history.c_str());
    }
    return calculator.status();
}

}  // namespace quorvel
