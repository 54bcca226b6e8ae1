#include "app/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

namespace quorvel {
namespace {

constexpr std::string_view kActivate = "activate\n";
constexpr std::string_view kAnswer = "ok\n";
constexpr std::chrono::milliseconds kExchange{1000};
constexpr std::chrono::milliseconds kRetry{50};
using Clock = std::chrono::steady_clock;

// A bare name lives in the temporary folder, as a local server's name does.
std::optional<sockaddr_un> socketAddress(const QString& name) {
    const QByteArray path =
        QFile::encodeName(QDir::isAbsolutePath(name) ? name : QDir::temp().filePath(name));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) {
        return std::nullopt;
    }
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    return address;
}

// Until `events` can be done on `fd` or `deadline` has passed.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd entry{fd, events, 0};
        const int n = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (n > 0) return true;
        if (n < 0 && errno != EINTR) return false;
    }
}

bool exchange(const QString& name) {
    const auto address = socketAddress(name);
    if (!address) return false;
    const FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket) return false;
    // A local connection is made at once or refused; a full queue counts as no answer yet.
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) !=
        0) {
        return false;
    }
    const auto deadline = Clock::now() + kExchange;
    std::string_view unsent = kActivate;
    while (!unsent.empty()) {
        if (!waitFor(socket.get(), POLLOUT, deadline)) return false;
        const ssize_t n = ::send(socket.get(), unsent.data(), unsent.size(), MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (n > 0) unsent.remove_prefix(static_cast<std::size_t>(n));
    }
    std::string reply;
    while (reply.find('\n') == std::string::npos && reply.size() <= kAnswer.size()) {
        if (!waitFor(socket.get(), POLLIN, deadline)) return false;
        char buffer[16];
        const ssize_t n = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (n == 0) return false;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
        if (n > 0) reply.append(buffer, static_cast<std::size_t>(n));
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

QString systemError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

// One later start on the line: it has a second to say its word, then the window hangs up.
class SingleInstance::Caller : public QObject {
public:
    Caller(int fd, SingleInstance& instance)
        : QObject(&instance),
          m_fd(fd),
          m_readable(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        connect(m_readable, &QSocketNotifier::activated, this, [this, &instance] {
            if (read()) emit instance.activationRequested();
        });
        QTimer::singleShot(kExchange, this, [this] { deleteLater(); });
    }
    // The notifier goes before its descriptor is closed.
    ~Caller() override { delete m_readable; }

private:
    // True when the caller asked to wake the window; it has its answer then.
    bool read() {
        char buffer[64];
        const ssize_t n = ::recv(m_fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return false;
        if (n > 0) m_heard.append(buffer, static_cast<std::size_t>(n));
        // Whatever hangs up, says something else or talks on without an end is not a later
        // start.
        if (n > 0 && m_heard.find('\n') == std::string::npos &&
            m_heard.size() <= kActivate.size()) {
            return false;
        }
        const bool activate = m_heard == kActivate;
        if (activate) {
            ::send(m_fd.get(), kAnswer.data(), kAnswer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        m_readable->setEnabled(false);
        deleteLater();
        return activate;
    }

    FileDescriptor m_fd;
    QSocketNotifier* m_readable;
    std::string m_heard;
};

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

SingleInstance::~SingleInstance() { stopListening(); }

bool SingleInstance::wakeRunning(std::chrono::milliseconds patience) const {
    if (m_name.isEmpty()) return false;
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (exchange(m_name)) return true;
        if (Clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kRetry);
    }
}

bool SingleInstance::listen(QString* error) {
    const auto fail = [error](QString why) {
        if (error != nullptr) *error = std::move(why);
        return false;
    };
    if (m_name.isEmpty()) return fail(QStringLiteral("no private folder for its socket"));
    const auto address = socketAddress(m_name);
    if (!address) return fail(QStringLiteral("the socket's path is too long"));
    stopListening();
    ::unlink(address->sun_path);
    FileDescriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socket) return fail(systemError("socket"));
    if (::bind(socket.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
        return fail(systemError("bind"));
    }
    // Only this user may wake the window; the folder already keeps others out.
    if (::chmod(address->sun_path, 0600) != 0 || ::listen(socket.get(), 8) != 0) {
        const QString why = systemError("listen");
        ::unlink(address->sun_path);
        return fail(why);
    }
    m_path = address->sun_path;
    m_listener = std::move(socket);
    m_calls = new QSocketNotifier(m_listener.get(), QSocketNotifier::Read, this);
    connect(m_calls, &QSocketNotifier::activated, this, &SingleInstance::answer);
    return true;
}

void SingleInstance::stopListening() {
    if (!m_listener) return;
    delete m_calls;  // before the descriptor it watches is closed
    m_calls = nullptr;
    m_listener.reset();
    ::unlink(m_path.c_str());
}

void SingleInstance::answer() {
    for (;;) {
        const int fd = ::accept4(m_listener.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        new Caller(fd, *this);
    }
}

}  // namespace quorvel
