#include "data/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string>

namespace quorvel {
namespace {

std::string failure(const std::filesystem::path& target, const char* step, int error) {
    return target.string() + ": " + step + ": " + std::strerror(error);
}

constexpr std::string_view kTemporaryMark = ".tmp-";
// Older than any store takes, even one waiting on a slow disk.
constexpr auto kAbandonedAfter = std::chrono::hours(1);

// A name no other store (of this or another process) is using at the same moment.
std::filesystem::path temporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target;
    name +=
        std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return name;
}

bool writeAll(int fd, std::string_view bytes, const WriteFunction& write) {
    while (!bytes.empty()) {
        const ssize_t n =
            write ? write(fd, bytes.data(), bytes.size()) : ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A temporary file of a store that was killed before its rename; the pid in its name is the
// store's.
bool isAbandoned(const std::filesystem::directory_entry& entry, std::string_view prefix) {
    const std::string name = entry.path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    long pid = 0;
    const char* digits = name.data() + prefix.size();
    const auto [end, parsed] = std::from_chars(digits, name.data() + name.size(), pid);
    const bool named = parsed == std::errc() && *end == '-';
    return IsAbandonedTemporary(entry, named ? pid : 0, kAbandonedAfter);
}

void removeAbandonedTemporaries(const std::filesystem::path& target) {
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const std::string prefix = target.filename().string() + std::string(kTemporaryMark);
    std::error_code error;
    std::filesystem::directory_iterator it(directory, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (isAbandoned(*it, prefix)) std::filesystem::remove(it->path(), ignored);
    }
}

// The file a replace must write: `target`, or the end of the chain of links it names, so that
// a link (into a synced folder, say) stays a link. A relative link counts from its own folder.
// 0, or the errno of the step that failed.
constexpr int kMaxLinks = 40;  // as the kernel allows
int resolveLinks(const std::filesystem::path& target, std::filesystem::path& resolved) {
    resolved = target;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(resolved.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode)) return 0;
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(resolved, error);
        if (error) return error.value();
        resolved = link.is_absolute() ? link : resolved.parent_path() / link;
    }
    return ELOOP;
}

}  // namespace

bool IsAbandonedTemporary(const std::filesystem::directory_entry& entry, long writerPid,
                          std::chrono::hours age) {
    std::error_code error;
    if (!entry.is_regular_file(error)) return false;
    if (writerPid > 0 && writerPid != ::getpid() && ::kill(static_cast<pid_t>(writerPid), 0) != 0 &&
        errno == ESRCH) {
        return true;
    }
    const auto written = entry.last_write_time(error);
    return !error && std::filesystem::file_time_type::clock::now() - written > age;
}

FileWriteResult replaceFileAtomically(const std::filesystem::path& link, std::string_view bytes,
                                      const WriteFunction& write) {
    std::filesystem::path target;
    if (const int error = resolveLinks(link, target); error != 0) {
        return {false, failure(link, "cannot follow the link", error)};
    }
    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return {false, failure(target, "cannot create a temporary file", errno)};

    const auto abandon = [&](const char* step) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        return FileWriteResult{false, failure(target, step, error)};
    };

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        if (::fchmod(fd, old.st_mode & 07777) != 0) return abandon("cannot set permissions");
    }
    if (!writeAll(fd, bytes, write)) return abandon("cannot write");
    if (::fsync(fd) != 0) return abandon("cannot flush to disk");
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return abandon("cannot close");
    if (::rename(temporary.c_str(), target.c_str()) != 0) return abandon("cannot replace");

    // The rename itself reaches the disk only with the directory; the new file is in place
    // either way, so a failure here is not a failed store.
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    removeAbandonedTemporaries(target);
    return {true, {}};
}

}  // namespace quorvel
