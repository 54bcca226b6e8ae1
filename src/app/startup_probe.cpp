#include "app/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <utility>

#include "tools/start_up.h"

namespace quorvel {
namespace {

// Long enough for the audio device and the recordings, opened off the window's thread, to be
// counted in the memory figure.
constexpr int kSettleMs = 1000;

}  // namespace

StartupProbe::StartupProbe(QString file, bool quitWhenSettled, QObject* parent)
    : QObject(parent), m_file(std::move(file)), m_quit(quitWhenSettled) {}

void StartupProbe::watch(QWidget* window) {
    if (m_file.isEmpty() || window == nullptr) return;
    m_window = window;
    window->installEventFilter(this);
}

void StartupProbe::note(const QString& line) {
    if (m_file.isEmpty()) return;
    QFile out(m_file);
    if (out.open(QIODevice::Append | QIODevice::Text)) out.write((line + '\n').toUtf8());
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (!m_painted && watched == m_window && event->type() == QEvent::Paint) {
        m_painted = true;
        // Queued behind the paint, so the time is taken once the frame has been flushed.
        QTimer::singleShot(0, this, &StartupProbe::painted);
    }
    return QObject::eventFilter(watched, event);
}

void StartupProbe::painted() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    note(QStringLiteral("painted_ns %1")
             .arg(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    QTimer::singleShot(kSettleMs, this, [this] {
        note(QStringLiteral("rss_kb %1").arg(OwnResidentKilobytes().value_or(-1)));
        // exit, not quit: quit would ask the window to close, and it asks the user first.
        if (m_quit) QCoreApplication::exit(0);
    });
}

}  // namespace quorvel
