// Load and Store of a data file the size a long-used calculator reaches, on the disk behind
// the temporary directory: BM_Store and BM_Load with 100,000 log lines and 1,000 formulas;
// BM_StoreAfterCalculation/N adds one log line to a log of N lines and stores, as every
// calculation does, with its parts (encoding, the atomic replace) beside it. peak_rss_mb is
// the process's peak so far: run one benchmark per process to read it for that one.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "data/atomic_file.h"
#include "data/sys_data_holder.h"

namespace {

namespace fs = std::filesystem;

std::string logLine(int i) {
    return "2024-05-01 10:" + std::to_string(10 + i % 50) + ":00   " + std::to_string(i) +
           "*3.25+sqrt(2)=" + std::to_string(i * 3.25 + 1.414);
}

quorvel::CSysData bigData(int lines = 100000, int formulas = 1000) {
    quorvel::CSysData d;
    d.log.reserve(static_cast<std::size_t>(lines) + 1000);
    for (int i = 0; i < lines; ++i) d.log.push_back(logLine(i));
    for (int i = 0; i < formulas; ++i) {
        d.formulas.push_back({"add", std::to_string(i) + "+1=" + std::to_string(i + 1), "Demo"});
    }
    return d;
}

double peakRssMb() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct Directory {
    fs::path path = fs::temp_directory_path() / ("quorvel-bench-" + std::to_string(::getpid()));
    Directory() { fs::create_directories(path); }
    ~Directory() { fs::remove_all(path); }
};

void BM_Store(benchmark::State& state) {
    Directory dir;
    quorvel::SysDataHolder holder(dir.path);
    holder.data() = bigData();
    for (auto _ : state) {
        if (holder.Store().code() != 1) state.SkipWithError("store failed");
    }
    state.counters["file_bytes"] = static_cast<double>(fs::file_size(holder.path()));
    state.counters["peak_rss_mb"] = peakRssMb();
}
BENCHMARK(BM_Store)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
    Directory dir;
    quorvel::SysDataHolder writer(dir.path);
    writer.data() = bigData();
    writer.Store();
    quorvel::SysDataHolder holder(dir.path);
    for (auto _ : state) {
        if (holder.Load().outcome != quorvel::LoadOutcome::Read) state.SkipWithError("load failed");
    }
    state.counters["file_bytes"] = static_cast<double>(fs::file_size(holder.path()));
    state.counters["peak_rss_mb"] = peakRssMb();
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// What a calculation costs the window's thread: one more log line, then the whole store.
void BM_StoreAfterCalculation(benchmark::State& state) {
    Directory dir;
    quorvel::SysDataHolder holder(dir.path);
    holder.data() = bigData(static_cast<int>(state.range(0)), 0);
    int next = static_cast<int>(state.range(0));
    for (auto _ : state) {
        holder.data().log.push_back(logLine(next++));
        if (holder.Store().code() != 1) state.SkipWithError("store failed");
    }
    state.counters["file_bytes"] = static_cast<double>(fs::file_size(holder.path()));
    state.counters["peak_rss_mb"] = peakRssMb();
}
BENCHMARK(BM_StoreAfterCalculation)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The encoding alone, no disk.
void BM_Encode(benchmark::State& state) {
    const quorvel::CSysData data = bigData(static_cast<int>(state.range(0)), 0);
    for (auto _ : state) benchmark::DoNotOptimize(quorvel::EncodeSysDataFile(data));
}
BENCHMARK(BM_Encode)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The atomic replace alone: write, flush to disk, rename.
void BM_ReplaceFile(benchmark::State& state) {
    Directory dir;
    const std::string bytes =
        quorvel::EncodeSysDataFile(bigData(static_cast<int>(state.range(0)), 0));
    for (auto _ : state) {
        if (!quorvel::replaceFileAtomically(dir.path / "SysData.dat", bytes).written) {
            state.SkipWithError("replace failed");
        }
    }
}
BENCHMARK(BM_ReplaceFile)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
