// The batch window over a 100,000-line file: how long the window's event loop can stall while
// the run goes on (longest gap between two ticks of a 1 ms timer; target under 50 ms), and how
// long Stop takes until the run has ended and the window is ready again (target under 100 ms).

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "data/sys_data_holder.h"
#include "dialogs/robot_dlg.h"
#include "ui/hover_button.h"

namespace {

class QuietPrompter : public quorvel::Prompter {
public:
    void showMessage(std::string_view, std::string_view, quorvel::MessageIcon) override {}
    bool askOkCancel(std::string_view, std::string_view) override { return true; }
    void showInputMessage(std::string_view, std::string_view, std::string_view, int) override {}
};

class QuietSpeaker : public quorvel::Speaker {
public:
    bool say(quorvel::SpeechRequest) override { return true; }
    void stop() override {}
    bool isTalking() const override { return false; }
};

struct Fixture {
    Fixture() {
        source = dir.filePath(QStringLiteral("long.txt")).toStdString();
        std::ofstream out(source);
        for (int i = 0; i < 100000; ++i) out << "Row " << i << ": 12*34+" << i << " words\n";
    }
    QTemporaryDir dir;
    std::string source;
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Runs the dialog until its run ends; `stopAfterMs` >= 0 presses Stop that long after Begin.
// Returns the longest tick gap; `stopMs` the time from Stop to the end.
double runDialog(int stopAfterMs, double& stopMs) {
    quorvel::SysDataHolder holder(fixture().dir.path().toStdString());
    QuietPrompter prompter;
    QuietSpeaker speaker;
    quorvel::CRobotDlg dialog(holder, speaker, prompter, false);
    dialog.show();
    dialog.sourceBox()->setText(QString::fromStdString(fixture().source));

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - last > longest && qEnvironmentVariableIsSet("ROBOT_TRACE")) {
            std::fprintf(stderr, "gap %.1f ms ending at %.1f ms\n", (now - last) / 1e6, now / 1e6);
        }
        longest = std::max(longest, now - last);
        last = now;
    });
    QElapsedTimer stopClock;
    QEventLoop loop;
    QObject::connect(&dialog, &quorvel::CRobotDlg::runEnded, [&] {
        if (stopClock.isValid()) stopMs = static_cast<double>(stopClock.nsecsElapsed()) / 1e6;
    });
    QObject::connect(&dialog, &quorvel::CRobotDlg::runFinished, &loop, &QEventLoop::quit);
    if (stopAfterMs >= 0) {
        QTimer::singleShot(stopAfterMs, [&] {
            // A run that ended already would make this click start another one.
            if (dialog.beginButton()->text() != QStringLiteral("Stop")) return;
            stopClock.start();
            dialog.beginButton()->click();
        });
    }
    clock.start();
    ticker.start();
    dialog.beginButton()->click();
    loop.exec();
    return static_cast<double>(longest) / 1e6;
}

void BM_RobotRunLongestTickGap(benchmark::State& state) {
    double worst = 0;
    double unused = 0;
    for (auto _ : state) worst = std::max(worst, runDialog(-1, unused));
    state.counters["longest_gap_ms"] = worst;
}
BENCHMARK(BM_RobotRunLongestTickGap)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RobotStopLatency(benchmark::State& state) {
    double worst = 0;
    for (auto _ : state) {
        double stopMs = -1;
        // Early enough that the run is still going: 100,000 lines take a few hundred ms.
        runDialog(50, stopMs);
        if (stopMs < 0) {
            state.SkipWithError("the run ended before Stop was pressed");
            break;
        }
        worst = std::max(worst, stopMs);
    }
    state.counters["stop_latency_ms"] = worst;
}
BENCHMARK(BM_RobotStopLatency)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same timer beside a thread that only computes, for the stalls the machine alone causes.
void BM_BaselineTickGapBesideABusyThread(benchmark::State& state) {
    double worst = 0;
    for (auto _ : state) {
        std::atomic<bool> done{false};
        std::thread busy([&] {
            QElapsedTimer t;
            t.start();
            volatile double x = 1;
            while (t.elapsed() < 1200) x = x * 1.0000001;
            done = true;
        });
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        qint64 longest = 0;
        while (!done) {
            QEventLoop loop;
            QTimer::singleShot(1, &loop, &QEventLoop::quit);
            loop.exec();
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        }
        busy.join();
        worst = std::max(worst, static_cast<double>(longest) / 1e6);
    }
    state.counters["longest_gap_ms"] = worst;
}
BENCHMARK(BM_BaselineTickGapBesideABusyThread)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
