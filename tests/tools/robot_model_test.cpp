#include "tools/robot_model.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/sys_data.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "tools/tool_messages.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using testing::RecordingPrompter;
using testing::RecordingSpeaker;

const std::string kQuorvel(msg::kTitleQuorvel);
const std::string kSelectSource = kQuorvel + ": " + std::string(msg::kSelectSourceFirst);

BatchEntry entry(const char* calculation, const char* result) {
    return {calculation, result, std::string("2026-12-08 09:05 ") + calculation + "=" + result};
}

TEST(QtFileFilter, TurnsLabelAndPatternPairsIntoQtForm) {
    struct Case {
        const char* pairs;
        const char* filter;
    };
    constexpr Case kCases[] = {
        {"Text (*.txt)|*.txt|*.xml|*.htm|*.cpp|*.h|All Files (*.*)|*.*||",
         "Text (*.txt);;*.xml (*.htm);;*.cpp (*.h);;All Files (*)"},
        {"Sums|*.sum||", "Sums (*.sum)"},
        {"Old (*.a)|*.b||", "Old (*.b)"},
        {"Lonely label||", ""},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pairs);
        EXPECT_EQ(QtFileFilter(c.pairs), c.filter);
    }
}

TEST(RobotProgress, TextAndPercent) {
    struct Case {
        BatchProgress progress;
        long long elapsedMs;
        const char* text;
        int percent;
    };
    const Case kCases[] = {
        {{0, 0, 1000}, 0, "0 lines done", 0},
        {{1, 10, 1000}, 100, "1 line done", 1},
        // Half a second is not yet long enough for an estimate.
        {{50, 500, 1000}, 500, "50 lines done", 50},
        {{50, 500, 1000}, 501, "50 lines done, about 1 s left", 50},
        {{10, 100, 1000}, 1000, "10 lines done, about 9 s left", 10},
        {{10, 250, 1000}, 2000, "10 lines done, about 6 s left", 25},
        // A pipe has no size: no estimate, no percent.
        {{70, 700, 0}, 5000, "70 lines done", 0},
        {{70, 1000, 1000}, 5000, "70 lines done", 100},
        // Nothing read yet gives no pace.
        {{0, 0, 1000}, 3000, "0 lines done", 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RobotProgressText(c.progress, milliseconds(c.elapsedMs)), c.text);
        EXPECT_EQ(RobotProgressPercent(c.progress), c.percent);
    }
}

TEST(RobotFeed, TakesInOrderInBatches) {
    RobotFeed feed;
    feed.push(entry("1+1", "2"));
    feed.pushNote("Line 4: 1/0 failed");
    feed.push(entry("2*3", "6"));
    EXPECT_EQ(feed.size(), 3u);
    auto first = feed.take(2);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_FALSE(first[0].note);
    EXPECT_EQ(first[0].entry.calculation, "1+1");
    EXPECT_TRUE(first[1].note);
    EXPECT_EQ(first[1].text, "Line 4: 1/0 failed");
    feed.push(entry("9-1", "8"));
    auto rest = feed.take(10);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].entry.calculation, "2*3");
    EXPECT_EQ(rest[1].entry.calculation, "9-1");
    EXPECT_EQ(feed.size(), 0u);
    EXPECT_TRUE(feed.take(10).empty());
}

TEST(RobotFeed, OneThreadPushesWhileAnotherTakes) {
    RobotFeed feed;
    constexpr int kCount = 20000;
    std::thread producer([&] {
        for (int i = 0; i < kCount; ++i) {
            const std::string text = std::to_string(i);
            feed.push(BatchEntry{text, text, text});
        }
    });
    std::vector<std::string> seen;
    while (seen.size() < kCount) {
        for (auto& item : feed.take(97)) seen.push_back(item.entry.calculation);
    }
    producer.join();
    for (int i = 0; i < kCount; ++i) ASSERT_EQ(seen[i], std::to_string(i)) << "at " << i;
}

class RobotModelTest : public ::testing::Test {
protected:
    RobotModelTest() {
        model.setClock([] { return LogTime{2026, 12, 8, 9, 5}; });
    }

    CSysData data = [] {
        CSysData d;
        d.decimalPlaces = 6;
        d.intDigitsLimit = 12;
        return d;
    }();
    RobotModel model{data, false};
    RecordingPrompter prompter;
    RecordingSpeaker speaker;
};

TEST_F(RobotModelTest, StartsFromTheDataAndAddResult) {
    EXPECT_EQ(model.places(), 6);
    EXPECT_EQ(model.digitsLimit(), 12);
    EXPECT_EQ(model.mode(), BatchMode::AddResult);
    EXPECT_FALSE(model.talkAfterRun());
    EXPECT_EQ(model.log().text(), "Robot Log Information:\r\n");
    // A damaged file's values are brought into range before the dialog shows them.
    data.decimalPlaces = -4;
    data.intDigitsLimit = 999999;
    RobotModel repaired(data, true);
    EXPECT_EQ(repaired.places(), kPlacesRange.low);
    EXPECT_EQ(repaired.digitsLimit(), kDigitsLimitRange.high);
    EXPECT_TRUE(repaired.talkAfterRun());
}

TEST_F(RobotModelTest, PlacesAndDigitsStayInRange) {
    struct Case {
        int places;
        int digits;
        int wantPlaces;
        int wantDigits;
    };
    constexpr Case kCases[] = {
        {4, 3, 4, 3},
        {0, 1, 0, 1},
        {-1, 0, 0, 1},
        {10001, 10001, 10000, 10000},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.places) + "," + std::to_string(c.digits));
        model.setPlaces(c.places);
        model.setDigitsLimit(c.digits);
        EXPECT_EQ(model.places(), c.wantPlaces);
        EXPECT_EQ(model.digitsLimit(), c.wantDigits);
    }
}

TEST_F(RobotModelTest, BeginRunChecksTheSourceAndDerivesTheResult) {
    struct Case {
        const char* source;
        const char* result;
        bool starts;
        const char* resultAfter;
    };
    constexpr Case kCases[] = {
        {"", "", false, ""},
        {"   \t", "/x/out.rob", false, "/x/out.rob"},
        {"/data/sums.txt", "", true, "/data/sums.rob"},
        {"  /data/sums.txt ", "  ", true, "/data/sums.rob"},
        {"/data/sums.txt", " /elsewhere/r.rob ", true, "/elsewhere/r.rob"},
        {"sums.v2.txt", "", true, "sums.v2.rob"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("[") + c.source + "] [" + c.result + "]");
        prompter = {};
        model.setSource(c.source);
        model.setResult(c.result);
        const auto options = model.beginRun(prompter);
        EXPECT_EQ(options.has_value(), c.starts);
        EXPECT_EQ(model.result(), c.resultAfter);
        if (options) {
            EXPECT_TRUE(prompter.messages.empty());
            EXPECT_EQ(options->source, std::string(Trim(c.source)));
            EXPECT_EQ(options->result, c.resultAfter);
        } else {
            EXPECT_EQ(prompter.only(), kSelectSource);
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);
        }
    }
}

// The data takes P and N at every run and keeps them, so the next store writes them.
TEST_F(RobotModelTest, BeginRunPutsPAndNIntoTheData) {
    model.setSource("/data/sums.txt");
    model.setPlaces(3);
    model.setDigitsLimit(5);
    model.setMode(BatchMode::GenFilter);
    model.setENotation(true);
    data.angleUnit = 0;
    data.paramK = "7";
    const auto options = model.beginRun(prompter);
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(data.decimalPlaces, 3);
    EXPECT_EQ(data.intDigitsLimit, 5);
    EXPECT_EQ(options->settings.places, 3);
    EXPECT_EQ(options->settings.digitsLimit, 5);
    EXPECT_EQ(options->settings.angleUnit, AngleUnit::Degrees);
    EXPECT_EQ(options->settings.parameters[1], "7");
    EXPECT_EQ(options->mode, BatchMode::GenFilter);
    EXPECT_TRUE(options->eNotation);
    EXPECT_EQ(options->clock(), (LogTime{2026, 12, 8, 9, 5}));

    // Without a source nothing reaches the data.
    model.setSource("");
    model.setPlaces(9);
    EXPECT_FALSE(model.beginRun(prompter).has_value());
    EXPECT_EQ(data.decimalPlaces, 3);
}

TEST_F(RobotModelTest, BrowsingPutsTheResultBesideOrInTheChosenFolder) {
    model.sourceChosen("/data/texts/sums.txt");
    EXPECT_EQ(model.source(), "/data/texts/sums.txt");
    EXPECT_EQ(model.result(), "/data/texts/sums.rob");
    ASSERT_TRUE(model.mayBrowseResultFolder(prompter));
    model.resultFolderChosen("/out");
    EXPECT_EQ(model.result(), "/out/sums.rob");
    EXPECT_TRUE(prompter.messages.empty());

    model.setSource("  ");
    EXPECT_FALSE(model.mayBrowseResultFolder(prompter));
    EXPECT_EQ(prompter.only(), kSelectSource);
}

// Two runs: the log holds the heading once and both runs, Talk speaks only the second.
TEST_F(RobotModelTest, LogKeepsEveryRunAndTalkSpeaksTheLast) {
    RobotFeed feed;
    model.setSource("/data/sums.txt");
    ASSERT_TRUE(model.beginRun(prompter));
    feed.push(entry("2+3", "5"));
    feed.push(entry("2/3", "0.6667"));
    EXPECT_EQ(model.takeFeed(feed, 1), "2026-12-08 09:05 2+3=5");
    EXPECT_EQ(model.takeFeed(feed, 100), "2026-12-08 09:05 2/3=0.6667");
    model.endRun(speaker);
    EXPECT_TRUE(speaker.requests.empty()) << "the talk-after-run switch is off";

    ASSERT_TRUE(model.beginRun(prompter));
    feed.push(entry("7*6", "42"));
    feed.pushNote("1 calculation failed, on line 3");
    EXPECT_EQ(model.takeFeed(feed, 100),
              "2026-12-08 09:05 7*6=42\n1 calculation failed, on line 3");
    model.setTalkAfterRun(true);
    model.endRun(speaker);
    model.talk(speaker);

    EXPECT_EQ(model.log().text(),
              "Robot Log Information:\r\n"
              "2026-12-08 09:05 2+3=5\r\n"
              "2026-12-08 09:05 2/3=0.6667\r\n"
              "2026-12-08 09:05 7*6=42\r\n"
              "1 calculation failed, on line 3\r\n");
    const SpeechRequest secondRun{SpeechKind::ExprList, "1:7*6=42|"};
    EXPECT_EQ(speaker.requests, (std::vector<SpeechRequest>{secondRun, secondRun}));

    model.clearLog();
    EXPECT_EQ(model.log().text(), "Robot Log Information:\r\n");
}

TEST_F(RobotModelTest, CopyLog) {
    struct Case {
        const char* box;
        const char* copied;  // nullptr: nothing copied
        std::string shown;
    };
    const std::string copiedMessage = kQuorvel + ": " + std::string(msg::kLogCopied);
    const std::string emptyMessage = kQuorvel + ": " + std::string(msg::kLogEmpty);
    const Case kCases[] = {
        {"Robot Log Information:\n2026-12-08 09:05 2+3=5\n",
         "Robot Log Information:\r\n2026-12-08 09:05 2+3=5", copiedMessage},
        {"Robot Log Information:\r\n1+1=2\r\n", "Robot Log Information:\r\n1+1=2", copiedMessage},
        {"  \n a\n\nb ", "a\r\n\r\nb", copiedMessage},
        {"", nullptr, emptyMessage},
        {" \r\n\t\n", nullptr, emptyMessage},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.box);
        prompter = {};
        std::vector<std::string> clipboard;
        const bool copied = model.copyLog(
            c.box, prompter, [&](const std::string& text) { clipboard.push_back(text); });
        EXPECT_EQ(copied, c.copied != nullptr);
        EXPECT_EQ(clipboard,
                  c.copied ? std::vector<std::string>{c.copied} : std::vector<std::string>{});
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

}  // namespace
}  // namespace quorvel
