#pragma once

// The result file of a batch run. It is written to a temporary file beside it that replaces it
// at commit(), so a run that fails part way leaves the previous result as it was. A device or
// a pipe cannot be replaced and is written in place. A link is not written through: anyone who
// may write the source's folder could otherwise point the result at another of the user's
// files.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/file_handle.h"
#include "data/replacement_file.h"

namespace quorvel {

class ResultFile {
public:
    // `write` is ::write unless a test gives another.
    explicit ResultFile(std::filesystem::path target, WriteFunction write = {});

    // False, with error() set, when the target is a folder, a link to anything but this
    // process's own output or /dev/null (ELOOP), unwritable, or its temporary file cannot be
    // made. Temporary files of killed runs into the same result are removed.
    bool open();
    // Collects `bytes`, writing a block at a time.
    bool write(std::string_view bytes);
    // Writes what is left and puts the file in place; false, with error() set, when that
    // failed, the previous result then being untouched.
    bool commit();

    // The errno of the first failure, 0 for none; every call after it fails.
    int error() const { return m_error; }

private:
    bool failed(int error);
    bool leadsToOwnStream() const;
    bool openTemporary(std::optional<unsigned> mode);
    bool flush();
    int fd() const { return m_replacement ? m_replacement->fd() : m_direct.get(); }

    std::filesystem::path m_target;
    WriteFunction m_write;
    std::optional<ReplacementFile> m_replacement;  // unless the target is written in place
    FileDescriptor m_direct;
    std::string m_buffer;
    int m_error = 0;
};

}  // namespace quorvel
