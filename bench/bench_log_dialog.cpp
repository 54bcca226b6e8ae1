// Opening the log manager on a log of 100,000 lines: the dialog is built, shown and painted
// once. The target is under 300 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <filesystem>

#include "data/sys_data_holder.h"
#include "dialogs/log_dlg.h"
// The screenshot programs' quiet doubles; the dialog only opens here, so nothing is said or asked.
#include "../tests/support/recording_prompter.h"
#include "../tests/support/silent_speaker.h"

namespace {

void BM_OpenLogManager(benchmark::State& state) {
    quorvel::SysDataHolder holder(std::filesystem::temp_directory_path());
    auto& log = holder.data().log;
    for (int i = 0; i < state.range(0); ++i) {
        log.push_back("2026-03-07 09:05   " + std::to_string(i) +
                      "*12+7=" + std::to_string(i * 12 + 7));
    }
    quorvel::testing::SilentSpeaker speaker;
    quorvel::testing::RecordingPrompter prompter;
    prompter.answer = false;
    for (auto _ : state) {
        quorvel::CLogDlg dialog(holder, speaker, prompter);
        dialog.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.list()->grab());
    }
}
BENCHMARK(BM_OpenLogManager)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
