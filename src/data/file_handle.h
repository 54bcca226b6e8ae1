#pragma once

// An open file descriptor that closes itself, and the write loop every writer of a file needs.

#include <sys/types.h>

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string_view>

namespace quorvel {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) noexcept : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor() { reset(); }

    int get() const noexcept { return m_fd; }
    explicit operator bool() const noexcept { return m_fd >= 0; }
    // Closes the file held and takes `fd`. Answers the error of the close, which is where some
    // file systems first report a full disk; 0 when it went well or nothing was open.
    int reset(int fd = -1) noexcept;

private:
    int m_fd;
};

// Called as ::write is: returns the bytes written, or -1 with errno set. Tests pass one that
// fails or dies part-way.
using WriteFunction = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

// Writes all of `bytes` (with ::write when `write` is empty), again after EINTR. Answers 0, or
// the errno of the write that failed; a write that takes nothing counts as `nothingWritten`.
int WriteAll(int fd, std::string_view bytes, const WriteFunction& write = {},
             int nothingWritten = EIO);

}  // namespace quorvel
