#include "data/sys_data_holder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <regex>

#include "data/atomic_file.h"
#include "other_account.h"
#include "support/file_text.h"
#include "support/test_folder.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

class SysDataHolderTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testing::FreshTestFolder("quorvel-data-"); }
    void TearDown() override { fs::remove_all(m_dir); }
    // Old data on disk, new data in memory.
    SysDataHolder storedThenChanged() {
        SysDataHolder holder(m_dir);
        holder.data().log = {"old line"};
        EXPECT_EQ(holder.Store().code(), 1);
        holder.data().log = {"new line", "and more"};
        return holder;
    }
    std::vector<fs::path> damagedCopies() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            if (entry.path().filename().string().rfind("SysData.dat.damaged-", 0) == 0) {
                found.push_back(entry.path());
            }
        }
        return found;
    }
    void write(const std::string& bytes) const { writeFile(m_dir / "SysData.dat", bytes); }
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
    EXPECT_TRUE(result.missing);
    EXPECT_NE(result.reason.find("No such file"), std::string::npos) << result.reason;
    EXPECT_EQ(holder.data().paramF, "9");

    const StoreResult stored = holder.Store();
    EXPECT_EQ(stored.code(), 1) << stored.reason;
    EXPECT_EQ(holder.path(), m_dir / "SysData.dat");
    EXPECT_EQ(readFile(holder.path()), EncodeSysDataFile(holder.data()));
    EXPECT_EQ(entries(), 1u);  // no temporary file left behind

    SysDataHolder again(m_dir);
    EXPECT_EQ(again.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(again.data(), holder.data());
}

// Whatever Load could not read completely is kept byte for byte before the next store
// writes a sound file over it; the fields read before the fault stay.
TEST_F(SysDataHolderTest, DamagedFilesAreKeptAsideAndTheNextStoreIsSound) {
    CSysData chosen;
    chosen.paramF = "2.5";
    chosen.log = {"1+1=2", "2*3=6"};
    chosen.windowStyle = 3;
    const std::string good = EncodeSysDataFile(chosen);
    std::string oneByte = good;
    oneByte[3] ^= 0x20;  // "SyS..." instead of "Sys..."
    struct Case {
        const char* name;
        std::string bytes;
        LoadOutcome outcome;
        const char* paramF;  // what Load leaves in field 1
    };
    const Case cases[] = {
        {"one header byte changed", oneByte, LoadOutcome::Ignored, "1"},
        {"header only", good.substr(0, 30), LoadOutcome::Ignored, "1"},
        {"cut inside field 1", good.substr(0, 32), LoadOutcome::Failed, "1"},
        {"cut after field 1", good.substr(0, 34), LoadOutcome::Failed, "2.5"},
        {"cut inside the log", good.substr(0, good.find("2*3")), LoadOutcome::Failed, "2.5"},
        {"last byte missing", good.substr(0, good.size() - 1), LoadOutcome::Failed, "2.5"},
        {"bytes after the last field", good + std::string(4, '\0') + "\x01\x02",
         LoadOutcome::Surplus, "2.5"},
    };
    const std::regex copyName(R"(SysData\.dat\.damaged-\d{8}-\d{6})");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const fs::path& old : damagedCopies()) fs::remove(old);
        write(c.bytes);
        SysDataHolder holder(m_dir);
        const LoadResult loaded = holder.Load();
        EXPECT_EQ(loaded.outcome, c.outcome);
        EXPECT_TRUE(loaded.damaged());
        EXPECT_EQ(holder.data().paramF, c.paramF);
        ASSERT_EQ(damagedCopies(), std::vector<fs::path>{loaded.damagedCopy});
        EXPECT_TRUE(std::regex_match(loaded.damagedCopy.filename().string(), copyName))
            << loaded.damagedCopy;
        EXPECT_EQ(readFile(loaded.damagedCopy), c.bytes);
        EXPECT_EQ(loaded.notice(),
                  loaded.reason + "; the file is kept as " + loaded.damagedCopy.string());
        EXPECT_EQ(loaded.notice().rfind(holder.path().string() + ": ", 0), 0u);

        // Loading the same damage again finds the copy instead of making another.
        SysDataHolder again(m_dir);
        EXPECT_EQ(again.Load().damagedCopy, loaded.damagedCopy);
        EXPECT_EQ(damagedCopies().size(), 1u);

        holder.data().log.push_back("3+3=6");
        ASSERT_EQ(holder.Store().code(), 1);
        SysDataHolder reader(m_dir);
        EXPECT_EQ(reader.Load().outcome, LoadOutcome::Read);
        EXPECT_EQ(reader.data(), holder.data());
        EXPECT_EQ(readFile(loaded.damagedCopy), c.bytes);  // the store left the copy alone
    }
}

TEST_F(SysDataHolderTest, SoundAndMissingFilesMakeNoCopy) {
    SysDataHolder holder(m_dir);
    holder.data().paramK = "4";
    write("");
    const LoadResult empty = holder.Load();
    EXPECT_EQ(empty.outcome, LoadOutcome::NotOpened);  // an empty file is a missing one
    EXPECT_FALSE(empty.missing);                       // but no first run
    EXPECT_EQ(empty.reason, (m_dir / "SysData.dat").string() + ": empty file");
    EXPECT_FALSE(empty.damaged());
    EXPECT_EQ(empty.notice(), "");
    EXPECT_EQ(holder.data().paramK, "4");
    ASSERT_EQ(holder.Store().code(), 1);
    EXPECT_EQ(holder.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(holder.Load().notice(), "");
    EXPECT_TRUE(damagedCopies().empty());
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SysDataHolderTest, DamagedFileThatCannotBeCopiedIsNotReplaced) {
    write("garbage");
    // The folder's owner may not write it for the load, then may again for the store.
    const auto check = [this] {
        fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
        SysDataHolder holder(m_dir);
        const LoadResult loaded = holder.Load();
        fs::permissions(m_dir, fs::perms::owner_all);
        const StoreResult stored = holder.Store();
        return std::string(loaded.damagedCopy.empty() ? "no copy" : "copy") + "|" +
               loaded.notice() + "|" + stored.reason;
    };
    std::string answer;
    if (::geteuid() != 0) {
        answer = check();
    } else {
        // Root writes into read-only folders; nobody does not.
        ASSERT_EQ(::chown(m_dir.c_str(), test::kNobody, test::kNoGroup), 0);
        const auto asNobody = test::AsNobody(check);
        if (!asNobody) GTEST_SKIP() << "cannot run as another account here";
        answer = *asNobody;
    }
    EXPECT_EQ(answer.rfind("no copy|", 0), 0u) << answer;
    EXPECT_NE(answer.find("no copy could be kept"), std::string::npos) << answer;
    EXPECT_NE(answer.find("|" + (m_dir / "SysData.dat").string() + ": not replaced"),
              std::string::npos)
        << answer;
    EXPECT_EQ(readFile(m_dir / "SysData.dat"), "garbage");
}

// Only "no such file" is a missing file. Whatever else is in the way of reading is said with
// its reason, and no store replaces the file: its log and settings may all be in there.
TEST_F(SysDataHolderTest, UnreadableFilesAreLeftAsTheyAreAndNeverStoredOver) {
    const fs::path path = m_dir / "SysData.dat";
    struct Case {
        const char* name;
        std::function<void()> make;
        const char* reason;  // follows the path
    };
    const Case cases[] = {
        {"a loop of links", [&] { fs::create_symlink("SysData.dat", path); },
         " cannot be opened: Too many levels of symbolic links"},
        {"a folder", [&] { fs::create_directory(path); }, " cannot be opened: not a regular file"},
        {"a FIFO, which would block a plain open",
         [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
         " cannot be opened: not a regular file"},
        {"over the size bound",
         [&] {
             std::ofstream(path) << "x";
             fs::resize_file(path, kMaxSysDataBytes + 1);
         },
         " is 67108865 bytes, more than the 64 MB a data file may hold"},
        {"4 GiB, which would not even fit",
         [&] {
             std::ofstream(path) << "x";
             fs::resize_file(path, 4ull << 30);
         },
         " is 4294967296 bytes, more than the 64 MB a data file may hold"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(path);
        c.make();
        struct stat before {};
        ASSERT_EQ(::lstat(path.c_str(), &before), 0);
        SysDataHolder holder(m_dir);
        holder.data().paramM = "6";
        const LoadResult loaded = holder.Load();
        EXPECT_EQ(loaded.outcome, LoadOutcome::Unreadable);
        EXPECT_FALSE(loaded.missing);
        EXPECT_FALSE(loaded.damaged());
        EXPECT_EQ(loaded.code(), 1);
        EXPECT_EQ(loaded.reason, path.string() + c.reason);
        EXPECT_EQ(loaded.notice(),
                  loaded.reason + "; it is left as it is and nothing is stored over it");
        EXPECT_EQ(holder.data().paramM, "6");

        holder.data().log.push_back("1+1=2");
        const StoreResult stored = holder.Store();
        EXPECT_FALSE(stored.stored);
        EXPECT_EQ(stored.reason, "nothing is stored: " + loaded.reason);
        struct stat after {};
        ASSERT_EQ(::lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
        EXPECT_EQ(entries(), 1u);  // no copy, no temporary file
    }
}

// Root reads anything, so the files another account may not open are met as nobody.
TEST_F(SysDataHolderTest, FilesThisAccountMayNotReadAreLeftAsTheyAre) {
    SysDataHolder owner(m_dir);
    owner.data().log = {"7*6=42"};
    ASSERT_TRUE(owner.Store().stored);
    const std::string bytes = readFile(owner.path());
    ASSERT_EQ(::chown(m_dir.c_str(), test::kNobody, test::kNoGroup), 0);
    struct Case {
        const char* name;
        uid_t owner;
        fs::perms mode;
    };
    const Case cases[] = {
        {"mode 000", test::kNobody, fs::perms::none},
        {"another account's after a restore", 0, fs::perms::owner_read | fs::perms::owner_write},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(::chown(owner.path().c_str(), c.owner, test::kNoGroup), 0);
        fs::permissions(owner.path(), c.mode);
        const auto answer = test::AsNobody([&] {
            SysDataHolder holder(m_dir);
            const LoadResult loaded = holder.Load();
            holder.data().log.push_back("1+1=2");
            return loaded.reason + "|" + holder.Store().reason;
        });
        if (!answer) GTEST_SKIP() << "cannot run as another account here";
        const std::string reason = owner.path().string() + " cannot be opened: Permission denied";
        EXPECT_EQ(*answer, reason + "|nothing is stored: " + reason);
        EXPECT_EQ(readFile(owner.path()), bytes);
        EXPECT_EQ(fs::status(owner.path()).permissions(), c.mode);
        EXPECT_EQ(entries(), 1u);
    }
}

// A SysData.dat that links elsewhere (into a synced folder, say) stays a link: the store
// replaces the file at the end of the links, with its temporary file beside it.
TEST_F(SysDataHolderTest, LinkedFileIsWrittenThroughTheLink) {
    const fs::path data = m_dir / "data";
    const fs::path synced = m_dir / "synced";
    struct Case {
        const char* name;
        std::function<void()> make;  // links data/SysData.dat
        fs::path file;               // where the bytes end up
    };
    const Case cases[] = {
        {"relative, counted from the link's folder",
         [&] { fs::create_symlink("../synced/real.dat", data / "SysData.dat"); },
         synced / "real.dat"},
        {"absolute", [&] { fs::create_symlink(synced / "real.dat", data / "SysData.dat"); },
         synced / "real.dat"},
        {"a chain whose second link is relative to its own folder",
         [&] {
             fs::create_directories(synced / "deeper");
             fs::create_symlink("deeper/real.dat", synced / "hop.dat");
             fs::create_symlink(synced / "hop.dat", data / "SysData.dat");
         },
         synced / "deeper" / "real.dat"},
    };
    for (const Case& c : cases) {
        for (const bool targetExists : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (targetExists ? "" : ", target not there yet"));
            fs::remove_all(data);
            fs::remove_all(synced);
            fs::create_directories(data);
            fs::create_directories(synced);
            c.make();
            if (targetExists) {
                std::ofstream(c.file) << "";
                fs::permissions(
                    c.file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
            }
            const fs::path linkText = fs::read_symlink(data / "SysData.dat");

            SysDataHolder holder(data);
            EXPECT_EQ(holder.Load().missing, !targetExists);
            holder.data().log = {"2+2=4"};
            const StoreResult stored = holder.Store();
            ASSERT_TRUE(stored.stored) << stored.reason;
            EXPECT_TRUE(fs::is_symlink(data / "SysData.dat"));
            EXPECT_EQ(fs::read_symlink(data / "SysData.dat"), linkText);
            EXPECT_EQ(readFile(c.file), EncodeSysDataFile(holder.data()));
            if (targetExists) {
                EXPECT_EQ(fs::status(c.file).permissions(),
                          fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
            }
            for (const auto& entry : fs::recursive_directory_iterator(m_dir)) {
                EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
                    << entry.path();
            }
            SysDataHolder reader(data);
            EXPECT_EQ(reader.Load().outcome, LoadOutcome::Read);
            EXPECT_EQ(reader.data().log, holder.data().log);
        }
    }
}

TEST_F(SysDataHolderTest, DataBeyondTheSizeBoundIsNotStored) {
    SysDataHolder holder = storedThenChanged();
    const std::string old = readFile(holder.path());
    holder.data().log.assign(kMaxSysDataBytes / 60000 + 1, std::string(60000, '7'));
    const StoreResult stored = holder.Store();
    EXPECT_FALSE(stored.stored);
    EXPECT_NE(stored.reason.find(holder.path().string() + " is not stored: the data would take "),
              std::string::npos)
        << stored.reason;
    EXPECT_NE(stored.reason.find("more than the 64 MB a data file may hold; clear the log"),
              std::string::npos)
        << stored.reason;
    EXPECT_EQ(readFile(holder.path()), old);
    holder.data().log.resize(1);
    EXPECT_TRUE(holder.Store().stored);
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
    const std::string old = readFile(holder.path());
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
    EXPECT_EQ(readFile(holder.path()), old);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(SysDataHolderTest, StoreKilledHalfwayLeavesTheOldFile) {
    SysDataHolder holder = storedThenChanged();
    for (int kill = 0; kill < 3; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const WriteFunction dies = [](int fd, const void* data, std::size_t size) -> ssize_t {
                if (::write(fd, data, size / 2) < 0) ::_exit(2);
                ::kill(::getpid(), SIGKILL);
                ::_exit(3);
            };
            replaceFileAtomically(holder.path(), EncodeSysDataFile(holder.data()), dies);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ASSERT_EQ(WTERMSIG(status), SIGKILL);
    }
    EXPECT_EQ(entries(), 4u);  // the file and three killed stores' temporary files

    SysDataHolder reader(m_dir);
    EXPECT_EQ(reader.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(reader.data().log, std::vector<std::string>{"old line"});
    EXPECT_EQ(holder.Store().code(), 1);
    EXPECT_EQ(entries(), 1u);  // the next store cleared the leftovers
    EXPECT_EQ(reader.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(reader.data().log, holder.data().log);
}

TEST_F(SysDataHolderTest, StoreRemovesOnlyAbandonedTemporaryFiles) {
    const pid_t gone = [] {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }();
    struct Case {
        std::string name;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {"SysData.dat.tmp-" + std::to_string(gone) + "-0", false, true},
        {"SysData.dat.tmp-1-0", false, false},  // a live process may still rename it
        {"SysData.dat.tmp-1-1", true, true},    // unless it has been there for hours
        {"SysData.dat.tmp-nonsense", false, false},
        {"SysData.dat.tmp-nonsense-2", true, true},
        {"Other.dat.tmp-" + std::to_string(gone) + "-0", true, false},
        {"SysData.dat.damaged-20240101-000000", true, false},
    };
    for (const Case& c : cases) {
        std::ofstream(m_dir / c.name) << "left over";
        if (c.old) {
            fs::last_write_time(m_dir / c.name,
                                fs::file_time_type::clock::now() - std::chrono::hours(2));
        }
    }
    EXPECT_EQ(SysDataHolder(m_dir).Store().code(), 1);
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(m_dir / c.name), !c.removed) << c.name;
    }
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

class SysDataHolderLaterTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testing::FreshTestFolder("quorvel-later-"); }
    void TearDown() override { fs::remove_all(m_dir); }
    CSysData reread() const {
        SysDataHolder again(m_dir);
        EXPECT_EQ(again.Load().outcome, LoadOutcome::Read);
        return again.data();
    }
    fs::path m_dir;
};

// However stores in the background and on the spot are mixed, the file ends with the data of
// the last one asked for, and every background write that ran is reported.
TEST_F(SysDataHolderLaterTest, TheLastStoreAskedForIsTheOneOnDisk) {
    struct Case {
        const char* name;
        bool endsOnTheSpot;  // the last store is Store(), not StoreLater()
        bool destroyedBeforeWaiting;
    };
    const Case cases[] = {
        {"a burst in the background", false, false},
        {"a burst, then one on the spot", true, false},
        {"a burst left to the destructor", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(m_dir / "SysData.dat");
        std::atomic<int> reported{0}, stored{0};
        const auto report = [&](const StoreResult& result) {
            ++reported;
            if (result.stored) ++stored;
        };
        {
            SysDataHolder holder(m_dir);
            for (int i = 0; i < 50; ++i) {
                holder.data().paramF = std::to_string(i);
                holder.StoreLater(report);
            }
            if (c.endsOnTheSpot) {
                holder.data().paramF = "last";
                EXPECT_TRUE(holder.Store().stored);
            }
            if (!c.destroyedBeforeWaiting) holder.WaitForStores();
        }
        EXPECT_EQ(reread().paramF, c.endsOnTheSpot ? "last" : "49");
        EXPECT_GE(reported.load(), 1);
        EXPECT_LE(reported.load(), 50) << "a waiting store is replaced, not queued";
        EXPECT_EQ(stored.load(), reported.load());
    }
}

TEST_F(SysDataHolderLaterTest, ARefusedOrFailedStoreIsReportedNotWritten) {
    SysDataHolder holder(m_dir);
    fs::create_directories(holder.path());  // a folder where the file should be
    std::vector<StoreResult> results;
    std::mutex mutex;
    holder.StoreLater([&](const StoreResult& result) {
        const std::lock_guard<std::mutex> lock(mutex);
        results.push_back(result);
    });
    holder.WaitForStores();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_FALSE(results[0].stored);
    EXPECT_NE(results[0].reason.find(holder.path().string()), std::string::npos);
    EXPECT_TRUE(fs::is_directory(holder.path()));
}

}  // namespace
}  // namespace quorvel
