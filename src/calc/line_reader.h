#pragma once

// Lines of a text stream, each held only up to a limit: the rest of a longer line is read past
// and dropped, so one endless line costs no more memory than a short one. Lines end at "\n";
// a "\r" before it is not part of the line.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace quorvel {

class BoundedLineReader {
public:
    struct Line {
        std::string_view text;  // empty when tooLong
        bool tooLong = false;   // the line held more than the limit
    };

    BoundedLineReader(std::istream& in, std::size_t limit);

    // False at the end of the input. A read returns as soon as a whole line has arrived, and
    // the stream's tied output is flushed before any read that may wait, so a pipe's lines are
    // answered one by one.
    // `line.text` lasts until the next call.
    bool next(Line& line);

    // Drops `prefix` (a byte order mark, say) when the input starts with it; call it first.
    void skipPrefix(std::string_view prefix);

    // Bytes read from the stream, including dropped ones and line breaks.
    std::uint64_t consumed() const { return m_consumed; }

private:
    // Appends what the stream has at hand, waiting only when it has nothing; false at its end.
    bool fill();
    bool hand(Line& line, std::string_view text, std::size_t used);

    std::streambuf* m_in;
    std::ostream* m_tie;  // flushed before a read that may wait
    std::size_t m_limit;
    std::string m_buffer;
    std::size_t m_start = 0;  // m_buffer before it is used up
    bool m_skipping = false;  // inside a line already known to be too long
    bool m_atEnd = false;
    std::uint64_t m_consumed = 0;
};

}  // namespace quorvel
