#include "data/data_folder.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "data/sys_data_holder.h"

namespace quorvel {
namespace {

std::string homeDirectory() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        return found->pw_dir;
    }
    return {};
}

}  // namespace

std::filesystem::path ChooseDataFolder(const std::filesystem::path& programDirectory,
                                       std::string_view xdgDataHome, std::string_view home) {
    std::error_code error;
    if (!programDirectory.empty() &&
        std::filesystem::is_regular_file(programDirectory / kSysDataFileName, error)) {
        return programDirectory;
    }
    return XdgQuorvelFolder(xdgDataHome, home, ".local/share");
}

std::filesystem::path XdgQuorvelFolder(std::string_view xdgValue, std::string_view home,
                                       std::string_view fallback) {
    std::filesystem::path base(xdgValue);
    if (!base.is_absolute()) {
        if (home.empty()) return {};
        base = std::filesystem::path(home) / fallback;
    }
    return base / "quorvel";
}

std::filesystem::path ProgramDirectory() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : exe.parent_path();
}

std::filesystem::path DefaultDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    return ChooseDataFolder(ProgramDirectory(), xdg ? xdg : "", homeDirectory());
}

std::chrono::milliseconds DataFolderWait() {
    const char* text = std::getenv("QUORVEL_LOCK_WAIT_MS");
    if (text == nullptr) return kDataFolderWait;
    const std::string_view view(text);
    long ms = 0;
    const auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), ms);
    if (error != std::errc() || end != view.data() + view.size() || ms < 0) return kDataFolderWait;
    return std::chrono::milliseconds(ms);
}

FolderLockResult OpenDataFolder(const std::filesystem::path& folder,
                                std::chrono::milliseconds wait) {
    if (folder.empty()) return {std::nullopt, false, 0, {}, "no data folder: HOME is not set"};
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return {std::nullopt,
                false,
                0,
                {},
                "cannot create the data folder " + folder.string() + ": " + error.message()};
    }
    // Said up front, rather than as a lock file that cannot be made or a store that fails
    // after the first answer.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EROFS || errno == EPERM)) {
        return {std::nullopt, false, 0, {}, FolderNotWritableMessage(folder)};
    }
    return FolderLock::acquire(folder, wait);
}

}  // namespace quorvel
