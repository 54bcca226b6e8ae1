#include "data/sys_data_holder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <system_error>
#include <vector>

#include "data/archive.h"
#include "data/atomic_file.h"

namespace quorvel {
namespace {

std::string systemFailure(const std::filesystem::path& path, const char* step, int error) {
    return path.string() + ": " + step + ": " + std::strerror(error);
}

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

// Reads until the end the file has now, which may differ from its size at open; answers 0
// or an errno, or kNotRegular.
constexpr int kNotRegular = -1;
int readWhole(int fd, std::string& bytes) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return errno;
    if (!S_ISREG(info.st_mode)) return kNotRegular;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);  // room to see the end at once
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() + 65536);
        const ssize_t n = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    bytes.resize(filled);
    return 0;
}

}  // namespace

std::string EncodeSysDataFile(const CSysData& data) {
    Archive ar;
    std::string header(kSysDataHeader);
    ar.exchange(header);
    // Serialize serves both directions; a storing archive only reads the fields.
    const_cast<CSysData&>(data).Serialize(ar);
    return ar.takeBytes();
}

LoadResult DecodeSysDataFile(std::string_view bytes, CSysData& data) {
    Archive ar(bytes);
    try {
        std::string header;
        ar.exchange(header);
        if (header != kSysDataHeader) return {LoadOutcome::Ignored, "not a Quorvel data file"};
        if (ar.atEnd()) return {LoadOutcome::Ignored, "nothing after the header"};
        data.Serialize(ar);
    } catch (const std::exception& error) {
        return {LoadOutcome::Failed, error.what()};
    }
    return {};
}

std::filesystem::path ChooseDataDirectory(const std::filesystem::path& exeDirectory,
                                          bool exeDirectoryWritable, std::string_view xdgDataHome,
                                          std::string_view home) {
    if (exeDirectoryWritable && !exeDirectory.empty()) return exeDirectory;
    std::filesystem::path base(xdgDataHome);
    if (!base.is_absolute()) {
        if (home.empty()) return exeDirectory;
        base = std::filesystem::path(home) / ".local" / "share";
    }
    return base / "quorvel";
}

std::filesystem::path DefaultDataDirectory() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path exeDirectory = error ? std::filesystem::path() : exe.parent_path();
    const bool writable = !exeDirectory.empty() && ::access(exeDirectory.c_str(), W_OK) == 0;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::filesystem::path chosen =
        ChooseDataDirectory(exeDirectory, writable, xdg ? xdg : "", homeDirectory());
    // A failure shows later, with its reason, when Store cannot write there.
    std::filesystem::create_directories(chosen, error);
    return chosen;
}

SysDataHolder::SysDataHolder() : SysDataHolder(DefaultDataDirectory()) {}

SysDataHolder::SysDataHolder(const std::filesystem::path& directory)
    : m_path(directory / kSysDataFileName) {}

LoadResult SysDataHolder::Load() {
    // Non-blocking, so that a FIFO put in the file's place cannot hang the start-up.
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {LoadOutcome::NotOpened, systemFailure(m_path, "cannot open", errno)};
    std::string bytes;
    int error = 0;
    try {
        error = readWhole(fd, bytes);
    } catch (const std::exception&) {
        error = ENOMEM;
    }
    ::close(fd);
    if (error == kNotRegular) {
        return {LoadOutcome::NotOpened, m_path.string() + ": cannot open: not a regular file"};
    }
    if (error != 0) return {LoadOutcome::Failed, systemFailure(m_path, "cannot read", error)};
    LoadResult result = DecodeSysDataFile(bytes, m_data);
    if (!result.reason.empty()) result.reason = m_path.string() + ": " + result.reason;
    return result;
}

StoreResult SysDataHolder::Store() const {
    try {
        const FileWriteResult written = replaceFileAtomically(m_path, EncodeSysDataFile(m_data));
        return {written.written, written.reason};
    } catch (const std::exception& error) {
        return {false, m_path.string() + ": " + error.what()};
    }
}

}  // namespace quorvel
