#include "tools/log_list.h"

#include <gtest/gtest.h>

#include <limits>

#include "data/sys_data_holder.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/temp_data_folder.h"
#include "tools/manager_messages.h"

namespace quorvel {
namespace {

using testing::RecordingClipboard;
using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TempDataFolder;
using Rows = std::vector<std::size_t>;

std::string message(std::string_view text) { return "Quorvel Message: " + std::string(text); }

class LogListTest : public ::testing::Test {
protected:
    // Oldest first, as the data keeps it: row 0 shows "e".
    void SetUp() override { holder.data().log = {"t1 a", "t2 b", "t3 c", "t4 d", "t5 e"}; }

    std::vector<std::string>& log() { return holder.data().log; }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    SysDataHolder holder{folder.path()};
    RecordingSpeaker speaker;
    RecordingPrompter prompter;
    RecordingClipboard clipboard;
    LogList list{holder, speaker, prompter};
};

TEST(ReadRepeatCount, LeadingDigitsOnly) {
    struct Case {
        const char* text;
        int count;
    };
    const Case kCases[] = {
        {"1", 1},      {"50", 50}, {"0", 0},
        {"51", 51},    {"abc", 0}, {"", 0},
        {"12abc", 12}, {" 3", 3},  {"3 4", 3},
        {"-2", 0},     {"007", 7}, {"99999999999999999999", std::numeric_limits<int>::max()},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadRepeatCount(c.text), c.count);
    }
}

TEST_F(LogListTest, RowsAreNewestFirstAndSplitAfterTheStamp) {
    log() = {"2026-03-07 09:05   2+3=5", "2026-03-08 10:00   4*2=8", "no-space=1", "  x   y  "};
    ASSERT_EQ(list.rowCount(), 4u);
    const ListCells kRows[] = {
        {"", "x   y"},
        {"", "no-space=1"},
        {"2026-03-08 10:00", "4*2=8"},
        {"2026-03-07 09:05", "2+3=5"},
    };
    for (std::size_t row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(list.cells(row), kRows[row]);
        EXPECT_EQ(list.rowText(row), kRows[row].first + " " + kRows[row].second);
    }
}

TEST_F(LogListTest, RepeatCountOutsideOneToFiftyIsRefused) {
    struct Case {
        const char* repeat;
        bool spoken;
    };
    const Case kCases[] = {{"0", false}, {"51", false}, {"abc", false}, {"", false},
                           {"1", true},  {"50", true},  {" 7x", true}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.repeat);
        speaker.requests.clear();
        prompter.messages.clear();
        list.talkAll(c.repeat);
        EXPECT_EQ(speaker.requests.size(), c.spoken ? 1u : 0u);
        EXPECT_EQ(prompter.only(), c.spoken ? "" : message(msg::kRepeatRange));
    }
}

TEST_F(LogListTest, TalkAllSendsEveryExpressionNewestFirst) {
    log() = {"10:00 y", "10:01 x"};
    list.talkAll(" 2 ");
    ASSERT_EQ(speaker.requests.size(), 1u);
    EXPECT_EQ(speaker.requests[0], (SpeechRequest{SpeechKind::ExprList, "2:x|y|"}));
}

TEST_F(LogListTest, TalkAllOnAnEmptyLog) {
    log().clear();
    list.talkAll("1");
    EXPECT_EQ(prompter.only(), message(msg::kLogListEmpty));
    // The count is judged before the list.
    prompter.messages.clear();
    list.talkAll("0");
    EXPECT_EQ(prompter.only(), message(msg::kRepeatRange));
    EXPECT_TRUE(speaker.requests.empty());
}

TEST_F(LogListTest, TalkSelectedAndDoubleClick) {
    struct Case {
        const char* name;
        bool doubleClick;
        Rows rows;
        const char* repeat;
        const char* request;  // "" for none
        std::string shown;
    };
    const Case kCases[] = {
        {"selection in list order", false, {3, 0, 3}, "3", "3:e|b|", ""},
        {"nothing selected", false, {}, "3", "", message(msg::kSelectFirst)},
        {"rows past the end", false, {9}, "3", "", message(msg::kSelectFirst)},
        {"bad count", false, {1}, "60", "", message(msg::kRepeatRange)},
        {"double click speaks the first", true, {4, 2}, "1", "1:c|", ""},
        {"double click on nothing", true, {}, "60", "", ""},
        {"double click, bad count", true, {0}, "0", "", message(msg::kRepeatRange)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        speaker.requests.clear();
        prompter.messages.clear();
        if (c.doubleClick) {
            list.talkFirstSelected(c.rows, c.repeat);
        } else {
            list.talkSelected(c.rows, c.repeat);
        }
        if (*c.request) {
            ASSERT_EQ(speaker.requests.size(), 1u);
            EXPECT_EQ(speaker.requests[0], (SpeechRequest{SpeechKind::ExprList, c.request}));
        } else {
            EXPECT_TRUE(speaker.requests.empty());
        }
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST_F(LogListTest, StopTalkingStopsTheSpeaker) {
    list.talkAll("1");
    ASSERT_TRUE(speaker.isTalking());
    list.stopTalking();
    EXPECT_EQ(speaker.stops, 1);
    EXPECT_FALSE(speaker.isTalking());
}

TEST_F(LogListTest, CopyTexts) {
    struct Case {
        const char* name;
        bool all;
        Rows rows;
        bool clipboardFree;
        const char* copied;  // nullptr: nothing put on the clipboard
        std::string shown;
    };
    const Case kCases[] = {
        {"selected, list order",
         false,
         {2, 0},
         true,
         "t5   e\r\nt3   c\r\n",
         message(msg::kSelectionCopied)},
        {"nothing selected", false, {}, true, nullptr, message(msg::kSelectFirst)},
        {"clipboard taken", false, {0}, false, nullptr, ""},
        {"all",
         true,
         {},
         true,
         "t5   e\r\nt4   d\r\nt3   c\r\nt2   b\r\nt1   a\r\n",
         message(msg::kLogInformationCopied)},
        {"all, clipboard taken", true, {}, false, nullptr, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        clipboard.texts.clear();
        clipboard.available = c.clipboardFree;
        prompter.messages.clear();
        if (c.all) {
            list.copyAll(clipboard);
        } else {
            list.copySelected(c.rows, clipboard);
        }
        if (c.copied) {
            ASSERT_EQ(clipboard.texts.size(), 1u);
            EXPECT_EQ(clipboard.texts[0], c.copied);
        } else {
            EXPECT_TRUE(clipboard.texts.empty());
        }
        EXPECT_EQ(prompter.only(), c.shown);
    }
}

TEST_F(LogListTest, CopyAllOfAnEmptyLogCopiesNothingButSaysSo) {
    log().clear();
    list.copyAll(clipboard);
    ASSERT_EQ(clipboard.texts.size(), 1u);
    EXPECT_EQ(clipboard.texts[0], "");
    EXPECT_EQ(prompter.only(), message(msg::kLogInformationCopied));
}

TEST_F(LogListTest, RemoveDeletesTheLinesTheRowsShow) {
    struct Case {
        const char* name;
        Rows rows;
        std::vector<std::string> left;
    };
    const Case kCases[] = {
        {"two adjacent rows", {1, 2}, {"t1 a", "t2 b", "t5 e"}},
        {"row 0 is the newest line", {0}, {"t1 a", "t2 b", "t3 c", "t4 d"}},
        {"last row is the oldest", {4}, {"t2 b", "t3 c", "t4 d", "t5 e"}},
        {"any order, repeats", {4, 0, 4}, {"t2 b", "t3 c", "t4 d"}},
        {"every row", {0, 1, 2, 3, 4}, {}},
        {"nothing", {}, {"t1 a", "t2 b", "t3 c", "t4 d", "t5 e"}},
        {"past the end", {7}, {"t1 a", "t2 b", "t3 c", "t4 d", "t5 e"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        list.removeSelected(c.rows);
        EXPECT_EQ(log(), c.left);
    }
    EXPECT_EQ(folder.bytes("SysData.dat"), "") << "Remove must not write the file";
}

TEST_F(LogListTest, ClearAsksThenEmptiesAndStores) {
    ASSERT_TRUE(holder.Store().stored);
    const std::string before = folder.bytes("SysData.dat");

    prompter.answer = false;
    EXPECT_FALSE(list.clear());
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, msg::kClearLogQuestion);
    EXPECT_EQ(prompter.questions[0].title, "Quorvel Message");
    EXPECT_EQ(log().size(), 5u);
    EXPECT_EQ(folder.bytes("SysData.dat"), before);

    prompter.answer = true;
    EXPECT_TRUE(list.clear());
    EXPECT_TRUE(log().empty());
    EXPECT_EQ(list.rowCount(), 0u);
    SysDataHolder reread(folder.path());
    reread.data().log = {"placeholder"};
    ASSERT_EQ(reread.Load().outcome, LoadOutcome::Read);
    EXPECT_TRUE(reread.data().log.empty());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(LogListTest, ExportHandsOverEachSelectedExpression) {
    std::vector<std::string> exported;
    const auto exportOne = [&](std::string_view e) { exported.emplace_back(e); };
    list.exportSelected({}, exportOne);
    EXPECT_EQ(prompter.only(), message(msg::kSelectLineToExport));
    EXPECT_TRUE(exported.empty());

    prompter.messages.clear();
    list.exportSelected({3, 1}, exportOne);
    EXPECT_EQ(exported, (std::vector<std::string>{"d", "b"}));
    EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace quorvel
