#include "data/atomic_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <system_error>

#include "data/replacement_file.h"

namespace quorvel {
namespace {

std::string failure(const std::filesystem::path& target, const char* step, int error) {
    return target.string() + ": " + step + ": " + std::strerror(error);
}

// Older than any store takes, even one waiting on a slow disk.
constexpr TemporaryKind kStoreTemporary{".tmp-", std::chrono::hours(1)};

const char* stepText(ReplacementFile::Step step) {
    switch (step) {
        case ReplacementFile::Step::Flush:
            return "cannot flush to disk";
        case ReplacementFile::Step::Close:
            return "cannot close";
        case ReplacementFile::Step::Replace:
            return "cannot replace";
        case ReplacementFile::Step::Create:
        case ReplacementFile::Step::None:
            break;
    }
    return "cannot create a temporary file";
}

// The file a replace must write: `target`, or the end of the chain of links it names, so that
// a link (into a synced folder, say) stays a link. A relative link counts from its own folder.
// 0, or the errno of the step that failed.
constexpr int kMaxLinks = 40;  // as the kernel allows
int resolveLinks(const std::filesystem::path& target, std::filesystem::path& resolved) {
    resolved = target;
    for (int hop = 0; hop <= kMaxLinks; ++hop) {
        struct stat info {};
        if (::lstat(resolved.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(info.st_mode)) return 0;
        std::error_code error;
        const std::filesystem::path link = std::filesystem::read_symlink(resolved, error);
        if (error) return error.value();
        resolved = link.is_absolute() ? link : resolved.parent_path() / link;
    }
    return ELOOP;
}

}  // namespace

FileWriteResult replaceFileAtomically(const std::filesystem::path& link, std::string_view bytes,
                                      const WriteFunction& write) {
    std::filesystem::path target;
    if (const int error = resolveLinks(link, target); error != 0) {
        return {false, failure(link, "cannot follow the link", error)};
    }
    ReplacementFile file(target, kStoreTemporary);
    if (const int error = file.create()) {
        return {false, failure(target, stepText(ReplacementFile::Step::Create), error)};
    }
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(file.fd(), old.st_mode & 07777) != 0) {
        return {false, failure(target, "cannot set permissions", errno)};
    }
    if (const int error = WriteAll(file.fd(), bytes, write)) {
        return {false, failure(target, "cannot write", error)};
    }
    if (const int error = file.commit()) {
        return {false, failure(target, stepText(file.failedStep()), error)};
    }
    file.removeAbandoned();
    return {true, {}};
}

}  // namespace quorvel
