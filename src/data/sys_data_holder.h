#pragma once

// The holder of the data file: one CSysData and the SysData.dat it is loaded from and
// stored to, always as a whole. The file is the header text, then the fields in the order
// CSysData::Serialize gives.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "data/background_writer.h"
#include "data/sys_data.h"

namespace quorvel {

inline constexpr std::string_view kSysDataHeader = "SysData Manager - StoreObject";
inline constexpr std::string_view kSysDataFileName = "SysData.dat";
// No data file grows this large in use (a million log lines take about 40 MB); a larger one
// is refused before it is read, and a store that would write one is refused too.
inline constexpr std::uint64_t kMaxSysDataBytes = 64ull << 20;

enum class LoadOutcome {
    Read,       // every field came from the file
    NotOpened,  // no file, or an empty one: the fields kept their values
    // A file that is there but could not be opened or read (permissions, a loop of links, an
    // I/O error, not a regular file, too large): the fields kept their values, and no store
    // replaces it while the holder has not read it.
    Unreadable,
    Ignored,  // another header, or nothing after it: the fields kept their values
    Failed,   // a bad or truncated file: the fields read before the fault are replaced
    Surplus,  // every field came from the file, but bytes follow the last one
};

struct LoadResult {
    LoadResult() = default;
    LoadResult(LoadOutcome o, std::string why) : outcome(o), reason(std::move(why)) {}

    LoadOutcome outcome = LoadOutcome::Read;
    std::string reason;  // the file and what was wrong with it; empty when Read
    // Where Load kept the bytes of a file it could not read completely, before any store
    // could replace them; empty when there was no such file or no copy could be made.
    std::filesystem::path damagedCopy;
    // No file at all, not even an empty one: the first run.
    bool missing = false;
    // Load's answer: 0 only when reading failed part-way.
    int code() const { return outcome == LoadOutcome::Failed ? 0 : 1; }
    // Ignored, Failed and Surplus files are kept aside before the next store replaces them.
    bool damaged() const {
        return outcome == LoadOutcome::Ignored || outcome == LoadOutcome::Failed ||
               outcome == LoadOutcome::Surplus;
    }
    bool unreadable() const { return outcome == LoadOutcome::Unreadable; }
    // What to tell the user, once, about a damaged or unreadable file; empty otherwise.
    std::string notice() const;
};

struct StoreResult {
    bool stored = false;
    std::string reason;  // the file and why it could not be written; empty when stored
    int code() const { return stored ? 1 : 0; }
};

// The file's bytes for `data`, and back; no disk involved.
std::string EncodeSysDataFile(const CSysData& data);
LoadResult DecodeSysDataFile(std::string_view bytes, CSysData& data);

class SysDataHolder {
public:
    // New values; the file lives in DefaultDataFolder(), which is not created here.
    SysDataHolder();
    // New values; the file is directory/SysData.dat.
    explicit SysDataHolder(const std::filesystem::path& directory);

    // Never throws. A file that is there but cannot be read completely is copied, byte for
    // byte, to SysData.dat.damaged-YYYYMMDD-HHMMSS beside it (a copy already holding the same
    // bytes is reused); the fields read before the fault stay.
    LoadResult Load();
    // Replaces the file atomically: on failure the old file is left as it was, and so are
    // temporary files of a store still running; those a killed store left are removed. A
    // linked file is written through the link, which stays. Refuses while the last Load found
    // the file unreadable, or damaged and not copied aside, and refuses data that would make
    // a file larger than kMaxSysDataBytes. Never throws.
    StoreResult Store() const;
    // As Store, but the disk work runs on the holder's writer thread, and `report` is called
    // there with the result: the caller does not wait for the disk. The data is taken as it
    // is now. A store not yet begun is replaced by the next; Load, Store and the destructor
    // first wait for the writer, so an older copy never lands over a newer one.
    void StoreLater(std::function<void(const StoreResult&)> report);
    // Returns once every StoreLater so far is written and reported.
    void WaitForStores() const;

    CSysData& data() { return m_data; }
    const CSysData& data() const { return m_data; }
    const std::filesystem::path& path() const { return m_path; }

private:
    // The file's bytes, or why they must not be written.
    std::optional<StoreResult> encode(std::string& bytes) const;

    CSysData m_data;
    std::filesystem::path m_path;
    // Why the last Load must not be stored over (an unreadable file, or a damaged one that
    // could not be kept aside); blocks Store.
    std::string m_blocked;
    std::unique_ptr<BackgroundWriter> m_writer;  // started by the first StoreLater
};

}  // namespace quorvel
