#include "app/single_instance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

namespace quorvel {
namespace {

using namespace std::chrono_literals;

QString uniqueName(const char* what) {
    return QStringLiteral("quorvel-test-%1-%2").arg(::getpid()).arg(QLatin1String(what));
}

QByteArray socketPath(const QString& name) {
    return QDir(QDir::tempPath()).filePath(name).toLocal8Bit();
}

// Says `message` on the window's socket as any local program could, then waits for the window
// to hang up; true when it did so without a word.
bool hungUpWithoutAnswer(const QString& name, const QByteArray& message) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath(name).constData(), sizeof address.sun_path - 1);
    bool silent = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                  ::send(fd, message.constData(), static_cast<std::size_t>(message.size()),
                         MSG_NOSIGNAL) == message.size();
    pollfd entry{fd, POLLIN, 0};
    char reply[16];
    // Hung up with words still unread, the line is reset rather than closed.
    const auto hungUp = [&] {
        const ssize_t n = ::recv(fd, reply, sizeof reply, 0);
        return n == 0 || (n < 0 && errno == ECONNRESET);
    };
    silent = silent && ::poll(&entry, 1, 3000) == 1 && hungUp();
    ::close(fd);
    return silent;
}

// Runs `wake` on another thread while this one serves the server's events.
bool wakeWhileServing(const SingleInstance& waker, std::chrono::milliseconds patience) {
    auto woke = std::async(std::launch::async, [&] { return waker.wakeRunning(patience); });
    while (woke.wait_for(5ms) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return woke.get();
}

// The socket's folder: a private $XDG_RUNTIME_DIR, else a private folder of the user's own in
// the temporary folder; never one another user can enter or has put in its place.
TEST(SingleInstance, SocketFolderIsPrivateToTheUser) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("quorvel-socket-folder-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    const fs::path runtime = dir / "runtime";
    const fs::path base = dir / "tmp";
    const uid_t uid = ::getuid();
    const fs::path fallback = base / ("quorvel-" + std::to_string(uid));
    struct Case {
        const char* name;
        std::string runtime;  // as $XDG_RUNTIME_DIR gives it
        fs::perms runtimeMode;
        std::function<void()> prepare;
        fs::path expected;  // empty: no place
    };
    const auto none = [] {};
    const Case cases[] = {
        {"private runtime folder", runtime.string(), fs::perms::owner_all, none, runtime},
        {"runtime folder open to others", runtime.string(), fs::perms::all, none, fallback},
        {"group may enter", runtime.string(), fs::perms::owner_all | fs::perms::group_exec, none,
         fallback},
        {"relative", "runtime", fs::perms::owner_all, none, fallback},
        {"unset", "", fs::perms::owner_all, none, fallback},
        {"fallback left open by mistake",
         "",
         fs::perms::owner_all,
         [&] {
             fs::create_directories(fallback);
             fs::permissions(fallback, fs::perms::all);
         },
         {}},
        {"fallback replaced by a link",
         "",
         fs::perms::owner_all,
         [&] {
             fs::create_directories(dir / "elsewhere");
             fs::permissions(dir / "elsewhere", fs::perms::owner_all);
             fs::create_directory_symlink(dir / "elsewhere", fallback);
         },
         {}},
        {"fallback another user's",
         "",
         fs::perms::owner_all,
         [&] {
             fs::create_directories(fallback);
             fs::permissions(fallback, fs::perms::owner_all);
             if (::chown(fallback.c_str(), uid + 1, uid + 1) != 0) fs::remove(fallback);
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(runtime);
        fs::create_directories(base);
        fs::permissions(runtime, c.runtimeMode);
        c.prepare();
        const bool chownRefused =
            std::string(c.name) == "fallback another user's" && !fs::exists(fallback);
        if (chownRefused) continue;  // not root: cannot give a folder away
        const SocketFolder folder = InstanceSocketFolder(c.runtime, uid, base);
        EXPECT_EQ(folder.path, c.expected);
        EXPECT_EQ(folder.error.empty(), !c.expected.empty()) << folder.error;
        if (c.expected == fallback) {
            EXPECT_EQ(fs::status(fallback).permissions(), fs::perms::owner_all);
        }
    }
    fs::remove_all(dir);
}

TEST(SingleInstance, LaterStartWakesTheListener) {
    const QString name = uniqueName("wake");
    SingleInstance first(name);
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    ASSERT_TRUE(first.listen());

    SingleInstance second(name);
    EXPECT_TRUE(wakeWhileServing(second, 2s));
    EXPECT_TRUE(wakeWhileServing(second, 2s));
    QCoreApplication::processEvents();
    EXPECT_EQ(woken.count(), 2);
}

TEST(SingleInstance, NobodyListeningGivesUpAfterItsPatience) {
    SingleInstance lone(uniqueName("lone"));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(lone.wakeRunning(150ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
}

TEST(SingleInstance, ListenerThatStartsLateIsStillWoken) {
    const QString name = uniqueName("late");
    SingleInstance first(name);
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    SingleInstance second(name);
    auto woke = std::async(std::launch::async, [&] { return second.wakeRunning(3s); });
    std::this_thread::sleep_for(200ms);
    ASSERT_TRUE(first.listen());
    while (woke.wait_for(5ms) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(woke.get());
    QCoreApplication::processEvents();
    EXPECT_EQ(woken.count(), 1);
}

// A run that crashed leaves its socket file behind, with nobody listening on it.
TEST(SingleInstance, ListenRemovesAStaleSocket) {
    const QString name = uniqueName("stale");
    const QByteArray path = socketPath(name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_EQ(::access(path.constData(), F_OK), 0);

    SingleInstance first(name);
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    QString error;
    ASSERT_TRUE(first.listen(&error)) << error.toStdString();
    EXPECT_TRUE(wakeWhileServing(SingleInstance(name), 2s));
    QCoreApplication::processEvents();
    EXPECT_EQ(woken.count(), 1);
}

TEST(SingleInstance, OtherTalkDoesNotWake) {
    const QString name = uniqueName("other");
    SingleInstance first(name);
    QSignalSpy woken(&first, &SingleInstance::activationRequested);
    ASSERT_TRUE(first.listen());
    // Another word, a long line without an end, and a caller that says nothing at all.
    for (const QByteArray& message : {QByteArray("hello\n"), QByteArray(200, 'x'), QByteArray()}) {
        auto sent =
            std::async(std::launch::async, [&] { return hungUpWithoutAnswer(name, message); });
        while (sent.wait_for(5ms) != std::future_status::ready) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        EXPECT_TRUE(sent.get()) << message.left(10).toStdString();
    }
    EXPECT_EQ(woken.count(), 0);
}

// Only its user may reach the socket, and it goes with the window.
TEST(SingleInstance, SocketIsTheUsersAloneAndGoesWithTheWindow) {
    const QString name = uniqueName("mode");
    const QByteArray path = socketPath(name);
    {
        SingleInstance first(name);
        ASSERT_TRUE(first.listen());
        struct stat info {};
        ASSERT_EQ(::stat(path.constData(), &info), 0);
        EXPECT_TRUE(S_ISSOCK(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    EXPECT_NE(::access(path.constData(), F_OK), 0);
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
