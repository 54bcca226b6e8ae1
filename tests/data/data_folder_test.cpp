#include "data/data_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "other_account.h"
#include "support/file_text.h"
#include "support/test_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

// What this process writes into a lock file it holds.
std::string ownLockText() {
    return std::to_string(::getpid()) + " " + program_invocation_short_name + "\n";
}

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testing::FreshTestFolder("quorvel-folder-"); }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string lockFileText() const { return testing::readFile(m_dir / kLockFileName); }
    fs::path m_dir;
};

TEST_F(DataFolderTest, PortableCopyElseXdgDataHomeNeverTheWritableProgramDirectory) {
    const fs::path withCopy = m_dir / "stick";
    const fs::path bare = m_dir / "bin";  // writable, as /usr/bin is to root
    const fs::path withFolder = m_dir / "odd";
    fs::create_directories(withCopy);
    fs::create_directories(bare);
    fs::create_directories(withFolder / "SysData.dat");
    std::ofstream(withCopy / "SysData.dat") << "x";
    struct Case {
        fs::path program;
        const char* xdg;
        const char* home;
        fs::path expected;
    };
    const Case cases[] = {
        {withCopy, "/x", "/h", withCopy},
        {withCopy, "", "", withCopy},
        {bare, "/x", "/h", "/x/quorvel"},
        {bare, "", "/h", "/h/.local/share/quorvel"},
        {bare, "relative", "/h", "/h/.local/share/quorvel"},
        {withFolder, "", "/h", "/h/.local/share/quorvel"},  // not a file: no portable copy
        {"", "/x", "/h", "/x/quorvel"},
        {bare, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.string() + "|" + c.xdg + "|" + c.home);
        EXPECT_EQ(ChooseDataFolder(c.program, c.xdg, c.home), c.expected);
    }
}

TEST_F(DataFolderTest, OpenCreatesMissingFoldersOrSaysWhyNot) {
    const fs::path deep = m_dir / "a" / "b" / "c";
    FolderLockResult opened = OpenDataFolder(deep, milliseconds(0));
    ASSERT_TRUE(opened.lock) << opened.error;
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_EQ(opened.lock->folder(), deep);
    EXPECT_TRUE(fs::exists(deep / kLockFileName));

    std::ofstream(m_dir / "plain") << "x";
    const FolderLockResult blocked = OpenDataFolder(m_dir / "plain" / "sub", milliseconds(0));
    EXPECT_FALSE(blocked.lock);
    EXPECT_EQ(blocked.error.rfind(
                  "cannot create the data folder " + (m_dir / "plain" / "sub").string() + ": ", 0),
              0u)
        << blocked.error;
    EXPECT_EQ(OpenDataFolder("", milliseconds(0)).error, "no data folder: HOME is not set");
}

TEST_F(DataFolderTest, SecondHolderIsToldWhoHoldsTheFolder) {
    FolderLockResult first = FolderLock::tryAcquire(m_dir);
    ASSERT_TRUE(first.lock) << first.error;
    EXPECT_EQ(lockFileText(), ownLockText());

    // flock conflicts between two opens even in one process, so one process can stand in
    // for two programs here; tests/app does it with two.
    for (const milliseconds wait : {milliseconds(0), milliseconds(120)}) {
        SCOPED_TRACE(wait.count());
        const auto start = std::chrono::steady_clock::now();
        const FolderLockResult second = FolderLock::acquire(m_dir, wait);
        EXPECT_GE(std::chrono::steady_clock::now() - start, wait);
        EXPECT_FALSE(second.lock);
        EXPECT_TRUE(second.inUse);
        EXPECT_EQ(second.holder, ::getpid());
        EXPECT_EQ(second.holderProgram, program_invocation_short_name);
        EXPECT_EQ(second.error, "the data folder " + m_dir.string() + " is in use by " +
                                    program_invocation_short_name + " (pid " +
                                    std::to_string(::getpid()) + ")");
    }

    // Moving keeps the lock; destroying the last owner frees it and clears the pid.
    std::optional<FolderLock> moved(std::move(*first.lock));
    first.lock.reset();
    EXPECT_FALSE(FolderLock::tryAcquire(m_dir).lock);
    moved.reset();
    EXPECT_EQ(lockFileText(), "");
    EXPECT_TRUE(FolderLock::tryAcquire(m_dir).lock);
}

TEST_F(DataFolderTest, WaiterGetsTheLockWhenTheHolderLetsGo) {
    std::optional<FolderLock> held = FolderLock::tryAcquire(m_dir).lock;
    ASSERT_TRUE(held);
    std::thread releaser([&] {
        std::this_thread::sleep_for(milliseconds(150));
        held.reset();
    });
    const FolderLockResult waited = FolderLock::acquire(m_dir, milliseconds(5000));
    releaser.join();
    ASSERT_TRUE(waited.lock) << waited.error;
    EXPECT_EQ(waited.error, "");
    EXPECT_EQ(lockFileText(), ownLockText());
}

TEST(LockHolder, LockFileTextNamesPidAndProgram) {
    struct Case {
        const char* text;
        pid_t pid;
        const char* program;
        const char* message;
    };
    const Case cases[] = {
        {"4242 quorvel-calc\n", 4242, "quorvel-calc",
         "the data folder /d is in use by quorvel-calc (pid 4242)"},
        {"17 quorvel\n", 17, "quorvel", "the data folder /d is in use by quorvel (pid 17)"},
        {"17\n", 17, "", "the data folder /d is in use by another program (pid 17)"},
        {"17 \x1b[2Jgone\n", 17, "", "the data folder /d is in use by another program (pid 17)"},
        {"", 0, "", "the data folder /d is in use by another program"},
        {"-5 quorvel\n", 0, "", "the data folder /d is in use by another program"},
        {"soon quorvel\n", 0, "", "the data folder /d is in use by another program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const LockHolder holder = ParseLockHolder(c.text);
        EXPECT_EQ(holder.pid, c.pid);
        EXPECT_EQ(holder.program, c.program);
        EXPECT_EQ(FolderInUseMessage("/d", holder.pid, holder.program), c.message);
    }
}

// A folder this account may not write is named as such, whether or not a lock file is there
// already; root writes anywhere, so nobody tries.
TEST_F(DataFolderTest, ReadOnlyFolderIsNamedAsSuch) {
    for (const bool lockFileThere : {false, true}) {
        SCOPED_TRACE(lockFileThere ? "lock file there" : "no lock file");
        if (lockFileThere) std::ofstream(m_dir / kLockFileName) << "";
        const auto answer = test::AsNobody([&] {
            const FolderLockResult opened = OpenDataFolder(m_dir, milliseconds(0));
            const FolderLockResult locked = FolderLock::acquire(m_dir, milliseconds(0));
            return opened.error + "|" + (lockFileThere ? std::string("-") : locked.error);
        });
        if (!answer) GTEST_SKIP() << "cannot run as another account here";
        const std::string message = "the data folder " + m_dir.string() + " is not writable";
        EXPECT_EQ(*answer, message + "|" + (lockFileThere ? "-" : message));
    }
}

TEST(DataFolderWait, EnvironmentShortensTheWait) {
    struct Case {
        const char* value;  // nullptr: unset
        long expected;
    };
    const Case cases[] = {{nullptr, 5000}, {"250", 250}, {"0", 0}, {"-3", 5000}, {"soon", 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "unset");
        if (c.value) {
            ::setenv("QUORVEL_LOCK_WAIT_MS", c.value, 1);
        } else {
            ::unsetenv("QUORVEL_LOCK_WAIT_MS");
        }
        EXPECT_EQ(DataFolderWait().count(), c.expected);
    }
    ::unsetenv("QUORVEL_LOCK_WAIT_MS");
}

}  // namespace
}  // namespace quorvel
