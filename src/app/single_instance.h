#pragma once

// One window per data folder. The window holding the folder's lock listens on a local socket
// named after the folder; a later start that finds the lock taken asks through that socket for
// the running window to come to the front, and ends.

#include <QObject>
#include <QString>
#include <chrono>

class QLocalServer;

namespace quorvel {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks the running window to come to the front, trying again until `patience` has passed
    // (the first start may hold the lock but not listen yet); true once it has answered.
    // Blocks the calling thread: only a start that will not open a window calls it.
    bool wakeRunning(std::chrono::milliseconds patience) const;

    // Listens for later starts. Only the holder of the folder's lock calls it, so a socket that
    // is already there was left by a run that crashed and is removed first.
    bool listen(QString* error = nullptr);

    const QString& serverName() const { return m_name; }

signals:
    void activationRequested();

private:
    void answer();

    QString m_name;
    QLocalServer* m_server = nullptr;
};

}  // namespace quorvel
