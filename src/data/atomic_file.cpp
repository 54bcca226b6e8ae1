#include "data/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace quorvel {
namespace {

std::string failure(const std::filesystem::path& target, const char* step, int error) {
    return target.string() + ": " + step + ": " + std::strerror(error);
}

// A name no other store (of this or another process) is using at the same moment.
std::filesystem::path temporaryName(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path name = target;
    name += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
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

}  // namespace

FileWriteResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                      const WriteFunction& write) {
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
    return {true, {}};
}

}  // namespace quorvel
