#include "data/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <thread>

namespace quorvel {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{20};

LockHolder readHolder(int fd) {
    char text[128] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return {};
    return ParseLockHolder(std::string_view(text, static_cast<std::size_t>(n)));
}

void writeHolder(int fd) {
    const std::string text =
        std::to_string(::getpid()) + " " + program_invocation_short_name + "\n";
    // The pid only helps the message of a waiting program; the lock holds without it.
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, text.data(), text.size(), 0);
    }
}

}  // namespace

LockHolder ParseLockHolder(std::string_view text) {
    LockHolder holder;
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, holder.pid);
    if (error != std::errc() || holder.pid <= 0) return {};
    if (rest == end || *rest != ' ') return holder;
    const std::string_view name(rest + 1, static_cast<std::size_t>(end - rest - 1));
    holder.program = std::string(name.substr(0, name.find('\n')));
    // A name is shown to the user: nothing but what a program's name is made of.
    for (const char c : holder.program) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.') {
            holder.program.clear();
            break;
        }
    }
    return holder;
}

std::string FolderInUseMessage(const std::filesystem::path& folder, pid_t holder,
                               std::string_view program) {
    std::string text = "the data folder " + folder.string() + " is in use by ";
    text += program.empty() ? std::string_view("another program") : program;
    if (holder > 0) text += " (pid " + std::to_string(holder) + ")";
    return text;
}

std::string FolderNotWritableMessage(const std::filesystem::path& folder) {
    return "the data folder " + folder.string() + " is not writable";
}

FolderLockResult FolderLock::acquire(const std::filesystem::path& folder,
                                     std::chrono::milliseconds wait) {
    const std::filesystem::path file = folder / kLockFileName;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    // A lock file someone else created and we may only read still locks.
    if (fd < 0 && (errno == EACCES || errno == EROFS)) {
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        // No lock file, and none can be made: the folder itself is read-only.
        if (fd < 0 && errno == ENOENT)
            return {std::nullopt, false, 0, {}, FolderNotWritableMessage(folder)};
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
                LockHolder holder = readHolder(fd);
                result.inUse = true;
                result.holder = holder.pid;
                result.holderProgram = std::move(holder.program);
                result.error = FolderInUseMessage(folder, result.holder, result.holderProgram);
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
