// A key press in the input box until the box is repainted on the screen (run.sh puts it under
// Xvfb): the key goes through the real window, its controller and the spoken-key request,
// and the time ends once the event loop has painted the box and flushed the frame. The same
// for Enter on a typed expression: calculated, logged, stored, announced and painted. A zoom
// key (Ctrl+plus, Ctrl+minus) is timed the same way, until the whole window is repainted at
// its new size.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "app/heap_reuse.h"
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

// The real window of `style` on a fresh data folder, shown and exposed, its box focused and
// watched.
class OpenWindow {
public:
    explicit OpenWindow(WindowStyle style = WindowStyle::Standard)
        : m_dir(fs::temp_directory_path() / ("quorvel_bench_key_" + std::to_string(::getpid()))) {
        fs::remove_all(m_dir);
        LaunchEnvironment env;
        env.defaultFolder = m_dir;
        env.uid = ::getuid();
        env.player = [] { return std::make_unique<PlanRecorder>(); };
        StartOptions start;
        start.style = static_cast<int>(style);
        m_launch = std::make_unique<Launch>(start, env);
        const auto status = m_launch->open([](const WindowRequest& r) {
            MainWindow::Options options;
            options.firstRun = false;
            options.trayIcon = false;
            return std::make_unique<MainWindow>(r.style, r.data, r.speaker, options);
        });
        if (status) {
            error = "the window did not open";
            return;
        }
        window = static_cast<MainWindow*>(m_launch->window());
        m_launch->show();
        if (!QTest::qWaitForWindowExposed(window)) {
            error = "the window was never exposed";
            return;
        }
        box = window->input();
        box->setFocus();
        box->viewport()->installEventFilter(&watch);
        QApplication::processEvents();
    }
    ~OpenWindow() {
        m_launch.reset();
        fs::remove_all(m_dir);
    }

    // Sends the key and runs the event loop until the box has been painted; the seconds it
    // took, or a negative number when no paint came.
    double pressUntilPainted(Qt::Key key, const QString& text) {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
        watch.painted = false;
        const auto start = Clock::now();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(box, &press);
        QApplication::sendEvent(box, &release);
        const auto deadline = start + std::chrono::seconds(2);
        while (!watch.painted && Clock::now() < deadline) QApplication::processEvents();
        const auto end = Clock::now();
        if (!watch.painted) return -1;
        return std::chrono::duration<double>(end - start).count();
    }

    const char* error = nullptr;
    MainWindow* window = nullptr;
    CFilterEdit* box = nullptr;
    PaintWatch watch;

private:
    fs::path m_dir;
    std::unique_ptr<Launch> m_launch;
};

void BM_KeyPressToRepaint(benchmark::State& state) {
    OpenWindow w;
    if (w.error) {
        state.SkipWithError(w.error);
        return;
    }
    CFilterEdit* box = w.box;

    int typed = 0;
    for (auto _ : state) {
        if (++typed % 50 == 0) box->clear();  // keep the box one line long
        const double seconds = w.pressUntilPainted(Qt::Key_7, QStringLiteral("7"));
        if (seconds < 0) {
            state.SkipWithError("the box was not repainted");
            break;
        }
        state.SetIterationTime(seconds);
        if (!box->toPlainText().endsWith(QLatin1Char('7'))) {
            state.SkipWithError("the key did not reach the box");
            break;
        }
    }
}
// Target: under 16 ms, one frame.
BENCHMARK(BM_KeyPressToRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(200)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A sum, bracketed decimals, a line of about 1,000 characters (142 operators outside the
// brackets) and one of about 3,900 (1.6 MB of steps), each typed as the box holds it.
std::string calculatedExpression(int which) {
    switch (which) {
        case 0:
            return "2+3";
        case 1:
            return "(1.25+3.75)*(0.5-2.125)/7+12345.678*0.001";
        case 2: {
            std::string line;
            for (int i = 0; i < 71; ++i) line += "(12.5+7.25)*3-";
            return line + "1";
        }
        default: {
            // Near the line limit; the groups keep each bracket under the operator limit.
            std::string group = "(";
            for (int i = 0; i < 10; ++i) group += "(12.5+7.25)*3-";
            group += "1)";
            std::string line = group;
            for (int i = 1; i < 27; ++i) line += "+" + group;
            return line;
        }
    }
}

// Enter on a typed expression until its steps and result are painted in the box.
void BM_CalculationToShownResult(benchmark::State& state) {
    OpenWindow w;
    if (w.error) {
        state.SkipWithError(w.error);
        return;
    }
    const QString expression = QString::fromStdString(calculatedExpression(state.range(0)));
    state.SetLabel(std::to_string(expression.size()) + " characters");
    for (auto _ : state) {
        // As typed: a box that is not showing a result, the caret at the end.
        w.box->setFreshInput(false);
        w.box->setPlainText(expression);
        w.box->moveCursor(QTextCursor::End);
        const double seconds = w.pressUntilPainted(Qt::Key_Return, QStringLiteral("\r"));
        if (seconds < 0) {
            state.SkipWithError("the box was not repainted");
            break;
        }
        state.SetIterationTime(seconds);
        const QString shown = w.box->toPlainText();
        if (!shown.startsWith(expression) || !shown.contains(QLatin1String("\n="))) {
            state.SkipWithError("the result was not shown");
            break;
        }
    }
}
// Target: under 16 ms, one frame.
BENCHMARK(BM_CalculationToShownResult)
    ->DenseRange(0, 3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Ctrl+plus from 100 to 300 %, then Ctrl+minus back, over and over. Argument 0: the style
// (0 standard, 1 contrast). Argument 1: 1 waits until the steps next to the zoom are painted
// ahead, as between a user's key presses; 0 presses at once, so a step may find nothing ready.
void BM_ZoomStepToRepaint(benchmark::State& state) {
    const bool contrast = state.range(0) == 1;
    const bool waitAhead = state.range(1) == 1;
    OpenWindow w(contrast ? WindowStyle::Contrast : WindowStyle::Standard);
    if (w.error) {
        state.SkipWithError(w.error);
        return;
    }
    MainWindow* window = w.window;
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
    quorvel::KeepFreedBuffersForReuse();  // as the program does
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
