#include "tools/start_up.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace quorvel {
namespace {

struct OptionCase {
    std::vector<std::string_view> args;
    const char* data;  // nullptr: no --data
    int style;         // 0: no --style
    bool help;
    bool version;
    const char* error;  // "" when accepted
};

TEST(ParseStartOptions, ReadsTheCommandLine) {
    const OptionCase cases[] = {
        {{}, nullptr, 0, false, false, ""},
        {{"--data", "/tmp/q"}, "/tmp/q", 0, false, false, ""},
        {{"--style", "standard"}, nullptr, 1, false, false, ""},
        {{"--style", "cartoon"}, nullptr, 2, false, false, ""},
        {{"--style", "mini", "--data", "d"}, "d", 3, false, false, ""},
        {{"--style", "detail"}, nullptr, 4, false, false, ""},
        {{"--style", "mini", "--style", "detail"}, nullptr, 4, false, false, ""},
        {{"--help"}, nullptr, 0, true, false, ""},
        {{"--version"}, nullptr, 0, false, true, ""},
        {{"--data"}, nullptr, 0, false, false, "--data needs a value"},
        {{"--data", ""}, nullptr, 0, false, false, "--data needs a folder"},
        {{"--style"}, nullptr, 0, false, false, "--style needs a value"},
        {{"--style", "Mini"}, nullptr, 3, false, false, ""},
        {{"--style", "contrast"}, nullptr, 6, false, false, ""},
        {{"--style", "none"},
         nullptr,
         0,
         false,
         false,
         "unknown style none (standard, cartoon, mini, detail, contrast)"},
        {{"--style", "5"},
         nullptr,
         0,
         false,
         false,
         "unknown style 5 (standard, cartoon, mini, detail, contrast)"},
        {{"--places", "3"}, nullptr, 0, false, false, "unknown option --places"},
        {{"2+3"}, nullptr, 0, false, false, "unexpected argument 2+3"},
    };
    for (const OptionCase& c : cases) {
        std::string line;
        for (auto a : c.args) line += std::string(a) + " ";
        SCOPED_TRACE(line);
        const ParsedStartOptions parsed = ParseStartOptions(c.args);
        EXPECT_EQ(parsed.error, c.error);
        if (!parsed.error.empty()) continue;
        const StartOptions& o = parsed.options;
        EXPECT_EQ(o.data.has_value(), c.data != nullptr);
        if (c.data && o.data) {
            EXPECT_EQ(o.data->string(), c.data);
        }
        EXPECT_EQ(o.style.value_or(0), c.style);
        EXPECT_EQ(o.help, c.help);
        EXPECT_EQ(o.version, c.version);
    }
}

TEST(ParseStartOptions, ZoomIsAWholePercentageFrom100To300) {
    struct Case {
        std::vector<std::string_view> args;
        int zoom;  // 0: none given, or refused
        bool refused;
    };
    const Case kCases[] = {
        {{}, 0, false},
        {{"--zoom", "100"}, 100, false},
        {{"--zoom", "200"}, 200, false},
        {{"--zoom", "300"}, 300, false},
        {{"--zoom", "137", "--style", "mini"}, 137, false},
        {{"--zoom", "150", "--zoom", "250"}, 250, false},
        {{"--zoom", "99"}, 0, true},
        {{"--zoom", "301"}, 0, true},
        {{"--zoom", "200%"}, 0, true},
        {{"--zoom", "1.5"}, 0, true},
        {{"--zoom", ""}, 0, true},
        {{"--zoom", "-200"}, 0, true},
        {{"--zoom", "99999999999"}, 0, true},
        {{"--zoom"}, 0, true},
    };
    for (const Case& c : kCases) {
        std::string line;
        for (auto a : c.args) line += std::string(a) + " ";
        SCOPED_TRACE(line);
        const ParsedStartOptions parsed = ParseStartOptions(c.args);
        EXPECT_EQ(!parsed.error.empty(), c.refused) << parsed.error;
        if (c.refused) {
            EXPECT_NE(parsed.error.find("--zoom"), std::string::npos) << parsed.error;
        } else {
            EXPECT_EQ(parsed.options.zoom.value_or(0), c.zoom);
        }
    }
    EXPECT_EQ(ParseStartOptions({"--zoom", "50"}).error,
              "--zoom takes a whole percentage from 100 to 300, not 50");
}

TEST(HighContrast, WhatTheDesktopSaysAndWhenTheStartOffersIt) {
    struct Case {
        ContrastHints hints;
        bool asks;
    };
    const Case kCases[] = {
        {{}, false},
        {{true, std::nullopt, ""}, true},
        {{false, 1u, ""}, true},
        {{false, 0u, ""}, false},
        {{false, 2u, ""}, false},  // a value the portal may add later is no request
        {{false, std::nullopt, "HighContrast"}, true},
        {{false, std::nullopt, "HighContrastInverse"}, true},
        {{false, 0u, "highcontrast"}, true},
        {{false, std::nullopt, "ContrastHigh"}, true},
        {{false, std::nullopt, "Adwaita"}, false},
        {{false, std::nullopt, "Adwaita:dark"}, false},
        {{false, std::nullopt, "Breeze"}, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.hints.themeName + " " + std::to_string(c.hints.portalContrast.value_or(9)));
        EXPECT_EQ(desktopAsksHighContrast(c.hints), c.asks);
    }
    struct Offer {
        bool firstRun;
        bool styleGiven;
        bool desktopAsks;
        bool offered;
    };
    const Offer kOffers[] = {
        {true, false, true, true},   {true, false, false, false}, {true, true, true, false},
        {false, false, true, false}, {false, true, false, false},
    };
    for (const Offer& o : kOffers) {
        EXPECT_EQ(offerContrastStyle(o.firstRun, o.styleGiven, o.desktopAsks), o.offered)
            << o.firstRun << o.styleGiven << o.desktopAsks;
    }
}

TEST(StartUsage, NamesEveryOptionAndStyle) {
    const std::string usage(StartUsage());
    for (const char* word : {"--data", "--style", "--zoom", "--help", "--version", "standard",
                             "cartoon", "mini", "detail", "contrast", "XDG_DATA_HOME"}) {
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    }
}

TEST(NoWindowMessage, SaysWhyAndHowToStartAgain) {
    const std::string text = NoWindowMessage("/home/a/.local/share/quorvel/SysData.dat");
    EXPECT_NE(text.find("/home/a/.local/share/quorvel/SysData.dat"), std::string::npos);
    EXPECT_NE(text.find(" 5,"), std::string::npos);
    EXPECT_NE(text.find("quorvel --style standard"), std::string::npos);
    EXPECT_EQ(text.back(), '\n');
}

// Published FNV-1a test vectors, so the name stays the same from one build to the next.
TEST(Fnv1a64, MatchesTheReferenceVectors) {
    struct Case {
        std::string_view in;
        std::uint64_t hash;
    };
    constexpr Case cases[] = {
        {"", 0xcbf29ce484222325ULL},
        {"a", 0xaf63dc4c8601ec8cULL},
        {"foobar", 0x85944171f73967e8ULL},
    };
    for (const Case& c : cases) EXPECT_EQ(Fnv1a64(c.in), c.hash) << c.in;
}

TEST(InstanceServerName, OneNamePerFolderAndUser) {
    EXPECT_EQ(InstanceServerName("/home/a/q", 1000), InstanceServerName("/home/a/q", 1000));
    EXPECT_EQ(InstanceServerName("", 7), "quorvel-7-cbf29ce484222325");

    std::set<std::string> names;
    const char* folders[] = {"/home/a/q", "/home/a/q/", "/home/a/Q", "/home/b/q", "/tmp/q"};
    for (const char* f : folders) {
        for (uid_t uid : {0u, 1000u}) {
            const std::string name = InstanceServerName(f, uid);
            // A socket path holds at most 107 bytes, /tmp/ or the runtime folder included.
            EXPECT_LE(name.size(), 40u) << name;
            EXPECT_EQ(name.find('/'), std::string::npos) << name;
            names.insert(name);
        }
    }
    EXPECT_EQ(names.size(), std::size(folders) * 2);
}

TEST(ResidentKilobytes, ReadsVmRss) {
    struct Case {
        const char* status;
        long kb;  // -1: none
    };
    const Case cases[] = {
        {"Name:\tquorvel\nVmPeak:\t  100 kB\nVmRSS:\t   42172 kB\nRssAnon:\t 1 kB\n", 42172},
        {"VmRSS: 7 kB", 7},
        {"Name:\tquorvel\nVmHWM:\t 9 kB\n", -1},
        {"VmRSS:\t abc kB\n", -1},
        {"VmRSS:\t 12 MB\n", -1},
        {"", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(ResidentKilobytes(c.status).value_or(-1), c.kb);
    }
    const auto own = OwnResidentKilobytes();
    ASSERT_TRUE(own.has_value());
    EXPECT_GT(*own, 0);
}

// Only the sizes the install puts there count; a build tree has none, and a folder or another
// program's icon by the same path is no picture.
TEST(InstalledIconFiles, FindsThePicturesInstalledBesideTheProgram) {
    namespace fs = std::filesystem;
    const fs::path prefix =
        fs::temp_directory_path() / ("quorvel_icon_files_" + std::to_string(::getpid()));
    fs::remove_all(prefix);
    fs::create_directories(prefix / "bin");
    const std::string id = "io.example.App";
    EXPECT_TRUE(InstalledIconFiles(prefix / "bin", id).empty());

    const fs::path theme = prefix / "share/icons/hicolor";
    for (const char* size : {"16x16", "48x48", "256x256", "20x20"}) {
        fs::create_directories(theme / size / "apps");
        std::ofstream(theme / size / "apps" / (id + ".png")) << "png";
    }
    fs::create_directories(theme / "32x32/apps" / (id + ".png"));  // a folder
    std::ofstream(theme / "64x64/apps/io.example.Other.png") << "png";
    fs::create_directories(theme / "scalable/apps");
    std::ofstream(theme / "scalable/apps" / (id + ".svg")) << "svg";

    const std::vector<IconFile> files = InstalledIconFiles(prefix / "bin", id);
    std::vector<int> sizes;
    for (const IconFile& f : files) {
        sizes.push_back(f.size);
        EXPECT_EQ(f.file, theme / (std::to_string(f.size) + "x" + std::to_string(f.size)) / "apps" /
                              (id + ".png"));
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 48, 256}));
    fs::remove_all(prefix);
}

}  // namespace
}  // namespace quorvel
