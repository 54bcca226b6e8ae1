#include "tools/start_up.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "calc/text_util.h"
#include "tools/style_code.h"
#include "tools/zoom.h"

namespace quorvel {
namespace {

constexpr std::string_view kUsage = R"(Usage: quorvel [OPTIONS]

Opens the talking calculator's window. A second start on the same data folder brings the
running window to the front instead of opening another.

Options:
  --data DIR     keep settings, log, formulas and parameters in DIR/SysData.dat; DIR is
                 created when missing (default: a SysData.dat beside the program, else
                 $XDG_DATA_HOME/quorvel, else ~/.local/share/quorvel)
  --style NAME   record the window style NAME (standard, cartoon, mini, detail or contrast)
                 in the data file and open that window; contrast is the high-contrast style
  --zoom PERCENT record the window's zoom, 100 to 300, in the data file and open the window
                 at that size (Ctrl+plus, Ctrl+minus and Ctrl+0 change it in the window)
  --help, --version
For calculations in a terminal, see quorvel-calc --help.
)";

}  // namespace

ParsedStartOptions ParseStartOptions(const std::vector<std::string_view>& args) {
    ParsedStartOptions parsed;
    StartOptions& o = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool takesValue = a == "--data" || a == "--style" || a == "--zoom";
        if (takesValue && i + 1 >= args.size()) {
            parsed.error = std::string(a) + " needs a value";
            return parsed;
        }
        if (a == "--data") {
            o.data = std::filesystem::path(args[++i]);
            if (o.data->empty()) {
                parsed.error = "--data needs a folder";
                return parsed;
            }
        } else if (a == "--style") {
            const std::string_view name = args[++i];
            // Code 5 is no window at all: not something to start with.
            const std::optional<WindowStyle> style = styleFromName(name);
            if (style && *style != WindowStyle::None) o.style = static_cast<int>(*style);
            if (!o.style) {
                parsed.error = "unknown style " + std::string(name) +
                               " (standard, cartoon, mini, detail, contrast)";
                return parsed;
            }
        } else if (a == "--zoom") {
            const std::string_view text = args[++i];
            int percent = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), percent);
            if (error != std::errc() || end != text.data() + text.size() || percent < kZoomMin ||
                percent > kZoomMax) {
                parsed.error = "--zoom takes a whole percentage from " + std::to_string(kZoomMin) +
                               " to " + std::to_string(kZoomMax) + ", not " + std::string(text);
                return parsed;
            }
            o.zoom = percent;
        } else if (a == "--help") {
            o.help = true;
        } else if (a == "--version") {
            o.version = true;
        } else {
            parsed.error = (a.substr(0, 1) == "-" ? "unknown option " : "unexpected argument ") +
                           std::string(a);
            return parsed;
        }
    }
    return parsed;
}

std::string_view StartUsage() { return kUsage; }

bool desktopAsksHighContrast(const ContrastHints& hints) {
    if (hints.qtAsksHighContrast || hints.portalContrast == 1u) return true;
    // GNOME's and MATE's high-contrast themes, by whatever name the desktop set them.
    const std::string theme = ToLower(hints.themeName);
    return theme.find("highcontrast") != std::string::npos ||
           theme.find("high-contrast") != std::string::npos ||
           theme.find("contrasthigh") != std::string::npos;
}

bool offerContrastStyle(bool firstRun, bool styleGiven, bool desktopAsks) {
    return firstRun && !styleGiven && desktopAsks;
}

std::string NoWindowMessage(const std::filesystem::path& dataFile) {
    return "quorvel: the window style recorded in " + dataFile.string() + " is " +
           std::to_string(kNoWindowStyle) +
           ", which opens no window.\n"
           "Run `quorvel --style standard` to record the standard style and start it again.\n";
}

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string InstanceServerName(std::string_view canonicalFolder, uid_t uid) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(Fnv1a64(canonicalFolder)));
    return "quorvel-" + std::to_string(uid) + "-" + hex;
}

std::optional<long> ResidentKilobytes(std::string_view procStatus) {
    constexpr std::string_view kKey = "VmRSS:";
    std::size_t at = 0;
    while (at < procStatus.size()) {
        std::size_t end = procStatus.find('\n', at);
        if (end == std::string_view::npos) end = procStatus.size();
        std::string_view line = procStatus.substr(at, end - at);
        at = end + 1;
        if (line.substr(0, kKey.size()) != kKey) continue;
        line.remove_prefix(kKey.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        long kb = 0;
        const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), kb);
        if (error != std::errc() || std::string_view(rest, line.data() + line.size()) != " kB") {
            return std::nullopt;
        }
        return kb;
    }
    return std::nullopt;
}

std::optional<long> OwnResidentKilobytes() {
    std::ifstream in("/proc/self/status");
    std::ostringstream text;
    text << in.rdbuf();
    return ResidentKilobytes(text.str());
}

std::vector<IconFile> InstalledIconFiles(const std::filesystem::path& programDirectory,
                                         std::string_view appId) {
    const std::filesystem::path theme =
        (programDirectory / ".." / "share" / "icons" / "hicolor").lexically_normal();
    std::vector<IconFile> files;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const std::string edge = std::to_string(size);
        std::filesystem::path file =
            theme / (edge + "x" + edge) / "apps" / (std::string(appId) + ".png");
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error)) files.push_back({size, std::move(file)});
    }
    return files;
}

}  // namespace quorvel
