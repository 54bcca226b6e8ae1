#include "app/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
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

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_name(std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::wakeRunning(std::chrono::milliseconds patience) const {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (exchange(m_name)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kRetry);
    }
}

bool SingleInstance::listen(QString* error) {
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
