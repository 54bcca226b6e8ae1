#pragma once

// Where SysData.dat lives. Both programs take --data DIR; without it the data lives in
// $XDG_DATA_HOME/quorvel, unless a SysData.dat already stands beside the program (a portable
// copy, say on a stick), which then wins.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/folder_lock.h"

namespace quorvel {

inline constexpr std::chrono::milliseconds kDataFolderWait{5000};

// A regular SysData.dat in `programDirectory` wins; otherwise `xdgDataHome`/quorvel, with
// `home`/.local/share standing in for an unset, empty or relative $XDG_DATA_HOME. The
// program's directory is never chosen for being writable (as root /usr/bin is). Empty when
// there is neither a portable copy nor a home.
std::filesystem::path ChooseDataFolder(const std::filesystem::path& programDirectory,
                                       std::string_view xdgDataHome, std::string_view home);
// The quorvel folder of an XDG base directory: `xdgValue`/quorvel when it is absolute, else
// `home`/`fallback`/quorvel (fallback such as ".local/share"); empty when neither gives a place.
std::filesystem::path XdgQuorvelFolder(std::string_view xdgValue, std::string_view home,
                                       std::string_view fallback);
// The folder of the running program; empty when the system cannot say.
std::filesystem::path ProgramDirectory();
// ChooseDataFolder for this process; creates nothing.
std::filesystem::path DefaultDataFolder();

// How long a program waits for another to let go of the folder: kDataFolderWait, unless
// QUORVEL_LOCK_WAIT_MS says otherwise (tests use it to keep a timeout short).
std::chrono::milliseconds DataFolderWait();

// Creates `folder` and its parents when missing, then takes its lock, waiting up to `wait`.
// The caller keeps the lock from before Load until after its last Store.
FolderLockResult OpenDataFolder(const std::filesystem::path& folder,
                                std::chrono::milliseconds wait);

}  // namespace quorvel
