#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "data/file_handle.h"

namespace quorvel {

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

}  // namespace quorvel
