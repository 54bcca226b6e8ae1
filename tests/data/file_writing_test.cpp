// The pieces every writer of a file shares: the descriptor, the write loop and the temporary
// file that replaces its target.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "data/file_handle.h"
#include "data/replacement_file.h"
#include "data/source_reader.h"
#include "support/dead_pid.h"
#include "support/file_text.h"
#include "support/test_folder.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

constexpr TemporaryKind kKind{".tmp-", std::chrono::hours(1)};
constexpr TemporaryKind kListedKind{".part-", std::chrono::hours(24), true};

class FileWritingTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testing::FreshTestFolder("quorvel-file-writing-"); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path m_dir;
};

TEST(WriteAll, WritesEverythingThroughShortWritesAndInterruptions) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const FileDescriptor in(fds[0]);
    FileDescriptor out(fds[1]);
    int calls = 0;
    const WriteFunction choppy = [&calls](int fd, const void* data, std::size_t size) -> ssize_t {
        if (++calls % 2 == 0) {
            errno = EINTR;
            return -1;
        }
        return ::write(fd, data, std::min<std::size_t>(size, 3));
    };
    EXPECT_EQ(WriteAll(out.get(), "0123456789", choppy), 0);
    out.reset();
    std::string got(32, '\0');
    got.resize(static_cast<std::size_t>(::read(in.get(), got.data(), got.size())));
    EXPECT_EQ(got, "0123456789");
    EXPECT_GE(calls, 7);
}

TEST(WriteAll, AnswersTheFailureOfTheWrite) {
    struct Case {
        const char* what;
        ssize_t answer;
        int error;     // errno set with the answer
        int nothing;   // what a write of nothing counts as
        int expected;  // WriteAll's answer
    };
    constexpr Case kCases[] = {
        {"disk full", -1, ENOSPC, EIO, ENOSPC},
        {"I/O error", -1, EIO, ENOSPC, EIO},
        {"nothing taken", 0, 0, EIO, EIO},
        {"nothing taken, counted as full", 0, 0, ENOSPC, ENOSPC},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        const WriteFunction fails = [&c](int, const void*, std::size_t) -> ssize_t {
            errno = c.error;
            return c.answer;
        };
        EXPECT_EQ(WriteAll(-1, "bytes", fails, c.nothing), c.expected);
    }
    EXPECT_EQ(WriteAll(-1, "", {}), 0) << "nothing to write is no failure";
    EXPECT_EQ(WriteAll(-1, "x", {}), EBADF);
}

TEST(FileDescriptor, ClosesOnceAndSaysWhenClosingFailed) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    {
        FileDescriptor first(fds[0]);
        FileDescriptor second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), fds[0]);
        FileDescriptor third(fds[1]);
        third = std::move(second);  // closes fds[1]
        EXPECT_EQ(::fcntl(fds[1], F_GETFD), -1);
        EXPECT_NE(::fcntl(fds[0], F_GETFD), -1);
        EXPECT_EQ(third.reset(), 0);
        EXPECT_EQ(::fcntl(fds[0], F_GETFD), -1);
        EXPECT_EQ(third.reset(), 0) << "nothing open";
    }
    // A number no longer open: its close fails, and says so.
    FileDescriptor stale(fds[0]);
    EXPECT_EQ(stale.reset(), EBADF);
}

TEST_F(FileWritingTest, CommitReplacesTheTargetAndLeavesNoTemporary) {
    testing::writeFile(m_dir / "target", "old");
    ReplacementFile file(m_dir / "target", kKind);
    ASSERT_EQ(file.create(), 0);
    EXPECT_EQ(file.temporary().parent_path(), m_dir);
    EXPECT_EQ(file.temporary().filename().string().rfind(
                  "target.tmp-" + std::to_string(::getpid()) + "-", 0),
              0u);
    ASSERT_EQ(WriteAll(file.fd(), "new"), 0);
    EXPECT_EQ(testing::readFile(m_dir / "target"), "old") << "nothing replaced before the commit";
    ASSERT_EQ(file.commit(), 0);
    EXPECT_EQ(file.failedStep(), ReplacementFile::Step::None);
    EXPECT_EQ(testing::readFile(m_dir / "target"), "new");
    EXPECT_EQ(names(), std::vector<std::string>{"target"});
}

TEST_F(FileWritingTest, AnAbandonedReplacementLeavesTheTargetAndRemovesItsFile) {
    testing::writeFile(m_dir / "target", "old");
    {
        ReplacementFile file(m_dir / "target", kKind);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(WriteAll(file.fd(), "half"), 0);
        EXPECT_EQ(names().size(), 2u);
    }
    EXPECT_EQ(testing::readFile(m_dir / "target"), "old");
    EXPECT_EQ(names(), std::vector<std::string>{"target"});
}

TEST_F(FileWritingTest, FailedStepsAreNamedAndLeaveTheTarget) {
    // No folder to create the temporary in.
    ReplacementFile nowhere(m_dir / "missing" / "target", kKind);
    EXPECT_EQ(nowhere.create(), ENOENT);
    EXPECT_EQ(nowhere.failedStep(), ReplacementFile::Step::Create);
    EXPECT_TRUE(nowhere.temporary().empty());

    // A target that is a folder with something in it cannot be renamed over.
    fs::create_directory(m_dir / "folder");
    testing::writeFile(m_dir / "folder" / "inside", "kept");
    {
        ReplacementFile file(m_dir / "folder", kKind);
        ASSERT_EQ(file.create(), 0);
        ASSERT_EQ(WriteAll(file.fd(), "new"), 0);
        EXPECT_NE(file.commit(), 0);
        EXPECT_EQ(file.failedStep(), ReplacementFile::Step::Replace);
    }
    EXPECT_EQ(testing::readFile(m_dir / "folder" / "inside"), "kept");
    EXPECT_EQ(names(), std::vector<std::string>{"folder"});

    // The temporary vanished under the writer (a signal's clean-up): the rename fails.
    testing::writeFile(m_dir / "target", "old");
    {
        ReplacementFile file(m_dir / "target", kKind);
        ASSERT_EQ(file.create(), 0);
        fs::remove(file.temporary());
        EXPECT_EQ(file.commit(), ENOENT);
        EXPECT_EQ(file.failedStep(), ReplacementFile::Step::Replace);
    }
    EXPECT_EQ(testing::readFile(m_dir / "target"), "old");
}

TEST_F(FileWritingTest, OnlyListedTemporariesGoOnASignal) {
    testing::writeFile(m_dir / "listed", "old");
    ReplacementFile listed(m_dir / "listed", kListedKind);
    ReplacementFile unlisted(m_dir / "unlisted", kKind);
    ASSERT_EQ(listed.create(), 0);
    ASSERT_EQ(unlisted.create(), 0);
    RemoveListedTemporaries();
    EXPECT_FALSE(fs::exists(listed.temporary()));
    EXPECT_TRUE(fs::exists(unlisted.temporary()));
    EXPECT_NE(listed.commit(), 0);
    EXPECT_EQ(testing::readFile(m_dir / "listed"), "old");

    // A committed file is no longer listed: a later file that takes its temporary's name is
    // not removed by the next signal.
    ReplacementFile done(m_dir / "done", kListedKind);
    ASSERT_EQ(done.create(), 0);
    const fs::path used = done.temporary();
    ASSERT_EQ(done.commit(), 0);
    testing::writeFile(used, "someone else's");
    RemoveListedTemporaries();
    EXPECT_TRUE(fs::exists(m_dir / "done"));
    EXPECT_TRUE(fs::exists(used));
}

TEST(TemporaryOwner, ReadsThePidOfOwnNamesOnly) {
    struct Case {
        std::string name;
        long owner;
    };
    const std::string shortened = std::string(250, 'n').substr(0, 255 - 9) + ".tmp-12-3";
    const Case kCases[] = {
        {"sums.rob.tmp-12-3", 12},  {"sums.rob.tmp-12-", 0}, {"sums.rob.tmp-12", 0},
        {"sums.rob.tmp-x-3", 0},    {"sums.rob.tmp-0-3", 0}, {"sums.rob.tmp-12-3.txt", 0},
        {"sums.rob.tmp-", 0},       {"sums.rob", -1},        {"other.rob.tmp-12-3", -1},
        {"sums.ro.tmp-12-3", -1},  // too short to be a shortened name
        {"sums.rob.part-12-3", -1}, {".tmp-12-3", -1},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TemporaryOwner(c.name, "sums.rob", ".tmp-", 255), c.owner);
    }
    EXPECT_EQ(TemporaryOwner(shortened, std::string(250, 'n'), ".tmp-", 255), 12);
    EXPECT_EQ(TemporaryOwner(shortened, std::string(250, 'm'), ".tmp-", 255), -1);
}

TEST_F(FileWritingTest, RemovesOnlyTheAbandonedTemporariesOfItsTarget) {
    const std::string dead = std::to_string(testing::DeadPid());
    struct Case {
        std::string name;
        bool old;
        bool removed;
    };
    const Case kCases[] = {
        {"target.tmp-" + dead + "-0", false, true},
        {"target.tmp-" + std::to_string(::getpid()) + "-999", false, false},
        {"target.tmp-" + std::to_string(::getpid()) + "-998", true, true},
        {"target.tmp-1-0", false, false},
        {"target.tmp-1-1", true, true},
        {"target.tmp-junk", false, false},
        {"target.tmp-junk-2", true, true},
        {"target.part-" + dead + "-0", true, false},
        {"other.tmp-" + dead + "-0", true, false},
    };
    for (const Case& c : kCases) {
        testing::writeFile(m_dir / c.name, "left");
        if (c.old) {
            fs::last_write_time(m_dir / c.name,
                                fs::file_time_type::clock::now() - std::chrono::hours(2));
        }
    }
    fs::create_directory(m_dir / ("target.tmp-" + dead + "-5"));
    ReplacementFile(m_dir / "target", kKind).removeAbandoned();
    for (const Case& c : kCases) EXPECT_EQ(fs::exists(m_dir / c.name), !c.removed) << c.name;
    EXPECT_TRUE(fs::is_directory(m_dir / ("target.tmp-" + dead + "-5")));
}

TEST_F(FileWritingTest, OnlyAnOrdinaryFileIsASource) {
    testing::writeFile(m_dir / "sums.txt", "1+1\n");
    ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
    struct Case {
        fs::path path;
        int error;
    };
    const Case kCases[] = {
        {m_dir / "sums.txt", 0},  {m_dir / "missing", ENOENT}, {m_dir, EISDIR},
        {m_dir / "fifo", ENODEV}, {"/dev/null", ENODEV},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.path.string());
        int error = 0;
        const FileDescriptor in = OpenSourceFile(c.path.string(), error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(static_cast<bool>(in), c.error == 0);
    }
}

// Pieces of `bytes` as the reader hands them, "|" between pieces and "/" after the end of a
// line; "*" marks a piece of a line longer than the limit.
std::string pieces(const fs::path& file, std::string_view bytes, std::size_t limit,
                   std::string* joinedFirstLine = nullptr) {
    testing::writeFile(file, bytes);
    int error = 0;
    const FileDescriptor in = OpenSourceFile(file.string(), error);
    SourceReader reader(in.get(), limit);
    std::string shown;
    SourceReader::Piece piece;
    bool first = true;
    while (reader.next(piece)) {
        if (joinedFirstLine && first) *joinedFirstLine += piece.text;
        if (piece.endsLine) first = false;
        if (!shown.empty() && shown.back() != '/') shown += '|';
        shown += piece.tooLong ? "*" : std::string(piece.text).substr(0, 8);
        if (piece.endsLine) shown += '/';
    }
    EXPECT_EQ(reader.error(), 0);
    EXPECT_EQ(reader.consumed(), bytes.size());
    return shown;
}

TEST_F(FileWritingTest, TheSourceReaderHandsOutLinesAndPiecesOfLongOnes) {
    EXPECT_EQ(pieces(m_dir / "a", "1+1\r\n2+2\nend", 10), "1+1/2+2/end/");
    EXPECT_EQ(pieces(m_dir / "b", "\n\r\n", 10), "//");
    EXPECT_EQ(pieces(m_dir / "c", "", 10), "");
    EXPECT_EQ(pieces(m_dir / "d", "a lot too long\nok\n", 4), "*/ok/");
    // Longer than a block: pieces, the first starting the line and the last ending it.
    const std::string longLine(200000, 'x');
    std::string joined;
    EXPECT_EQ(pieces(m_dir / "e", longLine + "\nok\n", 10, &joined), "*|*|*|*/ok/");
    EXPECT_EQ(joined, longLine);
    // A line break cut between two reads: its CR is still no part of the line.
    const std::string cut(64 * 1024 - 1, 'y');
    joined.clear();
    EXPECT_EQ(pieces(m_dir / "f", cut + "\r\nok\n", 10, &joined), "*|*/ok/");
    EXPECT_EQ(joined, cut);
}

}  // namespace
}  // namespace quorvel
