#include "data/sys_data_holder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/atomic_file.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

class SysDataHolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("quorvel-data-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Old data on disk, new data in memory.
    SysDataHolder storedThenChanged() {
        SysDataHolder holder(m_dir);
        holder.data().log = {"old line"};
        EXPECT_EQ(holder.Store().code(), 1);
        holder.data().log = {"new line", "and more"};
        return holder;
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_dir), {}));
    }
    fs::path m_dir;
};

TEST_F(SysDataHolderTest, MissingFileKeepsNewValuesAndFirstStoreCreatesIt) {
    SysDataHolder holder(m_dir);
    holder.data().paramF = "9";
    const LoadResult result = holder.Load();
    EXPECT_EQ(result.code(), 1);
    EXPECT_EQ(result.outcome, LoadOutcome::NotOpened);
    EXPECT_NE(result.reason.find("No such file"), std::string::npos) << result.reason;
    EXPECT_EQ(holder.data().paramF, "9");

    const StoreResult stored = holder.Store();
    EXPECT_EQ(stored.code(), 1) << stored.reason;
    EXPECT_EQ(holder.path(), m_dir / "SysData.dat");
    EXPECT_EQ(contents(holder.path()), EncodeSysDataFile(holder.data()));
    EXPECT_EQ(entries(), 1u);  // no temporary file left behind

    SysDataHolder again(m_dir);
    EXPECT_EQ(again.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(again.data(), holder.data());
}

TEST_F(SysDataHolderTest, NonFilesInItsPlaceAreNotOpened) {
    const fs::path path = m_dir / "SysData.dat";
    fs::create_directory(path);
    EXPECT_EQ(SysDataHolder(m_dir).Load().outcome, LoadOutcome::NotOpened);
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);  // would block a plain open
    EXPECT_EQ(SysDataHolder(m_dir).Load().outcome, LoadOutcome::NotOpened);
}

TEST_F(SysDataHolderTest, StoreIntoUnwritablePlacesFailsWithReason) {
    std::ofstream(m_dir / "plain-file") << "x";
    fs::create_directory(m_dir / "read-only");
    fs::permissions(m_dir / "read-only", fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        fs::path dir;
        const char* reason;
    };
    std::vector<Case> cases = {
        {m_dir / "missing", "No such file or directory"},
        {m_dir / "plain-file", "Not a directory"},
        {"/proc", "cannot create a temporary file"},
    };
    if (::geteuid() != 0) cases.push_back({m_dir / "read-only", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir);
        const StoreResult result = SysDataHolder(c.dir).Store();
        EXPECT_EQ(result.code(), 0);
        EXPECT_NE(result.reason.find((c.dir / "SysData.dat").string()), std::string::npos);
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
    }
}

TEST_F(SysDataHolderTest, FailedWriteLeavesTheOldFile) {
    SysDataHolder holder = storedThenChanged();
    const std::string old = contents(holder.path());
    const std::string bytes = EncodeSysDataFile(holder.data());
    const WriteFunction diskFull = [calls = 0](int fd, const void* data,
                                               std::size_t size) mutable -> ssize_t {
        if (calls++ == 0) return ::write(fd, data, size / 2);
        errno = ENOSPC;
        return -1;
    };
    const FileWriteResult result = replaceFileAtomically(holder.path(), bytes, diskFull);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.reason.find("cannot write: No space left on device"), std::string::npos)
        << result.reason;
    EXPECT_EQ(contents(holder.path()), old);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SysDataHolderTest, StoreKilledHalfwayLeavesTheOldFile) {
    SysDataHolder holder = storedThenChanged();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const WriteFunction dies = [](int fd, const void* data, std::size_t size) -> ssize_t {
            if (::write(fd, data, size / 2) < 0) ::_exit(2);
            ::_exit(9);
        };
        replaceFileAtomically(holder.path(), EncodeSysDataFile(holder.data()), dies);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 9);

    SysDataHolder reader(m_dir);
    EXPECT_EQ(reader.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(reader.data().log, std::vector<std::string>{"old line"});
    EXPECT_EQ(holder.Store().code(), 1);  // the dead store's leftover is in nobody's way
    EXPECT_EQ(reader.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(reader.data().log, holder.data().log);
}

TEST(DataDirectory, ChoosesExecutableDirectoryElseXdgDataHome) {
    struct Case {
        bool writable;
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {true, "/x", "/h", "/opt/q/bin"},
        {false, "/x", "/h", "/x/quorvel"},
        {false, "", "/h", "/h/.local/share/quorvel"},
        {false, "relative", "/h", "/h/.local/share/quorvel"},
        {false, "", "", "/opt/q/bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.xdg) + "|" + c.home + "|" + std::to_string(c.writable));
        EXPECT_EQ(ChooseDataDirectory("/opt/q/bin", c.writable, c.xdg, c.home),
                  fs::path(c.expected));
    }
}

}  // namespace
}  // namespace quorvel
