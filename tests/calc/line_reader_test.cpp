#include "calc/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace quorvel {
namespace {

// The lines as read, a too-long one shown as "<long>".
std::vector<std::string> readAll(std::istream& in, std::size_t limit,
                                 std::string_view prefix = "") {
    BoundedLineReader reader(in, limit);
    if (!prefix.empty()) reader.skipPrefix(prefix);
    std::vector<std::string> lines;
    for (BoundedLineReader::Line line; reader.next(line);) {
        lines.push_back(line.tooLong ? "<long>" : std::string(line.text));
    }
    return lines;
}

TEST(BoundedLineReader, SplitsLinesAndRefusesLongOnes) {
    const std::string longLine(200000, '1');  // several chunks
    const struct {
        std::string input;
        std::size_t limit;
        std::vector<std::string> lines;
    } kCases[] = {
        {"", 5, {}},
        {"\n", 5, {""}},
        {"a\n\nb", 5, {"a", "", "b"}},
        {"a\r\nb\r\n", 5, {"a", "b"}},
        {"12345\n123456\n", 5, {"12345", "<long>"}},
        // The "\r" of a line break does not count, in one piece or at a chunk's end.
        {"12345\r\n1234\r\r\n", 5, {"12345", "1234\r"}},
        {"123456", 5, {"<long>"}},
        {"123456\r", 5, {"<long>"}},
        {longLine + "\n2+2\n", 4000, {"<long>", "2+2"}},
        {longLine, 4000, {"<long>"}},
        {longLine + "\r\n" + longLine + "\n\n7", 4000, {"<long>", "<long>", "", "7"}},
        {std::string(4000, '9') + "\r\n", 4000, {std::string(4000, '9')}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.input.substr(0, 20) + " limit " + std::to_string(c.limit));
        std::istringstream in(c.input);
        EXPECT_EQ(readAll(in, c.limit), c.lines);
    }
}

TEST(BoundedLineReader, SkipsAPrefixOnlyAtTheStart) {
    const std::string bom = "\xEF\xBB\xBF";
    const struct {
        std::string input;
        std::vector<std::string> lines;
    } kCases[] = {
        {bom + "2+2\n" + bom + "x", {"2+2", bom + "x"}},
        {"\xEF\xBB", {"\xEF\xBB"}},
        {bom, {}},
        {"2+2", {"2+2"}},
        {bom + "12345", {"12345"}},  // the prefix is not counted against the limit
    };
    for (const auto& c : kCases) {
        std::istringstream in(c.input);
        EXPECT_EQ(readAll(in, 5, bom), c.lines) << c.input;
    }
}

// Hands out `size` bytes of '1' and then "\n2+2\n", a few at a time, without holding them,
// and counts how many the reader took.
class EndlessDigits final : public std::streambuf {
public:
    explicit EndlessDigits(std::size_t size) : m_left(size) {}
    std::size_t handedOut() const { return m_handedOut; }

protected:
    int_type underflow() override {
        if (m_left == 0) {
            if (m_tailDone) return traits_type::eof();
            m_tailDone = true;
            std::copy(kTail.begin(), kTail.end(), m_chunk);
            setg(m_chunk, m_chunk, m_chunk + kTail.size());
        } else {
            const std::size_t n = std::min(m_left, sizeof m_chunk);
            std::fill_n(m_chunk, n, '1');
            m_left -= n;
            setg(m_chunk, m_chunk, m_chunk + n);
        }
        m_handedOut += static_cast<std::size_t>(egptr() - gptr());
        return traits_type::to_int_type(*gptr());
    }

private:
    static constexpr std::string_view kTail = "\n2+2\n";
    char m_chunk[8192];
    std::size_t m_left;
    std::size_t m_handedOut = 0;
    bool m_tailDone = false;
};

TEST(BoundedLineReader, ReadsPastAnEndlessLineAndCountsIt) {
    constexpr std::size_t kSize = 300'000'000;
    EndlessDigits source(kSize);
    std::istream in(&source);
    BoundedLineReader reader(in, 4000);
    BoundedLineReader::Line line;
    ASSERT_TRUE(reader.next(line));
    EXPECT_TRUE(line.tooLong);
    EXPECT_EQ(reader.consumed(), kSize + 1);
    ASSERT_TRUE(reader.next(line));
    EXPECT_EQ(line.text, "2+2");
    EXPECT_FALSE(reader.next(line));
    EXPECT_EQ(source.handedOut(), kSize + 5);
}

// A stream that gives one character per call and tells nothing of what it holds, as an
// unbuffered one does.
class OneAtATime final : public std::streambuf {
public:
    explicit OneAtATime(std::string text) : m_text(std::move(text)) {}

protected:
    int_type underflow() override {
        return m_at < m_text.size() ? traits_type::to_int_type(m_text[m_at]) : traits_type::eof();
    }
    int_type uflow() override {
        return m_at < m_text.size() ? traits_type::to_int_type(m_text[m_at++]) : traits_type::eof();
    }

private:
    std::string m_text;
    std::size_t m_at = 0;
};

TEST(BoundedLineReader, ReadsAnUnbufferedStream) {
    OneAtATime source("1+1\n" + std::string(50, '5') + "\n3");
    std::istream in(&source);
    EXPECT_EQ(readAll(in, 10), (std::vector<std::string>{"1+1", "<long>", "3"}));
}

// Counts how often the answers are pushed out.
class CountedFlushes final : public std::stringbuf {
public:
    int flushes = 0;

protected:
    int sync() override {
        ++flushes;
        return 0;
    }
};

// The answers go out before a read that may wait, and only then: a file's lines at hand are
// read on without a write for each, a stream that holds nothing is flushed before each read.
TEST(BoundedLineReader, FlushesTheTiedOutputOnlyBeforeAReadThatMayWait) {
    CountedFlushes answers;
    std::ostream out(&answers);
    const auto flushesReading = [&out, &answers](std::istream& in) {
        in.tie(&out);
        answers.flushes = 0;
        EXPECT_EQ(readAll(in, 10).size(), 3u);
        return answers.flushes;
    };
    std::istringstream atHand("1\n2\n3\n");
    EXPECT_LE(flushesReading(atHand), 1);  // at most at the end
    OneAtATime waiting("1\n2\n3\n");
    std::istream in(&waiting);
    EXPECT_GE(flushesReading(in), 3);
}

}  // namespace
}  // namespace quorvel
