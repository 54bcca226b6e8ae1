#pragma once

// The holder of the data file: one CSysData and the SysData.dat it is loaded from and
// stored to, always as a whole. The file is the header text, then the fields in the order
// CSysData::Serialize gives.

#include <filesystem>
#include <string>
#include <string_view>

#include "data/sys_data.h"

namespace quorvel {

inline constexpr std::string_view kSysDataHeader = "SysData Manager - StoreObject";
inline constexpr std::string_view kSysDataFileName = "SysData.dat";

enum class LoadOutcome {
    Read,       // every field came from the file
    NotOpened,  // no readable file: the fields kept their values (a first run)
    Ignored,    // another header, or nothing after it: the fields kept their values
    Failed,     // a bad or truncated file: the fields read before the fault are replaced
};

struct LoadResult {
    LoadOutcome outcome = LoadOutcome::Read;
    std::string reason;  // the file and what was wrong with it; empty when Read
    // Load's answer: 0 only when reading failed part-way.
    int code() const { return outcome == LoadOutcome::Failed ? 0 : 1; }
};

struct StoreResult {
    bool stored = false;
    std::string reason;  // the file and why it could not be written; empty when stored
    int code() const { return stored ? 1 : 0; }
};

// The file's bytes for `data`, and back; no disk involved.
std::string EncodeSysDataFile(const CSysData& data);
LoadResult DecodeSysDataFile(std::string_view bytes, CSysData& data);

// The executable's directory when writable, else $XDG_DATA_HOME/quorvel, with
// $HOME/.local/share standing in for an unset, empty or relative $XDG_DATA_HOME.
std::filesystem::path ChooseDataDirectory(const std::filesystem::path& exeDirectory,
                                          bool exeDirectoryWritable, std::string_view xdgDataHome,
                                          std::string_view home);
// ChooseDataDirectory for this process, creating the directory when missing.
std::filesystem::path DefaultDataDirectory();

class SysDataHolder {
public:
    // New values; the file lives in DefaultDataDirectory().
    SysDataHolder();
    // New values; the file is directory/SysData.dat.
    explicit SysDataHolder(const std::filesystem::path& directory);

    // Never throws.
    LoadResult Load();
    // Replaces the file atomically: on failure the old file is left as it was. Never throws.
    StoreResult Store() const;

    CSysData& data() { return m_data; }
    const CSysData& data() const { return m_data; }
    const std::filesystem::path& path() const { return m_path; }

private:
    CSysData m_data;
    std::filesystem::path m_path;
};

}  // namespace quorvel
