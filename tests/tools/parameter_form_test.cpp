#include "tools/parameter_form.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "calc/calculate.h"
#include "calc/messages.h"
#include "data/settings_bridge.h"
#include "data/sys_data_holder.h"
#include "support/recording_prompter.h"
#include "support/temp_data_folder.h"
#include "tools/tool_messages.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::RecordingPrompter;
using testing::TempDataFolder;

class ParameterFormTest : public ::testing::Test {
protected:
    std::string fileBytes() const { return folder.bytes(std::string(kSysDataFileName)); }
    // What an expression gives with the settings a fresh program reads from the file.
    std::string calculateAfterRestart(const char* expression) {
        SysDataHolder restarted(m_dir);
        EXPECT_EQ(restarted.Load().outcome, LoadOutcome::Read);
        restarted.data().decimalPlaces = 10;
        const CalcOutcome outcome = CalculateExpression(expression, {"0", "0", "0", "0", "0"},
                                                        ToCalcSettings(restarted.data()).settings);
        EXPECT_TRUE(outcome.ok) << outcome.message();
        return outcome.result;
    }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const fs::path m_dir = folder.path();
};

TEST_F(ParameterFormTest, OpenReloadsTheFile) {
    SysDataHolder other(m_dir);
    other.data().paramK = "7";
    ASSERT_TRUE(other.Store().stored);

    SysDataHolder holder(m_dir);
    holder.data().paramK = "stale";
    RecordingPrompter prompter;
    const ParameterTexts texts = ParameterForm(holder).open(prompter);
    EXPECT_EQ(texts[1], "7");
    EXPECT_EQ(texts[0], "1");
    EXPECT_EQ(texts[4], kPiText);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ParameterFormTest, OkStoresAndSurvivesARestart) {
    struct Case {
        int box;
        const char* value;
        const char* expression;
        const char* result;
    };
    constexpr Case kCases[] = {
        {0, "2.5", "2*F", "5"},
        {1, "-3", "K+1", "-2"},
        {3, ".5", "4*W", "2"},
        {4, "3.14", "pi*2", "6.28"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expression);
        SysDataHolder holder(m_dir);
        RecordingPrompter prompter;
        ParameterForm form(holder);
        ParameterTexts texts = form.open(prompter);
        texts[c.box] = c.value;
        EXPECT_TRUE(form.accept(texts, prompter));
        EXPECT_TRUE(prompter.messages.empty()) << prompter.only();
        EXPECT_EQ(calculateAfterRestart(c.expression), c.result);
    }
}

TEST_F(ParameterFormTest, TheExtraNumberPassesThroughUnchanged) {
    SysDataHolder first(m_dir);
    first.data().extraNumber = 0.1 + 0.2;
    ASSERT_TRUE(first.Store().stored);

    SysDataHolder holder(m_dir);
    RecordingPrompter prompter;
    ParameterForm form(holder);
    ParameterTexts texts = form.open(prompter);
    texts[2] = "9";
    ASSERT_TRUE(form.accept(texts, prompter));

    SysDataHolder restarted(m_dir);
    restarted.Load();
    EXPECT_EQ(std::memcmp(&restarted.data().extraNumber, &first.data().extraNumber, sizeof(double)),
              0);
    EXPECT_EQ(restarted.data().paramM, "9");
}

TEST_F(ParameterFormTest, CancelLeavesTheFileBytesUnchanged) {
    SysDataHolder first(m_dir);
    first.data().paramF = "4";
    ASSERT_TRUE(first.Store().stored);
    const std::string before = fileBytes();

    SysDataHolder holder(m_dir);
    RecordingPrompter prompter;
    ParameterTexts texts = ParameterForm(holder).open(prompter);
    texts[0] = "8";  // edited in the boxes, then cancelled: accept is never called
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(holder.data().paramF, "4");
}

TEST_F(ParameterFormTest, RefusesABoxWithoutANumberNamingIt) {
    struct Case {
        int box;
        const char* value;
        const char* named;
    };
    constexpr Case kCases[] = {
        {0, "", "F"}, {1, "-", "K"}, {2, ".", "M"}, {3, "-.", "W"}, {4, "", "Pi"},
    };
    SysDataHolder first(m_dir);
    ASSERT_TRUE(first.Store().stored);
    const std::string before = fileBytes();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.named);
        SysDataHolder holder(m_dir);
        RecordingPrompter prompter;
        ParameterForm form(holder);
        ParameterTexts texts = form.open(prompter);
        texts[c.box] = c.value;
        EXPECT_FALSE(form.accept(texts, prompter));
        EXPECT_EQ(prompter.only(),
                  std::string(msg::kTitleMessage) + ": " + msg::parameterNotNumber(c.named));
        EXPECT_EQ(holder.data(), first.data());
        EXPECT_EQ(fileBytes(), before);
    }
}

TEST(ParameterTexts, FirstNonNumberBoxIsTheFirstBadOne) {
    EXPECT_EQ(FirstNonNumberBox({"1", "2", "3", "4", "3.14"}), -1);
    EXPECT_EQ(FirstNonNumberBox({"1", "-", "", "4", "3.14"}), 1);
    EXPECT_EQ(FirstNonNumberBox({"1", "2", "3", "4", "pi"}), 4);
}

}  // namespace
}  // namespace quorvel
