#include "tools/tip_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/sys_data_holder.h"
#include "tools/tip_texts.h"

namespace quorvel {
namespace {

// Data in memory only: the tip window never writes the file itself.
SysDataHolder holderAt(int position, int tipsAtStart = 1) {
    SysDataHolder holder(std::filesystem::path("/nonexistent-quorvel-tips"));
    holder.data().tipPosition = position;
    holder.data().tipsAtStart = tipsAtStart;
    holder.data().tipWindowOpen = 1;
    return holder;
}

TEST(TipTexts, ThirtyDistinctShortTips) {
    std::set<std::string_view> seen;
    for (std::string_view tip : TipTexts()) {
        SCOPED_TRACE(std::string(tip));
        EXPECT_TRUE(seen.insert(tip).second);
        EXPECT_GE(tip.size(), 40u);
        // Two sentences at most, and short enough for the window at 16 pixels.
        EXPECT_LE(tip.size(), 200u);
        int sentences = 0;
        for (std::size_t i = 0; i < tip.size(); ++i) {
            if ((tip[i] == '.' || tip[i] == '?') && (i + 1 == tip.size() || tip[i + 1] == ' ')) {
                ++sentences;
            }
        }
        EXPECT_GE(sentences, 1);
        EXPECT_LE(sentences, 2);
        EXPECT_TRUE(tip.back() == '.');
        for (char c : tip) EXPECT_TRUE(c >= 0x20 && c < 0x7f) << "character " << int(c);
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kTipCount));
}

TEST(TipTexts, TheSubjectsAUserShouldMeetAreTaught) {
    const char* kSubjects[] = {"Last1",
                               "(M)=5",
                               "2*x+3=7",
                               "Ctrl+Shift+S",
                               "Say in",
                               "Mini",
                               "Detail",
                               "Cartoon",
                               "Quick check",
                               "addresult",
                               "exercise generator",
                               "log manager",
                               "formula manager",
                               "F1",
                               "Ctrl+C"};
    for (const char* subject : kSubjects) {
        SCOPED_TRACE(subject);
        int found = 0;
        for (std::string_view tip : TipTexts()) found += tip.find(subject) != tip.npos;
        EXPECT_GE(found, 1);
    }
}

TEST(TipTexts, AnIndexOutsideTheRingGivesTheFirstTip) {
    for (int index : {-1, kTipCount, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(TipText(index), TipTexts()[0]);
    }
    EXPECT_EQ(TipText(29), TipTexts()[29]);
}

TEST(TipModel, OpensOnTheStoredPositionAndSetting) {
    struct Case {
        int position;
        int tipsAtStart;
        int index;
        bool checked;
    };
    const Case kCases[] = {{0, 1, 0, true},  {5, 1, 5, true},  {29, 0, 29, false},
                           {30, 1, 0, true}, {-1, 1, 0, true}, {12, 7, 12, false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.position);
        SysDataHolder holder = holderAt(c.position, c.tipsAtStart);
        TipModel model(holder);
        EXPECT_EQ(model.index(), c.index);
        EXPECT_EQ(model.text(), TipTexts()[static_cast<std::size_t>(c.index)]);
        EXPECT_EQ(model.showAtStart(), c.checked);
        EXPECT_EQ(model.counter(), "Tip " + std::to_string(c.index + 1) + " of 30");
    }
}

TEST(TipModel, PreviousAndNextWrapAroundTheRing) {
    struct Case {
        int start;
        const char* presses;  // n next, p previous
        int shown;
    };
    const Case kCases[] = {{0, "p", 29}, {29, "n", 0},    {28, "nn", 0},    {1, "pp", 29},
                           {5, "np", 5}, {0, "pppn", 28}, {10, "nnnnn", 15}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.start) + c.presses);
        SysDataHolder holder = holderAt(c.start);
        TipModel model(holder);
        for (const char* p = c.presses; *p; ++p) {
            if (*p == 'n') {
                model.next();
            } else {
                model.previous();
            }
        }
        EXPECT_EQ(model.index(), c.shown);
        EXPECT_EQ(model.text(), TipTexts()[static_cast<std::size_t>(c.shown)]);
        // Browsing writes nothing until the window closes.
        EXPECT_EQ(holder.data().tipPosition, c.start);
        EXPECT_EQ(holder.data().tipWindowOpen, 1);
    }
}

TEST(TipModel, CloseStoresTheTipAfterTheOneShown) {
    struct Case {
        int opened;
        int nexts;
        bool checked;
        int storedPosition;
    };
    const Case kCases[] = {
        {5, 0, true, 6},     // closing on tip 5 stores 6
        {0, 5, true, 6},     // the same, whatever tip it opened on
        {20, 15, false, 6},  // 20 -> 35 wraps to 5
        {29, 0, true, 0},    // 29 wraps to 0
        {28, 1, false, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.opened) + "+" + std::to_string(c.nexts));
        SysDataHolder holder = holderAt(c.opened);
        TipModel model(holder);
        for (int i = 0; i < c.nexts; ++i) model.next();
        model.setShowAtStart(c.checked);
        model.close();
        EXPECT_TRUE(model.closed());
        EXPECT_EQ(holder.data().tipPosition, c.storedPosition);
        EXPECT_EQ(holder.data().tipsAtStart, c.checked ? 1 : 0);
        EXPECT_EQ(holder.data().tipWindowOpen, 0);
    }
}

TEST(TipModel, OnlyTheFirstCloseWrites) {
    SysDataHolder holder = holderAt(3);
    TipModel model(holder);
    model.close();
    ASSERT_EQ(holder.data().tipPosition, 4);
    // The calculator may already have opened a new tip window on the same data.
    holder.data().tipWindowOpen = 1;
    holder.data().tipPosition = 9;
    model.next();
    model.close();
    EXPECT_EQ(holder.data().tipWindowOpen, 1);
    EXPECT_EQ(holder.data().tipPosition, 9);
}

}  // namespace
}  // namespace quorvel
