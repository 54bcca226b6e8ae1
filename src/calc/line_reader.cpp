#include "calc/line_reader.h"

#include <algorithm>

#include "calc/text_util.h"

namespace quorvel {
namespace {

// The most taken from the stream at once; also the most held beyond the limit.
constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

BoundedLineReader::BoundedLineReader(std::istream& in, std::size_t limit)
    : m_in(in.rdbuf()), m_tie(in.tie()), m_limit(limit) {}

void BoundedLineReader::skipPrefix(std::string_view prefix) {
    while (!m_atEnd && m_buffer.size() - m_start < prefix.size() &&
           prefix.starts_with(std::string_view(m_buffer).substr(m_start))) {
        if (!fill()) m_atEnd = true;
    }
    if (std::string_view(m_buffer).substr(m_start).starts_with(prefix)) {
        m_start += prefix.size();
        m_consumed += prefix.size();
    }
}

bool BoundedLineReader::next(Line& line) {
    for (;;) {
        const std::string_view rest = std::string_view(m_buffer).substr(m_start);
        if (const std::size_t lf = rest.find('\n'); lf != std::string_view::npos) {
            return hand(line, WithoutTrailingCr(rest.substr(0, lf)), lf + 1);
        }
        if (m_atEnd) {
            if (rest.empty() && !m_skipping) return false;
            return hand(line, WithoutTrailingCr(rest), rest.size());
        }
        // One more character may be the "\r" of a line break.
        if (m_skipping || rest.size() > m_limit + 1) {
            m_skipping = true;
            m_consumed += rest.size();
            m_start = m_buffer.size();
        }
        if (!fill()) m_atEnd = true;
    }
}

bool BoundedLineReader::hand(Line& line, std::string_view text, std::size_t used) {
    line.tooLong = m_skipping || text.size() > m_limit;
    line.text = line.tooLong ? std::string_view() : text;
    m_skipping = false;
    m_start += used;
    m_consumed += used;
    return true;
}

bool BoundedLineReader::fill() {
    m_buffer.erase(0, m_start);
    m_start = 0;
    // The answers so far are out before a read that may wait, so a pipe's writer that waits
    // for an answer gets it. Input at hand is read on: one write a line was most of a long
    // file's time. Messages keep their places among the answers through the error stream's
    // own tie to the answers.
    if (m_tie != nullptr && (m_in == nullptr || m_in->in_avail() <= 0)) m_tie->flush();
    if (m_in == nullptr ||
        std::char_traits<char>::eq_int_type(m_in->sgetc(), std::char_traits<char>::eof())) {
        return false;
    }
    // What the stream holds already, taken without waiting for more; an unbuffered stream
    // gives one character at a time.
    const std::streamsize held = m_in->in_avail();
    const std::size_t wanted =
        held > 0 ? std::min(static_cast<std::size_t>(held), kChunk) : std::size_t{1};
    const std::size_t size = m_buffer.size();
    m_buffer.resize(size + wanted);
    const std::streamsize got =
        m_in->sgetn(m_buffer.data() + size, static_cast<std::streamsize>(wanted));
    m_buffer.resize(size + static_cast<std::size_t>(std::max<std::streamsize>(got, 0)));
    return got > 0;
}

}  // namespace quorvel
