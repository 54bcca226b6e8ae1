#include "data/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>

namespace quorvel {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{20};

pid_t readHolder(int fd) {
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return 0;
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(text, text + n, pid);
    return error == std::errc() && pid > 0 ? pid : 0;
}

void writeHolder(int fd) {
    const std::string text = std::to_string(::getpid()) + "\n";
    // The pid only helps the message of a waiting program; the lock holds without it.
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

}  // namespace

std::string FolderInUseMessage(const std::filesystem::path& folder, pid_t holder) {
    std::string text = "the data folder " + folder.string() + " is in use by quorvel";
    if (holder > 0) text += " (pid " + std::to_string(holder) + ")";
    return text;
}

FolderLockResult FolderLock::acquire(const std::filesystem::path& folder,
                                     std::chrono::milliseconds wait) {
    const std::filesystem::path file = folder / kLockFileName;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    // A lock file someone else created and we may only read still locks.
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    }
    if (fd < 0) {
        FolderLockResult result;
        result.error = "cannot lock the data folder " + folder.string() + ": " + file.string() +
                       ": " + std::strerror(errno);
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            writeHolder(fd);
            FolderLockResult result;
            result.lock = FolderLock(folder, fd);
            return result;
        }
        const int error = errno;
        if (error == EINTR) continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            FolderLockResult result;
            if (error == EWOULDBLOCK) {
                result.holder = readHolder(fd);
                result.error = FolderInUseMessage(folder, result.holder);
            } else {
                result.error =
                    "cannot lock the data folder " + folder.string() + ": " + std::strerror(error);
            }
            ::close(fd);
            return result;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

FolderLockResult FolderLock::tryAcquire(const std::filesystem::path& folder) {
    return acquire(folder, std::chrono::milliseconds(0));
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : m_folder(std::move(other.m_folder)), m_fd(other.m_fd) {
    other.m_fd = -1;
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        release();
        m_folder = std::move(other.m_folder);
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

FolderLock::~FolderLock() { release(); }

void FolderLock::release() {
    if (m_fd < 0) return;
    // The file stays: removing it would let a waiter lock a file nobody else can see.
    [[maybe_unused]] const int cleared = ::ftruncate(m_fd, 0);
    ::close(m_fd);
    m_fd = -1;
}

}  // namespace quorvel
