#pragma once

// The source of a batch run, read as a stream: only an ordinary file is opened, and its lines
// are handed out without ever holding more of one than a limit and one block.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/file_handle.h"

namespace quorvel {

// Only an ordinary file comes to an end: /dev/zero never does, and a pipe may not. A pipe
// with no writer is opened without waiting for one, and refused at once. On failure the
// descriptor is empty and `error` holds the errno, EISDIR for a folder or ENODEV for anything
// else that is no ordinary file.
FileDescriptor OpenSourceFile(const std::string& path, int& error);

// Hands out a source's lines; a line longer than the limit comes in pieces of about a block.
// A line's CR before its LF is dropped.
class SourceReader {
public:
    struct Piece {
        std::string_view text;  // valid until the next call
        bool startsLine;
        bool endsLine;
        bool tooLong;  // the line is longer than the limit; it may come in several pieces
    };

    SourceReader(int fd, std::size_t limit) : m_fd(fd), m_limit(limit) {}

    // False at the end of the source or on a read error (error() then says which).
    bool next(Piece& piece);

    // Bytes of the source handed out so far, line breaks included.
    std::uint64_t consumed() const { return m_consumed; }
    int error() const { return m_error; }

private:
    bool hand(Piece& piece, std::string_view text, std::size_t used, bool endsLine);
    void fill();

    int m_fd;
    std::size_t m_limit;
    std::string m_buffer;
    std::size_t m_start = 0;
    bool m_inLongLine = false;
    bool m_atEnd = false;
    int m_error = 0;
    std::uint64_t m_consumed = 0;
};

}  // namespace quorvel
