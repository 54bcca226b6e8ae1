#include "data/sys_data.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "bytes.h"
#include "data/sys_data_holder.h"

namespace quorvel {
namespace {

using test::Bytes;

// Every field differs from its new value; one description needs the UTF-16 form.
// clang-format off
CSysData chosenValues() {
    return {.paramF = "2.5", .paramK = "-3", .paramM = "0", .paramW = "7E+12", .piText = "3.14",
            .extraNumber = 2.5, .talkResult = 0, .talkInput = 1, .talkKeys = 0,
            .log = {"2024-05-01 10:00:00   1+2=3", "2024-05-01 10:00:09   2^10=1024"},
            .angleUnit = 0, .minimizeToTray = 0, .exerciseLimit1 = 20, .exerciseLimit2 = 250,
            .exerciseLimit3 = 3, .welcome = 0,
            .formulas = {{"add", "1+1=2", "Demo"},
                         {"other", "3*4=12", "Dreieck \u2013 Fl\u00e4che"}},
            .windowStyle = 4, .firstRun = 1,
            .conversions = {{"Length", "1000", "m in km", 7}},
            .decimalPlaces = 12, .intDigitsLimit = 15, .historyFactor = 1, .tipsAtStart = 0,
            .savedInput = "1+2", .savedStepFlag = 1, .savedDisplay = "3", .tipPosition = 17,
            .savedPosition = -1, .savedShownResult = 1, .tipWindowOpen = 1, .greetingMark = 1,
            .zoomPercent = 100, .otherAddedSettings = {}};
}

// One line per group of fields, numbered as in CSysData.
std::string chosenValuesFile() {
    return Bytes()
        .text("SysData Manager - StoreObject")
        .text("2.5").text("-3").text("0").text("7E+12").text("3.14")            // 1-5
        .raw({0, 0, 0, 0, 0, 0, 0x04, 0x40})                                    // 6: 2.5
        .i32(0).i32(1).i32(0)                                                   // 7-9
        .i32(2).text("2024-05-01 10:00:00   1+2=3")                             // 10
               .text("2024-05-01 10:00:09   2^10=1024")
        .i32(0).i32(0).raw({20, 250}).i32(3).i32(0)                             // 11-16
        .i32(2).text("add").text("1+1=2").text("Demo")                          // 17
               .text("other").text("3*4=12").utf16(u"Dreieck \u2013 Fl\u00e4che")
        .i32(4).i32(1)                                                          // 18-19
        .i32(1).text("Length").text("1000").text("m in km").i32(7)              // 20
        .i32(12).i32(15).i32(1).i32(0)                                          // 21-24
        .text("1+2").i32(1).text("3")                                           // 25-27
        .i32(17).i32(-1).i32(1).i32(1).i32(1)                                   // 28-32
        .s;
}
// clang-format on

TEST(SysDataFile, HandBuiltFileLoadsAndStoresAgainByteForByte) {
    const std::string file = chosenValuesFile();
    CSysData loaded;
    const LoadResult result = DecodeSysDataFile(file, loaded);
    EXPECT_EQ(result.outcome, LoadOutcome::Read) << result.reason;
    EXPECT_EQ(loaded, chosenValues());
    EXPECT_EQ(EncodeSysDataFile(loaded), file);
}

TEST(SysDataFile, NewValues) {
    const CSysData d;
    EXPECT_EQ(d.piText.size(), 103u);
    EXPECT_EQ(d.piText.substr(0, 12), "3.1415926535");
    EXPECT_EQ(d.piText.substr(93), "4211706798");
    EXPECT_EQ(d.windowStyle, 1);
    EXPECT_EQ(d.talkResult, 1);
    EXPECT_EQ(d.talkInput, 0);
    EXPECT_EQ(d.angleUnit, 1);
    EXPECT_EQ(d.decimalPlaces, 30);
    EXPECT_EQ(d.intDigitsLimit, 10);
    EXPECT_EQ(d.extraNumber, 0.0123);
    EXPECT_EQ(CConverter().flag, 1);
}

TEST(SysDataFile, RoundTrips) {
    CSysData empty;
    CSysData chosen = chosenValues();
    CSysData longLog;
    for (int i = 0; i < 300; ++i) longLog.log.push_back("line " + std::to_string(i));
    CSysData longTexts;
    longTexts.savedInput = std::string(300, '7');
    longTexts.savedDisplay = std::string(70000, '8');
    longTexts.paramW = std::string(70000, '9') + "\u00e9";
    const CSysData* cases[] = {&empty, &chosen, &longLog, &longTexts};
    for (const CSysData* original : cases) {
        CSysData loaded = chosenValues();
        loaded.log = {"to be replaced"};
        const LoadResult result = DecodeSysDataFile(EncodeSysDataFile(*original), loaded);
        EXPECT_EQ(result.outcome, LoadOutcome::Read) << result.reason;
        EXPECT_EQ(loaded, *original);
    }
}

TEST(SysDataFile, TruncatedAtEveryByteFailsKeepingTheFieldsReadSoFar) {
    const std::string file = chosenValuesFile();
    const std::size_t headerEnd = 30;
    for (std::size_t size = 0; size < file.size(); ++size) {
        SCOPED_TRACE(size);
        CSysData d;
        const LoadResult result = DecodeSysDataFile(file.substr(0, size), d);
        EXPECT_EQ(result.code(), size == headerEnd ? 1 : 0);
        EXPECT_EQ(result.outcome, size == headerEnd ? LoadOutcome::Ignored : LoadOutcome::Failed);
        EXPECT_FALSE(result.reason.empty());
        EXPECT_EQ(d.greetingMark, 0);  // the last field is never reached
        if (size > headerEnd + 4) {
            EXPECT_EQ(d.paramF, "2.5");
        }
    }
    // Cut inside the log: fields 1 to 9 are read, the angle unit is not.
    CSysData d;
    DecodeSysDataFile(file.substr(0, file.find("2024-05-01 10:00:09")), d);
    EXPECT_EQ(d.talkInput, 1);
    EXPECT_EQ(d.log, std::vector<std::string>{"2024-05-01 10:00:00   1+2=3"});
    EXPECT_EQ(d.angleUnit, 1);
}

// Settings added after field 32 sit in a counted list of number and value pairs. A file
// without the list (an older program's) reads with their new values; numbers this program
// does not know (a newer program's) are kept and stored again, never taken for damage.
TEST(SysDataFile, AddedSettingsOlderAndNewerFiles) {
    const std::string older = chosenValuesFile();
    struct Case {
        const char* what;
        std::string file;
        int zoom;
        std::vector<CAddedSetting> others;
    };
    const Case kCases[] = {
        {"older file", older, 100, {}},
        {"zoom", older + Bytes().i32(1).i32(1).i32(250).s, 250, {}},
        {"empty list", older + Bytes().i32(0).s, 100, {}},
        {"newer file",
         older + Bytes().i32(3).i32(7).i32(-4).i32(1).i32(175).i32(9).i32(1).s,
         175,
         {{7, -4}, {9, 1}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        CSysData d;
        const LoadResult result = DecodeSysDataFile(c.file, d);
        EXPECT_EQ(result.outcome, LoadOutcome::Read) << result.reason;
        EXPECT_EQ(d.greetingMark, 1);
        EXPECT_EQ(d.zoomPercent, c.zoom);
        EXPECT_EQ(d.otherAddedSettings, c.others);
        // Stored again and read again, nothing is lost.
        CSysData again;
        EXPECT_EQ(DecodeSysDataFile(EncodeSysDataFile(d), again).outcome, LoadOutcome::Read);
        EXPECT_EQ(again, d);
    }
    // Only settings that differ from their new values are written: with none, the file is
    // what an older program writes, so it reads there without a complaint.
    CSysData d = chosenValues();
    EXPECT_EQ(EncodeSysDataFile(d), older);
    d.zoomPercent = 200;
    EXPECT_EQ(EncodeSysDataFile(d), older + Bytes().i32(1).i32(1).i32(200).s);
    // A list cut short is damage like any other.
    CSysData cut;
    EXPECT_EQ(DecodeSysDataFile(older + Bytes().i32(2).i32(1).i32(200).s, cut).outcome,
              LoadOutcome::Failed);
}

TEST(SysDataFile, BadFilesFailOrAreIgnored) {
    const std::string good = chosenValuesFile();
    const std::size_t logCount = good.find("2024") - 5;
    std::string hugeLog = good;
    hugeLog.replace(logCount, 4, Bytes().i32(0xFFFFFFFF).s);
    std::string hugeText = good;
    hugeText.replace(30, 4, Bytes().raw({0xFF, 0xFF, 0xFF}).i32(0x7FFFFFFF).s);
    struct Case {
        const char* name;
        std::string bytes;
        LoadOutcome outcome;
        const char* reason;
    };
    const Case cases[] = {
        {"count of four billion", hugeLog, LoadOutcome::Failed, "list count 4294967295"},
        {"2 GB text", hugeText, LoadOutcome::Failed, "text length 2147483647"},
        {"garbage after header", good.substr(0, 30) + std::string(64, '\xEE'), LoadOutcome::Failed,
         "exceeds"},
        {"other header", Bytes().text("Some Other Manager").s + good.substr(30),
         LoadOutcome::Ignored, "not a Quorvel data file"},
        {"header only", good.substr(0, 30), LoadOutcome::Ignored, "nothing after the header"},
        // Bytes after field 32 begin the list of added settings; after it they are surplus.
        {"bytes after the last field", good + Bytes().i32(0).s + "xyz", LoadOutcome::Surplus,
         "3 bytes after the last field"},
        {"bytes too few for a list", good + "xyz", LoadOutcome::Failed, "list count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSysData d;
        const LoadResult result = DecodeSysDataFile(c.bytes, d);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_NE(result.reason.find(c.reason), std::string::npos) << result.reason;
        if (c.outcome == LoadOutcome::Ignored) {
            EXPECT_EQ(d, CSysData());
        }
    }
}

// Whatever a damaged file holds, a load that succeeds gives an object that stores and loads
// to itself.
TEST(SysDataFile, RandomDamageNeverBreaksTheRoundTrip) {
    const std::string good = chosenValuesFile();
    std::mt19937 random(6);
    int read = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes = good;
        for (int k = 0; k < 3; ++k) {
            bytes[random() % bytes.size()] = static_cast<char>(random());
        }
        CSysData d;
        if (DecodeSysDataFile(bytes, d).outcome != LoadOutcome::Read) continue;
        ++read;
        CSysData again;
        const std::string stored = EncodeSysDataFile(d);
        ASSERT_EQ(DecodeSysDataFile(stored, again).outcome, LoadOutcome::Read);
        EXPECT_EQ(EncodeSysDataFile(again), stored);  // bytes, so that a NaN compares too
    }
    EXPECT_GT(read, 100);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

// The precise-functions choice is added setting 2: a file without it (every file written
// before it) reads with the functions as they were, and one that holds it keeps the choice.
TEST(SysDataFile, PreciseFunctionsIsAnAddedSetting) {
    CSysData on;
    on.preciseFunctions = 1;
    const std::string withSetting = EncodeSysDataFile(on);
    const std::string without = EncodeSysDataFile(CSysData{});
    // A counted list of one (number, value) pair after field 32.
    EXPECT_EQ(withSetting.substr(without.size()),
              std::string("\x01\0\0\0\x02\0\0\0\x01\0\0\0", 12));

    CSysData fresh;
    EXPECT_EQ(DecodeSysDataFile(without, fresh).outcome, LoadOutcome::Read);
    EXPECT_EQ(fresh.preciseFunctions, 0);
    CSysData read;
    EXPECT_EQ(DecodeSysDataFile(withSetting, read).outcome, LoadOutcome::Read);
    EXPECT_EQ(read, on);
    EXPECT_TRUE(read.otherAddedSettings.empty());
}

}  // namespace
}  // namespace quorvel
