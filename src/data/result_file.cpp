#include "data/result_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace quorvel {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

// "RESULT.part-PID-N". A part file of a live run is written to at least every block; one
// untouched for a day belongs to a process that is gone, seen from another pid namespace or
// under a reused pid.
constexpr TemporaryKind kPartFile{".part-", std::chrono::hours(24), true};

}  // namespace

ResultFile::ResultFile(std::filesystem::path target, WriteFunction write)
    : m_target(std::move(target)), m_write(std::move(write)) {}

bool ResultFile::failed(int error) {
    m_error = error;
    return false;
}

bool ResultFile::open() {
    struct stat entry {};
    if (::lstat(m_target.c_str(), &entry) != 0) {
        if (errno != ENOENT) return failed(errno);
        return openTemporary(std::nullopt);
    }
    if (S_ISDIR(entry.st_mode)) return failed(EISDIR);
    if (S_ISREG(entry.st_mode)) {
        if (::access(m_target.c_str(), W_OK) != 0) return failed(errno);
        return openTemporary(entry.st_mode & 07777);
    }
    if (S_ISLNK(entry.st_mode) && !leadsToOwnStream()) return failed(ELOOP);
    m_direct.reset(::open(m_target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!m_direct) return failed(errno);
    // The link may have been turned to an ordinary file since it was looked at.
    struct stat opened {};
    if (::fstat(m_direct.get(), &opened) != 0) return failed(errno);
    if (S_ISREG(opened.st_mode)) {
        m_direct.reset();
        return failed(ELOOP);
    }
    return true;
}

bool ResultFile::write(std::string_view bytes) {
    if (m_error != 0) return false;
    m_buffer += bytes;
    return m_buffer.size() < kBlock || flush();
}

bool ResultFile::commit() {
    if (!flush()) return false;
    if (!m_replacement) {
        if (const int error = m_direct.reset()) return failed(error);
        return true;
    }
    if (const int error = m_replacement->commit()) return failed(error);
    return true;
}

// /dev/stdout and /dev/stderr are links to whatever the output is, and /dev/null takes
// anything. A link planted to another device, /dev/tty say, would put the source's bytes on
// the user's terminal.
bool ResultFile::leadsToOwnStream() const {
    struct stat named {};
    if (::stat(m_target.c_str(), &named) != 0) return false;
    if (!S_ISCHR(named.st_mode) && !S_ISFIFO(named.st_mode)) return false;
    const auto same = [&named](const struct stat& other) {
        return named.st_dev == other.st_dev && named.st_ino == other.st_ino;
    };
    struct stat other {};
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (::fstat(fd, &other) == 0 && same(other)) return true;
    }
    return ::stat("/dev/null", &other) == 0 && same(other);
}

bool ResultFile::openTemporary(std::optional<unsigned> mode) {
    m_replacement.emplace(m_target, kPartFile);
    if (const int error = m_replacement->create()) {
        m_replacement.reset();
        return failed(error);
    }
    if (mode) ::fchmod(m_replacement->fd(), static_cast<mode_t>(*mode));
    m_replacement->removeAbandoned();
    return true;
}

bool ResultFile::flush() {
    if (m_error != 0) return false;
    if (const int error = WriteAll(fd(), m_buffer, m_write, ENOSPC)) return failed(error);
    m_buffer.clear();
    return true;
}

}  // namespace quorvel
