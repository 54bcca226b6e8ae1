#include "app/single_instance.h"

#include <sys/stat.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

namespace quorvel {
namespace {

constexpr QByteArrayView kActivate = "activate\n";
constexpr QByteArrayView kAnswer = "ok\n";
constexpr int kExchangeMs = 1000;
constexpr std::chrono::milliseconds kRetry{50};

bool exchange(const QString& name) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kExchangeMs)) return false;
    socket.write(kActivate.data(), kActivate.size());
    if (!socket.waitForBytesWritten(kExchangeMs)) return false;
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(kExchangeMs)) return false;
        reply += socket.readAll();
    }
    return reply == kAnswer;
}

// A folder only `uid` may enter: theirs, not a link, no access for group or others.
std::string privateFolderProblem(const std::filesystem::path& folder, uid_t uid) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return folder.string() + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode)) return folder.string() + " is not a folder";
    if (info.st_uid != uid) return folder.string() + " belongs to another user";
    if ((info.st_mode & 077) != 0) return folder.string() + " is open to other users";
    return {};
}

}  // namespace

SocketFolder InstanceSocketFolder(std::string_view runtimeDir, uid_t uid,
                                  const std::filesystem::path& fallbackBase) {
    const std::filesystem::path runtime(runtimeDir);
    if (runtime.is_absolute() && privateFolderProblem(runtime, uid).empty()) return {runtime, {}};
    std::filesystem::path folder = fallbackBase / ("quorvel-" + std::to_string(uid));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return {{}, folder.string() + ": " + std::strerror(errno)};
    }
    if (std::string problem = privateFolderProblem(folder, uid); !problem.empty()) {
        return {{}, std::move(problem)};
    }
    return {std::move(folder), {}};
}

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::wakeRunning(std::chrono::milliseconds patience) const {
    if (m_name.isEmpty()) return false;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (exchange(m_name)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kRetry);
    }
}

bool SingleInstance::listen(QString* error) {
    if (m_name.isEmpty()) {
        if (error != nullptr) *error = QStringLiteral("no private folder for its socket");
        return false;
    }
    if (m_server == nullptr) {
        m_server = new QLocalServer(this);
        // Only this user may wake the window.
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
    }
    QLocalServer::removeServer(m_name);
    if (m_server->listen(m_name)) return true;
    if (error != nullptr) *error = m_server->errorString();
    return false;
}

void SingleInstance::answer() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                // Whatever sends a long line without an end is not a later start.
                if (socket->bytesAvailable() > kActivate.size()) socket->abort();
                return;
            }
            const bool activate = socket->readLine() == kActivate.toByteArray();
            if (!activate) {
                socket->disconnectFromServer();
                return;
            }
            socket->write(kAnswer.data(), kAnswer.size());
            socket->flush();
            socket->disconnectFromServer();
            emit activationRequested();
        });
    }
}

}  // namespace quorvel
