#pragma once

// SIGTERM, SIGINT and SIGHUP as a Qt signal: the handler only writes the signal's number to a
// pipe, and a notifier on the window's thread reads it, so the window can store and close as
// its Exit button does instead of dying with its data unstored and its socket left behind.

#include <QObject>

class QSocketNotifier;

namespace quorvel {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    // One at a time: the handlers write to this object's pipe until it is destroyed, which
    // puts the default handlers back. Without a pipe the signals end the program as before.
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

signals:
    void received(int signal);

private:
    void drain();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace quorvel
