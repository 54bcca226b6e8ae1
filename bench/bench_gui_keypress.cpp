// A key press in the input box until the box is repainted on the screen (run.sh puts it under
// Xvfb): the key goes through the real window, its controller and the spoken-key request,
// and the time ends once the event loop has painted the box and flushed the frame. A zoom key
// (Ctrl+plus, Ctrl+minus) is timed the same way, until the whole window is repainted at its
// new size.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>

#include "app/launch.h"
#include "speech/word_player.h"
#include "tools/style_code.h"
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

// A window of `style` on a fresh data folder, shown and exposed; null when it did not open.
std::unique_ptr<Launch> openWindow(const fs::path& dir, WindowStyle style) {
    fs::remove_all(dir);
    LaunchEnvironment env;
    env.defaultFolder = dir;
    env.uid = ::getuid();
    env.player = [] { return std::make_unique<PlanRecorder>(); };
    StartOptions start;
    start.style = static_cast<int>(style);
    auto launch = std::make_unique<Launch>(start, env);
    const auto status = launch->open([](const WindowRequest& r) {
        MainWindow::Options options;
        options.firstRun = false;
        options.trayIcon = false;
        return std::make_unique<MainWindow>(r.style, r.data, r.speaker, options);
    });
    if (status) return nullptr;
    launch->show();
    if (!QTest::qWaitForWindowExposed(launch->window())) return nullptr;
    return launch;
}

void BM_KeyPressToRepaint(benchmark::State& state) {
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_bench_key_" + std::to_string(::getpid()));
    std::unique_ptr<Launch> launch = openWindow(dir, WindowStyle::Standard);
    if (!launch) {
        state.SkipWithError("the window did not open or was never exposed");
        return;
    }
    auto* window = static_cast<MainWindow*>(launch->window());
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

// Ctrl+plus from 100 to 300 %, then Ctrl+minus back, over and over. Argument 0: the style
// (0 standard, 1 contrast). Argument 1: 1 waits until the steps next to the zoom are painted
// ahead, as between a user's key presses; 0 presses at once, so a step may find nothing ready.
void BM_ZoomStepToRepaint(benchmark::State& state) {
    const bool contrast = state.range(0) == 1;
    const bool waitAhead = state.range(1) == 1;
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel_bench_zoom_" + std::to_string(::getpid()));
    std::unique_ptr<Launch> launch =
        openWindow(dir, contrast ? WindowStyle::Contrast : WindowStyle::Standard);
    if (!launch) {
        state.SkipWithError("the window did not open or was never exposed");
        return;
    }
    auto* window = static_cast<MainWindow*>(launch->window());
    PaintWatch watch;
    window->installEventFilter(&watch);
    // The zoom keys are the window's shortcuts: they work while it is the active window.
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
        state.SkipWithError("the window never became active");
        return;
    }
    // The steps next to 100 % are painted ahead once the start is over.
    QTest::qWait(1600);

    double worstMs = 0;
    bool in = true;
    for (auto _ : state) {
        if (window->zoom() == kZoomMax) in = false;
        if (window->zoom() == kZoomDefault) in = true;
        const auto ready = Clock::now() + std::chrono::seconds(5);
        while (waitAhead && !window->zoomStepsReady() && Clock::now() < ready) QTest::qWait(5);
        QApplication::processEvents();
        watch.painted = false;
        const int from = window->zoom();
        const auto start = Clock::now();
        QTest::keyClick(window->input(), in ? Qt::Key_Plus : Qt::Key_Minus, Qt::ControlModifier);
        const auto deadline = start + std::chrono::seconds(2);
        while (!watch.painted && Clock::now() < deadline) QApplication::processEvents();
        const auto end = Clock::now();
        if (!watch.painted || window->zoom() == from) {
            state.SkipWithError("the zoom key did not repaint the window");
            break;
        }
        const double seconds = std::chrono::duration<double>(end - start).count();
        worstMs = std::max(worstMs, seconds * 1e3);
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worstMs;
    launch.reset();
    fs::remove_all(dir);
}
// Target: every step under 16.7 ms, one frame.
BENCHMARK(BM_ZoomStepToRepaint)
    ->ArgNames({"contrast", "painted_ahead"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(28)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
