// The windowed program's start on a real display (run.sh puts it under Xvfb): from just before
// the process is forked to its first frame on the screen, and its resident memory once the start
// has settled (audio device and recordings included). Every repetition is a new process on
// one data folder that a first, uncounted run has made, as on a user's second day (or, with
// first_start:1, with no data file at all).
//
// BM_MappedBesideSpeedCrunch starts quorvel and SpeedCrunch (a peer calculator, Debian package
// speedcrunch) in alternation and times both the same way, from the fork to the X server's
// MapNotify of their first window, so a busy neighbour on the machine cannot favour either.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// QUORVEL_BENCH_PROGRAM=PATH times another build (a copy of an older one, say).
const char* program() {
    const char* other = std::getenv("QUORVEL_BENCH_PROGRAM");
    return other != nullptr && *other != '\0' ? other : QUORVEL_PROGRAM;
}

struct Probe {
    long long paintedNs = -1;
    long rssKb = -1;
};

Probe readProbe(const fs::path& file) {
    Probe p;
    std::ifstream in(file);
    for (std::string key; in >> key;) {
        if (key == "painted_ns") in >> p.paintedNs;
        if (key == "rss_kb") in >> p.rssKb;
        if (key != "painted_ns" && key != "rss_kb") in.ignore(1 << 20, '\n');
    }
    return p;
}

// Runs quorvel until its probe says the start has settled; false when it failed. The probe's
// end stores nothing, so the data folder stays as it was.
bool startOnce(const fs::path& data, const fs::path& probe, long long& startNs) {
    fs::remove(probe);
    startNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QUORVEL_STARTUP_PROBE", probe.c_str(), 1);
        ::setenv("QUORVEL_PROBE_QUIT", "1", 1);
        ::execl(program(), "quorvel", "--data", data.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// A whole first day: the window opens, settles and is ended as by its Exit button, which
// stores the data file; the next start is a second day.
bool firstDay(const fs::path& data, const fs::path& probe) {
    fs::remove(probe);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QUORVEL_STARTUP_PROBE", probe.c_str(), 1);
        ::execl(program(), "quorvel", "--data", data.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (pid < 0) return false;
    for (int waited = 0; readProbe(probe).rssKb <= 0 && waited < 200; ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid, SIGTERM);
    int status = 0;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
           fs::exists(data / "SysData.dat");
}

// Argument 0: a second day. Argument 1: every start a first one (no data file: the greeting,
// and the tip window over the calculator).
void BM_StartToFirstPaint(benchmark::State& state) {
    const bool firstStart = state.range(0) == 1;
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_bench_start_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path probe = dir / "probe";
    long long startNs = 0;
    if (!(firstStart ? startOnce(dir / "data", probe, startNs) : firstDay(dir / "data", probe))) {
        state.SkipWithError("quorvel did not start (is there a display?)");
        return;
    }
    std::vector<long> rss;
    for (auto _ : state) {
        if (firstStart) fs::remove_all(dir / "data");
        if (!startOnce(dir / "data", probe, startNs)) {
            state.SkipWithError("quorvel failed");
            break;
        }
        const Probe p = readProbe(probe);
        if (p.paintedNs < startNs || p.rssKb <= 0) {
            state.SkipWithError("no probe figures");
            break;
        }
        state.SetIterationTime(static_cast<double>(p.paintedNs - startNs) / 1e9);
        rss.push_back(p.rssKb);
    }
    if (!rss.empty()) {
        std::sort(rss.begin(), rss.end());
        state.counters["rss_MB"] = static_cast<double>(rss[rss.size() / 2]) / 1024.0;
    }
    fs::remove_all(dir);
}
// Targets: under 150 ms to the first frame, under 35 MB resident.
BENCHMARK(BM_StartToFirstPaint)
    ->ArgName("first_start")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

long long nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long residentKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Watches the root window for top-level windows being mapped.
class MapWatch {
public:
    MapWatch() : m_connection(xcb_connect(nullptr, nullptr), xcb_disconnect) {
        if (xcb_connection_has_error(m_connection.get()) != 0) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection.get())).data;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_generic_error_t* error = xcb_request_check(
            m_connection.get(), xcb_change_window_attributes_checked(
                                    m_connection.get(), screen->root, XCB_CW_EVENT_MASK, &mask));
        m_ok = error == nullptr;
        std::free(error);
    }
    bool ok() const { return m_ok; }

    void drain() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection.get())) {
            std::free(event);
        }
    }

    // The time of the next MapNotify, or -1 when none comes within the patience.
    long long nextMapNs(std::chrono::milliseconds patience) {
        const long long deadline = nowNs() + patience.count() * 1'000'000;
        pollfd fd{xcb_get_file_descriptor(m_connection.get()), POLLIN, 0};
        for (;;) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection.get())) {
                const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
                std::free(event);
                if (mapped) return nowNs();
            }
            const long long left = (deadline - nowNs()) / 1'000'000;
            if (left <= 0 || xcb_connection_has_error(m_connection.get()) != 0) return -1;
            ::poll(&fd, 1, static_cast<int>(left));
        }
    }

private:
    std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> m_connection;
    bool m_ok = false;
};

struct Peer {
    const char* name;
    std::vector<std::string> argv;
    std::vector<double> mappedMs;
    std::vector<double> rssMb;
};

// One start: fork, the first window mapped, the settled memory, then SIGTERM (quorvel stores
// and ends as by its Exit button). False when the program did not map a window.
bool startPeer(MapWatch& watch, Peer& peer, const fs::path& home, bool counted) {
    watch.drain();
    const long long startNs = nowNs();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // SpeedCrunch keeps its settings and history under the home folder: a private one.
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home / ".cache").c_str(), 1);
        // Both say why they have no sound device, every start.
        const int null = ::open("/dev/null", O_WRONLY);
        if (null >= 0) ::dup2(null, STDERR_FILENO);
        std::vector<char*> args;
        for (std::string& a : peer.argv) args.push_back(a.data());
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    if (pid < 0) return false;
    const long long mappedNs = watch.nextMapNs(std::chrono::seconds(20));
    // Long enough for quorvel's audio device and for SpeedCrunch's own late work.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    const long rss = residentKb(pid);
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (mappedNs < 0 || rss <= 0) return false;
    if (counted) {
        peer.mappedMs.push_back(static_cast<double>(mappedNs - startNs) / 1e6);
        peer.rssMb.push_back(static_cast<double>(rss) / 1024.0);
    }
    return true;
}

void BM_MappedBesideSpeedCrunch(benchmark::State& state) {
    MapWatch watch;
    if (!watch.ok()) {
        state.SkipWithError("no X display to watch");
        return;
    }
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_bench_peer_" + std::to_string(::getpid()));
    fs::create_directories(dir / "home");
    Peer ours{"quorvel", {program(), "--data", (dir / "data").string()}, {}, {}};
    Peer peer{"speedcrunch", {"speedcrunch"}, {}, {}};
    // A first, uncounted start of each makes its settings, as on a user's second day.
    if (!startPeer(watch, ours, dir / "home", false)) {
        state.SkipWithError("quorvel mapped no window");
        fs::remove_all(dir);
        return;
    }
    if (!startPeer(watch, peer, dir / "home", false)) {
        state.SkipWithError("speedcrunch mapped no window (Debian package speedcrunch)");
        fs::remove_all(dir);
        return;
    }
    const int pairs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < pairs; ++i) {
            // Who goes first changes, so neither always follows the other's exit.
            Peer& first = i % 2 == 0 ? ours : peer;
            Peer& second = i % 2 == 0 ? peer : ours;
            if (!startPeer(watch, first, dir / "home", true) ||
                !startPeer(watch, second, dir / "home", true)) {
                state.SkipWithError("a start mapped no window");
                break;
            }
        }
        state.SetIterationTime(median(ours.mappedMs) / 1e3);
    }
    const double oursMs = median(ours.mappedMs);
    const double peerMs = median(peer.mappedMs);
    state.counters["quorvel_ms"] = oursMs;
    state.counters["speedcrunch_ms"] = peerMs;
    state.counters["ratio"] = peerMs > 0 ? oursMs / peerMs : 0;
    state.counters["quorvel_MB"] = median(ours.rssMb);
    state.counters["speedcrunch_MB"] = median(peer.rssMb);
    fs::remove_all(dir);
}
// Targets: at most half of SpeedCrunch's time to the mapped window, at most 35 MB resident.
BENCHMARK(BM_MappedBesideSpeedCrunch)
    ->Arg(15)
    ->ArgName("pairs")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
