#include "tools/exercise.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "calc/messages.h"
#include "data/sys_data_holder.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/temp_data_folder.h"
#include "tools/tool_messages.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TempDataFolder;

constexpr std::uint32_t kFixedSecond = 1700000000;

class FakeExerciseView : public ExerciseView {
public:
    void showRows() override { ++rowRefreshes; }
    void showResult(std::size_t row) override { resultRows.push_back(row); }
    void showState() override { ++stateRefreshes; }
    void setClipboardText(const std::string& text) override { clipboard = text; }

    int rowRefreshes = 0;
    int stateRefreshes = 0;
    std::vector<std::size_t> resultRows;
    std::string clipboard;
};

// Every operand and operator of a generated calculation, checked for the rules.
struct Parsed {
    std::vector<long> operands;
    std::string operators;
};
Parsed parse(const std::string& text) {
    Parsed parsed;
    std::string number;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            number += c;
        } else {
            parsed.operands.push_back(std::stol(number));
            number.clear();
            parsed.operators += c;
        }
    }
    parsed.operands.push_back(std::stol(number));
    return parsed;
}

class ExerciseTest : public ::testing::Test {
protected:
    void SetUp() override {
        holder.emplace(m_dir);
        session.emplace(
            *holder, speaker, prompter, view, [this] { return ticking ? clock++ : clock; }, engine);
    }
    void TearDown() override { session.reset(); }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const fs::path m_dir = folder.path();
    std::uint32_t clock = kFixedSecond;
    bool ticking = false;  // a new second for every calculation
    std::mt19937 engine;
    std::optional<SysDataHolder> holder;
    RecordingSpeaker speaker;
    RecordingPrompter prompter;
    FakeExerciseView view;
    std::optional<ExerciseSession> session;
};

TEST_F(ExerciseTest, TooFewDistinctCalculationsFailWithTheMessageAndAnEmptyList) {
    session->start({3, 1, 1});
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleQuorvel) + ": " + std::string(msg::kExerciseNotAccepted));
    EXPECT_EQ(prompter.messages.at(0).icon, MessageIcon::Information);
    EXPECT_TRUE(session->rows().empty());
    EXPECT_TRUE(speaker.requests.empty());
    // Nothing is left to step through, so Start is offered again.
    EXPECT_TRUE(session->startEnabled());
    EXPECT_FALSE(session->nextEnabled());
}

TEST(ExerciseGenerator, TheFirstCalculationWithMaxOneIsOnePlusOne) {
    std::mt19937 engine;
    ExerciseGenerator generator([] { return kFixedSecond; }, engine);
    EXPECT_EQ(generator.generate('+', 1, 1, {}, 3), "1+1");
    EXPECT_EQ(generator.generate('+', 1, 1, {{"1+1", ""}}, 3), std::nullopt);
}

// The failure comes after more than 5 x the stored test number duplicates, not at it: find a
// second whose draws give the duplicate "1" six times before "2", then vary the limit.
TEST(ExerciseGenerator, GivesUpAfterMoreThanFiveTimesTheTestNumberDuplicates) {
    std::uint32_t second = 0;
    for (std::uint32_t s = 1; s < 100000 && second == 0; ++s) {
        std::mt19937 probe(s);
        int ones = 0;
        while (probe() % 2 == 0) ++ones;
        if (ones == 5) second = s;  // five duplicates, then "2"
    }
    ASSERT_NE(second, 0u);
    std::mt19937 engine;
    ExerciseGenerator generator([second] { return second; }, engine);
    const std::vector<ExerciseRow> rows = {{"1", ""}};
    EXPECT_EQ(generator.generate('+', 2, 0, rows, 1), "2");  // 5 failures: not more than 5
    std::uint32_t six = 0;
    for (std::uint32_t s = 1; s < 100000 && six == 0; ++s) {
        std::mt19937 probe(s);
        int ones = 0;
        while (probe() % 2 == 0) ++ones;
        if (ones == 6) six = s;
    }
    ASSERT_NE(six, 0u);
    ExerciseGenerator sixth([six] { return six; }, engine);
    EXPECT_EQ(sixth.generate('+', 2, 0, rows, 1), std::nullopt);  // 6 > 5
    EXPECT_EQ(sixth.generate('+', 2, 0, rows, 2), "2");           // 6 <= 10
}

TEST_F(ExerciseTest, MixRotatesTheFourOperators) {
    session->choose(ExerciseChoice::Mix);
    session->start({5, 1, 10});
    ASSERT_EQ(session->rows().size(), 5u);
    std::string operators;
    for (const ExerciseRow& row : session->rows()) operators += parse(row.calculation).operators;
    EXPECT_EQ(operators, "+-*/+");
    EXPECT_EQ(session->heading(), "Test for mix");
}

TEST_F(ExerciseTest, CalculationsFollowTheLimits) {
    struct Case {
        ExerciseChoice choice;
        int testNumber;
        int operatorNumber;
        int maxValue;
    };
    constexpr Case kCases[] = {
        {ExerciseChoice::Add, 10, 1, 10},   {ExerciseChoice::Minus, 4, 3, 5},
        {ExerciseChoice::Time, 6, 2, 1000}, {ExerciseChoice::Divide, 3, 1, 2},
        {ExerciseChoice::Add, 5, 0, 9},     {ExerciseChoice::Mix, 8, 4, 3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(ChoiceName(c.choice)) + " " + std::to_string(c.operatorNumber));
        session->choose(c.choice);
        session->start({c.testNumber, c.operatorNumber, c.maxValue});
        ASSERT_EQ(session->rows().size(), static_cast<std::size_t>(c.testNumber));
        std::set<std::string> distinct;
        for (std::size_t k = 0; k < session->rows().size(); ++k) {
            const std::string& text = session->rows()[k].calculation;
            distinct.insert(text);
            const Parsed parsed = parse(text);
            EXPECT_EQ(parsed.operators, std::string(c.operatorNumber, ChoiceOperator(c.choice, k)));
            for (long operand : parsed.operands) {
                EXPECT_GE(operand, 1);
                EXPECT_LE(operand, c.maxValue);
            }
        }
        EXPECT_EQ(distinct.size(), session->rows().size());
        // End the run so the next Start is taken.
        while (session->running()) session->nextStep();
    }
}

TEST_F(ExerciseTest, TwoCalculationsTakeFourSteps) {
    session->start({2, 1, 50});
    ASSERT_EQ(session->rows().size(), 2u);
    const std::string first = session->rows()[0].calculation;
    const std::string second = session->rows()[1].calculation;
    const auto sum = [](const std::string& text) {
        const Parsed parsed = parse(text);
        return std::to_string(parsed.operands[0] + parsed.operands[1]);
    };
    EXPECT_FALSE(session->startEnabled());
    EXPECT_TRUE(session->nextEnabled());
    EXPECT_EQ(speaker.requests, (std::vector<SpeechRequest>{{SpeechKind::Input, first}}));

    session->nextStep();
    EXPECT_EQ(session->rows()[0].result, sum(first));
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Result, sum(first)}));
    session->nextStep();
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Input, second}));
    EXPECT_TRUE(session->rows()[1].result.empty());
    EXPECT_TRUE(session->running());
    session->nextStep();
    EXPECT_EQ(session->rows()[1].result, sum(second));
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Result, sum(second)}));
    EXPECT_EQ(speaker.requests.size(), 4u);
    EXPECT_EQ(view.resultRows, (std::vector<std::size_t>{0, 1}));

    EXPECT_TRUE(session->startEnabled());
    EXPECT_FALSE(session->nextEnabled());
    EXPECT_EQ(session->stepCounter(), 0);
    session->nextStep();  // ignored once the test is over
    EXPECT_EQ(speaker.requests.size(), 4u);
    EXPECT_TRUE(prompter.messages.empty()) << prompter.only();
}

TEST_F(ExerciseTest, TheSummaryIsShownAtTheEndAndSpokenAfterTheLastResult) {
    session->start({2, 1, 50});
    EXPECT_TRUE(session->summary().empty());
    for (int i = 0; i < 3; ++i) session->nextStep();
    EXPECT_EQ(session->summary(), msg::exerciseSummary(2));
    EXPECT_EQ(msg::exerciseSummary(2), "You worked through 2 calculations.");
    EXPECT_EQ(msg::exerciseSummary(1), "You worked through 1 calculation.");
    const std::size_t spoken = speaker.requests.size();
    session->speechIdle();  // the last result is still being said
    EXPECT_EQ(speaker.requests.size(), spoken);
    speaker.finish();
    session->speechIdle();
    ASSERT_EQ(speaker.requests.size(), spoken + 1);
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Input, "2"}));
    speaker.finish();
    session->speechIdle();  // said once only
    EXPECT_EQ(speaker.requests.size(), spoken + 1);
}

TEST_F(ExerciseTest, StopTalkingDropsTheSummarySpeech) {
    session->start({1, 1, 50});
    session->nextStep();
    EXPECT_TRUE(session->summaryPending());
    session->stopTalking();
    speaker.finish();
    session->speechIdle();
    EXPECT_EQ(speaker.requests.back().kind, SpeechKind::Result);
    EXPECT_EQ(speaker.stops, 1);
    EXPECT_EQ(session->summary(), msg::exerciseSummary(1));
}

TEST_F(ExerciseTest, ARejectedCalculationKeepsItsRowEmptyAndTheRunGoesOn) {
    // More operators than the engine takes without brackets.
    session->start({2, 300, 9});
    ASSERT_EQ(session->rows().size(), 2u);
    EXPECT_EQ(holder->data().exerciseLimit2, 44);
    session->nextStep();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(session->rows()[0].result.empty());
    EXPECT_EQ(session->stepCounter(), 1);
    session->nextStep();
    EXPECT_EQ(speaker.requests.back(),
              (SpeechRequest{SpeechKind::Input, session->rows()[1].calculation}));
    session->nextStep();  // rejected again: the end check is not reached
    EXPECT_TRUE(session->running());
    session->nextStep();
    EXPECT_FALSE(session->running());
    EXPECT_EQ(session->summary(), msg::exerciseSummary(0));
}

TEST_F(ExerciseTest, OperatorNumberZeroGivesSingleNumbers) {
    session->start({5, 0, 100});
    ASSERT_EQ(session->rows().size(), 5u);
    for (const ExerciseRow& row : session->rows()) {
        EXPECT_EQ(row.calculation.find_first_not_of("0123456789"), std::string::npos)
            << row.calculation;
    }
    session->nextStep();
    EXPECT_EQ(session->rows()[0].result, session->rows()[0].calculation);
}

TEST_F(ExerciseTest, ChangingTheChoiceEmptiesTheListPressingItAgainKeepsIt) {
    session->start({3, 1, 20});
    while (session->running()) session->nextStep();
    ASSERT_EQ(session->rows().size(), 3u);
    session->choose(ExerciseChoice::Add);
    EXPECT_EQ(session->rows().size(), 3u);
    EXPECT_EQ(session->heading(), "Test for add");
    session->choose(ExerciseChoice::Time);
    EXPECT_TRUE(session->rows().empty());
    EXPECT_EQ(session->choice(), ExerciseChoice::Time);
    EXPECT_EQ(session->heading(), "Test for time");
}

TEST_F(ExerciseTest, LimitsAreStoredAsOneByteEachAndWrittenAtClose) {
    struct Case {
        int testNumber;
        int operatorNumber;
        int storedTest;
        int storedOperator;
    };
    constexpr Case kCases[] = {{300, 1, 44, 1}, {12, 257, 12, 1}, {255, 2, 255, 2}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.testNumber);
        session->start({c.testNumber, c.operatorNumber, 100000});
        EXPECT_EQ(holder->data().exerciseLimit1, c.storedTest);
        EXPECT_EQ(holder->data().exerciseLimit2, c.storedOperator);
        session->close();
        SysDataHolder reread(m_dir);
        reread.Load();
        EXPECT_EQ(reread.data().exerciseLimit1, c.storedTest);
        EXPECT_EQ(reread.data().exerciseLimit2, c.storedOperator);
        EXPECT_EQ(session->initialLimits(7).testNumber, c.storedTest);
        EXPECT_EQ(session->initialLimits(7).maxValue, 7);
        while (session->running()) session->nextStep();
    }
}

TEST_F(ExerciseTest, AStoredTestNumberOfThreeHundredEndsAfterFortyFourRows) {
    // Within one second every calculation starts from the same draws, and the 222nd would need
    // more than 5 x 44 retries; a slower clock lets all 300 be made.
    session->start({300, 1, 100000});
    EXPECT_TRUE(session->rows().empty());
    EXPECT_EQ(prompter.messages.size(), 1u);
    ticking = true;
    session->start({300, 1, 100000});
    ASSERT_EQ(session->rows().size(), 300u);
    int steps = 0;
    while (session->running()) {
        session->nextStep();
        ++steps;
    }
    EXPECT_EQ(steps, 2 * 44 - 1);
    EXPECT_FALSE(session->rows()[43].result.empty());
    EXPECT_TRUE(session->rows()[44].result.empty());
}

TEST_F(ExerciseTest, RefusesTooSmallLimitsBeforeChangingAnything) {
    struct Case {
        ExerciseLimits limits;
        std::string_view message;
    };
    const Case kCases[] = {
        {{3, 1, 0}, msg::kMaxValueTooSmall},
        {{3, 1, -5}, msg::kMaxValueTooSmall},
        {{0, 1, 10}, msg::kTestNumberTooSmall},
    };
    session->start({2, 1, 10});
    while (session->running()) session->nextStep();
    const std::vector<ExerciseRow> before = session->rows();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        prompter.messages.clear();
        session->start(c.limits);
        EXPECT_EQ(prompter.only(), std::string(msg::kTitleMessage) + ": " + std::string(c.message));
        EXPECT_EQ(session->rows().size(), before.size());
        EXPECT_EQ(session->rows()[0].calculation, before[0].calculation);
        EXPECT_TRUE(session->startEnabled());
        EXPECT_EQ(holder->data().exerciseLimit1, 2);
    }
}

TEST_F(ExerciseTest, CopiesAllOrTheSelectedRows) {
    session->copyAll();
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMessage) + ": " + std::string(msg::kExerciseListEmpty));
    EXPECT_TRUE(view.clipboard.empty());

    session->start({3, 1, 50});
    session->nextStep();  // row 0 gets its result
    const auto& rows = session->rows();
    const std::string all = rows[0].calculation + "=" + rows[0].result + "\r\n" +
                            rows[1].calculation + "\r\n" + rows[2].calculation + "\r\n";
    prompter.messages.clear();
    session->copyAll();
    EXPECT_EQ(view.clipboard, all);
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMessage) + ": " + std::string(msg::kExerciseCopied));

    prompter.messages.clear();
    view.clipboard.clear();
    session->copySelected({});
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMessage) + ": " + std::string(msg::kSelectFirst));
    EXPECT_TRUE(view.clipboard.empty());

    prompter.messages.clear();
    session->copySelected({2, 0});
    EXPECT_EQ(view.clipboard,
              rows[0].calculation + "=" + rows[0].result + "\r\n" + rows[2].calculation + "\r\n");
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMessage) + ": " + std::string(msg::kSelectionCopied));
}

TEST_F(ExerciseTest, EachCalculationIsSeededAfreshFromTheClock) {
    session->start({1, 2, 1000});
    const std::string atFirstSecond = session->rows()[0].calculation;
    session->nextStep();
    session->start({1, 2, 1000});
    EXPECT_EQ(session->rows()[0].calculation, atFirstSecond);
    clock = kFixedSecond + 1;
    session->nextStep();
    session->start({1, 2, 1000});
    EXPECT_NE(session->rows()[0].calculation, atFirstSecond);
}

}  // namespace
}  // namespace quorvel
