#pragma once

// What the start-up benchmark and the program's own tests read of a run, written to the file
// QUORVEL_STARTUP_PROBE names: "painted_ns N" once the window's first paint is on the screen
// (steady clock, which every process shares), "rss_kb N" once the start has settled, and
// "activated" for every later start that woke the window. With QUORVEL_PROBE_QUIT=1 the program
// ends after the memory figure.

#include <QObject>
#include <QString>

class QWidget;

namespace quorvel {

class StartupProbe : public QObject {
    Q_OBJECT
public:
    // Nothing is written when `file` is empty.
    StartupProbe(QString file, bool quitWhenSettled, QObject* parent = nullptr);

    void watch(QWidget* window);
    void note(const QString& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void painted();

    QString m_file;
    bool m_quit;
    QWidget* m_window = nullptr;
    bool m_painted = false;
};

}  // namespace quorvel
