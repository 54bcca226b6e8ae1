#pragma once

// The start of the windowed program: its command line, what a stored window style opens, the
// name of the channel through which a second start on the same data folder wakes the first,
// and the figures the start-up benchmark reads.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// The window style code that opens no window at all.
inline constexpr int kNoWindowStyle = 5;

struct StartOptions {
    std::optional<std::filesystem::path> data;  // --data DIR
    std::optional<int> style;                   // --style NAME, as its style code
    std::optional<int> zoom;                    // --zoom PERCENT, 100 to 300
    bool help = false;
    bool version = false;
};

struct ParsedStartOptions {
    StartOptions options;
    std::string error;  // empty when the command line was understood
};

// The arguments after the program name.
ParsedStartOptions ParseStartOptions(const std::vector<std::string_view>& args);
std::string_view StartUsage();

// What the desktop says about contrast, as the window gathers it at a first start.
struct ContrastHints {
    bool qtAsksHighContrast = false;         // Qt's own accessibility hint, where Qt has one
    std::optional<unsigned> portalContrast;  // the desktop portal's contrast: 1 asks for high
    std::string themeName;                   // GTK_THEME or the desktop's widget theme
};
bool desktopAsksHighContrast(const ContrastHints& hints);
// Whether the start offers the high-contrast style: only at the first start, when the desktop
// asks for high contrast and the command line chose no style.
bool offerContrastStyle(bool firstRun, bool styleGiven, bool desktopAsks);
inline constexpr std::string_view kContrastOfferQuestion =
    "Your desktop asks for high contrast. Open Quorvel in its high-contrast style?";

// Told on standard error when the stored style opens no window.
std::string NoWindowMessage(const std::filesystem::path& dataFile);

// The local socket name of the window running on `canonicalFolder` for user `uid`: short
// enough for a socket path, the same in every build, different for every folder and user.
std::string InstanceServerName(std::string_view canonicalFolder, uid_t uid);

// 64-bit FNV-1a, stable across builds and machines, unlike std::hash.
std::uint64_t Fnv1a64(std::string_view bytes);

// The VmRSS line of /proc/self/status in kilobytes; nullopt when there is none.
std::optional<long> ResidentKilobytes(std::string_view procStatus);
// ResidentKilobytes of this process.
std::optional<long> OwnResidentKilobytes();

// One picture of the window icon as installed into the icon theme.
struct IconFile {
    int size = 0;  // pixels, square
    std::filesystem::path file;
};
// The icon's pictures that the install put beside a program in `programDirectory`
// (PREFIX/bin: PREFIX/share/icons/hicolor/NxN/apps/APPID.png), smallest first; none in a
// build tree. Found with a few file checks, where a theme lookup scans every icon theme.
std::vector<IconFile> InstalledIconFiles(const std::filesystem::path& programDirectory,
                                         std::string_view appId);

}  // namespace quorvel
