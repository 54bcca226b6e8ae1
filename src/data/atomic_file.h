#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quorvel {

// Called as ::write is: returns the bytes written, or -1 with errno set. Tests pass one that
// fails or dies part-way.
using WriteFunction = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

struct FileWriteResult {
    bool written = false;
    std::string reason;  // empty when written
};

// Leaves `target` holding either its old bytes or all of `bytes`, whatever happens in
// between (crash, kill, full disk): the bytes go to a new file in the same directory, are
// fsynced, and the new file is renamed over the target. An existing target's permissions
// carry over to the new one. A `target` that is a symbolic link (or a chain of them) keeps
// being one: the file at its end is replaced, with the temporary file beside it. After a
// replace, temporary files of stores that were killed part-way (their process is gone, or
// they are an hour old) are removed.
FileWriteResult replaceFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                                      const WriteFunction& write = {});

// A temporary file left by a writer that was killed: a regular file whose writer (`writerPid`,
// 0 when unknown) no longer exists, or that nobody has touched for `age`. Another pid
// namespace, or a reused pid, only delays the clean-up until the file is old.
bool IsAbandonedTemporary(const std::filesystem::directory_entry& entry, long writerPid,
                          std::chrono::hours age);

}  // namespace quorvel
