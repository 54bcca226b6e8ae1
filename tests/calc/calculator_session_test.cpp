#include "calc/calculator_session.h"

#include <gtest/gtest.h>

#include "calc/messages.h"
#include "support/recording_prompter.h"
#include "tools/present.h"

namespace quorvel {
namespace {

constexpr LogTime kMorning{2026, 3, 7, 9, 5};

TEST(HasSomethingToCalculate, PlainNumbersAreNot) {
    struct Case {
        const char* text;
        bool calculate;
    };
    constexpr Case kCases[] = {
        {"5", false},  {"-5", false},  {"+5", false}, {"", false},     {"12.5", false},
        {"2+3", true}, {"-5+1", true}, {"(5)", true}, {"Last1", true}, {"PI", true},
        {"M", true},   {"w", true},    {"2^3", true}, {"x", false},    {"--5", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HasSomethingToCalculate(c.text), c.calculate);
    }
}

TEST(CalculatorSession, ShiftsRecentResultsAndLogsEachCalculation) {
    std::vector<std::string> log;
    int stores = 0;
    CalculatorSession session(
        {}, log, [&] { ++stores; }, [] { return kMorning; });

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
    EXPECT_EQ(session.failure().error, MessageId::DenominatorZero);
    EXPECT_EQ(session.recentResults()[0], "8");
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(stores, 3);
}

// quorvel-calc without --steps and without a data folder: the same results and recent
// results, no step text beyond the expression and its result, and no log line made.
TEST(CalculatorSession, SkipsStepTextAndLogWhenNobodyReadsThem) {
    std::vector<std::string> log;
    int stores = 0;
    CalculatorSession session(
        {}, log, [&] { ++stores; }, [] { return kMorning; });
    session.setStepText(StepText::Skipped);
    session.setKeepsLog(false);
    const auto c = session.calculate("2*(3+4)");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->result, "14");
    EXPECT_EQ(c->steps, "2*(3+4)\r\n=14");
    EXPECT_EQ(c->logLine, "");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(stores, 1);  // parameters may still have to be stored
    const CommandOutcome solved = session.calculateCommand("2*x+3=7");
    EXPECT_EQ(solved.kind, CommandKind::Solved);
    EXPECT_EQ(solved.value, "2");
    EXPECT_TRUE(log.empty());
    const CommandOutcome calculated = session.calculateCommand("last1+1");
    EXPECT_EQ(calculated.value, "15");
    EXPECT_EQ(session.recentResults()[1], "14");
    EXPECT_TRUE(solved.failures.empty());
    EXPECT_TRUE(calculated.failures.empty());
}

// quorvel-calc prints only the shown text: it gets the same one without the steps beside it,
// whether the text was calculated as typed or with its products made explicit.
TEST(CalculatorSession, ShownOnlyLeavesTheStepsOut) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    constexpr Case kCases[] = {
        {"2*(3+4)", "2*(3+4)\r\n=2*7\r\n=14"},
        {"2(3+4)", "2(3+4)\r\n=2*(3+4)\r\n=2*7\r\n=14"},
        {"PI*0", "PI*0\r\n=3.141592653589793238462643383280*0\r\n=0"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.typed);
        std::vector<std::string> log;
        CalculatorSession both({}, log);
        CalculatorSession shownOnly({}, log);
        shownOnly.setShownOnly(true);
        const CommandOutcome full = both.calculateCommand(c.typed);
        const CommandOutcome bare = shownOnly.calculateCommand(c.typed);
        EXPECT_EQ(full.kind, CommandKind::Calculated);
        EXPECT_EQ(bare.kind, CommandKind::Calculated);
        EXPECT_EQ(full.shown, c.shown);
        EXPECT_EQ(bare.shown, c.shown);
        EXPECT_EQ(bare.value, full.value);
        EXPECT_EQ(ShownCalculation(c.typed, full.steps), c.shown);
        EXPECT_EQ(bare.steps, "");
    }
}

TEST(DecideEqual, FindsTheUnknownButNotTheXOfExp) {
    struct Case {
        const char* text;
        EqualAction action;
    };
    constexpr Case kCases[] = {
        {"exp(1)+2", EqualAction::Calculate}, {"EXP(1)*x", EqualAction::AppendEquals},
        {"2*X", EqualAction::AppendEquals},   {"x", EqualAction::Nothing},
        {"exp(2)", EqualAction::Calculate},   {"eexpxp(1)", EqualAction::AppendEquals},
        {"Last3+pI", EqualAction::Calculate}, {"lAsT", EqualAction::Nothing},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecideEqual(c.text), c.action);
    }
}

TEST(CalculatorSession, NegativeRecentResultsAreBracketed) {
    std::vector<std::string> log;
    CalculatorSession session({}, log);
    session.pushResult("-5");
    const auto c = session.calculate("3-last1");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->result, "8");
    EXPECT_EQ(c->steps.substr(0, c->steps.find('\r')), "3-(-5)");
}

TEST(CalculatorSession, PiFollowsThePlaces) {
    std::vector<std::string> log;
    CalcSettings two;
    two.places = 2;
    EXPECT_EQ(CalculatorSession(two, log).calculate("2pi")->result, "6.28");
    CalcSettings five;
    five.places = 5;
    EXPECT_EQ(CalculatorSession(five, log).calculate("2pi")->result, "6.28318");
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST(DecideEqual, ChoosesWhatTheEqualCommandDoes) {
    struct Case {
        const char* text;
        EqualAction action;
    };
    constexpr Case kCases[] = {
        {"", EqualAction::Nothing},          {"5", EqualAction::Nothing},
        {"-5", EqualAction::Nothing},        {"(M)", EqualAction::AppendEquals},
        {"(k)", EqualAction::AppendEquals},  {"(x)", EqualAction::AppendEquals},
        {"2x+1", EqualAction::AppendEquals}, {"exp(1)+2", EqualAction::Calculate},
        {"2+3=5", EqualAction::ClearInput},  {"(M)=5", EqualAction::ClearInput},
        {"2+3", EqualAction::Calculate},     {"Last1", EqualAction::Calculate},
        {"pi", EqualAction::Calculate},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DecideEqual(c.text), c.action);
    }
}

TEST(ShownCalculation, PrefixesTheTypedTextWhenItReadsDifferently) {
    EXPECT_EQ(ShownCalculation("2+3", "2+3\r\n=5"), "2+3\r\n=5");
    EXPECT_EQ(ShownCalculation(" SQRT(16) ", "sqrt(16)\r\n=4"), "sqrt(16)\r\n=4");
    EXPECT_EQ(ShownCalculation("2(3)", "2*(3)\r\n=6"), "2(3)\r\n=2*(3)\r\n=6");
}

// quorvel-calc takes the step text with "\n" line breaks: the same texts, results, log lines
// and failures as the box's "\r\n" ones, by every path a text is made on.
TEST(CalculatorSession, TerminalStepsAreTheWrittenOnesWithoutCarriageReturns) {
    std::string longLine;
    for (int i = 0; i < 71; ++i) longLine += "(12.5+7.25)*3-";
    longLine += "1";
    const std::string kInputs[] = {
        "2*(3+4)",                               // the token reduction
        "2(3+4)",                                // shown with the typed text before the steps
        "2^40*1000000",                          // a last line in E form
        "last1/3",      "(M)=2+3", "M*sin(30)",  // a function: the text reduction
        "2*x+3=7",                               // the equation solver's lines
        "5/0",          "2+",      longLine,
    };
    std::vector<std::string> writtenLog, terminalLog;
    CalculatorSession written({}, writtenLog, {}, [] { return kMorning; });
    CalculatorSession terminal({}, terminalLog, {}, [] { return kMorning; });
    terminal.setStepText(StepText::Terminal);
    const auto withoutCr = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    for (const std::string& input : kInputs) {
        SCOPED_TRACE(input.substr(0, 40));
        const CommandOutcome w = written.calculateCommand(input);
        const CommandOutcome t = terminal.calculateCommand(input);
        EXPECT_EQ(t.kind, w.kind);
        EXPECT_EQ(t.value, w.value);
        EXPECT_EQ(t.shown, withoutCr(w.shown));
        EXPECT_EQ(t.steps, withoutCr(w.steps));
        EXPECT_EQ(t.shown.find('\r'), std::string::npos);
        ASSERT_EQ(t.failures.size(), w.failures.size());
        for (std::size_t i = 0; i < t.failures.size(); ++i) {
            EXPECT_EQ(t.failures[i].error, w.failures[i].error);
            EXPECT_EQ(t.failures[i].position, w.failures[i].position);
        }
    }
    EXPECT_EQ(terminalLog, writtenLog);
    EXPECT_EQ(writtenLog.size(), 8u);  // all but the two failures
}

class CalculateCommand : public ::testing::Test {
protected:
    testing::RecordingPrompter m_prompter;
    std::vector<std::string> m_log;
    int m_stores = 0;
    CalculatorSession m_session{{},
                                m_log,
                                [this] { ++m_stores; },
                                [] {
                                    return LogTime{2026, 1, 2, 3, 4};
                                }};
};

TEST_F(CalculateCommand, AssignsAPlainNumberWithoutLogging) {
    const CommandOutcome o = m_session.calculateCommand("(M)=5");
    EXPECT_EQ(o.kind, CommandKind::ParameterSet);
    EXPECT_EQ(o.shown, "(M)=5  Set the user parameter M successfully.");
    EXPECT_EQ(m_session.parameter('m'), "5");
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(m_stores, 1);
}

TEST_F(CalculateCommand, AssignsACalculatedValueWithItsLogLine) {
    const CommandOutcome o = m_session.calculateCommand("(M)=2+3");
    EXPECT_EQ(o.kind, CommandKind::ParameterSet);
    EXPECT_EQ(o.value, "5");
    EXPECT_EQ(m_session.parameter('M'), "5");
    EXPECT_EQ(m_session.recentResults()[0], "5");
    EXPECT_EQ(m_log, (std::vector<std::string>{"2026-01-02 03:04   2+3=5"}));
}

TEST_F(CalculateCommand, NegativeParametersAreBracketedWhenUsed) {
    m_session.calculateCommand("(m)=-4");
    const CommandOutcome o = m_session.calculateCommand("3*m");
    EXPECT_EQ(o.kind, CommandKind::Calculated);
    EXPECT_EQ(o.value, "-12");
    EXPECT_EQ(o.shown, "3*m\r\n=3*(-4)\r\n=-12");
}

TEST_F(CalculateCommand, AFailedRightHandSideKeepsTheOldValue) {
    m_session.calculateCommand("(w)=7");
    const CommandOutcome o = m_session.calculateCommand("(w)=5/0");
    for (const CalcOutcome& failure : o.failures) present(failure, m_prompter);
    EXPECT_EQ(o.kind, CommandKind::Failed);
    EXPECT_EQ(m_session.parameter('w'), "7");
    ASSERT_EQ(m_prompter.messages.size(), 2u);
    EXPECT_EQ(m_prompter.messages[0].text, "Sorry,the denominator cannot be zero.");
    EXPECT_EQ(m_prompter.messages[1].text, msg::kParameterNotSet);
    EXPECT_EQ(m_prompter.messages[1].title, "Quorvel");
    EXPECT_EQ(m_prompter.messages[1].icon, MessageIcon::Information);
}

TEST_F(CalculateCommand, WordsAreCalculatedNotStoredAsValues) {
    const CommandOutcome o = m_session.calculateCommand("(F)=abc");
    EXPECT_EQ(o.kind, CommandKind::Failed);
    EXPECT_EQ(m_session.parameter('f'), "1");
}

TEST_F(CalculateCommand, OtherTextsDoNothingOrClear) {
    EXPECT_EQ(m_session.calculateCommand("5").kind, CommandKind::Nothing);
    EXPECT_EQ(m_session.calculateCommand("2+3=5").kind, CommandKind::ClearInput);
    EXPECT_EQ(m_session.calculateCommand("(q)=5").kind, CommandKind::ClearInput);
    EXPECT_FALSE(m_session.setParameter('q', "1"));
    EXPECT_EQ(m_stores, 0);
}

}  // namespace
}  // namespace quorvel
