// Load and Store of a data file the size a long-used calculator reaches: 100,000 log lines
// and 1,000 formulas, on the disk behind the temporary directory.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "data/sys_data_holder.h"

namespace {

namespace fs = std::filesystem;

quorvel::CSysData bigData() {
    quorvel::CSysData d;
    for (int i = 0; i < 100000; ++i) {
        d.log.push_back("2024-05-01 10:" + std::to_string(10 + i % 50) + ":00   " +
                        std::to_string(i) + "*3.25+sqrt(2)=" + std::to_string(i * 3.25 + 1.414));
    }
    for (int i = 0; i < 1000; ++i) {
        d.formulas.push_back({"add", std::to_string(i) + "+1=" + std::to_string(i + 1), "Demo"});
    }
    return d;
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
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

}  // namespace
