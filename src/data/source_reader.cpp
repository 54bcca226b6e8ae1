#include "data/source_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "calc/text_util.h"

namespace quorvel {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

int notAFile(const struct stat& info) { return S_ISDIR(info.st_mode) ? EISDIR : ENODEV; }

}  // namespace

FileDescriptor OpenSourceFile(const std::string& path, int& error) {
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) {
        error = errno;
        return FileDescriptor();
    }
    if (!S_ISREG(named.st_mode)) {
        error = notAFile(named);
        return FileDescriptor();
    }
    FileDescriptor in(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (!in || ::fstat(in.get(), &opened) != 0) {
        error = errno;
        return FileDescriptor();
    }
    // Swapped for something else since the look.
    if (!S_ISREG(opened.st_mode)) {
        error = notAFile(opened);
        return FileDescriptor();
    }
    ::fcntl(in.get(), F_SETFL, ::fcntl(in.get(), F_GETFL) & ~O_NONBLOCK);
    return in;
}

bool SourceReader::next(Piece& piece) {
    for (;;) {
        const std::string_view rest = std::string_view(m_buffer).substr(m_start);
        if (const std::size_t lf = rest.find('\n'); lf != std::string_view::npos) {
            return hand(piece, WithoutTrailingCr(rest.substr(0, lf)), lf + 1, true);
        }
        // A CR at the end may be the first half of a line break.
        const std::size_t usable = rest.size() - (!rest.empty() && rest.back() == '\r');
        if (m_atEnd) {
            if (rest.empty() && !m_inLongLine) return false;
            return hand(piece, WithoutTrailingCr(rest), rest.size(), true);
        }
        if (usable > 0 && (m_inLongLine || usable > m_limit)) {
            return hand(piece, rest.substr(0, usable), usable, false);
        }
        fill();
    }
}

bool SourceReader::hand(Piece& piece, std::string_view text, std::size_t used, bool endsLine) {
    piece = {text, !m_inLongLine, endsLine, m_inLongLine || !endsLine || text.size() > m_limit};
    m_inLongLine = !endsLine;
    m_start += used;
    m_consumed += used;
    return true;
}

void SourceReader::fill() {
    m_buffer.erase(0, m_start);
    m_start = 0;
    const std::size_t held = m_buffer.size();
    m_buffer.resize(held + kBlock);
    ssize_t got;
    do {
        got = ::read(m_fd, m_buffer.data() + held, kBlock);
    } while (got < 0 && errno == EINTR);
    if (got < 0) m_error = errno;
    m_buffer.resize(held + static_cast<std::size_t>(got > 0 ? got : 0));
    if (got <= 0) m_atEnd = true;
}

}  // namespace quorvel
