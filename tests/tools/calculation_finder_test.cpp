#include "tools/calculation_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace quorvel {
namespace {

std::string calculationsIn(std::string_view line) {
    std::string found;
    std::string joined;
    for (const LineSegment& s : FindCalculations(line)) {
        joined += s.text;
        if (s.isCalculation) found += (found.empty() ? "" : "|") + std::string(s.text);
    }
    return joined == line ? found : "lost text: " + joined;
}

TEST(FindCalculations, FindsCalculationsAndLeavesWordsAlone) {
    struct Case {
        const char* line;
        const char* found;  // the calculations, joined with "|"
    };
    constexpr Case kCases[] = {
        {"Total 2+3 apples", "2+3"},
        {"(4+5)*2 boxes", "(4+5)*2"},
        {"then sin(30)+1 and 2^10 here", "sin(30)+1|2^10"},
        {"SIN(30)*2 and Last1+2", "SIN(30)*2|Last1+2"},
        {"2+3, 4*5; 6/2", "2+3|4*5|6/2"},
        {"Sum 2+3. Or 2+3+ or 2.5*2.", "2+3|2+3|2.5*2"},
        {"(see 2*3) and ((1+2", "2*3|1+2"},
        {"-2+3 degrees, x=-1+2", "-2+3|-1+2"},
        {"2*pi but not pi alone, 2pi or pie*2", "2*pi"},
        {"Hello world, 5 apples, (3) pears, -7", ""},
        {"Temperature (-5) today", ""},
        {"Meeting on 2026-12-08 at 10:30, 2026/12/08, 8/12/2026", ""},
        {"12/4/2 is no date, 2026-12-08+1 is", "12/4/2|2026-12-08+1"},
        {"pages 10-12, .5+1", "10-12|.5+1"},
        {"mp3+4, A4*2, 10km+5km, 3x+1", ""},
        {"the basin(3) and sinus(2)", ""},
        {"2+3=5 already answered", ""},
        {"1,000+2 and 3,5*2", ""},
        {"", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(calculationsIn(c.line), c.found);
    }
}

}  // namespace
}  // namespace quorvel
