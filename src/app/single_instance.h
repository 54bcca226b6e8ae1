#pragma once

// One window per data folder. The window holding the folder's lock listens on a local socket
// named after the folder; a later start that finds the lock taken asks through that socket for
// the running window to come to the front, and ends.

#include <sys/types.h>

#include <QObject>
#include <QString>
#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/file_handle.h"

class QSocketNotifier;

namespace quorvel {

struct SocketFolder {
    std::filesystem::path path;  // empty when there is no safe place
    std::string error;           // why not; empty when there is
};

// Where the window's socket lives, out of the reach of other users: `runtimeDir`
// ($XDG_RUNTIME_DIR) when it is an absolute folder of `uid`'s own that nobody else may
// enter; otherwise `fallbackBase`/quorvel-UID, made with mode 0700 when missing and used only
// while it is that user's own private folder, not a link.
SocketFolder InstanceSocketFolder(std::string_view runtimeDir, uid_t uid,
                                  const std::filesystem::path& fallbackBase);

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `serverName`: the socket's full path; empty when there is no place for one, and then
    // nothing is woken nor listened for.
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Asks the running window to come to the front, trying again until `patience` has passed
    // (the first start may hold the lock but not listen yet); true once it has answered.
    // Blocks the calling thread: only a start that will not open a window calls it.
    bool wakeRunning(std::chrono::milliseconds patience) const;

    // Listens for later starts. Only the holder of the folder's lock calls it, so a socket that
    // is already there was left by a run that crashed and is removed first. A bare name is
    // taken in the temporary folder.
    bool listen(QString* error = nullptr);

    const QString& serverName() const { return m_name; }

signals:
    void activationRequested();

private:
    class Caller;

    void answer();
    void stopListening();

    QString m_name;
    std::string m_path;  // the socket file while listening
    FileDescriptor m_listener;
    QSocketNotifier* m_calls = nullptr;
};

}  // namespace quorvel
