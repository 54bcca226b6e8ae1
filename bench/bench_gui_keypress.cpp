// A key press in the input box until the box is repainted on the screen (run.sh puts it under
// Xvfb): the key goes through the real window, its controller and the spoken-key request,
// and the time ends once the event loop has painted the box and flushed the frame.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <memory>

#include "app/launch.h"
#include "speech/word_player.h"
#include "ui/filter_edit.h"
#include "window/main_window.h"

namespace {

using namespace quorvel;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void BM_KeyPressToRepaint(benchmark::State& state) {
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_bench_key_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    LaunchEnvironment env;
    env.defaultFolder = dir;
    env.uid = ::getuid();
    env.player = [] { return std::make_unique<PlanRecorder>(); };
    auto launch = std::make_unique<Launch>(StartOptions{}, env);
    const auto status = launch->open([](const WindowRequest& r) {
        MainWindow::Options options;
        options.firstRun = false;
        options.trayIcon = false;
        return std::make_unique<MainWindow>(r.style, r.data, r.speaker, options);
    });
    if (status) {
        state.SkipWithError("the window did not open");
        return;
    }
    auto* window = static_cast<MainWindow*>(launch->window());
    launch->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        state.SkipWithError("the window was never exposed");
        return;
    }
    CFilterEdit* box = window->input();
    box->setFocus();
    PaintWatch watch;
    box->viewport()->installEventFilter(&watch);
    QApplication::processEvents();

    int typed = 0;
    for (auto _ : state) {
        if (++typed % 50 == 0) box->clear();  // keep the box one line long
        QApplication::processEvents();
        watch.painted = false;
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"));
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
        const auto deadline = start + std::chrono::seconds(2);
        while (!watch.painted && Clock::now() < deadline) QApplication::processEvents();
        const auto end = Clock::now();
        if (!watch.painted) {
            state.SkipWithError("the box was not repainted");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (!box->toPlainText().endsWith(QLatin1Char('7'))) {
            state.SkipWithError("the key did not reach the box");
            break;
        }
    }
    launch.reset();
    fs::remove_all(dir);
}
// Target: under 16 ms, one frame.
BENCHMARK(BM_KeyPressToRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
