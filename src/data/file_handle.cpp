#include "data/file_handle.h"

#include <unistd.h>

#include <utility>

namespace quorvel {

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) reset(std::exchange(other.m_fd, -1));
    return *this;
}

int FileDescriptor::reset(int fd) noexcept {
    const int error = m_fd >= 0 && ::close(m_fd) != 0 ? errno : 0;
    m_fd = fd;
    return error;
}

int WriteAll(int fd, std::string_view bytes, const WriteFunction& write, int nothingWritten) {
    while (!bytes.empty()) {
        const ssize_t n =
            write ? write(fd, bytes.data(), bytes.size()) : ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return nothingWritten;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return 0;
}

}  // namespace quorvel
