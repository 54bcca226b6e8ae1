#pragma once

// The holder of the data file: one CSysData and the SysData.dat it is loaded from and
// stored to, always as a whole. The file is the header text, then the fields in the order
// CSysData::Serialize gives.

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "data/sys_data.h"

namespace quorvel {

inline constexpr std::string_view kSysDataHeader = "SysData Manager - StoreObject";
inline constexpr std::string_view kSysDataFileName = "SysData.dat";

enum class LoadOutcome {
    Read,       // every field came from the file
    NotOpened,  // no readable file, or an empty one: the fields kept their values
    Ignored,    // another header, or nothing after it: the fields kept their values
    Failed,     // a bad or truncated file: the fields read before the fault are replaced
    Surplus,    // every field came from the file, but bytes follow the last one
};

struct LoadResult {
    LoadResult() = default;
    LoadResult(LoadOutcome o, std::string why) : outcome(o), reason(std::move(why)) {}

    LoadOutcome outcome = LoadOutcome::Read;
    std::string reason;  // the file and what was wrong with it; empty when Read
    // Where Load kept the bytes of a file it could not read completely, before any store
    // could replace them; empty when there was no such file or no copy could be made.
    std::filesystem::path damagedCopy;
    // Load's answer: 0 only when reading failed part-way.
    int code() const { return outcome == LoadOutcome::Failed ? 0 : 1; }
    // Ignored, Failed and Surplus files are kept aside before the next store replaces them.
    bool damaged() const {
        return outcome == LoadOutcome::Ignored || outcome == LoadOutcome::Failed ||
               outcome == LoadOutcome::Surplus;
    }
    // What to tell the user, once, about a damaged file; empty otherwise.
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
    // temporary files of a store still running; those a killed store left are removed.
    // Refuses while a damaged file Load saw could not be copied aside. Never throws.
    StoreResult Store() const;

    CSysData& data() { return m_data; }
    const CSysData& data() const { return m_data; }
    const std::filesystem::path& path() const { return m_path; }

private:
    CSysData m_data;
    std::filesystem::path m_path;
    std::string m_uncopied;  // why the last damaged file could not be kept; blocks Store
};

}  // namespace quorvel
