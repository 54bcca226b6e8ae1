#include "data/replacement_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <string>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace quorvel {
namespace {

struct ListedTemporary {
    std::atomic<int> state{0};
    char path[4096];
};
static_assert(std::atomic<int>::is_always_lock_free);

// The temporary files in progress, for a signal handler: it may not allocate or lock, so the
// names sit in fixed slots.
class ListedTemporaries {
public:
    static int claim(const fs::path& path) {
        const std::string& text = path.native();
        if (text.size() >= kPathSize) return -1;
        for (int i = 0; i < kSlots; ++i) {
            int expected = kFree;
            if (!s_slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
            text.copy(s_slots[i].path, text.size());
            s_slots[i].path[text.size()] = '\0';
            s_slots[i].state.store(kHeld);
            return i;
        }
        return -1;
    }

    static void release(int slot) noexcept {
        if (slot >= 0) s_slots[slot].state.store(kFree);
    }

    static void removeAll() noexcept {
        for (ListedTemporary& slot : s_slots) {
            if (slot.state.load() == kHeld) ::unlink(slot.path);
        }
    }

private:
    static constexpr int kSlots = 16;
    static constexpr std::size_t kPathSize = sizeof ListedTemporary::path;
    enum : int { kFree, kFilling, kHeld };
    static inline ListedTemporary s_slots[kSlots];
};

// Enough for any folder that was merely unlucky; a folder full of our names is refused.
constexpr int kCreateAttempts = 100;

std::size_t longestName(const fs::path& directory) {
    const long most = ::pathconf(directory.empty() ? "." : directory.c_str(), _PC_NAME_MAX);
    return most > 0 ? static_cast<std::size_t>(most) : 255;
}

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

fs::path temporaryName(const fs::path& target, std::string_view kind, unsigned serial,
                       std::size_t longest) {
    std::string name = target.filename().string();
    const std::string mark =
        std::string(kind) + std::to_string(::getpid()) + "-" + std::to_string(serial);
    if (name.size() + mark.size() > longest) {
        std::size_t keep = longest > mark.size() ? longest - mark.size() : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        name.resize(keep);
    }
    return target.parent_path() / (name + mark);
}

}  // namespace

bool IsAbandonedTemporary(const fs::directory_entry& entry, long writerPid,
                          std::chrono::hours age) {
    std::error_code error;
    if (!entry.is_regular_file(error)) return false;
    if (writerPid > 0 && writerPid != ::getpid() && ::kill(static_cast<pid_t>(writerPid), 0) != 0 &&
        errno == ESRCH) {
        return true;
    }
    const auto written = entry.last_write_time(error);
    return !error && fs::file_time_type::clock::now() - written > age;
}

long TemporaryOwner(std::string_view name, std::string_view targetName, std::string_view mark,
                    std::size_t longest) {
    const std::size_t at = name.rfind(mark);
    if (at == std::string_view::npos || at == 0) return -1;
    const std::string_view kept = name.substr(0, at);
    // A shortened name fills the limit but for the bytes of a UTF-8 character it kept whole.
    const bool shortened = kept.size() < targetName.size() &&
                           targetName.substr(0, kept.size()) == kept && name.size() + 4 > longest;
    if (kept != targetName && !shortened) return -1;
    const std::string_view numbers = name.substr(at + mark.size());
    long pid = 0;
    unsigned serial = 0;
    const char* end = numbers.data() + numbers.size();
    const auto [dash, pidParsed] = std::from_chars(numbers.data(), end, pid);
    if (pidParsed != std::errc() || dash == end || *dash != '-' || pid <= 0) return 0;
    const auto [last, serialParsed] = std::from_chars(dash + 1, end, serial);
    return serialParsed == std::errc() && last == end && dash + 1 != end ? pid : 0;
}

ReplacementFile::ReplacementFile(fs::path target, const TemporaryKind& kind)
    : m_target(std::move(target)), m_kind(kind) {}

ReplacementFile::~ReplacementFile() {
    m_fd.reset();
    if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
    release();
}

void ReplacementFile::release() noexcept {
    ListedTemporaries::release(m_slot);
    m_slot = -1;
}

int ReplacementFile::fail(Step step, int error) {
    m_failed = step;
    return error;
}

// The name is listed for the signal handler before the file exists, so there is no moment in
// which a killed writer leaves it behind.
int ReplacementFile::create() {
    static std::atomic<unsigned> serial{0};
    const std::size_t longest = longestName(m_target.parent_path());
    int error = EEXIST;
    for (int attempt = 0; attempt < kCreateAttempts && error == EEXIST; ++attempt) {
        m_temporary = temporaryName(m_target, m_kind.mark, serial++, longest);
        if (m_kind.removedOnSignal) m_slot = ListedTemporaries::claim(m_temporary);
        m_fd.reset(::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (m_fd) return 0;
        error = errno;
        release();
    }
    m_temporary.clear();
    return fail(Step::Create, error);
}

int ReplacementFile::commit() {
    if (::fsync(m_fd.get()) != 0) return fail(Step::Flush, errno);
    if (const int error = m_fd.reset()) return fail(Step::Close, error);
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) return fail(Step::Replace, errno);
    m_temporary.clear();
    release();
    // The rename itself reaches the disk only with the folder; the new file is in place
    // either way, so a failure here is no failed replace.
    const FileDescriptor folder(
        ::open(folderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) ::fsync(folder.get());
    return 0;
}

void ReplacementFile::removeAbandoned() const {
    const fs::path directory = folderOf(m_target);
    const std::string targetName = m_target.filename().string();
    const std::size_t longest = longestName(m_target.parent_path());
    std::error_code error;
    fs::directory_iterator it(directory, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const long pid =
            TemporaryOwner(it->path().filename().string(), targetName, m_kind.mark, longest);
        if (pid < 0) continue;
        std::error_code ignored;
        if (IsAbandonedTemporary(*it, pid, m_kind.abandonedAfter)) fs::remove(it->path(), ignored);
    }
}

void RemoveListedTemporaries() noexcept { ListedTemporaries::removeAll(); }

}  // namespace quorvel
