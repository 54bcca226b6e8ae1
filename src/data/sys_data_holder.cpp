#include "data/sys_data_holder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <exception>
#include <fstream>
#include <iterator>
#include <system_error>

#include "data/archive.h"
#include "data/atomic_file.h"
#include "data/data_folder.h"
#include "data/file_handle.h"

namespace quorvel {
namespace {

StoreResult writeSysDataFile(const std::filesystem::path& path, const std::string& bytes) {
    try {
        const FileWriteResult written = replaceFileAtomically(path, bytes);
        return {written.written, written.reason};
    } catch (const std::exception& error) {
        return {false, path.string() + ": " + error.what()};
    }
}

std::string systemFailure(const std::filesystem::path& path, const char* step, int error) {
    return path.string() + ": " + step + ": " + std::strerror(error);
}

// Reads until the end the file has now, which may differ from its size at open, but no
// further than kMaxSysDataBytes; answers 0, an errno, or kTooLarge.
constexpr int kTooLarge = -1;
int readWhole(int fd, std::string& bytes) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) return errno;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);  // room to see the end at once
    std::size_t filled = 0;
    for (;;) {
        if (filled > kMaxSysDataBytes) {
            bytes.resize(filled);
            return kTooLarge;
        }
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

std::string tooLarge(std::uint64_t size) {
    return "is " + std::to_string(size) + " bytes, more than the " +
           std::to_string(kMaxSysDataBytes >> 20) + " MB a data file may hold";
}

constexpr std::string_view kNothingStored = "; it is left as it is and nothing is stored over it";

struct KeptCopy {
    std::filesystem::path path;
    std::string error;  // empty when kept
};

bool holdsBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) ||
        std::filesystem::file_size(file, error) != bytes.size() || error) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    const std::string held{std::istreambuf_iterator<char>(in), {}};
    return held == bytes;
}

// A damaged file stays damaged until a store replaces it, so a program that loads it again
// first (quorvel-calc --units, say) finds its earlier copy instead of adding another.
KeptCopy keepDamagedCopy(const std::filesystem::path& file, std::string_view bytes) {
    const std::string prefix = file.filename().string() + ".damaged-";
    const std::filesystem::path directory =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (entry.path().filename().string().rfind(prefix, 0) == 0 &&
            holdsBytes(entry.path(), bytes)) {
            return {entry.path(), {}};
        }
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char stamp[32] = {};
    ::localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::filesystem::path base = file;
    base += ".damaged-" + std::string(stamp);
    for (int n = 1; n <= 100; ++n) {
        std::filesystem::path copy = base;
        if (n > 1) copy += "-" + std::to_string(n);
        FileDescriptor out(::open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (!out && errno == EEXIST) continue;
        if (!out) return {{}, systemFailure(copy, "cannot create", errno)};
        int error = WriteAll(out.get(), bytes);
        if (error == 0 && ::fsync(out.get()) != 0) error = errno;
        if (const int closed = out.reset(); error == 0) error = closed;
        if (error != 0) {
            ::unlink(copy.c_str());
            return {{}, systemFailure(copy, "cannot write", error)};
        }
        return {copy, {}};
    }
    return {{}, base.string() + ": too many copies with this name"};
}

}  // namespace

std::string LoadResult::notice() const {
    if (unreadable()) return reason + std::string(kNothingStored);
    if (!damaged()) return {};
    if (damagedCopy.empty()) return reason;
    return reason + "; the file is kept as " + damagedCopy.string();
}

std::string EncodeSysDataFile(const CSysData& data) {
    // Each text takes its characters and at most 7 bytes of length; 512 covers the rest.
    std::size_t size = 512 + data.piText.size() + data.savedInput.size() + data.savedDisplay.size();
    for (const std::string& line : data.log) size += line.size() + 7;
    for (const CFormula& f : data.formulas) {
        size += f.catalog.size() + f.formula.size() + f.description.size() + 21;
    }
    for (const CConverter& c : data.conversions) {
        size += c.category.size() + c.value.size() + c.description.size() + 25;
    }
    Archive ar;
    ar.reserve(size);
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
        if (!ar.atEnd()) {
            return {LoadOutcome::Surplus,
                    std::to_string(bytes.size() - ar.position()) + " bytes after the last field"};
        }
    } catch (const std::exception& error) {
        return {LoadOutcome::Failed, error.what()};
    }
    return {};
}

SysDataHolder::SysDataHolder() : SysDataHolder(DefaultDataFolder()) {}

SysDataHolder::SysDataHolder(const std::filesystem::path& directory)
    : m_path(directory / kSysDataFileName) {}

LoadResult SysDataHolder::Load() {
    WaitForStores();
    m_blocked.clear();
    const auto unreadable = [this](std::string why) {
        LoadResult result{LoadOutcome::Unreadable, m_path.string() + " " + std::move(why)};
        m_blocked = "nothing is stored: " + result.reason;
        return result;
    };
    // Non-blocking, so that a FIFO put in the file's place cannot hang the start-up.
    FileDescriptor fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd && errno == ENOENT) {
        LoadResult result{LoadOutcome::NotOpened, systemFailure(m_path, "cannot open", errno)};
        result.missing = true;
        return result;
    }
    if (!fd) return unreadable(std::string("cannot be opened: ") + std::strerror(errno));
    std::string bytes;
    int error = 0;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        return unreadable("cannot be opened: not a regular file");
    } else if (static_cast<std::uint64_t>(info.st_size) > kMaxSysDataBytes) {
        return unreadable(tooLarge(static_cast<std::uint64_t>(info.st_size)));
    } else {
        try {
            error = readWhole(fd.get(), bytes);
        } catch (const std::exception&) {
            error = ENOMEM;
        }
    }
    fd.reset();
    // Bytes that may be incomplete are no copy; the file itself is kept from being replaced.
    if (error == kTooLarge) return unreadable(tooLarge(bytes.size()));
    if (error != 0) return unreadable(std::string("cannot be read: ") + std::strerror(error));
    if (bytes.empty()) return {LoadOutcome::NotOpened, m_path.string() + ": empty file"};
    LoadResult result = DecodeSysDataFile(bytes, m_data);
    if (!result.reason.empty()) result.reason = m_path.string() + ": " + result.reason;
    if (result.damaged()) {
        std::string uncopied;
        try {
            KeptCopy kept = keepDamagedCopy(m_path, bytes);
            result.damagedCopy = std::move(kept.path);
            uncopied = std::move(kept.error);
        } catch (const std::exception& failure) {
            uncopied = failure.what();
        }
        if (!uncopied.empty()) {
            result.reason += "; no copy could be kept: " + uncopied;
            m_blocked =
                m_path.string() +
                ": not replaced, it could not be read completely nor copied aside: " + uncopied;
        }
    }
    return result;
}

std::optional<StoreResult> SysDataHolder::encode(std::string& bytes) const {
    if (!m_blocked.empty()) return StoreResult{false, m_blocked};
    try {
        bytes = EncodeSysDataFile(m_data);
    } catch (const std::exception& error) {
        return StoreResult{false, m_path.string() + ": " + error.what()};
    }
    if (bytes.size() > kMaxSysDataBytes) {
        return StoreResult{false, m_path.string() + " is not stored: the data would take " +
                                      std::to_string(bytes.size()) + " bytes, more than the " +
                                      std::to_string(kMaxSysDataBytes >> 20) +
                                      " MB a data file may hold; clear the log"};
    }
    return std::nullopt;
}

StoreResult SysDataHolder::Store() const {
    WaitForStores();
    std::string bytes;
    if (std::optional<StoreResult> refused = encode(bytes)) return *refused;
    return writeSysDataFile(m_path, bytes);
}

void SysDataHolder::StoreLater(std::function<void(const StoreResult&)> report) {
    std::string bytes;
    std::optional<StoreResult> refused = encode(bytes);
    if (!m_writer) m_writer = std::make_unique<BackgroundWriter>();
    m_writer->post([path = m_path, bytes = std::move(bytes), refused = std::move(refused),
                    report = std::move(report)] {
        report(refused ? *refused : writeSysDataFile(path, bytes));
    });
}

void SysDataHolder::WaitForStores() const {
    if (m_writer) m_writer->wait();
}

}  // namespace quorvel
