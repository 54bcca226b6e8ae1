#pragma once

// One program at a time holds a data folder: both programs store SysData.dat as a whole, so
// two holders would each write their object over the other's changes. The lock is flock on
// a lock file in the folder, which the kernel drops when its holder ends, however it ends.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

inline constexpr std::string_view kLockFileName = "SysData.lock";

struct FolderLockResult;

class FolderLock {
public:
    // Takes the lock of `folder` (which must exist), trying again until `wait` has passed.
    // The holder's pid and program name are written into the lock file for the message of
    // whoever waits next.
    static FolderLockResult acquire(const std::filesystem::path& folder,
                                    std::chrono::milliseconds wait);
    // One attempt, no waiting: for a window that would rather say so than hang.
    static FolderLockResult tryAcquire(const std::filesystem::path& folder);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    const std::filesystem::path& folder() const { return m_folder; }

private:
    FolderLock(std::filesystem::path folder, int fd) : m_folder(std::move(folder)), m_fd(fd) {}
    void release();

    std::filesystem::path m_folder;
    int m_fd = -1;
};

struct FolderLockResult {
    std::optional<FolderLock> lock;  // empty when the lock was not taken
    bool inUse = false;              // another program holds it
    pid_t holder = 0;                // the pid in the lock file when another holds it, if known
    std::string holderProgram;       // and the name of its program (quorvel, quorvel-calc)
    std::string error;               // empty when locked
};

// What a lock file says about its holder: "PID PROGRAM\n"; an older "PID\n" names no program.
struct LockHolder {
    pid_t pid = 0;  // 0 when unknown
    std::string program;
};
LockHolder ParseLockHolder(std::string_view text);

// "the data folder DIR is in use by quorvel-calc (pid N)"; "another program" and no pid where
// they are unknown.
std::string FolderInUseMessage(const std::filesystem::path& folder, pid_t holder,
                               std::string_view program);
// "the data folder DIR is not writable"
std::string FolderNotWritableMessage(const std::filesystem::path& folder);

}  // namespace quorvel
