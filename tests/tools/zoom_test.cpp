#include "tools/zoom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace quorvel {
namespace {

TEST(Zoom, StepsAndBounds) {
    struct Case {
        int from;
        int in;
        int out;
        int clamped;
    };
    const Case kCases[] = {
        {100, 125, 100, 100},  // the smallest size goes no smaller
        {125, 150, 100, 125}, {200, 225, 175, 200}, {250, 300, 225, 250},
        {300, 300, 250, 300},  // nor the largest larger
        {110, 125, 100, 110},  // a typed value between steps goes to its neighbours
        {290, 300, 250, 290}, {50, 125, 100, 100},  {0, 125, 100, 100},
        {-40, 125, 100, 100}, {301, 300, 250, 300}, {1 << 30, 300, 250, 300},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(zoomIn(c.from), c.in);
        EXPECT_EQ(zoomOut(c.from), c.out);
        EXPECT_EQ(clampZoom(c.from), c.clamped);
        EXPECT_EQ(applyZoomKey(c.from, ZoomKey::In), c.in);
        EXPECT_EQ(applyZoomKey(c.from, ZoomKey::Out), c.out);
        EXPECT_EQ(applyZoomKey(c.from, ZoomKey::Reset), 100);
    }
}

TEST(Zoom, StepsRiseWithinTheBoundsAndReachBoth) {
    const std::span<const int> steps = zoomSteps();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), kZoomMin);
    EXPECT_EQ(steps.back(), kZoomMax);
    EXPECT_TRUE(std::find(steps.begin(), steps.end(), 200) != steps.end());
    for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_LT(steps[i - 1], steps[i]);
    // Ctrl+plus from the smallest size visits every step; Ctrl+minus comes back the same way.
    int at = kZoomMin;
    for (std::size_t i = 1; i < steps.size(); ++i) EXPECT_EQ(at = zoomIn(at), steps[i]);
    for (std::size_t i = steps.size() - 1; i-- > 0;) EXPECT_EQ(at = zoomOut(at), steps[i]);
}

TEST(Zoom, ShortcutsAreCtrlPlusMinusAndZero) {
    std::map<std::string, ZoomKey> keys;
    for (const ZoomShortcut& s : zoomShortcuts()) {
        EXPECT_TRUE(keys.emplace(std::string(s.keys), s.action).second) << s.keys;
    }
    const std::map<std::string, ZoomKey> expected = {{"Ctrl++", ZoomKey::In},
                                                     {"Ctrl+=", ZoomKey::In},
                                                     {"Ctrl+-", ZoomKey::Out},
                                                     {"Ctrl+0", ZoomKey::Reset}};
    EXPECT_EQ(keys, expected);
    // None of them is a key of a style's own table.
    for (WindowStyle style : windowStyles()) {
        for (const StyleShortcut& s : styleLayout(style).shortcuts) {
            EXPECT_EQ(keys.count(s.keys), 0u) << s.keys;
        }
    }
}

TEST(Zoom, LengthsAndRectangles) {
    struct Case {
        Rect rect;
        int percent;
        Rect zoomed;
    };
    const Case kCases[] = {
        {{16, 28, 236, 78}, 100, {16, 28, 236, 78}},
        {{16, 28, 236, 78}, 200, {32, 56, 472, 156}},
        {{16, 28, 236, 78}, 300, {48, 84, 708, 234}},
        // Edges are rounded, so a 40-wide key at 44 and its neighbour at 88 stay apart.
        {{44, 0, 40, 30}, 125, {55, 0, 50, 38}},
        {{88, 0, 40, 30}, 125, {110, 0, 50, 38}},
        {{1, 1, 1, 1}, 150, {2, 2, 1, 1}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.percent);
        const Rect r = zoomed(c.rect, c.percent);
        EXPECT_EQ(r.x, c.zoomed.x);
        EXPECT_EQ(r.y, c.zoomed.y);
        EXPECT_EQ(r.width, c.zoomed.width);
        EXPECT_EQ(r.height, c.zoomed.height);
    }
    EXPECT_EQ(zoomed(670, 200), 1340);
    EXPECT_EQ(zoomed(-3, 150), -5);
    EXPECT_EQ(zoomed(3, 150), 5);
}

// At every step of every style the controls stay inside the skin's area, clear of each other
// and of its marks, and the window is the style's size times the zoom.
TEST(Zoom, EveryLayoutKeepsItsRulesAtEveryStep) {
    for (WindowStyle style : windowStyles()) {
        const StyleLayout& base = styleLayout(style);
        for (int percent : zoomSteps()) {
            SCOPED_TRACE(std::to_string(static_cast<int>(style)) + " at " +
                         std::to_string(percent));
            const StyleLayout l = zoomedLayout(base, percent);
            EXPECT_EQ(l.width, (base.width * percent + 50) / 100);
            EXPECT_EQ(l.height, (base.height * percent + 50) / 100);
            ASSERT_EQ(l.controls.size(), base.controls.size());
            std::vector<Rect> placed{l.input};
            for (const StyleControl& c : l.controls) placed.push_back(c.rect);
            for (std::size_t i = 0; i < placed.size(); ++i) {
                EXPECT_TRUE(l.area.contains(placed[i])) << i;
                for (const Rect& mark : l.reserved) EXPECT_FALSE(placed[i].intersects(mark)) << i;
                for (std::size_t j = i + 1; j < placed.size(); ++j) {
                    EXPECT_FALSE(placed[i].intersects(placed[j])) << i << " and " << j;
                }
            }
        }
        const StyleLayout twice = zoomedLayout(base, 200);
        EXPECT_EQ(twice.width, 2 * base.width);
        EXPECT_EQ(twice.height, 2 * base.height);
        EXPECT_EQ(twice.input.width, 2 * base.input.width);
    }
}

}  // namespace
}  // namespace quorvel
