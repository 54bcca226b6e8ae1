#pragma once

// A new file written beside a target that takes the target's place only once it is whole: a
// store or a run that fails or is killed part-way leaves the target as it was. The data file
// and the batch result are both written this way.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string_view>

#include "data/file_handle.h"

namespace quorvel {

// How a writer names its temporary files, "TARGET" + mark + "PID-SERIAL", and when one left
// behind is taken for abandoned.
struct TemporaryKind {
    std::string_view mark;
    // A temporary untouched this long has no writer left, whatever its pid says.
    std::chrono::hours abandonedAfter;
    // Listed for RemoveListedTemporaries, which a handler of a fatal signal calls.
    bool removedOnSignal = false;
};

class ReplacementFile {
public:
    enum class Step { None, Create, Flush, Close, Replace };

    ReplacementFile(std::filesystem::path target, const TemporaryKind& kind);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // Closes and removes the temporary file unless it was committed.
    ~ReplacementFile();

    // Creates the temporary file beside the target, mode 0666 less the umask. A name too long
    // for the folder is shortened so that the mark fits, never inside a UTF-8 character.
    // Answers 0 or the errno.
    int create();
    int fd() const { return m_fd.get(); }
    const std::filesystem::path& temporary() const { return m_temporary; }

    // Flushes the temporary file to disk, closes it and renames it over the target, then
    // syncs the folder (whose failure does not undo the replace). Answers 0, or the errno of
    // the step failedStep() names; the target is then untouched.
    int commit();
    Step failedStep() const { return m_failed; }

    // Removes the temporary files of this target and kind that a killed writer left: the
    // regular files named as create() names them whose process is gone, or that are older
    // than the kind allows. A live writer's file and every other name stay.
    void removeAbandoned() const;

private:
    int fail(Step step, int error);
    void release() noexcept;

    std::filesystem::path m_target;
    TemporaryKind m_kind;
    std::filesystem::path m_temporary;  // "" before create() and after commit()
    FileDescriptor m_fd;
    int m_slot = -1;  // of m_temporary among the files a signal removes
    Step m_failed = Step::None;
};

// A temporary file left by a writer that was killed: a regular file whose writer (`writerPid`,
// 0 when unknown) no longer exists, or that nobody has touched for `age`. Another pid
// namespace, or a reused pid, only delays the clean-up until the file is old.
bool IsAbandonedTemporary(const std::filesystem::directory_entry& entry, long writerPid,
                          std::chrono::hours age);

// Removes the temporary files of the writers in progress that asked for it, with nothing but
// unlink(2): safe in a signal handler. One whose name did not fit the fixed list is left to
// the next writer's removeAbandoned().
void RemoveListedTemporaries() noexcept;

// The pid in `name` if it is a temporary file of `targetName` (as create() names them, a
// shortened name included, in a folder whose names may hold `longest` bytes); 0 when it is one
// without a readable pid; -1 when it is none.
long TemporaryOwner(std::string_view name, std::string_view targetName, std::string_view mark,
                    std::size_t longest);

}  // namespace quorvel
