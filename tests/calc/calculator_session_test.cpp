#include "calc/calculator_session.h"

#include <gtest/gtest.h>

#include "support/recording_prompter.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

constexpr LogTime kMorning{2026, 3, 7, 9, 5};

TEST(MakeLogLine, StampsPadsAndUsesTheFirstStepLine) {
    EXPECT_EQ(MakeLogLine(kMorning, "2+3\r\n=5", "5"), "2026-03-07 09:05   2+3=5");
    EXPECT_EQ(MakeLogLine({2026, 12, 31, 23, 59}, "1/3\r\n=0.33", "0.33"),
              "2026-12-31 23:59   1/3=0.33");
}

TEST(HasSomethingToCalculate, PlainNumbersAreNot) {
    struct Case {
        const char* text;
        bool calculate;
    };
    constexpr Case kCases[] = {
        {"5", false},     {"-5", false},   {"+5", false},    {"", false},     {"12.5", false},
        {"2+3", true},    {"-5+1", true},  {"(5)", true},    {"Last1", true}, {"PI", true},
        {"M", true},      {"w", true},     {"2^3", true},    {"x", false},    {"--5", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HasSomethingToCalculate(c.text), c.calculate);
    }
}

TEST(CalculatorSession, ShiftsRecentResultsAndLogsEachCalculation) {
    RecordingPrompter prompter;
    std::vector<std::string> log;
    int stores = 0;
    CalculatorSession session({}, log, prompter, [&] { ++stores; }, [] { return kMorning; });

    ASSERT_TRUE(session.calculate("1+1"));
    ASSERT_TRUE(session.calculate("2+2"));
    EXPECT_EQ(session.recentResults(), (RecentResults{"4", "2", "0", "0", "0"}));
    const auto c = session.calculate("last1*2");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->result, "8");
    EXPECT_EQ(c->logLine, "2026-03-07 09:05   4*2=8");
    EXPECT_EQ(log, (std::vector<std::string>{"2026-03-07 09:05   1+1=2", "2026-03-07 09:05   2+2=4",
                                             "2026-03-07 09:05   4*2=8"}));
    EXPECT_EQ(stores, 3);

    EXPECT_FALSE(session.calculate("5/0"));
    EXPECT_EQ(session.recentResults()[0], "8");
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(stores, 3);
}

TEST(CalculatorSession, NegativeRecentResultsAreBracketed) {
    RecordingPrompter prompter;
    std::vector<std::string> log;
    CalculatorSession session({}, log, prompter);
    session.pushResult("-5");
    const auto c = session.calculate("3-last1");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->result, "8");
    EXPECT_EQ(c->steps.substr(0, c->steps.find('\r')), "3-(-5)");
}

TEST(CalculatorSession, PiFollowsThePlaces) {
    RecordingPrompter prompter;
    std::vector<std::string> log;
    CalcSettings two;
    two.places = 2;
    EXPECT_EQ(CalculatorSession(two, log, prompter).calculate("2pi")->result, "6.28");
    CalcSettings five;
    five.places = 5;
    EXPECT_EQ(CalculatorSession(five, log, prompter).calculate("2pi")->result, "6.28318");
}

}  // namespace
}  // namespace quorvel
