// The windowed program's start on a real display (run.sh puts it under Xvfb): from just before
// the process is forked to its first frame on the screen, and its resident memory once the start
// has settled (audio device and recordings included). Every repetition is a new process on
// one data folder that a first, uncounted run has made, as on a user's second day.

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

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

// Runs quorvel until its probe says the start has settled; false when it failed.
bool startOnce(const fs::path& data, const fs::path& probe, long long& startNs) {
    fs::remove(probe);
    startNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                  std::chrono::steady_clock::now().time_since_epoch())
                  .count();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QUORVEL_STARTUP_PROBE", probe.c_str(), 1);
        ::setenv("QUORVEL_PROBE_QUIT", "1", 1);
        ::execl(QUORVEL_PROGRAM, "quorvel", "--data", data.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void BM_StartToFirstPaint(benchmark::State& state) {
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_bench_start_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path probe = dir / "probe";
    long long startNs = 0;
    if (!startOnce(dir / "data", probe, startNs)) {
        state.SkipWithError("quorvel did not start (is there a display?)");
        return;
    }
    std::vector<long> rss;
    for (auto _ : state) {
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
// Targets: under 150 ms to the first frame, under 60 MB resident.
BENCHMARK(BM_StartToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
